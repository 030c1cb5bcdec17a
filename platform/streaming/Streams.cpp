#include "platform/streaming/Streams.h"

#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/core/Paths.h"

namespace zelvar {

namespace {
// Seeking in bytes held in memory: a position past the end is allowed (a write extends).
int64_t SeekIn(size_t& pos, size_t size, int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0
                 : origin == soCurrent ? static_cast<int64_t>(pos)
                                       : static_cast<int64_t>(size);
  int64_t next = base + offset;
  if (next < 0) throw EFilerError("Seek before the start of a stream");
  pos = static_cast<size_t>(next);
  return next;
}
}  // namespace

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::string TStream::ReadAll() {
  std::string bytes;
  char buffer[65536];
  while (size_t n = Read(buffer, sizeof buffer)) bytes.append(buffer, n);
  return bytes;
}

// ---------------------------------------------------------------------------------------------

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (FPos >= FData.size()) return 0;
  size_t n = std::min(count, FData.size() - FPos);
  std::memcpy(buffer, FData.data() + FPos, n);
  FPos += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (FPos > FData.size()) FData.resize(FPos);
  size_t overlap = std::min(count, FData.size() - FPos);
  std::memcpy(FData.data() + FPos, buffer, overlap);
  FData.append(static_cast<const char*>(buffer) + overlap, count - overlap);
  FPos += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  return SeekIn(FPos, FData.size(), offset, origin);
}

void TMemoryStream::SaveToStream(TStream& dest) const {
  dest.WriteBuffer(FData);
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  FData = ReadRegularFile(fileName, kMaxReadFileSize);
  FPos = 0;
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ---------------------------------------------------------------------------------------------

size_t TViewStream::Read(void* buffer, size_t count) {
  if (FPos >= FBytes.size()) return 0;
  size_t n = std::min(count, FBytes.size() - FPos);
  std::memcpy(buffer, FBytes.data() + FPos, n);
  FPos += n;
  return n;
}

int64_t TViewStream::Seek(int64_t offset, TSeekOrigin origin) {
  return SeekIn(FPos, FBytes.size(), offset, origin);
}

// ---------------------------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : FFileName(fileName) {
  const char* how = mode == fmOpenRead ? "rb" : mode == fmCreate ? "wb+" : "rb+";
  FFile = std::fopen(fileName.c_str(), how);
  if (!FFile) {
    const char* verb = mode == fmCreate ? "create" : "open";
    throw EFilerError(std::string("Cannot ") + verb + " file \"" + fileName +
                      "\": " + std::strerror(errno));
  }
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

size_t TFileStream::Read(void* buffer, size_t count) {
  return std::fread(buffer, 1, count, FFile);
}

size_t TFileStream::Write(const void* buffer, size_t count) {
  size_t n = std::fwrite(buffer, 1, count, FFile);
  if (n == count && std::fflush(FFile) != 0) return 0;
  return n;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  if (::fseeko(FFile, offset, whence) != 0) {
    throw EFilerError("Cannot seek in \"" + FFileName + "\"");
  }
  return ::ftello(FFile);
}

}  // namespace zelvar

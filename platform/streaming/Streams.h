#pragma once
// Byte streams: the memory and file streams that form files are read from and written to.
// ReadBuffer and WriteBuffer move exactly the count asked for or raise.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"

namespace zelvar {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// A file read whole by name (a form file, a memory stream's LoadFromFile) may be this large:
// far more than any real form needs, and a bound on what a wrong name can cost.
inline constexpr size_t kMaxReadFileSize = size_t{64} << 20;

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Move up to count bytes; return how many moved.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Returns the new position; raises EFilerError for a position before the start.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();
  int64_t Remaining() { return Size() - Position(); }

  // Exactly count bytes, or EReadError / EWriteError.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  void WriteBuffer(std::string_view bytes) { WriteBuffer(bytes.data(), bytes.size()); }
  // Everything from the current position to the end.
  std::string ReadAll();
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : FData(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }

  const std::string& Data() const { return FData; }
  std::string& Data() { return FData; }
  void SaveToStream(TStream& dest) const;
  // A regular file of at most kMaxReadFileSize bytes.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  std::string FData;
  size_t FPos = 0;
};

// Reads bytes that someone else keeps alive; writing fails. Saves a copy of blocks a reader
// already holds in memory.
class TViewStream : public TStream {
 public:
  explicit TViewStream(std::string_view bytes) : FBytes(bytes) {}
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FBytes.size()); }

 private:
  std::string_view FBytes;
  size_t FPos = 0;
};

enum TFileMode { fmOpenRead, fmOpenWrite, fmOpenReadWrite, fmCreate };

// Raises EFilerError naming the file when it cannot be opened.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  std::string FFileName;
  std::FILE* FFile = nullptr;
};

}  // namespace zelvar

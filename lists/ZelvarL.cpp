#include "lists/ZelvarL.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "platform/core/TypInfo.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

namespace {

constexpr int kMaxCount = std::numeric_limits<int>::max();

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void CheckCount(int count) {
  if (count < 0) throw EListError("List count out of bounds (" + std::to_string(count) + ")");
}

template <class T>
void CheckIndex(const std::vector<T>& items, int index) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) IndexError(index);
}

template <class T>
void InsertAt(std::vector<T>& items, int& count, int index, const T& value) {
  if (index < 0 || static_cast<size_t>(index) > items.size()) IndexError(index);
  // Count is an int that callers may set freely: refuse to wrap it rather than overflow.
  if (count == kMaxCount || items.size() >= static_cast<size_t>(kMaxCount))
    throw EListError("List count out of bounds (" + std::to_string(count) + ")");
  items.insert(items.begin() + index, value);
  ++count;
}

template <class T>
void EraseAt(std::vector<T>& items, int& count, int index) {
  CheckIndex(items, index);
  items.erase(items.begin() + index);
  --count;
}

template <class T>
void Exchange(std::vector<T>& items, int indexA, int indexB) {
  CheckIndex(items, indexA);
  CheckIndex(items, indexB);
  std::swap(items[static_cast<size_t>(indexA)], items[static_cast<size_t>(indexB)]);
}

// The number of records a writer puts in the file. When Count and the stored records disagree,
// only the records both account for are written, and that number is written as the count too,
// so a file this library writes always reads back without a size error.
template <class T>
int Written(int count, const std::vector<T>& items) {
  return std::clamp(count, 0, static_cast<int>(items.size()));
}

// The count property. Nothing follows a count of 0 (the writer leaves "Data" out), so reading 0
// is where a list that held records becomes empty.
int ReadCount(TReader& reader, const char* name) {
  const int32_t n = reader.ReadInteger();
  if (n < 0) reader.Error(std::string(name) + " holds an invalid count of " + std::to_string(n));
  return n;
}

// A count the records read do not back: the form file gave the count without its "Data".
void CheckReadCount(std::string_view owner, std::string_view property, const char* countName,
                    int count, size_t records, const char* what) {
  if (static_cast<size_t>(count) == records) return;
  std::string p(property);
  throw EReadError("Error reading " + std::string(owner) + ": " + p + "." + countName + " is " +
                   std::to_string(count) + " but " + p + ".Data holds " + std::to_string(records) +
                   " " + what);
}

// Fields are 32-bit signed little-endian whatever the host's byte order.
void PutInt32(std::string& out, int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

int32_t GetInt32(const unsigned char* p) {
  const uint32_t u =
      uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
  return static_cast<int32_t>(u);
}

// Reads a "Data" block of count records of `fields` fields each. The block's size is checked
// against the count before anything is allocated, so a hostile count cannot make us allocate
// more than the file actually holds; the caller's list is only replaced once all is read.
std::vector<int32_t> ReadFields(TStream& stream, int count, int fields) {
  const int64_t recordSize = int64_t{fields} * 4;
  const int64_t expected = int64_t{count} * recordSize;
  const int64_t actual = stream.Remaining();
  if (count < 0 || actual != expected)
    throw EReadError("Data of " + std::to_string(actual) + " bytes does not hold " +
                     std::to_string(count) + " records of " + std::to_string(recordSize) +
                     " bytes (" + std::to_string(expected) + " bytes)");
  std::string bytes(static_cast<size_t>(actual), '\0');
  stream.ReadBuffer(bytes.data(), bytes.size());
  std::vector<int32_t> values(bytes.size() / 4);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < values.size(); ++i) values[i] = GetInt32(p + 4 * i);
  return values;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TIntegerList

const TClassInfo& TIntegerList::StaticClassInfo() {
  static const auto info = TClassBuilder<TIntegerList>("TIntegerList")
                               .Public("Count", &TIntegerList::Count, &TIntegerList::SetCount)
                               .Build();
  return *info;
}

void TIntegerList::SetCount(int value) {
  CheckCount(value);
  FCount = value;
}

void TIntegerList::Add(int32_t value) {
  InsertAt(FItems, FCount, ItemCount(), value);
}

void TIntegerList::Insert(int index, int32_t value) {
  InsertAt(FItems, FCount, index, value);
}

void TIntegerList::Del(int index) {
  if (index < 0) IndexError(index);
  if (index < FCount) EraseAt(FItems, FCount, index);
}

void TIntegerList::Clear() {
  FItems.clear();
  FCount = 0;
}

int32_t TIntegerList::GetInteger(int index) const {
  CheckIndex(FItems, index);
  return FItems[static_cast<size_t>(index)];
}

void TIntegerList::SetInteger(int index, int32_t value) {
  CheckIndex(FItems, index);
  FItems[static_cast<size_t>(index)] = value;
}

void TIntegerList::exchange(int indexA, int indexB) {
  Exchange(FItems, indexA, indexB);
}

void TIntegerList::Assign(const TPersistent* source) {
  if (const auto* list = dynamic_cast<const TIntegerList*>(source)) {
    FCount = list->FCount;
    FItems = list->FItems;
    return;
  }
  inherited::Assign(source);
}

void TIntegerList::DefineProperties(TFiler& filer) {
  inherited::DefineProperties(filer);
  filer.DefineProperty(
      "Num", [this](TReader& r) { ReadNum(r); }, [this](TWriter& w) { WriteNum(w); }, true);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadBinaryData(s); }, [this](TStream& s) { WriteBinaryData(s); },
      Written(FCount, FItems) > 0);
}

void TIntegerList::ReadNum(TReader& reader) {
  FCount = ReadCount(reader, "Num");
  if (FCount == 0) FItems.clear();
}

void TIntegerList::WriteNum(TWriter& writer) const {
  writer.WriteInteger(Written(FCount, FItems));
}

void TIntegerList::ReadBinaryData(TStream& stream) {
  FItems = ReadFields(stream, FCount, 1);
  FCount = ItemCount();
}

void TIntegerList::CheckLoaded(std::string_view owner, std::string_view property) const {
  CheckReadCount(owner, property, "Num", FCount, FItems.size(), "items");
}

void TIntegerList::WriteBinaryData(TStream& stream) const {
  const int n = Written(FCount, FItems);
  std::string bytes;
  for (int i = 0; i < n; ++i) PutInt32(bytes, FItems[static_cast<size_t>(i)]);
  stream.WriteBuffer(bytes);
}

// ---------------------------------------------------------------------------------------------
// TPageList

const TClassInfo& TPageList::StaticClassInfo() {
  static const auto info = TClassBuilder<TPageList>("TPageList")
                               .Public("Count", &TPageList::Count, &TPageList::SetCount)
                               .Build();
  return *info;
}

void TPageList::SetCount(int value) {
  CheckCount(value);
  FCount = value;
}

TPageRec& TPageList::Entry(int index) {
  CheckIndex(FEntries, index);
  return FEntries[static_cast<size_t>(index)];
}

const TPageRec& TPageList::Entry(int index) const {
  CheckIndex(FEntries, index);
  return FEntries[static_cast<size_t>(index)];
}

void TPageList::AddPage(const TPageRec& rec) {
  InsertAt(FEntries, FCount, EntryCount(), rec);
}

void TPageList::InsertPage(int index, const TPageRec& rec) {
  InsertAt(FEntries, FCount, index, rec);
}

void TPageList::DelPage(int index) {
  if (FCount > 0) EraseAt(FEntries, FCount, index);
}

void TPageList::ExchPage(int indexA, int indexB) {
  Exchange(FEntries, indexA, indexB);
}

void TPageList::Clear() {
  FEntries.clear();
}

void TPageList::Assign(const TPersistent* source) {
  if (const auto* list = dynamic_cast<const TPageList*>(source)) {
    FCount = list->FCount;
    FEntries = list->FEntries;
    return;
  }
  inherited::Assign(source);
}

void TPageList::DefineProperties(TFiler& filer) {
  inherited::DefineProperties(filer);
  filer.DefineProperty(
      "NumPages", [this](TReader& r) { ReadNumPages(r); }, [this](TWriter& w) { WriteNumPages(w); },
      true);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadBinaryData(s); }, [this](TStream& s) { WriteBinaryData(s); },
      Written(FCount, FEntries) > 0);
}

void TPageList::ReadNumPages(TReader& reader) {
  FCount = ReadCount(reader, "NumPages");
  if (FCount == 0) FEntries.clear();
}

void TPageList::WriteNumPages(TWriter& writer) const {
  writer.WriteInteger(Written(FCount, FEntries));
}

void TPageList::ReadBinaryData(TStream& stream) {
  const std::vector<int32_t> fields = ReadFields(stream, FCount, 2);
  std::vector<TPageRec> entries(fields.size() / 2);
  for (size_t i = 0; i < entries.size(); ++i) entries[i] = {fields[2 * i], fields[2 * i + 1]};
  FEntries = std::move(entries);
}

void TPageList::CheckLoaded(std::string_view owner, std::string_view property) const {
  CheckReadCount(owner, property, "NumPages", FCount, FEntries.size(), "entries");
}

void TPageList::WriteBinaryData(TStream& stream) const {
  const int n = Written(FCount, FEntries);
  std::string bytes;
  for (int i = 0; i < n; ++i) {
    const TPageRec& e = FEntries[static_cast<size_t>(i)];
    PutInt32(bytes, e.Number);
    PutInt32(bytes, e.GotoPage);
  }
  stream.WriteBuffer(bytes);
}

// ---------------------------------------------------------------------------------------------
// TAposList

const TClassInfo& TAposList::StaticClassInfo() {
  static const auto info = TClassBuilder<TAposList>("TAposList")
                               .Public("Count", &TAposList::Count, &TAposList::SetCount)
                               .Build();
  return *info;
}

void TAposList::SetCount(int value) {
  CheckCount(value);
  FCount = value;
}

TAposRec& TAposList::Record(int index) {
  CheckIndex(FRecords, index);
  return FRecords[static_cast<size_t>(index)];
}

const TAposRec& TAposList::Record(int index) const {
  CheckIndex(FRecords, index);
  return FRecords[static_cast<size_t>(index)];
}

void TAposList::AddAPos(const TAposRec& rec) {
  InsertAt(FRecords, FCount, RecordCount(), rec);
}

void TAposList::DelAPos(int index) {
  if (index < 0) IndexError(index);
  if (index < FCount) EraseAt(FRecords, FCount, index);
}

void TAposList::Clear() {
  FRecords.clear();
  FCount = 0;
}

void TAposList::SetNumApos(int n) {
  CheckCount(n);
  // Sizing to n itself, not by the difference from Count, leaves a list whose Count disagreed
  // with its records (after a hostile form file) consistent again.
  FRecords.resize(static_cast<size_t>(n));
  FCount = n;
}

void TAposList::SetApos(int index, const TAposRec& rec) {
  Record(index) = rec;
}

void TAposList::GetApos(int index, TAposRec& rec) const {
  rec = Record(index);
}

void TAposList::Assign(const TPersistent* source) {
  if (const auto* list = dynamic_cast<const TAposList*>(source)) {
    FCount = list->FCount;
    FRecords = list->FRecords;
    return;
  }
  inherited::Assign(source);
}

void TAposList::DefineProperties(TFiler& filer) {
  inherited::DefineProperties(filer);
  filer.DefineProperty(
      "NumApos", [this](TReader& r) { ReadNumAPos(r); }, [this](TWriter& w) { WriteNumAPos(w); },
      true);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadBinaryData(s); }, [this](TStream& s) { WriteBinaryData(s); },
      Written(FCount, FRecords) > 0);
}

void TAposList::ReadNumAPos(TReader& reader) {
  FCount = ReadCount(reader, "NumApos");
  if (FCount == 0) FRecords.clear();
}

void TAposList::WriteNumAPos(TWriter& writer) const {
  writer.WriteInteger(Written(FCount, FRecords));
}

void TAposList::ReadBinaryData(TStream& stream) {
  const std::vector<int32_t> fields = ReadFields(stream, FCount, 3);
  std::vector<TAposRec> records(fields.size() / 3);
  for (size_t i = 0; i < records.size(); ++i)
    records[i] = {fields[3 * i], fields[3 * i + 1], fields[3 * i + 2]};
  FRecords = std::move(records);
  FCount = RecordCount();
}

void TAposList::CheckLoaded(std::string_view owner, std::string_view property) const {
  CheckReadCount(owner, property, "NumApos", FCount, FRecords.size(), "records");
}

void TAposList::WriteBinaryData(TStream& stream) const {
  const int n = Written(FCount, FRecords);
  std::string bytes;
  for (int i = 0; i < n; ++i) {
    const TAposRec& r = FRecords[static_cast<size_t>(i)];
    PutInt32(bytes, r.Left);
    PutInt32(bytes, r.Top);
    PutInt32(bytes, r.Shown);
  }
  stream.WriteBuffer(bytes);
}

}  // namespace zelvar

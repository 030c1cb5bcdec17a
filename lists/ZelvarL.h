#pragma once
// Unit ZelvarL: the small persistent lists the wizard container and its page-bound controls
// keep as properties. Each travels in the form file as two defined properties, a count and a
// binary block of little-endian 32-bit records, so the record layouts below are part of the
// file format.
//
// Count is a field of its own, read and written by callers, and may disagree with the records
// actually held: the form file delivers the count before the records, and TPageList::Clear
// keeps it on purpose. Every index is therefore checked against the records really stored and
// raises EListError when it is out of range.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/Persistent.h"

namespace zelvar {

class TFiler;
class TReader;
class TWriter;
class TStream;

// Where Next leads from a way-list position; values from 1 on name a position.
inline constexpr int32_t gpNext = -3;
inline constexpr int32_t gpFinish = -2;
inline constexpr int32_t gpAsk = -1;
inline constexpr int32_t gpDialog = 0;

inline constexpr std::array<std::string_view, 3> kindname{"Normal", "First", "Last"};

using TPageChangeListEvent = TEvent<void()>;

// One way-list position: the page shown there and where Next leads from it.
struct TPageRec {
  int32_t Number = 0;
  int32_t GotoPage = 0;
  bool operator==(const TPageRec&) const = default;
};

// One page of a page-bound control: its place there, and Shown == 1 when it is visible.
struct TAposRec {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Shown = 0;
  bool operator==(const TAposRec&) const = default;
};

// A list of 32-bit integers: the container's history and its button orders.
class TIntegerList : public TPersistent {
  ZELVAR_CLASS(TIntegerList, TPersistent)

 public:
  TIntegerList() = default;

  int Count() const { return FCount; }
  // Raises EListError for a negative count; the items are left as they are.
  void SetCount(int value);
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  const std::vector<int32_t>& Items() const { return FItems; }

  void Add(int32_t value);
  void Insert(int index, int32_t value);  // index up to ItemCount(), which appends
  void Del(int index);                    // nothing when index >= Count
  void Clear();
  int32_t GetInteger(int index) const;
  void SetInteger(int index, int32_t value);
  void exchange(int indexA, int indexB);

  // Copies Count and the items of another TIntegerList.
  void Assign(const TPersistent* source) override;
  // "Num" and "Data".
  void DefineProperties(TFiler& filer) override;
  void ReadNum(TReader& reader);
  void WriteNum(TWriter& writer) const;
  void ReadBinaryData(TStream& stream);
  void WriteBinaryData(TStream& stream) const;
  // After a form file is read into the list: EReadError when the count read is not backed by
  // the records read (a count without its "Data" keeps the old ones), naming the property.
  void CheckLoaded(std::string_view owner, std::string_view property) const;

 private:
  int FCount = 0;
  std::vector<int32_t> FItems;
};

// The way list: one entry per wizard position, entry index = position - 1.
class TPageList : public TPersistent {
  ZELVAR_CLASS(TPageList, TPersistent)

 public:
  TPageList() = default;

  int Count() const { return FCount; }
  void SetCount(int value);
  // The entries themselves, for the container and the editors that change them in place.
  TPageRec& Entry(int index);
  const TPageRec& Entry(int index) const;
  int EntryCount() const { return static_cast<int>(FEntries.size()); }
  const std::vector<TPageRec>& Entries() const { return FEntries; }

  void AddPage(const TPageRec& rec);
  void InsertPage(int index, const TPageRec& rec);
  void DelPage(int index);  // nothing when Count is 0
  void ExchPage(int indexA, int indexB);
  // Removes every entry and keeps Count: callers emptying the list set Count to 0 themselves.
  void Clear();
  int32_t GetNumber(int index) const { return Entry(index).Number; }
  int32_t GetGotoPage(int index) const { return Entry(index).GotoPage; }

  void Assign(const TPersistent* source) override;
  // "NumPages" and "Data".
  void DefineProperties(TFiler& filer) override;
  void ReadNumPages(TReader& reader);
  void WriteNumPages(TWriter& writer) const;
  void ReadBinaryData(TStream& stream);
  void WriteBinaryData(TStream& stream) const;
  void CheckLoaded(std::string_view owner, std::string_view property) const;

 private:
  int FCount = 0;
  std::vector<TPageRec> FEntries;
};

// The places of one page-bound control: record index = page (0 the dialog page).
class TAposList : public TPersistent {
  ZELVAR_CLASS(TAposList, TPersistent)

 public:
  TAposList() = default;

  int Count() const { return FCount; }
  void SetCount(int value);
  TAposRec& Record(int index);
  const TAposRec& Record(int index) const;
  int RecordCount() const { return static_cast<int>(FRecords.size()); }
  const std::vector<TAposRec>& Records() const { return FRecords; }

  void AddAPos(const TAposRec& rec);
  void DelAPos(int index);  // nothing when index >= Count
  void Clear();
  // Exactly n records afterwards (EListError for n < 0): existing ones keep their values, new
  // ones are hidden at 0, 0.
  void SetNumApos(int n);
  void SetApos(int index, const TAposRec& rec);
  void GetApos(int index, TAposRec& rec) const;

  void Assign(const TPersistent* source) override;
  // "NumApos" and "Data".
  void DefineProperties(TFiler& filer) override;
  void ReadNumAPos(TReader& reader);
  void WriteNumAPos(TWriter& writer) const;
  void ReadBinaryData(TStream& stream);
  void WriteBinaryData(TStream& stream) const;
  void CheckLoaded(std::string_view owner, std::string_view property) const;

 private:
  int FCount = 0;
  std::vector<TAposRec> FRecords;
};

}  // namespace zelvar

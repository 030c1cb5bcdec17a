#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/TestSupport.h"

#include "lists/ZelvarL.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/Streams.h"

namespace zelvar {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

template <class L>
std::string DataOf(const L& list) {
  TMemoryStream out;
  list.WriteBinaryData(out);
  return out.Data();
}

template <class L>
void LoadData(L& list, const std::string& bytes) {
  TMemoryStream in(bytes);
  list.ReadBinaryData(in);
}

using zelvar::test::MessageOf;

// Records what DefineProperties declares, so the procs can be driven without a form.
class TRecordingFiler : public TFiler {
 public:
  struct Def {
    std::string Name;
    bool HasData;
    TReaderProc Read;
    TWriterProc Write;
    TStreamProc ReadBin, WriteBin;
  };
  void DefineProperty(std::string_view name, const TReaderProc& r, const TWriterProc& w,
                      bool hasData) override {
    Defs.push_back({std::string(name), hasData, r, w, {}, {}});
  }
  void DefineBinaryProperty(std::string_view name, const TStreamProc& r, const TStreamProc& w,
                            bool hasData) override {
    Defs.push_back({std::string(name), hasData, {}, {}, r, w});
  }
  std::vector<Def> Defs;
};

// Writes the count through a real TWriter: the value bytes only, without the property name.
std::string CountBytes(const TRecordingFiler::Def& def) {
  TMemoryStream out;
  {
    TWriter writer(out);
    def.Write(writer);
  }
  return out.Data();
}

void ReadCount(const TRecordingFiler::Def& def, const std::string& bytes) {
  TReader reader(bytes);
  def.Read(reader);
}

TEST(IntegerList, EditingKeepsCountAndItemsInStep) {
  TIntegerList l;
  l.Add(1);
  l.Add(2);
  l.Insert(2, 3);  // at Count: appends
  l.Insert(0, 9);
  l.exchange(1, 1);
  l.exchange(0, 3);
  l.SetInteger(1, -7);
  l.Del(4);  // at Count: nothing
  l.Del(2);
  EXPECT_THAT(l.Items(), ElementsAre(3, -7, 9));
  EXPECT_EQ(l.Count(), 3);
  EXPECT_EQ(MessageOf<EListError>([&] { l.GetInteger(3); }), "List index out of bounds (3)");
  EXPECT_THROW(l.Insert(4, 0), EListError);
  EXPECT_THROW(l.Del(-1), EListError);
  // A Count above the stored items must not let Del reach past them.
  l.SetCount(5);
  EXPECT_THROW(l.Del(3), EListError);
  EXPECT_THROW(l.SetCount(-1), EListError);

  TIntegerList copy;
  copy.Assign(&l);
  EXPECT_EQ(copy.Items(), l.Items());
  EXPECT_EQ(copy.Count(), 5);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST(IntegerList, DataIsCheckedLittleEndianRecords) {
  TIntegerList l;
  for (int v : {1, 2, 8, 3, 6}) l.Add(v);
  const std::string data = DataOf(l);
  EXPECT_EQ(data, Bytes({1, 0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0}));
  l.SetCount(3);  // disagreeing with the items: only what both account for is written
  EXPECT_EQ(DataOf(l), data.substr(0, 12));

  TIntegerList back;
  back.Add(99);
  back.SetCount(2);
  LoadData(back, Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x80}));
  EXPECT_THAT(back.Items(), ElementsAre(INT32_MAX, INT32_MIN));

  back.SetCount(6);
  EXPECT_THAT(MessageOf<EReadError>([&] { LoadData(back, data); }),
              HasSubstr("Data of 20 bytes does not hold 6 records of 4 bytes"));
  EXPECT_THROW(LoadData(back, data + data), EReadError);
  EXPECT_EQ(back.ItemCount(), 2);
}

TEST(PageList, DataOfTheWayListExample) {
  TPageList l;
  l.AddPage({1, gpNext});
  l.AddPage({2, gpFinish});
  const std::string data = DataOf(l);
  EXPECT_EQ(data, Bytes({1, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));

  TPageList back;
  back.SetCount(2);
  LoadData(back, data);
  EXPECT_THAT(back.Entries(), ElementsAre(TPageRec{1, gpNext}, TPageRec{2, gpFinish}));
  EXPECT_THROW(LoadData(back, data.substr(0, 12)), EReadError);
}

TEST(PageList, ClearKeepsCountAndEntriesAreChecked) {
  TPageList l;
  for (int i = 1; i <= 3; ++i) l.AddPage({i, gpNext});
  l.Clear();
  EXPECT_EQ(l.Count(), 3);
  EXPECT_THROW(l.DelPage(0), EListError);  // Count 3, nothing stored
  l.AddPage({1, gpAsk});
  EXPECT_EQ(l.Count(), 4);
  l.SetCount(0);
  l.DelPage(0);  // Count 0: nothing, though an entry is stored
  l.InsertPage(0, {5, gpDialog});
  l.Entry(1).GotoPage = 2;
  l.ExchPage(0, 1);
  EXPECT_THAT(l.Entries(), ElementsAre(TPageRec{1, 2}, TPageRec{5, gpDialog}));
  EXPECT_EQ(MessageOf<EListError>([&] { l.GetNumber(2); }), "List index out of bounds (2)");
  EXPECT_THROW(l.ExchPage(-1, 0), EListError);
}

TEST(AposList, DataOfTheShownOnPageOneExampleAndOddValues) {
  TAposList l;
  l.SetNumApos(3);
  l.SetApos(1, {8, 16, 1});
  std::string expected(36, '\0');
  expected[12] = 8;
  expected[16] = 16;
  expected[20] = 1;
  EXPECT_EQ(DataOf(l), expected);

  l.SetApos(2, {-5, -100000, 7});
  TAposList back;
  back.SetCount(3);
  LoadData(back, DataOf(l));
  TAposRec r;
  back.GetApos(2, r);
  EXPECT_EQ(r, (TAposRec{-5, -100000, 7}));
}

TEST(AposList, SetNumAposAndIndexes) {
  TAposList l;
  for (int i = 1; i <= 3; ++i) l.AddAPos({i, i, 1});
  l.SetNumApos(5);
  EXPECT_EQ(l.Record(4), (TAposRec{0, 0, 0}));
  l.SetNumApos(2);
  EXPECT_THAT(l.Records(), ElementsAre(TAposRec{1, 1, 1}, TAposRec{2, 2, 1}));
  EXPECT_THROW(l.SetNumApos(-1), EListError);
  l.DelAPos(2);  // at Count: nothing
  l.DelAPos(0);
  EXPECT_EQ(l.Count(), 1);
  TAposRec r;
  EXPECT_EQ(MessageOf<EListError>([&] { l.GetApos(1, r); }), "List index out of bounds (1)");
  EXPECT_THROW(l.SetApos(-1, r), EListError);
  // A Count that disagrees with the records is put right.
  l.SetCount(4);
  l.SetNumApos(3);
  EXPECT_EQ(l.RecordCount(), 3);
}

TEST(ListStreaming, DefinesCountThenDataOnlyWhenThereAreRecords) {
  auto defs = [](TPersistent& p) {
    TRecordingFiler f;
    p.DefineProperties(f);
    std::vector<std::string> out;
    for (auto& d : f.Defs) out.push_back(d.Name + (d.HasData ? "+" : "-"));
    return out;
  };
  TIntegerList i;
  TPageList p;
  TAposList a;
  EXPECT_THAT(defs(i), ElementsAre("Num+", "Data-"));
  p.AddPage({});
  EXPECT_THAT(defs(p), ElementsAre("NumPages+", "Data+"));
  p.Clear();  // Count 1, no entries: nothing consistent to write
  EXPECT_THAT(defs(p), ElementsAre("NumPages+", "Data-"));
  a.AddAPos({});
  EXPECT_THAT(defs(a), ElementsAre("NumApos+", "Data+"));

  EXPECT_TRUE(TAposList::StaticClassInfo().PublishedProps().empty());
  SetPropText(&a, "Count", "4");
  EXPECT_EQ(a.Count(), 4);
}

TEST(ListStreaming, CountAndDataThroughReaderAndWriter) {
  TAposList a;
  a.SetNumApos(3);
  a.SetApos(2, {-1, 2, 1});
  TRecordingFiler out;
  a.DefineProperties(out);
  EXPECT_EQ(CountBytes(out.Defs[0]), Bytes({0x02, 3}));
  TMemoryStream data;
  out.Defs[1].WriteBin(data);

  TAposList b;
  for (int i = 0; i < 5; ++i) b.AddAPos({9, 9, 9});
  TRecordingFiler in;
  b.DefineProperties(in);
  ReadCount(in.Defs[0], Bytes({0x03, 0x2C, 0x01}));  // the count alone leaves the records
  EXPECT_EQ(b.Count(), 300);
  EXPECT_EQ(b.RecordCount(), 5);
  ReadCount(in.Defs[0], CountBytes(out.Defs[0]));
  data.SetPosition(0);
  in.Defs[1].ReadBin(data);
  EXPECT_EQ(b.Records(), a.Records());

  // No Data follows a count of 0: the list ends empty.
  ReadCount(in.Defs[0], Bytes({0x02, 0}));
  EXPECT_EQ(b.RecordCount(), 0);
  EXPECT_THAT(MessageOf<EReadError>([&] {
                ReadCount(in.Defs[0], Bytes({0x02, 0xFE}));
              }),
              HasSubstr("-2"));
}

}  // namespace
}  // namespace zelvar

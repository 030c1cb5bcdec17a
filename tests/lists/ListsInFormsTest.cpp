// The lists as nested properties of a component, through the real form reader and writer.

#include <gtest/gtest.h>

#include <memory>

#include "lists/ZelvarL.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

class TListHolder : public TComponent {
  ZELVAR_CLASS(TListHolder, TComponent)

 public:
  explicit TListHolder(TComponent* owner) : TComponent(owner) {
    for (int v : {1, 2, 8, 3, 6}) BLDialog->Add(v);
  }
  ~TListHolder() override {
    delete BLDialog;
    delete WayList;
    delete ShowContainer;
  }
  TIntegerList* BLDialog = new TIntegerList;
  TPageList* WayList = new TPageList;
  TAposList* ShowContainer = new TAposList;
};

const TClassInfo& TListHolder::StaticClassInfo() {
  static const auto info = TClassBuilder<TListHolder>("TListHolder")
                               .Property("BLDialog", &TListHolder::BLDialog)
                               .Property("WayList", &TListHolder::WayList)
                               .Property("ShowContainer", &TListHolder::ShowContainer)
                               .Build();
  return *info;
}

TEST(ListsInForms, NestedCountAndDataAsTheFormFileShowsThem) {
  RegisterClasses<TListHolder>();
  TListHolder h(nullptr);
  h.SetName("H");
  std::string bytes = WriteComponent(&h);
  // BLDialog of a new container: "BLDialog.Num" = 5 and 20 bytes of data.
  const std::string expected(
      "\x0C"
      "BLDialog.Num\x02\x05"
      "\x0D"
      "BLDialog.Data\x0A\x14\x00\x00\x00"
      "\x01\x00\x00\x00\x02\x00\x00\x00\x08\x00\x00\x00\x03\x00\x00\x00\x06\x00\x00\x00"
      "\x10"
      "WayList.NumPages\x02\x00"
      "\x15"
      "ShowContainer.NumApos\x02\x00",
      14 + 19 + 20 + 19 + 24);
  EXPECT_NE(bytes.find(expected), std::string::npos);

  // A stored count of 0 without data empties a list that held values.
  std::string text =
      "object H: TListHolder\n  BLDialog.Num = 0\n  WayList.NumPages = 2\n  WayList.Data = {\n"
      "    01000000FDFFFFFF02000000FEFFFFFF\n  }\nend\n";
  std::unique_ptr<TComponent> read(ReadComponent(text));
  auto* copy = As<TListHolder>(read.get());
  EXPECT_EQ(copy->BLDialog->Count(), 0);
  EXPECT_EQ(copy->BLDialog->ItemCount(), 0);
  ASSERT_EQ(copy->WayList->Count(), 2);
  EXPECT_EQ(copy->WayList->GetGotoPage(0), gpNext);
  EXPECT_EQ(copy->WayList->GetGotoPage(1), gpFinish);
}

TEST(ListsInForms, DataThatDisagreesWithTheCountFailsTheRead) {
  RegisterClasses<TListHolder>();
  std::string text =
      "object H: TListHolder\n  BLDialog.Num = 6\n  BLDialog.Data = {\n    0100000002000000\n"
      "  }\nend\n";
  try {
    delete ReadComponent(text);
    FAIL() << "read a short block";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find("H.BLDialog.Data at line 3:3"), std::string::npos) << e.Message();
  }
}

}  // namespace
}  // namespace zelvar

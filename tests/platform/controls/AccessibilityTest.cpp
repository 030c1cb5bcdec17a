#include "platform/controls/Accessibility.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/controls/ComCtrls.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TextEditing.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

// A dialog at 50, 60 with a labelled edit, two buttons and a check box.
class Accessible : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(New<TForm>(nullptr));
    Form->SetName("Dialog");
    Form->SetCaption("Setup");
    Form->SetBorderStyle(bsDialog);
    Form->SetBounds(50, 60, 300, 200);
    Form->SetVisible(true);
    Label = Add<TLabel>(10, 10, "&Folder:");
    Edit = Add<TEdit>(80, 10);
    Label->SetFocusControl(Edit);
    Next = Add<TButton>(200, 150, "&Next");
    Next->SetDefault(true);
    Back = Add<TButton>(100, 150, "&Back");
    Check = Add<TCheckBox>(10, 50, "I &agree");
    // Tab order as added; the back button comes before next.
    Back->SetTabOrder(1);
    Key = AccessibleHub().AddListener([this](const TAccessibleEvent& e) { Events.push_back(e); });
  }
  void TearDown() override {
    AccessibleHub().RemoveListener(Key);
    Form.reset();
  }
  template <class T>
  T* Add(int32_t left, int32_t top, const std::string& caption = "") {
    auto* c = New<T>(Form.get());
    c->SetBounds(left, top, 80, 20);
    if (!caption.empty()) c->SetCaption(caption);
    c->SetParent(Form.get());
    return c;
  }
  // Two pages, "&General" showing and "Advanced".
  TPageControl* AddPages() {
    auto* pages = Add<TPageControl>(10, 80);
    pages->SetBounds(10, 80, 200, 100);
    for (const char* caption : {"&General", "Advanced"}) {
      auto* sheet = New<TTabSheet>(Form.get());
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
    }
    pages->SetActivePageIndex(0);
    return pages;
  }
  std::vector<std::string> ChildLines(TAccessibleNode node) {
    std::vector<std::string> out;
    for (TAccessibleNode c : AccessibleChildren(node)) out.push_back(AccessibleLine(c));
    return out;
  }

  std::unique_ptr<TForm> Form;
  TLabel* Label = nullptr;
  TEdit* Edit = nullptr;
  TButton *Next = nullptr, *Back = nullptr;
  TCheckBox* Check = nullptr;
  std::vector<TAccessibleEvent> Events;
  int32_t Key = 0;
};

TEST_F(Accessible, RolesNamesAndStatesOfTheStandardControls) {
  EXPECT_EQ(AccessibleLine({Form.get()}), "dialog 'Setup' [enabled sensitive showing visible]");
  EXPECT_EQ(AccessibleLine({Next}),
            "push button 'Next' [enabled sensitive focusable showing visible default]");
  // The field is named by the label that focuses it, without the accelerator mark.
  EXPECT_EQ(AccessibleLine({Edit}),
            "text 'Folder:' [enabled sensitive focusable showing visible editable selectable]");
  EXPECT_EQ(AccessibleLine({Label}), "label 'Folder:' [enabled sensitive showing visible]");
  Check->SetChecked(true);
  Edit->SetReadOnly(true);
  Next->SetEnabled(false);
  Form->SetBorderStyle(bsSizeable);
  EXPECT_EQ(AccessibleLine({Check}),
            "check box 'I agree' [enabled sensitive focusable checked showing visible]");
  EXPECT_FALSE(DescribeNode({Edit}).States.Contains(astEditable));
  EXPECT_EQ(AccessibleLine({Next}), "push button 'Next' [focusable showing visible default]");
  EXPECT_EQ(DescribeNode({Form.get()}).Role, arFrame);
  // "&&" is a plain ampersand.
  Back->SetCaption("Save && &quit");
  EXPECT_EQ(DescribeNode({Back}).Name, "Save & quit");
}

TEST_F(Accessible, ChildrenComeInTabOrderThenTheOthersAndHiddenOnesAreLeftOut) {
  EXPECT_EQ(ChildLines({Form.get()}),
            (std::vector<std::string>{
                "text 'Folder:' [enabled sensitive focusable showing visible editable selectable]",
                "push button 'Back' [enabled sensitive focusable showing visible]",
                "push button 'Next' [enabled sensitive focusable showing visible default]",
                "check box 'I agree' [enabled sensitive focusable showing visible]",
                "label 'Folder:' [enabled sensitive showing visible]"}));
  Back->SetVisible(false);
  EXPECT_EQ(AccessibleIndex({Back}), -1);
  EXPECT_EQ(AccessibleIndex({Next}), 1);
  EXPECT_EQ(AccessibleParent({Next}), TAccessibleNode{Form.get()});
  EXPECT_FALSE(AccessibleParent({Form.get()}));
}

TEST_F(Accessible, BoundsAreOnTheScreen) {
  const TPoint origin = Next->FormOrigin();
  const TRect r = DescribeNode({Next}).Bounds;
  EXPECT_EQ(r.Left, 50 + origin.X);
  EXPECT_EQ(r.Top, 60 + origin.Y);
  EXPECT_EQ(r.Width(), 80);
  EXPECT_EQ(DescribeNode({Form.get()}).Bounds.Left, 50);
}

TEST_F(Accessible, IdsStayWithTheirNodeAndEndWithTheControl) {
  const uint32_t id = AccessibleId({Next});
  EXPECT_EQ(AccessibleId({Next}), id);
  EXPECT_NE(AccessibleId({Back}), id);
  EXPECT_EQ(NodeOfId(id), TAccessibleNode{Next});
  delete Next;
  EXPECT_FALSE(NodeOfId(id));
  EXPECT_FALSE(NodeOfId(999999));
}

TEST_F(Accessible, PressingAButtonClicksItAndADisabledOneRefuses) {
  int clicks = 0;
  Next->OnClick = [&](TObject*) { ++clicks; };
  DoAccessibleAction({Next}, 0);
  EXPECT_EQ(clicks, 1);
  DoAccessibleAction({Check}, 0);
  EXPECT_TRUE(Check->Checked());
  EXPECT_THAT(MessageOf<EListError>([&] { DoAccessibleAction({Next}, 1); }),
              HasSubstr("one action"));
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { DoAccessibleAction({Label}, 0); }),
              HasSubstr("offers no action"));
  Next->SetEnabled(false);
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { DoAccessibleAction({Next}, 0); }),
              HasSubstr("disabled"));
  EXPECT_EQ(clicks, 1);
}

TEST_F(Accessible, TextIsReadAndEditedInCharacters) {
  Edit->SetText("C:\\Prögram");
  EXPECT_EQ(AccessibleText({Edit}), "C:\\Prögram");
  InsertAccessibleText({Edit}, 10, " Files");
  EXPECT_EQ(Edit->Text(), "C:\\Prögram Files");
  DeleteAccessibleText({Edit}, 3, 10);  // "Prögram" is seven characters, eight bytes
  EXPECT_EQ(Edit->Text(), "C:\\ Files");
  SetAccessibleCaret({Edit}, 2);
  EXPECT_EQ(AccessibleCaret({Edit}), 2);
  Edit->SetSelStart(1);
  Edit->SetSelLength(3);
  EXPECT_EQ(AccessibleSelection({Edit}), std::make_pair(1, 4));
  SetAccessibleText({Edit}, "D:");
  EXPECT_EQ(Edit->Text(), "D:");
  EXPECT_THAT(MessageOf<EListError>([&] { InsertAccessibleText({Edit}, 3, "x"); }),
              HasSubstr("Offset 3 is outside the text"));
  EXPECT_THAT(MessageOf<EListError>([&] { DeleteAccessibleText({Edit}, 2, 1); }),
              HasSubstr("Cannot delete"));
  Edit->SetReadOnly(true);
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { SetAccessibleText({Edit}, "E:"); }),
              HasSubstr("cannot be edited"));
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { AccessibleText({Next}); }),
              HasSubstr("holds no text"));
  auto* memo = Add<TMemo>(10, 80);
  EXPECT_TRUE(DescribeNode({memo}).States.Contains(astMultiLine));
}

// The span as the text it covers, to read the cases at a glance.
std::string Cut(const std::string& text, TTextSpan span) {
  size_t a = ByteOfChar(text, static_cast<size_t>(span.Start));
  return text.substr(a, ByteOfChar(text, static_cast<size_t>(span.End)) - a);
}

TEST_F(Accessible, CharacterBoxesFollowTheTextAndItsRows) {
  Edit->SetText("Wide");
  const TRect edit = DescribeNode({Edit}).Bounds;
  const TRect w = AccessibleCharacterBounds({Edit}, 0), i = AccessibleCharacterBounds({Edit}, 1);
  EXPECT_EQ(w.Left, edit.Left + Edit->TextRect().Left);
  EXPECT_GT(w.Width(), 0);
  EXPECT_EQ(i.Left, w.Right);
  EXPECT_EQ(i.Top, w.Top);
  EXPECT_EQ(AccessibleCharacterBounds({Edit}, 4).Width(), 0);  // the end of the line
  EXPECT_EQ(AccessibleRangeBounds({Edit}, 0, 2), (TRect{w.Left, w.Top, i.Right, w.Bottom}));
  EXPECT_THROW(AccessibleCharacterBounds({Edit}, 5), EListError);

  auto* memo = Add<TMemo>(10, 80);
  memo->SetBounds(10, 80, 200, 100);
  memo->SetText("ab\ncd");
  const TRect a = AccessibleCharacterBounds({memo}, 0), c = AccessibleCharacterBounds({memo}, 3);
  EXPECT_EQ(c.Left, a.Left);
  EXPECT_EQ(c.Top, a.Bottom);
  // Over two rows a range takes the text's width.
  const TRect both = AccessibleRangeBounds({memo}, 1, 4);
  EXPECT_EQ(both.Width(), memo->TextRect().Width());
  EXPECT_EQ(both.Top, a.Top);
  EXPECT_EQ(both.Bottom, c.Bottom);
}

TEST(AccessibleTextUnits, AUnitRunsToTheNextOneAndHoldsTheBlanksAfterIt) {
  const std::string text = "Grüße, Welt! Don't stop.\nNext line";
  auto at = [&](int32_t offset, TTextGranularity g) {
    return Cut(text, TextUnitAt(text, offset, g));
  };
  EXPECT_EQ(at(2, tgChar), "ü");
  EXPECT_EQ(at(2, tgWord), "Grüße, ");
  EXPECT_EQ(at(6, tgWord), "Grüße, ");  // in the blank after it
  EXPECT_EQ(at(14, tgWord), "Don't ");
  EXPECT_EQ(at(12, tgSentence), "Grüße, Welt! ");
  EXPECT_EQ(at(13, tgSentence), "Don't stop.\n");
  EXPECT_EQ(at(26, tgSentence), "Next line");
  EXPECT_EQ(at(3, tgLine), "Grüße, Welt! Don't stop.\n");
  EXPECT_EQ(at(24, tgLine), "Grüße, Welt! Don't stop.\n");  // on the line break
  EXPECT_EQ(at(25, tgParagraph), "Next line");
  EXPECT_EQ(TextUnitAt(text, 34, tgLine), (TTextSpan{25, 34}));
  EXPECT_EQ(TextUnitAt(text, 34, tgChar), (TTextSpan{34, 34}));
  // Blanks before the first word are a run of their own; a text ending in a break has an
  // empty last line; no text, no unit.
  EXPECT_EQ(Cut("  hi", TextUnitAt("  hi", 0, tgWord)), "  ");
  EXPECT_EQ(TextUnitAt("ab\n", 3, tgLine), (TTextSpan{3, 3}));
  EXPECT_EQ(TextUnitAt("", 0, tgSentence), (TTextSpan{0, 0}));
  EXPECT_THAT(MessageOf<EListError>([&] { TextUnitAt(text, 35, tgWord); }),
              HasSubstr("Offset 35 is outside the text (0 to 34)"));
  EXPECT_THROW(TextUnitAt(text, -1, tgChar), EListError);
}

TEST(AccessibleTextUnits, BoundaryRunsTakeTheBlanksOnTheirSide) {
  const std::string text = "one two. Three\nfour";
  auto run = [&](int32_t offset, TTextBoundary b, TTextWhich w) {
    return Cut(text, TextBoundaryRun(text, offset, b, w));
  };
  EXPECT_EQ(run(5, tbWordStart, twAt), "two. ");
  EXPECT_EQ(run(5, tbWordEnd, twAt), " two");
  EXPECT_EQ(run(5, tbWordStart, twBefore), "one ");
  EXPECT_EQ(run(5, tbWordStart, twAfter), "Three\n");
  EXPECT_EQ(run(5, tbWordEnd, twAfter), ". Three");
  EXPECT_EQ(run(1, tbWordEnd, twBefore), "");
  EXPECT_EQ(run(2, tbSentenceStart, twAt), "one two. ");
  EXPECT_EQ(run(10, tbSentenceEnd, twAt), " Three");
  EXPECT_EQ(run(3, tbLineStart, twAt), "one two. Three\n");
  EXPECT_EQ(run(17, tbLineEnd, twAt), "\nfour");
  EXPECT_EQ(run(17, tbLineStart, twBefore), "one two. Three\n");
  EXPECT_EQ(TextBoundaryRun(text, 17, tbLineStart, twAfter), (TTextSpan{19, 19}));
  // At the very end: the last line, and the run an end boundary closes.
  EXPECT_EQ(run(19, tbLineStart, twAt), "four");
  EXPECT_EQ(run(19, tbLineEnd, twAt), "\nfour");
  EXPECT_EQ(run(19, tbChar, twAt), "");
  EXPECT_EQ(run(0, tbChar, twBefore), "");
  EXPECT_EQ(run(4, tbChar, twAfter), "w");
  EXPECT_THROW(TextBoundaryRun(text, 20, tbWordStart, twAt), EListError);
}

TEST_F(Accessible, TabsAndListItemsArePartsThatPressSelects) {
  TPageControl* pages = AddPages();
  std::vector<TAccessibleNode> tabs = AccessibleChildren({pages});
  ASSERT_GE(tabs.size(), 2u);
  EXPECT_EQ(AccessibleLine(tabs[0]),
            "page tab 'General' [enabled sensitive showing visible selectable selected]");
  EXPECT_EQ(DescribeNode(tabs[1]).Bounds.Left - DescribeNode({pages}).Bounds.Left,
            pages->TabRect(1).Left);
  DoAccessibleAction(tabs[1], 0);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_TRUE(DescribeNode(tabs[1]).States.Contains(astSelected));
  // A part's id differs from its control's.
  EXPECT_NE(AccessibleId(tabs[1]), AccessibleId({pages}));

  auto* list = Add<TListBox>(10, 20);
  list->SetBounds(10, 20, 100, 100);
  list->Items()->Add("One");
  list->Items()->Add("Two");
  std::vector<TAccessibleNode> items = AccessibleChildren({list});
  ASSERT_EQ(items.size(), 2u);
  DoAccessibleAction(items[1], 0);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(AccessibleLine(items[1]),
            "list item 'Two' [enabled sensitive showing visible selectable selected]");
  list->Items()->Clear();
  EXPECT_THAT(MessageOf<EListError>([&] { DescribeNode(items[1]); }),
              HasSubstr("no longer exists"));
}

TEST_F(Accessible, ALabelAndItsFieldNameEachOther) {
  EXPECT_EQ(AccessibleLabelledBy({Edit}), TAccessibleNode{Label});
  EXPECT_EQ(AccessibleLabelFor({Label}), TAccessibleNode{Edit});
  EXPECT_FALSE(AccessibleLabelledBy({Next}));
  EXPECT_FALSE(AccessibleLabelFor({Next}));
  // A field in another form is named by no label of this one.
  std::unique_ptr<TForm> other(New<TForm>(nullptr));
  auto* far = New<TEdit>(other.get());
  far->SetParent(other.get());
  Label->SetFocusControl(far);
  EXPECT_FALSE(AccessibleLabelFor({Label}));
  EXPECT_FALSE(AccessibleLabelledBy({far}));
  EXPECT_FALSE(AccessibleLabelledBy({Edit}));
  Label->SetFocusControl(nullptr);
}

TEST_F(Accessible, SelectingAListItemIsAClickAndATabChangesThePage) {
  auto* list = Add<TListBox>(10, 20);
  list->SetBounds(10, 20, 100, 100);
  for (const char* item : {"One", "Two", "Three"}) list->Items()->Add(item);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  ASSERT_TRUE(OffersAccessibleSelection({list}));
  EXPECT_TRUE(AccessibleSelectedChildren({list}).empty());
  EXPECT_TRUE(SelectAccessibleChild({list}, 2));
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(AccessibleSelectedChildren({list}), std::vector<int32_t>{2});
  // Selecting it again is no click; a single-select list neither lets go nor takes all.
  EXPECT_TRUE(SelectAccessibleChild({list}, 2));
  EXPECT_EQ(clicks, 1);
  // Pressing an item is the same click.
  DoAccessibleAction({list, 0}, 0);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(SelectAccessibleChild({list}, 2));
  EXPECT_FALSE(DeselectAccessibleChild({list}, 2));
  EXPECT_FALSE(SelectAllAccessibleChildren({list}));
  EXPECT_FALSE(ClearAccessibleSelection({list}));
  EXPECT_THAT(MessageOf<EListError>([&] { SelectAccessibleChild({list}, 3); }),
              HasSubstr("no item 3"));
  list->SetMultiSelect(true);
  EXPECT_TRUE(SelectAllAccessibleChildren({list}));
  EXPECT_EQ(AccessibleSelectedChildren({list}), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_TRUE(DeselectAccessibleChild({list}, 1));
  EXPECT_EQ(AccessibleSelectedChildren({list}), (std::vector<int32_t>{0, 2}));
  EXPECT_TRUE(ClearAccessibleSelection({list}));
  EXPECT_TRUE(AccessibleSelectedChildren({list}).empty());
  EXPECT_EQ(clicks, 6);
  list->SetEnabled(false);
  EXPECT_FALSE(SelectAccessibleChild({list}, 0));
  EXPECT_FALSE(SelectAllAccessibleChildren({list}));

  TPageControl* pages = AddPages();
  EXPECT_TRUE(SelectAccessibleChild({pages}, 1));
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_EQ(AccessibleSelectedChildren({pages}), std::vector<int32_t>{1});
  EXPECT_FALSE(DeselectAccessibleChild({pages}, 1));
  EXPECT_FALSE(OffersAccessibleSelection({Next}));
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { AccessibleSelectedChildren({Next}); }),
              HasSubstr("nothing to select"));
}

TEST_F(Accessible, AScrollBarTakesAValueWithinItsRangeAndAProgressBarNone) {
  auto* bar = Add<TScrollBar>(10, 80);
  bar->SetParams(10, 0, 100);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  SetAccessibleValue({bar}, 42.4);
  EXPECT_EQ(bar->Position(), 42);
  EXPECT_EQ(changes, 1);
  SetAccessibleValue({bar}, 1e12);
  EXPECT_EQ(bar->Position(), 100 - std::max(bar->PageSize() - 1, 0));
  SetAccessibleValue({bar}, -5);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_THROW(SetAccessibleValue({bar}, std::nan("")), EConvertError);
  auto* progress = Add<TProgressBar>(10, 120);
  EXPECT_FALSE(AccessibleValueSettable({progress}));
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { SetAccessibleValue({progress}, 3); }),
              HasSubstr("cannot be set"));
  EXPECT_THROW(SetAccessibleValue({Next}, 1), EInvalidOperation);
}

TEST_F(Accessible, BarsGiveTheirValue) {
  auto* bar = Add<TProgressBar>(10, 80);
  bar->SetMax(200);
  bar->SetPosition(50);
  const TAccessibleInfo info = DescribeNode({bar});
  EXPECT_EQ(info.Role, arProgressBar);
  ASSERT_TRUE(info.Value);
  EXPECT_EQ(info.Value->Min, 0);
  EXPECT_EQ(info.Value->Max, 200);
  EXPECT_EQ(info.Value->Current, 50);
  EXPECT_FALSE(DescribeNode({Next}).Value);
}

TEST_F(Accessible, TheHubHearsFocusStatesNamesAndChildren) {
  Edit->SetFocus();
  Check->SetChecked(true);
  Next->SetEnabled(false);
  Next->SetCaption("&Finish");
  Back->SetVisible(false);
  Back->SetVisible(true);
  ASSERT_EQ(Events.size(), 8u);
  EXPECT_EQ(Events[0].Kind, aeFocus);
  EXPECT_EQ(Events[0].Node, TAccessibleNode{Edit});
  EXPECT_EQ(Events[1].Kind, aeStateChanged);
  EXPECT_EQ(Events[1].State, astChecked);
  EXPECT_TRUE(Events[1].Set);
  EXPECT_EQ(Events[2].State, astEnabled);
  EXPECT_FALSE(Events[2].Set);
  EXPECT_EQ(Events[3].Kind, aeNameChanged);
  EXPECT_EQ(Events[3].Text, "Finish");
  // Removed at the index it had, added back at the same one, each with its showing state.
  EXPECT_EQ(Events[4].Kind, aeChildRemoved);
  EXPECT_EQ(Events[4].Node, TAccessibleNode{Form.get()});
  EXPECT_EQ(Events[4].Child, TAccessibleNode{Back});
  EXPECT_EQ(Events[4].Index, 1);
  EXPECT_EQ(Events[5].State, astShowing);
  EXPECT_FALSE(Events[5].Set);
  EXPECT_EQ(Events[6].Kind, aeChildAdded);
  EXPECT_EQ(Events[6].Index, 1);
  EXPECT_TRUE(Events[7].Set);
  // A listener removed hears nothing more.
  AccessibleHub().RemoveListener(Key);
  Next->SetCaption("x");
  EXPECT_EQ(Events.size(), 8u);
}

}  // namespace
}  // namespace zelvar::test

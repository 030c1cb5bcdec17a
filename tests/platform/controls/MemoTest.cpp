#include "platform/controls/Memo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Register.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/EditSupport.h"

namespace zelvar::test {
namespace {

TEST(Memo, LinesChangedByCodeChangeTheMemo) {
  TFocusedField<TMemo> m;
  int changes = 0;
  m->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  TStrings& lines = *m->Lines();
  EXPECT_EQ(lines.Count(), 0);
  lines.Add("one");
  lines.Add("three");
  lines.Insert(1, "two");
  EXPECT_EQ(m->Text(), "one\ntwo\nthree\n");
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(changes, 3);
  lines.Put(2, "3");
  lines.Delete(0);
  EXPECT_EQ(m->Text(), "two\n3\n");
  EXPECT_EQ(lines.Text(), "two\n3\n");
  EXPECT_THROW(lines.Delete(2), EListError);
  EXPECT_THROW(lines.Get(-1), EListError);
  // A last line without a line break is a line; adding after it gives it one.
  m->SetText("a\nb");
  EXPECT_EQ(lines.Count(), 2);
  lines.Add("c");
  EXPECT_EQ(m->Text(), "a\nb\nc\n");
  lines.Delete(2);
  lines.Delete(1);
  EXPECT_EQ(m->Text(), "a\n");
  lines.SetText("x\r\ny");
  EXPECT_EQ(lines.ToVector(), (std::vector<std::string>{"x", "y"}));
  lines.Clear();
  EXPECT_EQ(m->Text(), "");
  EXPECT_EQ(lines.Count(), 0);
}

TEST(Memo, TheCaretKeepsItsPlaceWhenCodeChangesLinesBeforeIt) {
  TFocusedField<TMemo> m;
  m->SetText("alpha\nbeta");
  m->SetSelStart(8);  // "be|ta": a line break counts as one character
  EXPECT_EQ(m->CaretPos().Line, 1);
  EXPECT_EQ(m->CaretPos().Byte, 2u);
  m->Lines()->Insert(0, "new");
  EXPECT_EQ(m->SelStart(), 12);
  EXPECT_EQ(m->CaretPos().Line, 2);
  m->Lines()->Delete(0);
  m->Lines()->Delete(0);
  EXPECT_EQ(m->CaretPos().Line, 0);
  EXPECT_EQ(m->SelStart(), 2);
}

TEST(Memo, EnterBreaksLinesAndBackspaceJoinsThem) {
  TFocusedField<TMemo> m;
  Type(*m, "h\xC3\xA9llo");
  PressTimes(*m, VK_LEFT, 2);
  EXPECT_TRUE(m->CMDialogKey(VK_RETURN, {}));
  EXPECT_EQ(m->Text(), "h\xC3\xA9l\nlo");
  EXPECT_EQ(m->SelStart(), 4);
  Press(*m, VK_BACK);
  EXPECT_EQ(m->Text(), "h\xC3\xA9llo");
  Press(*m, VK_END);
  Press(*m, VK_DELETE);
  // Selections run across lines, and SelText joins them with '\n'.
  m->SetText("ab\ncd\nef");
  m->SetSelStart(1);
  m->SetSelLength(6);
  EXPECT_EQ(m->SelText(), "b\ncd\ne");
  Type(*m, "X");
  EXPECT_EQ(m->Text(), "aXf");
  // Without WantReturns Enter is left to the form's default button; tabs need WantTabs.
  m->SetWantReturns(false);
  EXPECT_FALSE(m->CMDialogKey(VK_RETURN, {}));
  EXPECT_EQ(m->WMGetDlgCode() & DLGC_WANTTAB, 0);
  m->SetWantTabs(true);
  EXPECT_NE(m->WMGetDlgCode() & DLGC_WANTTAB, 0);
}

TEST(Memo, UpAndDownKeepTheCaretsColumnAcrossShortLines) {
  TFocusedField<TMemo> m;
  m->SetWordWrap(false);
  m->SetText("abcdef\nab\nabcdef\nlast");
  m->SetSelStart(5);
  Press(*m, VK_DOWN);
  EXPECT_EQ(m->CaretPos().Line, 1);
  EXPECT_EQ(m->CaretPos().Byte, 2u);
  Press(*m, VK_DOWN);
  EXPECT_EQ(m->CaretPos().Line, 2);
  EXPECT_EQ(m->CaretPos().Byte, 5u);
  Press(*m, VK_UP, {ssShift});
  EXPECT_EQ(m->SelText(), "\nabcde");
  Press(*m, VK_END, {ssCtrl});
  EXPECT_EQ(m->SelStart(), static_cast<int32_t>(m->Text().size()));
  Press(*m, VK_HOME, {ssCtrl, ssShift});
  EXPECT_EQ(m->SelLength(), static_cast<int32_t>(m->Text().size()));
  Press(*m, VK_UP);  // the first line has nothing above it
  EXPECT_EQ(m->CaretPos().Line, 0);
}

TEST(Memo, PageKeysAndTheWheelScrollTheView) {
  TFocusedField<TMemo> m;
  for (int i = 0; i < 100; ++i) m->Lines()->Add("line " + std::to_string(i));
  TCanvas canvas(nullptr);
  canvas.Font()->Assign(m->Font());
  const int32_t page = m->TextRect().Height() / canvas.TextHeight("X");
  m->SetSelStart(0);
  Press(*m, VK_NEXT);
  EXPECT_EQ(m->CaretPos().Line, page);
  EXPECT_EQ(m->TopIndex(), page);
  EXPECT_TRUE(m->DoMouseWheel({}, -WHEEL_DELTA, {5, 5}));
  EXPECT_EQ(m->TopIndex(), page + kWheelScrollLines);
  m->DoMouseWheel({}, 2 * WHEEL_DELTA, {5, 5});
  EXPECT_EQ(m->TopIndex(), page - kWheelScrollLines);
  // The view stops where the last row shows at the bottom (101 rows: the last is empty).
  m->DoMouseWheel({}, -100 * WHEEL_DELTA, {5, 5});
  EXPECT_EQ(m->TopIndex(), 101 - page);
  m->DoMouseWheel({}, 100 * WHEEL_DELTA, {5, 5});
  EXPECT_EQ(m->TopIndex(), 0);
  // Moving the caret out of view brings it back.
  Press(*m, VK_END, {ssCtrl});
  EXPECT_EQ(m->TopIndex(), 101 - page);
}

TEST(Memo, WordWrapBreaksAfterTheLastBlankThatFits) {
  auto form = std::unique_ptr<TStdTestForm>(New<TStdTestForm>(nullptr));
  auto* wrapped = Make<TMemo>(form.get(), 0, 0);
  auto* broken = Make<TMemo>(form.get(), 0, 100);
  TCanvas canvas(nullptr);
  canvas.Font()->Assign(wrapped->Font());
  // The text area is one pixel narrower than "alpha beta": beta goes to the next row.
  const int32_t frame = wrapped->Width() - wrapped->TextRect().Width();
  wrapped->SetWidth(frame + canvas.TextWidth("alpha beta") - 1);
  broken->SetWidth(wrapped->Width());
  wrapped->SetText("alpha beta");
  broken->SetText("alpha\nbeta");
  broken->SetWordWrap(false);
  TShot a(*form, *wrapped);
  TShot b(*form, *broken);
  EXPECT_EQ(TextPixels(a, *wrapped), TextPixels(b, *broken));
  // One pixel wider and it fits.
  wrapped->SetWidth(wrapped->Width() + 1);
  broken->SetWidth(wrapped->Width());
  broken->SetText("alpha beta");
  TShot c(*form, *wrapped);
  TShot d(*form, *broken);
  EXPECT_EQ(TextPixels(c, *wrapped), TextPixels(d, *broken));
  // A word longer than a row breaks inside; Down walks rows, not lines.
  wrapped->SetText(std::string(40, 'm'));
  wrapped->SetFocus();
  wrapped->SetSelStart(0);
  Press(*wrapped, VK_DOWN);
  EXPECT_EQ(wrapped->CaretPos().Line, 0);
  EXPECT_GT(wrapped->SelStart(), 0);
  EXPECT_LT(wrapped->SelStart(), 40);
  EXPECT_EQ(canvas.TextWidth(std::string(static_cast<size_t>(wrapped->SelStart()), 'm')) <=
                wrapped->TextRect().Width(),
            true);
}

TEST(Memo, AVerticalBarScrollsTheViewAndNarrowsTheText) {
  TFocusedField<TMemo> m;
  const int32_t full = m->TextRect().Width();
  m->SetScrollBars(ssVertical);
  EXPECT_EQ(m->TextRect().Width(), full - ScrollBarWidth());
  for (int i = 0; i < 50; ++i) m->Lines()->Add("row");
  m->SyncScrollBars();
  TScrollBarLayout bar = m->VertScrollBar().Layout();
  ASSERT_FALSE(bar.More.Empty());
  m->MouseDown(mbLeft, {}, bar.More.Left + 2, bar.More.Top + 2);
  m->MouseUp(mbLeft, {}, bar.More.Left + 2, bar.More.Top + 2);
  EXPECT_EQ(m->TopIndex(), 1);
  EXPECT_EQ(m->SelStart(), 0);  // the press was the bar's, not the text's
}

TEST(Memo, AHundredThousandLinesMapRowsAndCharactersExactly) {
  TFocusedField<TMemo> m;
  m->SetWordWrap(false);
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "line " + std::to_string(i) + "\n";
  m->SetText(text);
  EXPECT_EQ(m->Lines()->Count(), 100000);
  const std::string before = text.substr(0, text.find("line 54321"));
  m->SetSelStart(static_cast<int32_t>(before.size()));
  EXPECT_EQ(m->CaretPos().Line, 54321);
  Press(*m, VK_DOWN);
  Type(*m, "!");
  EXPECT_EQ(m->Lines()->Get(54322), "!line 54322");
  EXPECT_EQ(m->SelStart(), static_cast<int32_t>(before.size() + 12));
  // Lines inserted in the middle keep the later rows right.
  m->Lines()->Insert(10, "inserted");
  m->SetSelStart(static_cast<int32_t>(before.size()) + 9);
  EXPECT_EQ(m->CaretPos().Line, 54322);
  EXPECT_EQ(m->CaretPos().Byte, 0u);
}

TEST(Memo, FormFilesKeepLinesStringsAndTheOtherProperties) {
  RegisterControls();
  TMemo memo(nullptr);
  memo.SetName("Memo1");
  EXPECT_EQ(WriteComponent(&memo, TFormFormat::Text).find("Lines"), std::string::npos);
  memo.Lines()->Add("First line");
  memo.Lines()->Add("Zweite Zeile \xC3\xBC");
  memo.SetWordWrap(false);
  memo.SetScrollBars(ssBoth);
  memo.SetWantTabs(true);
  memo.SetWantReturns(false);
  memo.SetReadOnly(true);
  memo.SetMaxLength(100);
  std::string text = WriteComponent(&memo, TFormFormat::Text);
  EXPECT_NE(text.find("  Height = 89\n  Lines.Strings = (\n    'First line'\n"), std::string::npos)
      << text;
  int changes = 0;
  std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(&memo)));
  auto* m = As<TMemo>(copy.get());
  m->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  EXPECT_EQ(m->Lines()->ToVector(), memo.Lines()->ToVector());
  EXPECT_EQ(m->Text(), "First line\nZweite Zeile \xC3\xBC\n");
  EXPECT_FALSE(m->WordWrap());
  EXPECT_EQ(m->ScrollBars(), ssBoth);
  EXPECT_TRUE(m->WantTabs());
  EXPECT_FALSE(m->WantReturns());
  EXPECT_TRUE(m->ReadOnly());
  EXPECT_EQ(m->MaxLength(), 100);
  EXPECT_EQ(m->SelStart(), 0);
  EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace zelvar::test

#include "platform/controls/Edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/controls/Clipbrd.h"
#include "platform/controls/Register.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/EditSupport.h"

namespace zelvar::test {
namespace {

TEST(Edit, TheCaretStepsOverWholeUtf8Characters) {
  TFocusedField<TEdit> e;
  Type(*e, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");  // a, é, €, an emoji, z
  EXPECT_EQ(e->SelStart(), 5);
  const size_t bytes[] = {0, 1, 3, 6, 10, 11};
  for (int i = 5; i > 0; --i) {
    EXPECT_EQ(e->CaretPos().Byte, bytes[i]);
    Press(*e, VK_LEFT);
  }
  EXPECT_EQ(e->SelStart(), 0);
  for (int i = 1; i <= 5; ++i) {
    Press(*e, VK_RIGHT);
    EXPECT_EQ(e->CaretPos().Byte, bytes[i]);
    EXPECT_EQ(e->SelStart(), i);
  }
  // Selecting, deleting and backspacing take whole characters too.
  PressTimes(*e, VK_LEFT, 2, {ssShift});
  EXPECT_EQ(e->SelText(), "\xF0\x9F\x98\x80z");
  EXPECT_EQ(e->SelLength(), 2);
  Press(*e, VK_LEFT);
  Press(*e, VK_BACK);
  EXPECT_EQ(e->Text(), "a\xC3\xA9\xF0\x9F\x98\x80z");
  Press(*e, VK_DELETE);
  EXPECT_EQ(e->Text(), "a\xC3\xA9z");
  e->SetSelStart(1);
  e->SetSelLength(1);
  EXPECT_EQ(e->SelText(), "\xC3\xA9");
  // One line, and no other.
  EXPECT_EQ(e->Line(0), e->Text());
  EXPECT_THROW(e->Line(1), EListError);
  EXPECT_THROW(e->Line(-1), EListError);
}

TEST(Edit, ShiftAndCtrlKeysSelectByCharacterWordAndLine) {
  TFocusedField<TEdit> e;
  e->SetText("hello big, world");
  Press(*e, VK_HOME);
  Press(*e, VK_RIGHT, {ssCtrl});
  EXPECT_EQ(e->SelStart(), 6);
  Press(*e, VK_RIGHT, {ssCtrl, ssShift});
  EXPECT_EQ(e->SelText(), "big");
  Press(*e, VK_RIGHT, {ssCtrl, ssShift});
  EXPECT_EQ(e->SelText(), "big, ");
  // Back over the anchor: the selection turns round it.
  PressTimes(*e, VK_LEFT, 3, {ssCtrl, ssShift});
  EXPECT_EQ(e->SelStart(), 0);
  EXPECT_EQ(e->SelText(), "hello ");
  Press(*e, VK_END, {ssShift});
  EXPECT_EQ(e->SelStart(), 6);
  EXPECT_EQ(e->SelText(), "big, world");
  // Without Shift a selection collapses towards the arrow.
  Press(*e, VK_LEFT);
  EXPECT_EQ(e->SelStart(), 6);
  EXPECT_EQ(e->SelLength(), 0);
  Press(*e, 'A', {ssCtrl});
  EXPECT_EQ(e->SelLength(), 16);
  Press(*e, VK_BACK);
  EXPECT_EQ(e->Text(), "");
}

TEST(Edit, PastesReplaceTheSelectionAndKeepToMaxLengthAndOneLine) {
  TFocusedField<TEdit> e;
  int changes = 0;
  e->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  e->SetMaxLength(5);
  Type(*e, "ab");
  e->SetSelStart(1);
  e->SetSelLength(1);
  // Room for four characters: cut after the é, never inside it; the line break is dropped.
  Clipboard().SetAsText("xy\r\nz\xC3\xA9\xE2\x82\xAC");
  Press(*e, 'V', {ssCtrl});
  EXPECT_EQ(e->Text(), "axyz\xC3\xA9");
  EXPECT_EQ(e->SelStart(), 5);
  changes = 0;
  Type(*e, "q");
  Press(*e, VK_INSERT, {ssShift});
  EXPECT_EQ(e->Text(), "axyz\xC3\xA9");
  EXPECT_EQ(changes, 0);
  // Cut and copy with the classic keys.
  e->SetSelStart(1);
  e->SetSelLength(2);
  Press(*e, VK_DELETE, {ssShift});
  EXPECT_EQ(e->Text(), "az\xC3\xA9");
  EXPECT_EQ(Clipboard().AsText(), "xy");
  Press(*e, 'A', {ssCtrl});
  Press(*e, VK_INSERT, {ssCtrl});
  EXPECT_EQ(Clipboard().AsText(), "az\xC3\xA9");
  // Code is not limited.
  e->SetText("longer than five");
  EXPECT_EQ(e->Text(), "longer than five");
}

TEST(Edit, CharCaseAppliesToTypedPastedAndExistingText) {
  TFocusedField<TEdit> e;
  e->SetCharCase(ecUpperCase);
  Type(*e, "ab\xC3\xA9");
  Clipboard().SetAsText("Cd");
  Press(*e, 'V', {ssCtrl});
  EXPECT_EQ(e->Text(),
            "AB\xC3\xA9"
            "CD");
  e->SetSelStart(2);
  e->SetCharCase(ecLowerCase);
  EXPECT_EQ(e->Text(),
            "ab\xC3\xA9"
            "cd");
  EXPECT_EQ(e->SelStart(), 2);
}

TEST(Edit, ReadOnlyMovesAndCopiesButChangesNothing) {
  TFocusedField<TEdit> e;
  e->SetText("fixed");
  e->SetReadOnly(true);
  int changes = 0;
  e->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  Clipboard().SetAsText("other");
  Press(*e, VK_END);
  Type(*e, "x");
  Press(*e, VK_BACK);
  PressTimes(*e, VK_LEFT, 2, {ssShift});
  EXPECT_EQ(e->SelText(), "ed");
  Press(*e, VK_DELETE);
  Press(*e, 'X', {ssCtrl});
  Press(*e, 'V', {ssCtrl});
  EXPECT_EQ(e->Text(), "fixed");
  EXPECT_EQ(changes, 0);
  Press(*e, 'C', {ssCtrl});
  EXPECT_EQ(Clipboard().AsText(), "ed");
}

TEST(Edit, OnKeyPressMayChangeOrSwallowTheCharacter) {
  TFocusedField<TEdit> e;
  e->OnKeyPress = TKeyPressEvent([](TObject*, char32_t& key) {
    if (key == '-') key = 0;
    if (key == 'o') key = U'\u00F6';
  });
  Type(*e, "a-o");
  EXPECT_EQ(e->Text(), "a\xC3\xB6");
}

TEST(Edit, TabbingInSelectsAllAndAClickPlacesTheCaret) {
  TFocusedField<TEdit> e;
  auto* other = Make<TEdit>(e.Form.get(), 10, 40);
  other->SetText("select me");
  other->SetFocus();
  EXPECT_EQ(other->SelLength(), 9);
  e->SetFocus();
  other->SetAutoSelect(false);
  other->SetSelStart(3);
  other->SetFocus();
  EXPECT_EQ(other->SelStart(), 3);
  EXPECT_EQ(other->SelLength(), 0);

  // A click lands between the characters nearest to it; a drag selects; a double click
  // takes the word.
  e->SetText("one two");
  TCanvas canvas(nullptr);
  canvas.Font()->Assign(e->Font());
  const int32_t left = e->TextRect().Left, y = e->TextRect().Top + 2;
  e->MouseDown(mbLeft, {}, left + canvas.TextWidth("on") + 1, y);
  EXPECT_EQ(e->SelStart(), 2);
  EXPECT_EQ(e->SelLength(), 0);
  e->MouseMove({ssLeft}, left + canvas.TextWidth("one tw") + 1, y);
  e->MouseUp(mbLeft, {}, left + canvas.TextWidth("one tw") + 1, y);
  EXPECT_EQ(e->SelText(), "e tw");
  e->MouseDown(mbLeft, {ssDouble}, left + canvas.TextWidth("one t") + 1, y);
  EXPECT_EQ(e->SelText(), "two");
}

TEST(Edit, APasswordShowsOneMaskPerCharacterAndIsNotCopied) {
  TFocusedField<TEdit> e;
  auto* plain = Make<TEdit>(e.Form.get(), 10, 40);
  e->SetText("p\xC3\xA4ss");  // four characters, five bytes
  e->SetPasswordChar('*');
  plain->SetText("****");
  e->SetSelStart(4);
  plain->SetSelStart(4);
  plain->SetFocus();
  TShot plainShot(*e.Form, *plain);
  e->SetFocus();
  TShot maskedShot(*e.Form, *e);
  EXPECT_EQ(TextPixels(maskedShot, *e), TextPixels(plainShot, *plain));
  Clipboard().SetAsText("before");
  Press(*e, 'A', {ssCtrl});
  Press(*e, 'C', {ssCtrl});
  Press(*e, 'X', {ssCtrl});
  EXPECT_EQ(Clipboard().AsText(), "before");
  EXPECT_EQ(e->Text(), "p\xC3\xA4ss");
}

TEST(Edit, PaintsTheSelectionAndACaretWhereTheTextMetricsPutThem) {
  TFocusedField<TEdit> e;
  e->SetText("abcd");
  e->SetSelStart(1);
  e->SetSelLength(2);
  TCanvas canvas(nullptr);
  canvas.Font()->Assign(e->Font());
  const TRect r = e->TextRect();
  const int32_t y = r.Top + canvas.TextHeight("X") - 2;  // inside the text cell
  {
    TShot shot(*e.Form, *e);
    EXPECT_EQ(shot(0, 0), Sys(clBtnShadow));  // the sunken frame
    EXPECT_EQ(shot(1, 1), Sys(cl3DDkShadow));
    // The selection's background fills the cell between the edges of "a" and "abc".
    EXPECT_NE(shot(r.Left + canvas.TextWidth("a") - 1, y), Sys(clHighlight));
    EXPECT_EQ(shot(r.Left + canvas.TextWidth("a"), r.Top), Sys(clHighlight));
    EXPECT_EQ(shot(r.Left + canvas.TextWidth("abc") - 1, r.Top), Sys(clHighlight));
    EXPECT_NE(shot(r.Left + canvas.TextWidth("abc"), r.Top), Sys(clHighlight));
  }
  // The caret is one pixel wide, after the "ab" it follows, and only while focused.
  e->SetSelStart(2);
  const int32_t caretX = r.Left + canvas.TextWidth("ab");
  {
    TShot shot(*e.Form, *e);
    EXPECT_EQ(shot(caretX, r.Top), Sys(clWindowText));
    EXPECT_EQ(shot(caretX, r.Top + canvas.TextHeight("X") - 1), Sys(clWindowText));
  }
  auto* other = Make<TEdit>(e.Form.get(), 10, 40);
  other->SetFocus();
  {
    TShot shot(*e.Form, *e);
    EXPECT_EQ(shot(caretX, r.Top), Sys(clWindow));
  }
  // Disabled: the field turns button face and the text grey.
  e->SetEnabled(false);
  TShot shot(*e.Form, *e);
  EXPECT_EQ(shot(r.Left, r.Bottom - 1), Sys(clBtnFace));
  bool grey = false;
  for (int32_t x = r.Left; x < r.Left + canvas.TextWidth("abcd"); ++x)
    for (int32_t yy = r.Top; yy < r.Bottom; ++yy) grey = grey || shot(x, yy) == Sys(clGrayText);
  EXPECT_TRUE(grey);
}

TEST(Edit, LongTextScrollsSoTheCaretStaysInView) {
  TFocusedField<TEdit> e;
  std::string text(60, 'w');
  e->SetText(text);
  TCanvas canvas(nullptr);
  canvas.Font()->Assign(e->Font());
  const TRect r = e->TextRect();
  ASSERT_GT(canvas.TextWidth(text), r.Width());
  Press(*e, VK_END);
  // The caret sits at the right edge: the text ends there.
  TShot end(*e.Form, *e);
  EXPECT_EQ(end(r.Right - 1, r.Top), Sys(clWindowText));
  Press(*e, VK_HOME);
  TShot home(*e.Form, *e);
  EXPECT_EQ(home(r.Left, r.Top), Sys(clWindowText));
  EXPECT_NE(home(r.Right - 1, r.Top), Sys(clWindowText));
}

TEST(Edit, FormFilesKeepTheFieldsProperties) {
  RegisterControls();
  TEdit edit(nullptr);
  edit.SetName("Edit1");
  std::string plain = WriteComponent(&edit, TFormFormat::Text);
  EXPECT_EQ(plain.find("PasswordChar"), std::string::npos);
  EXPECT_EQ(plain.find("Text"), std::string::npos);
  edit.SetText(
      "Zur\xC3\xBC"
      "ck");
  edit.SetPasswordChar('*');
  edit.SetMaxLength(8);
  edit.SetCharCase(ecLowerCase);
  edit.SetAutoSelect(false);
  edit.SetReadOnly(true);
  std::string text = WriteComponent(&edit, TFormFormat::Text);
  EXPECT_NE(text.find("PasswordChar = '*'"), std::string::npos) << text;
  EXPECT_NE(text.find("  Text = 'zur"), std::string::npos) << text;
  std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(&edit)));
  auto* e = As<TEdit>(copy.get());
  EXPECT_EQ(e->Text(),
            "zur\xC3\xBC"
            "ck");
  EXPECT_EQ(e->PasswordChar(), '*');
  EXPECT_EQ(e->MaxLength(), 8);
  EXPECT_EQ(e->CharCase(), ecLowerCase);
  EXPECT_FALSE(e->AutoSelect());
  EXPECT_TRUE(e->ReadOnly());
  // A mask is one ASCII character.
  EXPECT_THROW(SetPropText(e, "PasswordChar", "'**'"), Exception);
  EXPECT_EQ(e->PasswordChar(), '*');
  SetPropText(e, "PasswordChar", "#0");
  EXPECT_EQ(e->PasswordChar(), '\0');
}

}  // namespace
}  // namespace zelvar::test

#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Register.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Bitmap.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar::test {
namespace {

// The smallest rectangle holding every pixel of colour in r; empty when there is none.
TRect InkBox(TShot& shot, TRect r, TColor color) {
  TRect box{r.Right, r.Bottom, r.Left, r.Top};
  for (int32_t y = r.Top; y < r.Bottom; ++y)
    for (int32_t x = r.Left; x < r.Right; ++x)
      if (shot(x, y) == color)
        box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
               std::max(box.Bottom, y + 1)};
  return box.Empty() ? TRect{} : box;
}

// Measures text in a control's font, as it paints.
struct TMeasure {
  TCanvas Canvas{nullptr};
  explicit TMeasure(const TControl& c) { Canvas.Font()->Assign(c.Font()); }
  int32_t TextWidth(std::string_view s) const { return Canvas.TextWidth(s); }
  int32_t TextHeight(std::string_view s) const { return Canvas.TextHeight(s); }
  TFont* Font() const { return Canvas.Font(); }
};

// --- radio buttons

TEST(StdCtrlsRadio, CheckingOneUnchecksOnlyItsSiblings) {
  TStdTestForm form(nullptr);
  auto* a = Make<TRadioButton>(&form, 0, 0);
  auto* b = Make<TRadioButton>(&form, 0, 20);
  auto* panel = Make<TPanel>(&form, 0, 50);
  auto* c = Make<TRadioButton>(panel, 0, 0);
  a->SetChecked(true);
  c->SetChecked(true);
  EXPECT_TRUE(a->Checked());
  b->Click();  // a click checks and takes the check from a, not from c in the panel
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(c->Checked());
  // The checked button is the group's tab stop.
  EXPECT_TRUE(b->TabStop());
  EXPECT_FALSE(a->TabStop());
}

TEST(StdCtrlsRadio, MovingToAnotherParentKeepsEveryButtonsState) {
  TStdTestForm form(nullptr);
  auto* a = Make<TRadioButton>(&form, 0, 0);
  auto* panel = Make<TPanel>(&form, 0, 50);
  auto* c = Make<TRadioButton>(panel, 0, 0);
  auto* d = Make<TRadioButton>(panel, 0, 20);
  a->SetChecked(true);
  c->SetChecked(true);
  c->SetParent(&form);
  EXPECT_TRUE(a->Checked());
  EXPECT_TRUE(c->Checked());
  c->SetParent(panel);
  EXPECT_TRUE(c->Checked());
  // Only a click, a key or Checked takes the check from the siblings.
  a->SetParent(panel);
  EXPECT_TRUE(a->Checked());
  d->Click();
  EXPECT_FALSE(a->Checked());
  EXPECT_FALSE(c->Checked());
}

TEST(StdCtrlsRadio, PaintsTheDotOnlyWhenChecked) {
  TStdTestForm form(nullptr);
  auto* a = Make<TRadioButton>(&form, 10, 10);
  a->SetCaption("Choice");
  int32_t cy = (a->Height() - TRadioButton::kCircleSize) / 2 + TRadioButton::kCircleSize / 2;
  int32_t cx = TRadioButton::kCircleSize / 2;
  TShot off(form, *a);
  EXPECT_EQ(off(cx, cy), Sys(clWindow));
  EXPECT_EQ(off(0, cy), Sys(clBtnShadow));  // the ring's upper-left half
  a->SetChecked(true);
  TShot on(form, *a);
  EXPECT_EQ(on(cx, cy), Sys(clWindowText));
  // The caption starts right of the circle.
  TMeasure m(*a);
  TRect ink = InkBox(on, Rect(0, 0, a->Width(), a->Height()), clBlack);
  EXPECT_LE(ink.Right, TRadioButton::kCircleSize + 5 + m.TextWidth("Choice"));
  TRect text = InkBox(on, Rect(TRadioButton::kCircleSize, 0, a->Width(), a->Height()), clBlack);
  EXPECT_GE(text.Left, TRadioButton::kCircleSize + 5);
}

// --- check boxes

// A form with a check box on it, worked through the form as the user works it. Log holds the
// state at each OnClick.
struct TCheckForm {
  TForm Form{nullptr};
  TCheckBox* Box = nullptr;
  std::string Log;

  TCheckForm() {
    Form.SetBounds(0, 0, 300, 200);
    Form.SetVisible(true);  // focusable without a modal loop
    Box = Make<TCheckBox>(&Form, 10, 10);
    Box->SetCaption("&Accept");
    Box->OnClick = TNotifyEvent([this](TObject*) { Log += GetPropText(Box, "State") + " "; });
  }
  void Press() { Form.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, 15, 18); }
  void Release(int32_t x = 15) { Form.DispatchMouse(TMessage::MouseUp, mbLeft, {}, x, 18); }
  void Click() {
    Press();
    Release();
  }
  void Key(TMessage::TKind kind, uint16_t key, TShiftState shift = {}) {
    Form.DispatchKey(kind, key, shift, 0);
  }
  void Space() {
    Key(TMessage::KeyDown, VK_SPACE);
    Key(TMessage::KeyUp, VK_SPACE);
  }
  void Accelerator() {
    Key(TMessage::KeyDown, 'A', {ssAlt});
    Key(TMessage::KeyUp, 'A', {ssAlt});
  }
};

using TCheckInput = void (TCheckForm::*)();
const TCheckInput kCheckInputs[] = {&TCheckForm::Click, &TCheckForm::Space,
                                    &TCheckForm::Accelerator};

TEST(StdCtrlsCheckBox, ClickSpaceAndAcceleratorStepThroughTheStatesInTheClassicOrder) {
  for (TCheckInput input : kCheckInputs) {
    TCheckForm f;
    f.Box->SetFocus();  // Space goes to the focused control
    for (int i = 0; i < 3; ++i) (f.*input)();
    EXPECT_EQ(f.Log, "cbChecked cbUnchecked cbChecked ");
    f.Box->SetAllowGrayed(true);
    f.Log.clear();
    for (int i = 0; i < 4; ++i) (f.*input)();
    EXPECT_EQ(f.Log, "cbUnchecked cbGrayed cbChecked cbUnchecked ");
  }
}

TEST(StdCtrlsCheckBox, TogglesWhenReleasedOverItAndPaintsPushedMeanwhile) {
  TCheckForm f;
  int32_t top = (f.Box->Height() - TCheckBox::kBoxSize) / 2;
  TPoint face{2 + 8, top + 2};  // inside the box, clear of the mark
  f.Press();
  EXPECT_TRUE(f.Box->Focused());
  EXPECT_EQ(TShot(f.Form, *f.Box)(face.X, face.Y), Sys(clBtnFace));
  EXPECT_EQ(f.Log, "");
  f.Release(250);  // dragged off: no toggle
  EXPECT_EQ(f.Log, "");
  EXPECT_EQ(TShot(f.Form, *f.Box)(face.X, face.Y), Sys(clWindow));

  f.Key(TMessage::KeyDown, VK_SPACE);
  EXPECT_TRUE(f.Box->Pressed());
  EXPECT_EQ(f.Log, "");  // Space toggles when it comes up
  f.Key(TMessage::KeyUp, VK_SPACE);
  EXPECT_EQ(f.Log, "cbChecked ");
  // The focus leaving while Space is down takes the press with it.
  auto* other = Make<TButton>(&f.Form, 10, 100);
  f.Key(TMessage::KeyDown, VK_SPACE);
  other->SetFocus();
  uint16_t space = VK_SPACE;
  f.Box->KeyUp(space, {});
  EXPECT_EQ(f.Log, "cbChecked ");
}

TEST(StdCtrlsCheckBox, DisabledTakesNoInput) {
  TCheckForm f;
  auto* panel = Make<TPanel>(&f.Form, 0, 100);
  auto* inner = Make<TCheckBox>(panel, 5, 5);
  inner->SetCaption("&Inner");
  f.Box->SetEnabled(false);
  panel->SetEnabled(false);
  for (TCheckInput input : kCheckInputs) (f.*input)();
  f.Key(TMessage::KeyDown, 'I', {ssAlt});
  f.Form.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, 10, 110);
  f.Form.DispatchMouse(TMessage::MouseUp, mbLeft, {}, 10, 110);
  EXPECT_EQ(f.Log, "");
  EXPECT_FALSE(f.Box->Checked());
  EXPECT_FALSE(inner->Checked());
  EXPECT_FALSE(f.Box->Focused());
}

TEST(StdCtrlsCheckBox, CodeThatChangesTheStateRaisesOnClickOnce) {
  TCheckForm f;
  f.Box->SetChecked(true);
  f.Box->SetChecked(true);    // no change, no click
  f.Box->SetState(cbGrayed);  // code may gray a box that does not allow it
  f.Box->SetChecked(true);
  f.Box->SetState(cbUnchecked);
  EXPECT_EQ(f.Log, "cbChecked cbGrayed cbChecked cbUnchecked ");
  EXPECT_THROW(f.Box->SetAlignment(taCenter), EInvalidOperation);
  EXPECT_EQ(f.Box->Alignment(), taRightJustify);
  EXPECT_THROW(SetPropText(f.Box, "Alignment", "taCenter"), EPropertyError);
}

TEST(StdCtrlsCheckBox, PaintsTheSunkenBoxItsMarkAndTheCaptionBesideIt) {
  TCheckForm f;
  TCheckBox& b = *f.Box;
  b.SetCaption("Accept");
  constexpr int32_t n = TCheckBox::kBoxSize;
  int32_t top = (b.Height() - n) / 2;
  // The mark's lowest point: its third column, down to two pixels above the face's bottom.
  TPoint tip{2 + 1 + 2, top + n - 2 - 2};
  TShot off(f.Form, b);
  EXPECT_EQ(off(0, top), Sys(clBtnShadow));
  EXPECT_EQ(off(1, top + 1), Sys(clBlack));
  EXPECT_EQ(off(n - 1, top + n - 1), Sys(clBtnHighlight));
  EXPECT_EQ(off(n - 2, top + n - 2), Sys(clBtnFace));
  EXPECT_EQ(off(tip.X, tip.Y), Sys(clWindow));
  b.SetChecked(true);
  TShot on(f.Form, b);
  EXPECT_EQ(on(tip.X, tip.Y), Sys(clWindowText));
  EXPECT_EQ(on(tip.X, tip.Y + 1), Sys(clWindow));
  EXPECT_EQ(on(2 + 8, top + 2), Sys(clWindow));  // the mark leaves the face's edge clear
  b.SetState(cbGrayed);
  TShot gray(f.Form, b);
  EXPECT_EQ(gray(tip.X, tip.Y), Sys(clBtnShadow));
  EXPECT_EQ(gray(2 + 8, top + 2), Sys(clBtnFace));

  TMeasure m(b);
  int32_t tw = m.TextWidth("Accept"), th = m.TextHeight("Accept");
  TRect ink = InkBox(on, Rect(n, 0, b.Width(), b.Height()), clBlack);
  EXPECT_GE(ink.Left, n + 5);
  EXPECT_LE(ink.Right, n + 5 + tw);
  // Box on the right, caption on the left.
  b.SetAlignment(taLeftJustify);
  TShot left(f.Form, b);
  EXPECT_EQ(left(b.Width() - n, top), Sys(clBtnShadow));
  ink = InkBox(left, Rect(0, 0, b.Width() - n, b.Height()), clBlack);
  EXPECT_GE(ink.Left, 2);
  EXPECT_LE(ink.Right, 2 + tw);
  // Focused: the dotted rectangle two pixels around the caption.
  int32_t ty = (b.Height() - th) / 2;
  b.SetFocus();
  TShot focused(f.Form, b);
  TRect dots{b.Width(), b.Height(), 0, 0};
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width() - n; ++x)
      if (focused(x, y) != left(x, y))
        dots = {std::min(dots.Left, x), std::min(dots.Top, y), std::max(dots.Right, x + 1),
                std::max(dots.Bottom, y + 1)};
  EXPECT_EQ(dots, Rect(0, ty, 2 + tw + 2, ty + th));
  // Disabled: embossed caption, grey face, grey mark.
  f.Form.SetFocusedControl(nullptr);
  b.SetEnabled(false);
  b.SetState(cbChecked);
  TShot off2(f.Form, b);
  EXPECT_TRUE(InkBox(off2, Rect(0, 0, b.Width() - n, b.Height()), clBlack).Empty());
  EXPECT_EQ(off2(b.Width() - n + tip.X, tip.Y), Sys(clBtnShadow));
}

TEST(StdCtrlsCheckBox, FormFilesStoreStateAndCheckedAsClassicFilesDo) {
  TCheckForm f;
  f.Form.SetName("Work");
  f.Box->SetName("Accept");
  auto* grayed = Make<TCheckBox>(&f.Form, 10, 40);
  grayed->SetName("Partly");
  grayed->SetAllowGrayed(true);
  grayed->SetAlignment(taLeftJustify);
  grayed->SetState(cbGrayed);
  f.Box->SetChecked(true);
  std::string text = WriteComponent(&f.Form, TFormFormat::Text);
  EXPECT_NE(text.find("Caption = '&Accept'\n    Checked = True\n    State = cbChecked\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Alignment = taLeftJustify\n    AllowGrayed = True\n"), std::string::npos);
  EXPECT_EQ(text.find("Checked = False"), std::string::npos);
  EXPECT_EQ(text.find("TabStop"), std::string::npos);
  RegisterControls();
  RegisterClasses<TForm>();
  for (TFormFormat format : {TFormFormat::Text, TFormFormat::Binary}) {
    std::unique_ptr<TComponent> back(ReadComponent(WriteComponent(&f.Form, format)));
    auto* accept = As<TCheckBox>(back->FindComponent("Accept"));
    auto* partly = As<TCheckBox>(back->FindComponent("Partly"));
    EXPECT_TRUE(accept->Checked());
    EXPECT_EQ(partly->State(), cbGrayed);
    EXPECT_EQ(partly->Alignment(), taLeftJustify);
    EXPECT_TRUE(partly->AllowGrayed());
    EXPECT_EQ(WriteComponent(back.get(), TFormFormat::Text), text);
  }
  // A file may name only State, as classic files for a grayed box do; a centred box is none.
  std::unique_ptr<TComponent> only(ReadComponent(
      "object Work: TForm\n  object B: TCheckBox\n    State = cbChecked\n  end\nend\n"));
  EXPECT_TRUE(As<TCheckBox>(only->FindComponent("B"))->Checked());
  EXPECT_THROW(ReadComponent("object Work: TForm\n  object B: TCheckBox\n    Alignment = "
                             "taCenter\n  end\nend\n"),
               EReadError);
}

// --- buttons

TEST(StdCtrlsButton, ClicksWhenReleasedInsideOnly) {
  TStdTestForm form(nullptr);
  auto* b = Make<TButton>(&form, 10, 10);
  int clicks = 0;
  b->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  b->MouseDown(mbLeft, {}, 5, 5);
  EXPECT_TRUE(b->Focused());
  EXPECT_TRUE(b->Pressed());
  b->MouseUp(mbLeft, {}, 5, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Pressed());
  b->MouseDown(mbLeft, {}, 5, 5);
  b->MouseMove({ssLeft}, 100, 5);
  EXPECT_FALSE(b->Pressed());  // dragged off: raised again
  b->MouseUp(mbLeft, {}, 100, 5);
  EXPECT_EQ(clicks, 1);
}

TEST(StdCtrlsButton, PaintsRaisedOrSunkenWithTheCaptionCentred) {
  TStdTestForm form(nullptr);
  auto* other = Make<TButton>(&form, 100, 10);
  auto* b = Make<TButton>(&form, 10, 10);
  b->SetCaption("OK");
  other->SetFocus();
  TShot up(form, *b);
  int32_t w = b->Width(), h = b->Height();
  EXPECT_EQ(up(0, 0), Sys(clBtnHighlight));
  EXPECT_EQ(up(w - 1, h - 1), Sys(clBlack));
  EXPECT_EQ(up(w - 2, h - 2), Sys(clBtnShadow));
  EXPECT_EQ(up(1, 1), Sys(clBtnFace));
  TMeasure m(*b);
  int32_t tx = (w - m.TextWidth("OK")) / 2, ty = (h - m.TextHeight("OK")) / 2;
  TRect ink = InkBox(up, Rect(2, 2, w - 2, h - 2), clBlack);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.Left, tx);
  EXPECT_LE(ink.Right, tx + m.TextWidth("OK"));
  EXPECT_GE(ink.Top, ty);
  EXPECT_LE(ink.Bottom, ty + m.TextHeight("OK"));

  b->MouseDown(mbLeft, {}, 3, 3);
  TShot down(form, *b);
  EXPECT_EQ(down(0, 0), Sys(clBlack));
  EXPECT_EQ(down(1, 1), Sys(clBtnShadow));
  TRect sunk = InkBox(down, Rect(2, 2, w - 2, h - 2), clBlack);
  EXPECT_EQ(sunk.Left, ink.Left + 1);
  EXPECT_EQ(sunk.Top, ink.Top + 1);
  // Focused: the dotted rectangle inverts every other pixel 4 in from the edge.
  EXPECT_NE(down(4 + (b->Left() + b->Top()) % 2, 4), Sys(clBtnFace));
  b->MouseUp(mbLeft, {}, 300, 300);
}

TEST(StdCtrlsButton, UnderlinesTheAcceleratorAndEmbossesWhenDisabled) {
  TStdTestForm form(nullptr);
  auto* b = Make<TButton>(&form, 0, 0);
  b->SetCaption("Next");
  TShot plain(form, *b);
  b->SetCaption("&Next");
  TShot marked(form, *b);
  TMeasure m(*b);
  int32_t tx = (b->Width() - m.TextWidth("Next")) / 2;
  TRect diff{b->Width(), b->Height(), 0, 0};
  for (int32_t y = 2; y < b->Height() - 2; ++y)
    for (int32_t x = 2; x < b->Width() - 2; ++x)
      if (plain(x, y) != marked(x, y))
        diff = {std::min(diff.Left, x), std::min(diff.Top, y), std::max(diff.Right, x + 1),
                std::max(diff.Bottom, y + 1)};
  ASSERT_FALSE(diff.Empty()) << "no underline drawn";
  EXPECT_GE(diff.Left, tx);
  EXPECT_LE(diff.Right, tx + m.TextWidth("N"));  // under the N only

  b->SetEnabled(false);
  TShot gray(form, *b);
  TRect inner = Rect(2, 2, b->Width() - 2, b->Height() - 2);
  EXPECT_TRUE(InkBox(gray, inner, clBlack).Empty());
  TRect shadow = InkBox(gray, inner, Sys(clBtnShadow));
  TRect light = InkBox(gray, inner, Sys(clBtnHighlight));
  ASSERT_FALSE(shadow.Empty());
  EXPECT_EQ(light.Right, shadow.Right + 1);  // the highlight copy sits one pixel right
}

TEST(StdCtrlsButton, SpaceClicksOnRelease) {
  TStdTestForm form(nullptr);
  auto* b = Make<TButton>(&form, 0, 0);
  int clicks = 0;
  b->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  uint16_t key = VK_SPACE;
  b->KeyUp(key, {});  // a release without a press: nothing
  EXPECT_EQ(clicks, 0);
  b->KeyDown(key, {});
  EXPECT_TRUE(b->Pressed());
  EXPECT_EQ(clicks, 0);
  b->KeyUp(key, {});
  EXPECT_EQ(clicks, 1);
}

TEST(StdCtrlsButton, EnterGoesToTheFocusedButtonElseTheDefaultAndEscapeToCancel) {
  TStdTestForm form(nullptr);
  auto* edit = Make<TRadioButton>(&form, 0, 100);  // some focusable control that is no button
  auto* ok = Make<TButton>(&form, 0, 0);
  auto* cancel = Make<TButton>(&form, 80, 0);
  auto* other = Make<TButton>(&form, 160, 0);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  std::string log;
  ok->OnClick = TNotifyEvent([&](TObject*) { log += "ok "; });
  cancel->OnClick = TNotifyEvent([&](TObject*) { log += "cancel "; });
  other->OnClick = TNotifyEvent([&](TObject*) { log += "other "; });
  edit->SetFocus();
  EXPECT_TRUE(ok->CMDialogKey(VK_RETURN, {}));
  EXPECT_FALSE(cancel->CMDialogKey(VK_RETURN, {}));
  EXPECT_TRUE(cancel->CMDialogKey(VK_ESCAPE, {}));
  EXPECT_FALSE(ok->CMDialogKey(VK_ESCAPE, {}));
  EXPECT_FALSE(ok->CMDialogKey(VK_RETURN, {ssCtrl}));
  other->SetFocus();  // another button has the focus: Enter is its own
  EXPECT_FALSE(ok->CMDialogKey(VK_RETURN, {}));
  EXPECT_TRUE(other->CMDialogKey(VK_RETURN, {}));
  ok->SetEnabled(false);
  edit->SetFocus();
  EXPECT_FALSE(ok->CMDialogKey(VK_RETURN, {}));
  EXPECT_EQ(log, "ok cancel other ");
}

TEST(StdCtrlsButton, AltAcceleratorFocusesAndClicks) {
  TStdTestForm form(nullptr);
  auto* back = Make<TButton>(&form, 0, 0);
  auto* next = Make<TButton>(&form, 80, 0);
  back->SetCaption("&Back");
  next->SetCaption("&Next");
  int clicks = 0;
  next->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  back->SetFocus();
  EXPECT_FALSE(next->CMDialogChar('B'));
  EXPECT_TRUE(next->CMDialogChar('n'));
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(clicks, 1);
  next->SetVisible(false);
  EXPECT_FALSE(next->CMDialogChar('N'));
  EXPECT_EQ(clicks, 1);
}

TEST(StdCtrlsButton, ModalResultReachesTheFormAfterOnClick) {
  TStdTestForm form(nullptr);
  auto* panel = Make<TPanel>(&form, 0, 0);
  auto* b = Make<TButton>(panel, 0, 0);
  TModalResult seen = -1;
  b->OnClick = TNotifyEvent([&](TObject*) { seen = form.ModalResult(); });
  b->Click();
  EXPECT_EQ(form.ModalResult(), mrNone);  // none of its own: the form's stays
  b->SetModalResult(mrCancel);
  b->Click();
  EXPECT_EQ(seen, mrNone);
  EXPECT_EQ(form.ModalResult(), mrCancel);
  // A parent without a ModalResult is left alone.
  TPanel bare(nullptr);
  auto* lone = Make<TButton>(&bare, 0, 0);
  lone->SetModalResult(mrOk);
  EXPECT_NO_THROW(lone->Click());
}

// --- labels

TEST(StdCtrlsLabel, AutoSizeFollowsTheCaptionText) {
  TStdTestForm form(nullptr);
  auto* l = Make<TLabel>(&form, 50, 5);
  l->SetCaption("&File name:");
  TMeasure m(*l);
  EXPECT_EQ(l->Width(), m.TextWidth("File name:"));
  EXPECT_EQ(l->Height(), m.TextHeight("File name:"));
  l->Font()->SetSize(14);
  m.Font()->SetSize(14);
  EXPECT_EQ(l->Width(), m.TextWidth("File name:"));
  EXPECT_EQ(l->Height(), m.TextHeight("X"));
  // Right-justified, it grows to the left.
  l->SetAlignment(taRightJustify);
  int32_t right = l->Left() + l->Width();
  l->SetCaption("Longer file name:");
  EXPECT_EQ(l->Left() + l->Width(), right);
  l->SetAutoSize(false);
  l->SetCaption("x");
  EXPECT_EQ(l->Width(), m.TextWidth("Longer file name:"));
}

TEST(StdCtrlsLabel, FocusControlNeverDangles) {
  TStdTestForm form(nullptr);
  auto* l = Make<TLabel>(&form, 0, 0);
  auto* b = Make<TButton>(&form, 0, 30);
  l->SetCaption("&Name");
  l->SetFocusControl(b);
  EXPECT_TRUE(l->CMDialogChar('N'));
  EXPECT_TRUE(b->Focused());
  delete b;
  EXPECT_EQ(l->FocusControl(), nullptr);
  EXPECT_FALSE(l->CMDialogChar('N'));
}

TEST(StdCtrlsLabel, AcceleratorFocusesItsControlThroughTheForm) {
  RegisterControls();
  RegisterClasses<TForm>();
  std::unique_ptr<TComponent> root(ReadComponent(
      "object Work: TForm\n"
      "  object FolderLabel: TLabel\n    Caption = '&Folder:'\n    FocusControl = Folder\n  end\n"
      "  object Folder: TCheckBox\n    Top = 20\n  end\n"
      "  object Other: TButton\n    Top = 50\n  end\n"
      "end\n"));
  auto& form = *As<TForm>(root.get());
  form.SetVisible(true);
  auto* label = As<TLabel>(form.FindComponent("FolderLabel"));
  auto* folder = As<TCheckBox>(form.FindComponent("Folder"));
  auto* other = As<TButton>(form.FindComponent("Other"));
  ASSERT_EQ(label->FocusControl(), folder);
  EXPECT_NE(WriteComponent(&form, TFormFormat::Text).find("FocusControl = Folder\n"),
            std::string::npos);
  other->SetFocus();
  form.DispatchKey(TMessage::KeyDown, 'F', {ssAlt}, 0);
  EXPECT_TRUE(folder->Focused());
  EXPECT_FALSE(folder->Checked());  // focused only: the label's letter is not the box's
  // A control that cannot take the focus leaves the letter to others.
  other->SetFocus();
  folder->SetEnabled(false);
  EXPECT_FALSE(label->CMDialogChar('F'));
  EXPECT_TRUE(other->Focused());
  label->SetFocusControl(nullptr);
  folder->SetEnabled(true);
  EXPECT_FALSE(label->CMDialogChar('F'));
}

// --- group boxes

TEST(StdCtrlsGroupBox, EtchedFrameHalfATextLineDownUnderTheCaption) {
  TStdTestForm form(nullptr);
  auto* g = Make<TGroupBox>(&form, 10, 10);
  g->SetCaption("Options");
  TMeasure m(*g);
  int32_t th = m.TextHeight("0");
  TShot shot(form, *g);
  int32_t mid = g->Width() - 20;  // right of the caption
  EXPECT_EQ(shot(mid, th / 2 - 1), Sys(clBtnShadow));
  EXPECT_EQ(shot(mid, th / 2), Sys(clBtnHighlight));
  EXPECT_EQ(shot(0, th), Sys(clBtnShadow));
  EXPECT_EQ(shot(1, th), Sys(clBtnHighlight));
  // Over the frame the caption has the box's colour behind it.
  int32_t tw = m.TextWidth("Options");
  for (int32_t x = 8; x < 8 + tw; ++x) EXPECT_NE(shot(x, th / 2), Sys(clBtnHighlight)) << x;
  auto* child = Make<TPanel>(g, 0, 0);
  child->SetAlign(alTop);
  EXPECT_EQ(child->Top(), th + 2);
  EXPECT_EQ(child->Left(), 2);
}

TEST(StdCtrls, ButtonPublishesItsPropertiesInFormFileOrder) {
  const auto& props = TButton::StaticClassInfo().PublishedProps();
  std::vector<std::string> names;
  for (const TPropInfo* p : props) names.push_back(p->Name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Name", "Tag", "Left", "Top", "Width", "Height", "Caption",
                                      "Cancel", "Default", "Enabled", "Font", "ModalResult",
                                      "PopupMenu", "TabOrder", "TabStop", "Visible", "OnClick"}));
}

}  // namespace
}  // namespace zelvar::test

namespace zelvar {
namespace {

TEST(StdCtrlsButton, ClickHandlersBindFromFormFiles) {
  RegisterControls();
  RegisterClasses<TForm>();
  const char* text =
      "object Form1: TForm\n  object OK: TButton\n    Caption = 'OK'\n    OnClick = Pressed\n  "
      "end\nend\n";
  int pressed = 0;
  TFormReadOptions options;
  options.FindHandler = [&](const std::string& name) -> TGenericHandler {
    if (name != "Pressed") return {};
    return [&](TEventCall& call) {
      ++pressed;
      EXPECT_EQ(std::get<TObject*>(call.Args[0].Value)->ClassName(), "TButton");
    };
  };
  std::unique_ptr<TComponent> form(ReadComponent(text, options));
  As<TButton>(form->FindComponent("OK"))->Click();
  EXPECT_EQ(pressed, 1);
  EXPECT_NE(WriteComponent(form.get(), TFormFormat::Text).find("OnClick = Pressed"),
            std::string::npos);
}

}  // namespace
}  // namespace zelvar

#include "platform/designer/DesignSurface.h"

#include <algorithm>

#include "platform/designer/Palette.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

const TClassInfo& TDesignSurface::StaticClassInfo() {
  static const auto info = TClassBuilder<TDesignSurface>("TDesignSurface").Build();
  return *info;
}

TDesignSurface::TDesignSurface(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
  SetColor(clAppWorkSpace);
}

TDesignSurface::~TDesignSurface() {
  // The form belongs to the designer's session: it only leaves.
  if (FForm && FForm->Parent() == this) FForm->SetParent(nullptr);
}

void TDesignSurface::SetForm(TForm* form, TFormEditor* editor) {
  if (FForm) {
    RemoveFreeNotification(FForm);
    if (FForm->Parent() == this) FForm->SetParent(nullptr);
  }
  FForm = form;
  FEditor = form ? editor : nullptr;
  if (FForm) {
    FreeNotification(FForm);
    FForm->SetParent(this);
  }
  Invalidate();
}

void TDesignSurface::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FForm) {
    FForm = nullptr;
    FEditor = nullptr;
  }
}

TPoint TDesignSurface::FormClientOrigin() const {
  if (!FForm) return {kMargin, kMargin};
  return {kMargin + FForm->FrameWidth(), kMargin + FForm->FrameWidth() + FForm->CaptionHeight()};
}

TPoint TDesignSurface::ChildOrigin() const {
  // The form keeps its own Left and Top (its file says where its window goes); its client
  // area shows at the margin all the same.
  if (!FForm) return {0, 0};
  TPoint at = FormClientOrigin();
  return {at.X - FForm->Left(), at.Y - FForm->Top()};
}

void TDesignSurface::PaintOver(TCanvas& canvas) {
  if (!FEditor || !FForm) return;
  const TPoint at = FormClientOrigin();
  const int32_t dx = at.X, dy = at.Y;
  // Components without a place on the form of their own, as raised icons.
  for (TComponent* c : FEditor->IconComponents()) {
    TRect r = TFormEditor::IconRect(*c);
    r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(r);
    Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow);
    DrawPaletteImage(canvas, PaletteEntryOf(c->ClassInfo()), r.Left + 2, r.Top + 2);
  }
  for (const TFormEditor::THandle& h : FEditor->Handles()) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(h.Filled ? clBlack : clGray);
    canvas.FillRect({h.Rect.Left + dx, h.Rect.Top + dy, h.Rect.Right + dx, h.Rect.Bottom + dy});
  }
  for (TRect r : {FEditor->CreationRect(), FEditor->BandRect()})
    if (!r.Empty()) canvas.DrawFocusRect({r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy});
}

void TDesignSurface::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect(GetClientRect());
  if (!FForm) return;
  // The form's frame and caption bar, as its window will have them.
  const int32_t fw = FForm->FrameWidth(), ch = FForm->CaptionHeight();
  TRect outer{kMargin, kMargin, kMargin + FForm->Width(), kMargin + FForm->Height()};
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(outer);
  if (fw > 0) Frame3D(c, outer, clBtnFace, clBlack);
  if (ch > 0) {
    TRect bar{kMargin + fw, kMargin + fw, outer.Right - fw, kMargin + fw + ch - 1};
    c.Brush()->SetColor(clActiveCaption);
    c.FillRect(bar);
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(clCaptionText);
    c.Font()->SetStyle({fsBold});
    c.TextOut(bar.Left + 4, bar.Top + (bar.Height() - c.TextHeight("Ag")) / 2, FForm->Caption());
    c.Font()->SetStyle({});
  }
}

void TDesignSurface::KeyDown(uint16_t& key, TShiftState shift) {
  if (FEditor && FEditor->DesignKey(key, shift)) {
    key = 0;
    return;
  }
  TCustomControl::KeyDown(key, shift);
}

void TDesignSurface::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  SetFocus();
  // The work area around the form: a press there selects the form.
  if (FEditor && button == mbLeft) FEditor->SelectComponent(nullptr);
  TCustomControl::MouseDown(button, shift, x, y);
}

}  // namespace zelvar

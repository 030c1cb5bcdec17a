#include "platform/designer/DesignSurface.h"

#include <algorithm>

#include "platform/designer/Palette.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

// Holds the form at its own position and paints the editor's marks over it. It paints no face
// of its own: the surface's work area and the frame show through around the form.
class TDesignSurface::TViewport : public TWinControl {
 public:
  explicit TViewport(TDesignSurface& surface) : TWinControl(&surface), FSurface(surface) {}
  void PaintWindow(TCanvas&) override {}
  void PaintOver(TCanvas& canvas) override {
    TFormEditor* editor = FSurface.FEditor;
    TForm* form = FSurface.FForm;
    if (!editor || !form) return;
    const int32_t dx = form->Left(), dy = form->Top();
    // Components without a place on the form of their own, as raised icons.
    for (TComponent* c : editor->IconComponents()) {
      TRect r = TFormEditor::IconRect(*c);
      r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(clBtnFace);
      canvas.FillRect(r);
      Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow);
      DrawPaletteImage(canvas, PaletteEntryOf(c->ClassInfo()), r.Left + 2, r.Top + 2);
    }
    canvas.Pen()->SetStyle(psSolid);
    for (const TFormEditor::THandle& h : editor->Handles()) {
      TRect r{h.Rect.Left + dx, h.Rect.Top + dy, h.Rect.Right + dx, h.Rect.Bottom + dy};
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(h.Filled ? clBlack : clGray);
      canvas.FillRect(r);
    }
    if (TRect r = editor->CreationRect(); !r.Empty())
      canvas.DrawFocusRect({r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy});
  }

 private:
  TDesignSurface& FSurface;
};

const TClassInfo& TDesignSurface::StaticClassInfo() {
  static const auto info = TClassBuilder<TDesignSurface>("TDesignSurface").Build();
  return *info;
}

TDesignSurface::TDesignSurface(TComponent* owner)
    : TCustomControl(owner), FViewport(new TViewport(*this)) {
  FViewport->SetParent(this);
  SetTabStop(true);
  SetColor(clAppWorkSpace);
}

TDesignSurface::~TDesignSurface() {
  // The form belongs to the designer's session: it only leaves.
  if (FForm && FForm->Parent() == FViewport) FForm->SetParent(nullptr);
}

void TDesignSurface::SetForm(TForm* form, TFormEditor* editor) {
  if (FForm) {
    RemoveFreeNotification(FForm);
    if (FForm->Parent() == FViewport) FForm->SetParent(nullptr);
  }
  FForm = form;
  FEditor = form ? editor : nullptr;
  if (FForm) {
    FreeNotification(FForm);
    FForm->SetParent(FViewport);
  }
  Place();
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

void TDesignSurface::Place() {
  if (!FForm) {
    FViewport->SetBounds(0, 0, 0, 0);
    return;
  }
  TPoint at = FormClientOrigin();
  // A form placed left of or above the screen's corner would be cut off: it shows at the
  // margin all the same, only its part inside the viewport is lost (rare, and only on screen).
  int32_t left = std::max(FForm->Left(), 0), top = std::max(FForm->Top(), 0);
  TRect want{at.X - left, at.Y - top, at.X - left + left + FForm->Width(),
             at.Y - top + top + FForm->Height()};
  if (FViewport->BoundsRect() != want)
    FViewport->SetBounds(want.Left, want.Top, want.Width(), want.Height());
}

void TDesignSurface::Paint() {
  Place();
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
    c.Brush()->SetColor(Focused() ? clActiveCaption : clInactiveCaption);
    c.FillRect(bar);
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(Focused() ? clCaptionText : clInactiveCaptionText);
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

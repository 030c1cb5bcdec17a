// How the container draws itself in each style, and the area it leaves to the pages.

#include "container/ZelvarA.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);
constexpr TColor kGrey = static_cast<TColor>(0x808080);
constexpr TColor kBlack = static_cast<TColor>(0x000000);
constexpr const char* kBanner = "Zelvar 1.0 - wizards and tabbed dialogs for C++";

}  // namespace

TRect TZelvar::GetClientRect() const {
  switch (FStyle) {
    case asWizard:
      return {0, 0, Width(),
              Height() - (FCancelButton ? FCancelButton->Height() : FButtonHeight) - 10};
    case asTabbed:
      return {1, tabheight() + 1, Width() - 2, Height() - 2};
    default:
      return {0, 0, Width(), Height()};
  }
}

void TZelvar::AlignControls(TControl* changed, TRect& rect) {
  FAlignedClient = rect;
  TCustomControl::AlignControls(changed, rect);
}

void TZelvar::FollowClientRect() {
  if (GetClientRect() != FAlignedClient) Realign();
}

void TZelvar::Paint() {
  TCanvas& c = TextCanvas();
  const int32_t w = Width(), h = Height();
  TForm* form = OwnerForm();
  TColor face = form ? form->Color() : Color();
  c.Brush()->SetColor(face);
  c.Brush()->SetStyle(bsSolid);
  if (FStyle == asTabbed) {
    c.Pen()->SetWidth(1);
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetColor(face);
  }
  c.FillRect({0, 0, w, h});
  if (FStyle == asWizard && FSeperator) {
    int32_t y1 = h - (FCancelButton ? FCancelButton->Height() : FButtonHeight) - 8;
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetWidth(1);
    c.Pen()->SetColor(clBtnHighlight);
    c.MoveTo(0, y1);
    c.LineTo(w, y1);
    c.Pen()->SetColor(clBtnShadow);
    c.MoveTo(0, y1 - 1);
    c.LineTo(w, y1 - 1);
  } else if (FStyle == asTabbed) {
    const int32_t th = tabheight();
    c.Pen()->SetColor(kWhite);
    c.MoveTo(0, th);
    c.LineTo(0, h - 2);
    c.Pen()->SetColor(kGrey);
    c.MoveTo(1, h - 2);
    c.LineTo(w - 2, h - 2);
    c.LineTo(w - 2, th);
    c.Pen()->SetColor(kBlack);
    c.MoveTo(0, h - 1);
    c.LineTo(w - 1, h - 1);
    c.LineTo(w - 1, th);
    painttabs();
  }
  TCustomControl::Paint();
  if (!FHideBanner) {
    c.Font()->SetColor(clWindowText);
    c.Brush()->SetColor(face);
    c.Brush()->SetStyle(bsSolid);
    c.TextOut(0, 0, kBanner);
  }
}

void TZelvar::SetSeparator(bool v) {
  if (v == FSeperator) return;
  FSeperator = v;
  Invalidate();
}

}  // namespace zelvar

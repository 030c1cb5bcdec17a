// How the container draws itself in each style, and the area it leaves to the pages.

#include <algorithm>

#include "container/ZelvarA.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);
constexpr TColor kGrey = static_cast<TColor>(0x808080);
constexpr TColor kBlack = static_cast<TColor>(0x000000);
constexpr const char* kBanner = "Zelvar 1.0 - wizards and tabbed dialogs for C++";

}  // namespace

// ---------------------------------------------------------------------------------------------
// The banner and the watermark

namespace {

// Between the title and the subtitle.
constexpr int32_t kHeaderLineGap = 4;

}  // namespace

THeaderLayout CalcHeaderLayout(int32_t width, int32_t titleHeight, int32_t subtitleHeight,
                               TPoint imageSize, int32_t pad) {
  THeaderLayout l;
  const bool image = imageSize.X > 0 && imageSize.Y > 0;
  const int32_t text = titleHeight + kHeaderLineGap + subtitleHeight;
  const int32_t body = std::max(text, image ? imageSize.Y : 0) + 2 * pad;
  const int32_t textTop = (body - text) / 2;
  l.Title = {2 * pad, textTop};
  l.Subtitle = {4 * pad, textTop + titleHeight + kHeaderLineGap};
  if (image) {
    const int32_t top = (body - imageSize.Y) / 2;
    l.Image = {width - pad - imageSize.X, top, width - pad, top + imageSize.Y};
  }
  l.Separator = body;
  l.Height = body + 2;
  return l;
}

THeaderLayout TZelvar::HeaderLayout() const {
  if (FHeaderStyle == hsNone || FStyle != asWizard) return {};
  TCanvas& c = TextCanvas();
  TFont& font = *c.Font();
  const TFontStyles style = font.Style();
  font.SetStyle(TFontStyles(style).Include(fsBold));
  const int32_t title = c.TextHeight("X");
  font.SetStyle(style);
  const int32_t zoom = GlyphZoom();
  return CalcHeaderLayout(Width(), title, c.TextHeight("X"),
                          {FHeaderImage->Width() * zoom, FHeaderImage->Height() * zoom},
                          FHeaderPad);
}

bool TZelvar::ShowsWatermark() const {
  if (FStyle != asWizard || FWatermarkImage->Empty() || FPage < 1) return false;
  if (WatermarkPagesStored()) return Lists(*FWatermarkPages, FPage);
  return FPage == 1 || OnLastPage();
}

void TZelvar::PaintHeader(TCanvas& c) {
  const TRect area = GetClientRect();
  // Pictures on a scaled form are magnified as glyphs are, so that they stay sharp.
  if (ShowsWatermark()) {
    TBitmap& mark = FShownWatermark.Of(*FWatermarkImage, GlyphZoom());
    const int32_t h = std::min(mark.Height(), std::max(area.Bottom - area.Top, 0));
    c.DrawPart(0, area.Top, mark, {0, 0, mark.Width(), h}, false);
  }
  const THeaderLayout l = HeaderLayout();
  if (l.Height == 0) return;
  const int32_t w = Width();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clWindow);
  c.FillRect({0, 0, w, l.Separator});
  c.Brush()->SetStyle(bsClear);
  TFont& font = *c.Font();
  const TFontStyles style = font.Style();
  const TColor color = font.Color();
  font.SetColor(clWindowText);
  font.SetStyle(TFontStyles(style).Include(fsBold));
  // By the page itself, not its position, so that the dialog page (which no way list
  // covers) has its title too.
  const int32_t real = RealPage();
  c.TextOut(l.Title.X, l.Title.Y, PageName(real));
  font.SetStyle(style);
  if (real >= 0 && real < FPageSubtitles->Count())
    c.TextOut(l.Subtitle.X, l.Subtitle.Y, FPageSubtitles->Get(real));
  font.SetColor(color);
  if (l.Image.Width() > 0)
    c.DrawPart(l.Image.Left, l.Image.Top, FShownHeader.Of(*FHeaderImage, GlyphZoom()),
               {0, 0, l.Image.Width(), l.Image.Height()}, false);
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetWidth(1);
  c.Pen()->SetColor(clBtnShadow);
  c.MoveTo(0, l.Separator);
  c.LineTo(w, l.Separator);
  c.Pen()->SetColor(clBtnHighlight);
  c.MoveTo(0, l.Separator + 1);
  c.LineTo(w, l.Separator + 1);
}

void TZelvar::SetHeaderStyle(THeaderStyle v) {
  FHeaderStyle = v;
  FollowClientRect();
  Invalidate();
}

void TZelvar::SetPageSubtitles(TStrings* v) {
  if (v != FPageSubtitles.get()) FPageSubtitles->Assign(v);
  Invalidate();
}

void TZelvar::SetHeaderImage(TBitmap* v) {
  FHeaderImage->Assign(v);
  FollowClientRect();
  Invalidate();
}

void TZelvar::SetWatermarkImage(TBitmap* v) {
  FWatermarkImage->Assign(v);
  FollowClientRect();
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// The page area and painting

TRect TZelvar::GetClientRect() const {
  switch (FStyle) {
    case asWizard:
      // Below the banner, right of the watermark, above the button bar.
      return {ShowsWatermark() ? FWatermarkImage->Width() * GlyphZoom() : 0, HeaderLayout().Height,
              Width(), Height() - (FCancelButton ? FCancelButton->Height() : FButtonHeight) - 10};
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
  // The banner names the page and the watermark comes and goes with it: whatever called for a
  // new layout may have changed them.
  if (FHeaderStyle != hsNone || !FWatermarkImage->Empty()) Invalidate();
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
  PaintHeader(c);
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

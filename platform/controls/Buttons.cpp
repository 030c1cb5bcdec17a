#include "platform/controls/Buttons.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Captions.h"

namespace zelvar {

TGlyphLayout CalcButtonLayout(const TRect& client, TPoint glyphSize, TPoint textSize,
                              TButtonLayout layout, int32_t margin, int32_t spacing) {
  // Margin and spacing are whatever a form file holds: the sums are taken wide and the
  // positions kept within a control's reach.
  int64_t glyphX = 0, glyphY = 0, textX = 0, textY = 0;
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const int64_t cw = int64_t{client.Right} - client.Left, ch = int64_t{client.Bottom} - client.Top;
  // Across the layout's axis both are centred.
  if (horizontal) {
    glyphY = (ch - glyphSize.Y + 1) / 2;
    textY = (ch - textSize.Y + 1) / 2;
  } else {
    glyphX = (cw - glyphSize.X + 1) / 2;
    textX = (cw - textSize.X + 1) / 2;
  }
  int64_t m = margin, sp = spacing;
  if (textSize.X == 0 || glyphSize.X == 0) sp = 0;  // nothing to keep apart
  const int64_t room = horizontal ? cw : ch;
  const int64_t glyph = horizontal ? glyphSize.X : glyphSize.Y;
  const int64_t text = horizontal ? textSize.X : textSize.Y;
  if (m == -1) {
    if (sp == -1) {
      m = (room - (glyph + text)) / 3;
      sp = m;
    } else {
      m = (room - (glyph + sp + text) + 1) / 2;
    }
  } else if (sp == -1) {
    sp = (room - (m + glyph) - text) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphX = m;
      textX = glyphX + glyphSize.X + sp;
      break;
    case blGlyphRight:
      glyphX = cw - m - glyphSize.X;
      textX = glyphX - sp - textSize.X;
      break;
    case blGlyphTop:
      glyphY = m;
      textY = glyphY + glyphSize.Y + sp;
      break;
    case blGlyphBottom:
      glyphY = ch - m - glyphSize.Y;
      textY = glyphY - sp - textSize.Y;
      break;
  }
  TGlyphLayout out;
  out.GlyphPos = {ClampExtent(glyphX + client.Left), ClampExtent(glyphY + client.Top)};
  out.TextPos = {ClampExtent(textX + client.Left), ClampExtent(textY + client.Top)};
  return out;
}

const char* BitBtnCaption(TBitBtnKind kind) {
  static constexpr const char* kCaptions[] = {"",       "OK",    "Cancel", "&Help",   "&Yes", "&No",
                                              "&Close", "Abort", "&Retry", "&Ignore", "&All"};
  return kCaptions[static_cast<size_t>(kind) < std::size(kCaptions) ? kind : bkCustom];
}

TModalResult BitBtnModalResult(TBitBtnKind kind) {
  static constexpr TModalResult kResults[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                              mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
  return kResults[static_cast<size_t>(kind) < std::size(kResults) ? kind : bkCustom];
}

// ---------------------------------------------------------------------------------------------

const TClassInfo& TBitBtn::StaticClassInfo() {
  static const auto info = TClassBuilder<TBitBtn>("TBitBtn")
                               .Publish("Caption")
                               .Stored(&TBitBtn::CaptionStored)
                               .Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
                               .Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind)
                               .Default(bkCustom)
                               .Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout)
                               .Default(blGlyphLeft)
                               .Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
                               .Default(-1)
                               .Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
                               .Default(1)
                               .Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
                               .Default(4)
                               .Property("Style", &TBitBtn::Style, &TBitBtn::SetStyle)
                               .Default(bsAutoDetect)
                               .Build();
  return *info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = [this] { Invalidate(); };
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(TBitmap* v) {
  FGlyph->Assign(v);
  if (v && v->Height() > 0 && v->Width() % v->Height() == 0) {
    int32_t n = v->Width() / v->Height();
    SetNumGlyphs(n > 4 ? 1 : n);
  }
  Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs v) {
  v = std::clamp(v, 1, 4);
  if (v == FNumGlyphs) return;
  FNumGlyphs = v;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout v) {
  if (v == FLayout) return;
  FLayout = v;
  Invalidate();
}

void TBitBtn::SetStyle(TButtonStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind v) {
  if (v == FKind) return;
  FKind = v;
  if (v != bkCustom) {
    if (IsLoading()) {
      if (Caption().empty()) SetCaption(BitBtnCaption(v));
    } else {
      SetDefault(v == bkOK || v == bkYes);
      SetCancel(v == bkCancel || v == bkNo);
      SetCaption(BitBtnCaption(v));
      SetModalResult(BitBtnModalResult(v));
    }
  }
  Invalidate();
}

void TBitBtn::SetMargin(int32_t v) {
  v = std::max(v, -1);
  if (v == FMargin) return;
  FMargin = v;
  Invalidate();
}

void TBitBtn::SetSpacing(int32_t v) {
  v = std::max(v, -1);
  if (v == FSpacing) return;
  FSpacing = v;
  Invalidate();
}

bool TBitBtn::CaptionStored() const {
  // A stock kind's own caption comes back with the kind.
  return FKind == bkCustom || Caption() != BitBtnCaption(FKind);
}

int32_t TBitBtn::CurrentGlyphIndex() const {
  int32_t index = !EnabledInTree() ? giDisabled : Pressed() ? giClicked : giUp;
  return index < FNumGlyphs ? index : giUp;
}

namespace {

// A strip without its own disabled image shows the first one embossed: the dark pixels in
// clBtnHighlight one pixel down and right, then in clBtnShadow.
void DrawEmbossed(TCanvas& canvas, int32_t x, int32_t y, TBitmap& glyph, const TRect& source) {
  uint32_t key = ColorToPixel(glyph.TransparentColor()) & 0x00FFFFFF;
  const TImageData& image = glyph.Image();
  for (TColor color : {clBtnHighlight, clBtnShadow}) {
    int32_t shift = color == clBtnHighlight ? 1 : 0;
    for (int32_t sy = source.Top; sy < source.Bottom; ++sy)
      for (int32_t sx = source.Left; sx < source.Right; ++sx) {
        uint32_t p = image.At(sx, sy) & 0x00FFFFFF;
        if (p == key) continue;
        uint32_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
        if (r * 30 + g * 59 + b * 11 >= 192 * 100) continue;  // light pixels fade away
        canvas.SetPixel(x + sx - source.Left + shift, y + sy - source.Top + shift, color);
      }
  }
}

}  // namespace

void TBitBtn::Paint() {
  TCanvas& c = *Canvas();
  PaintFrame(c);
  // On a finer screen the glyph shows magnified, each of its pixels a square of pixels.
  TBitmap& glyph = FShownGlyph.Of(*FGlyph, GlyphZoom());
  TPoint glyphSize{0, 0};
  if (!glyph.Empty()) {
    const int32_t zoom = glyph.Width() / FGlyph->Width();  // 1 when too big to magnify
    glyphSize = {FGlyph->Width() / FNumGlyphs * zoom, glyph.Height()};
  }
  TPoint textSize{0, 0};
  if (!Caption().empty()) textSize = {CaptionWidth(c, Caption()), CaptionHeight(c)};
  TGlyphLayout at =
      CalcButtonLayout(ContentRect(), glyphSize, textSize, FLayout, FMargin, FSpacing);
  if (glyphSize.X > 0) {
    int32_t index = CurrentGlyphIndex();
    TRect source{index * glyphSize.X, 0, (index + 1) * glyphSize.X, glyphSize.Y};
    if (!EnabledInTree() && index != giDisabled)
      DrawEmbossed(c, at.GlyphPos.X, at.GlyphPos.Y, glyph, source);
    else
      c.DrawPart(at.GlyphPos.X, at.GlyphPos.Y, glyph, source, true);
  }
  if (textSize.X > 0) DrawCaption(c, at.TextPos.X, at.TextPos.Y, Caption(), EnabledInTree());
  if (Focused()) c.DrawFocusRect({4, 4, Width() - 4, Height() - 4});
}

}  // namespace zelvar

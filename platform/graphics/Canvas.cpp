#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <span>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/TextRender.h"

namespace zelvar {

namespace {

// On and off runs of the classic cosmetic pen styles, in pixels.
std::span<const uint8_t> DashPattern(TPenStyle style) {
  static constexpr std::array<uint8_t, 2> dash{18, 6};
  static constexpr std::array<uint8_t, 2> dot{3, 3};
  static constexpr std::array<uint8_t, 4> dashDot{9, 6, 3, 6};
  static constexpr std::array<uint8_t, 6> dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case psDash:
      return dash;
    case psDot:
      return dot;
    case psDashDot:
      return dashDot;
    case psDashDotDot:
      return dashDotDot;
    default:
      return {};
  }
}

bool DashOn(std::span<const uint8_t> pattern, uint32_t step) {
  if (pattern.empty()) return true;
  uint32_t period = 0;
  for (uint8_t run : pattern) period += run;
  uint32_t at = step % period;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (at < pattern[i]) return i % 2 == 0;
    at -= pattern[i];
  }
  return true;
}

// Up to this width a fill stores every row itself rather than copying the first one.
constexpr int32_t kNarrowFill = 16;

TFontSpec SpecOf(const TFont& font) {
  TFontSpec face;
  face.Name = font.Name();
  int32_t size = font.Size();
  face.Size = size < 0 ? -size : size;  // a positive Height gives a negative size: same font
  face.Bold = font.Style().Contains(fsBold);
  face.Italic = font.Style().Contains(fsItalic);
  face.Underline = font.Style().Contains(fsUnderline);
  face.StrikeOut = font.Style().Contains(fsStrikeOut);
  return face;
}

}  // namespace

const TClassInfo& TCanvas::StaticClassInfo() {
  static const auto info = TClassBuilder<TCanvas>("TCanvas")
                               .Property("Pen", &TCanvas::Pen)
                               .Property("Brush", &TCanvas::Brush)
                               .Property("Font", &TCanvas::Font)
                               .Build();
  return *info;
}

TCanvas::TCanvas(TBitmap* target)
    : FTarget(target), FPen(new TPen), FBrush(new TBrush), FFont(new TFont) {}

TCanvas::~TCanvas() {
  delete FPen;
  delete FBrush;
  delete FFont;
}

// ---------------------------------------------------------------------------------------------
// Coordinates and clipping

void TCanvas::SetDeviceClip(const TRect& r) {
  FClip = r;
  FClipSet = true;
}

void TCanvas::ResetClip() {
  FClipSet = false;
}

TSurface TCanvas::Surface() const {
  TSurface s;
  if (!FTarget || FTarget->Empty()) return s;
  s.Pixels = FTarget->ScanLine(0);
  s.Width = FTarget->Width();
  s.Height = FTarget->Height();
  TRect bounds{0, 0, s.Width, s.Height};
  s.Clip = FClipSet ? Intersect(FClip, bounds) : bounds;
  return s;
}

TRect TCanvas::ClipRect() const {
  TRect c = Surface().Clip;
  return {c.Left - FOrigin.X, c.Top - FOrigin.Y, c.Right - FOrigin.X, c.Bottom - FOrigin.Y};
}

bool TCanvas::Visible(int32_t dx, int32_t dy) const {
  if (!FTarget || dx < 0 || dy < 0 || dx >= FTarget->Width() || dy >= FTarget->Height())
    return false;
  return !FClipSet || FClip.Contains(dx, dy);
}

void TCanvas::Plot(int32_t dx, int32_t dy, uint32_t pixel) {
  if (Visible(dx, dy)) FTarget->ScanLine(dy)[dx] = pixel;
}

void TCanvas::FillDevice(TRect r, uint32_t pixel) {
  TSurface s = Surface();
  r = Intersect(r, s.Clip);
  if (r.Empty()) return;
  // A narrow rectangle (a frame's side, a vertical line) is stored directly: a call to copy
  // a few bytes a row costs more than the stores.
  if (r.Width() <= kNarrowFill) {
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
      uint32_t* row = s.Pixels + static_cast<size_t>(y) * s.Width + r.Left;
      std::fill(row, row + r.Width(), pixel);
    }
    return;
  }
  // The first row by value, the others copied from it: the library's copy moves memory
  // faster than a fill loop of 32-bit stores.
  uint32_t* first = s.Pixels + static_cast<size_t>(r.Top) * s.Width + r.Left;
  std::fill(first, first + r.Width(), pixel);
  for (int32_t y = r.Top + 1; y < r.Bottom; ++y)
    std::memcpy(s.Pixels + static_cast<size_t>(y) * s.Width + r.Left, first,
                static_cast<size_t>(r.Width()) * 4);
}

// ---------------------------------------------------------------------------------------------
// Lines and rectangles

void TCanvas::MoveTo(int32_t x, int32_t y) {
  FPenPos = {x, y};
  FDashStep = 0;
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  Line(FPenPos.X + FOrigin.X, FPenPos.Y + FOrigin.Y, x + FOrigin.X, y + FOrigin.Y);
  FPenPos = {x, y};
}

void TCanvas::StampPen(int32_t dx, int32_t dy, uint32_t pixel) {
  int32_t w = FPen->Width();
  if (w <= 1) {
    Plot(dx, dy, pixel);
    return;
  }
  int32_t from = -(w - 1) / 2;
  FillDevice({dx + from, dy + from, dx + from + w, dy + from + w}, pixel);
}

void TCanvas::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  if (FPen->Style() == psClear) return;
  uint32_t pixel = ColorToPixel(FPen->Color());
  std::span<const uint8_t> pattern = DashPattern(FPen->Style());
  // A solid thin line along an axis is a rectangle one pixel thick: the frames of buttons and
  // panels are drawn as spans rather than pixel by pixel.
  if (pattern.empty() && FPen->Width() <= 1 && (x0 == x1 || y0 == y1)) {
    const int64_t steps = std::max(std::llabs(static_cast<int64_t>(x1) - x0),
                                   std::llabs(static_cast<int64_t>(y1) - y0));
    FDashStep += static_cast<uint32_t>(steps);
    // The end point is left out: a line running backwards starts one pixel before it.
    auto edge = [](int64_t v) {
      return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
    };
    const int64_t lo = x0 == x1 ? std::min(y0, y1) : std::min(x0, x1);
    const int64_t from = (x0 == x1 ? y0 < y1 : x0 < x1) ? lo : lo + 1;
    const int64_t to = from + steps;
    if (x0 == x1)
      FillDevice({x0, edge(from), edge(int64_t{x0} + 1), edge(to)}, pixel);
    else
      FillDevice({edge(from), y0, edge(to), edge(int64_t{y0} + 1)}, pixel);
    return;
  }
  // Bresenham over every octant; the loop stops before the end point.
  int64_t dx = std::llabs(static_cast<int64_t>(x1) - x0),
          dy = std::llabs(static_cast<int64_t>(y1) - y0);
  int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t err = dx - dy;
  int64_t steps = std::max(dx, dy);
  int32_t x = x0, y = y0;
  for (int64_t i = 0; i < steps; ++i) {
    if (DashOn(pattern, FDashStep++)) StampPen(x, y, pixel);
    int64_t e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  int32_t ox = FOrigin.X, oy = FOrigin.Y;
  bool pen = FPen->Style() != psClear;
  if (FBrush->Style() != bsClear) {
    // Without a pen the classic fill is one pixel short at the right and bottom.
    TRect inside = pen ? TRect{x1 + 1, y1 + 1, x2 - 1, y2 - 1} : TRect{x1, y1, x2 - 1, y2 - 1};
    if (!inside.Empty())
      FillDevice({inside.Left + ox, inside.Top + oy, inside.Right + ox, inside.Bottom + oy},
                 ColorToPixel(FBrush->Color()));
  }
  if (!pen || x2 == x1 || y2 == y1) return;
  if (x2 - x1 == 1 || y2 - y1 == 1) {
    FillDevice({x1 + ox, y1 + oy, x2 + ox, y2 + oy}, ColorToPixel(FPen->Color()));
    return;
  }
  // The outline as one closed figure, so a dashed pen's pattern runs on round the corners.
  TPoint saved = FPenPos;
  MoveTo(x1, y1);
  LineTo(x2 - 1, y1);
  LineTo(x2 - 1, y2 - 1);
  LineTo(x1, y2 - 1);
  LineTo(x1, y1);
  FPenPos = saved;
}

void TCanvas::FillRect(const TRect& r) {
  if (FBrush->Style() == bsClear) return;
  FillDevice({r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y},
             ColorToPixel(FBrush->Color()));
}

void TCanvas::FillDithered(const TRect& r, TColor first, TColor second) {
  TSurface s = Surface();
  TRect d = Intersect(
      {r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y}, s.Clip);
  if (d.Empty()) return;
  const uint32_t pixels[2] = {ColorToPixel(first), ColorToPixel(second)};
  for (int32_t y = d.Top; y < d.Bottom; ++y) {
    uint32_t* row = s.Pixels + static_cast<size_t>(y) * s.Width;
    for (int32_t x = d.Left; x < d.Right; ++x) row[x] = pixels[(x + y) & 1];
  }
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.Empty()) return;
  uint32_t pixel = ColorToPixel(FBrush->Color());
  int32_t l = r.Left + FOrigin.X, t = r.Top + FOrigin.Y, rr = r.Right + FOrigin.X,
          b = r.Bottom + FOrigin.Y;
  FillDevice({l, t, rr, t + 1}, pixel);
  FillDevice({l, b - 1, rr, b}, pixel);
  FillDevice({l, t, l + 1, b}, pixel);
  FillDevice({rr - 1, t, rr, b}, pixel);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (r.Empty()) return;
  int32_t l = r.Left + FOrigin.X, t = r.Top + FOrigin.Y, rr = r.Right + FOrigin.X - 1,
          b = r.Bottom + FOrigin.Y - 1;
  // Every other pixel of the frame, by the bitmap's own grid, inverted once: drawing the same
  // rectangle again puts every pixel back.
  auto flip = [this](int32_t x, int32_t y) {
    if (((x + y) & 1) == 0 && Visible(x, y)) FTarget->ScanLine(y)[x] ^= 0x00FFFFFF;
  };
  for (int32_t x = l; x <= rr; ++x) flip(x, t);
  if (b > t)
    for (int32_t x = l; x <= rr; ++x) flip(x, b);
  for (int32_t y = t + 1; y < b; ++y) {
    flip(l, y);
    if (rr > l) flip(rr, y);
  }
}

// ---------------------------------------------------------------------------------------------
// Text

int32_t TCanvas::TextWidth(std::string_view text) const {
  return MeasureText(SpecOf(*FFont), text).Width;
}

int32_t TCanvas::TextHeight(std::string_view text) const {
  return MeasureText(SpecOf(*FFont), text).Height;
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  TFontSpec face = SpecOf(*FFont);
  TTextMetrics m = MeasureText(face, text);
  if (FBrush->Style() != bsClear)
    FillDevice({x + FOrigin.X, y + FOrigin.Y, x + FOrigin.X + m.Width, y + FOrigin.Y + m.Height},
               ColorToPixel(FBrush->Color()));
  TSurface s = Surface();
  if (s.Pixels) DrawText(s, x + FOrigin.X, y + FOrigin.Y, face, text, ColorToPixel(FFont->Color()));
  FPenPos = {x + m.Width, y};
}

void TCanvas::TextRect(const TRect& r, int32_t x, int32_t y, std::string_view text) {
  TRect device{r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y};
  if (FBrush->Style() != bsClear) FillDevice(device, ColorToPixel(FBrush->Color()));
  TSurface s = Surface();
  if (!s.Pixels) return;
  s.Clip = Intersect(s.Clip, device);
  if (s.Clip.Empty()) return;
  DrawText(s, x + FOrigin.X, y + FOrigin.Y, SpecOf(*FFont), text, ColorToPixel(FFont->Color()));
}

// ---------------------------------------------------------------------------------------------
// Bitmaps and pixels

void TCanvas::Draw(int32_t x, int32_t y, TBitmap& bitmap) {
  DrawPart(x, y, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, bitmap.Transparent());
}

void TCanvas::DrawPart(int32_t x, int32_t y, TBitmap& bitmap, const TRect& source,
                       bool transparent) {
  TRect src = Intersect(source, {0, 0, bitmap.Width(), bitmap.Height()});
  if (src.Empty() || &bitmap == FTarget) return;
  // Where the part lands on this bitmap, and which of it may be drawn.
  int32_t dx = x + FOrigin.X + (src.Left - source.Left),
          dy = y + FOrigin.Y + (src.Top - source.Top);
  TSurface s = Surface();
  TRect dest = Intersect({dx, dy, dx + src.Width(), dy + src.Height()}, s.Clip);
  if (dest.Empty()) return;
  uint32_t key = ColorToPixel(bitmap.TransparentColor()) & 0x00FFFFFF;
  const TImageData& image = bitmap.Image();
  for (int32_t ty = dest.Top; ty < dest.Bottom; ++ty) {
    const uint32_t* from = image.Pixels.data() +
                           static_cast<size_t>(src.Top + (ty - dy)) * image.Width +
                           (src.Left + (dest.Left - dx));
    uint32_t* to = s.Pixels + static_cast<size_t>(ty) * s.Width + dest.Left;
    for (int32_t i = 0; i < dest.Width(); ++i) {
      uint32_t p = from[i];
      if (!transparent || (p & 0x00FFFFFF) != key) to[i] = p | 0xFF000000;
    }
  }
}

TColor TCanvas::Pixel(int32_t x, int32_t y) const {
  int32_t dx = x + FOrigin.X, dy = y + FOrigin.Y;
  if (!FTarget || dx < 0 || dy < 0 || dx >= FTarget->Width() || dy >= FTarget->Height())
    return clNone;
  return PixelToColor(FTarget->Image().At(dx, dy));
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color) {
  Plot(x + FOrigin.X, y + FOrigin.Y, ColorToPixel(color));
}

}  // namespace zelvar

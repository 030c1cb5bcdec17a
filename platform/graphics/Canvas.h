#pragma once
// TCanvas: drawing on a bitmap by the classic rules. Lines leave out their end point;
// rectangles leave out their right and bottom edges; a focus rectangle inverts a dotted frame
// so that drawing it twice restores the pixels. An origin and a clip rectangle (both in the
// bitmap's pixels) let a control draw in its own coordinates.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Persistent.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageData.h"

namespace zelvar {

class TBitmap;

class TCanvas : public TPersistent {
  ZELVAR_CLASS(TCanvas, TPersistent)

 public:
  explicit TCanvas(TBitmap* target);
  ~TCanvas() override;

  TBitmap* Target() const { return FTarget; }
  void SetTarget(TBitmap* target) { FTarget = target; }
  TPen* Pen() const { return FPen; }
  TBrush* Brush() const { return FBrush; }
  TFont* Font() const { return FFont; }

  // Logical (0, 0) lies at this pixel of the bitmap.
  TPoint Origin() const { return FOrigin; }
  void SetOrigin(int32_t x, int32_t y) { FOrigin = {x, y}; }
  // Drawing is limited to this rectangle of the bitmap (and the bitmap itself).
  void SetDeviceClip(const TRect& r);
  void ResetClip();
  // The clip rectangle in logical coordinates.
  TRect ClipRect() const;

  TPoint PenPos() const { return FPenPos; }
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  // Fills r with a checkerboard of two colours by the bitmap's own grid (first where x + y is
  // even): the classic track of a scroll bar whose colour is the face colour.
  void FillDithered(const TRect& r, TColor first, TColor second);

  void TextOut(int32_t x, int32_t y, std::string_view text);
  void TextRect(const TRect& r, int32_t x, int32_t y, std::string_view text);
  int32_t TextWidth(std::string_view text) const;
  int32_t TextHeight(std::string_view text) const;

  // Copies the bitmap to x, y; a transparent bitmap leaves its transparent colour out.
  void Draw(int32_t x, int32_t y, TBitmap& bitmap);
  // The same for a part of the bitmap (one image of a glyph strip).
  void DrawPart(int32_t x, int32_t y, TBitmap& bitmap, const TRect& source, bool transparent);

  TColor Pixel(int32_t x, int32_t y) const;  // clBlack... or clNone outside the bitmap
  void SetPixel(int32_t x, int32_t y, TColor color);

 private:
  TSurface Surface() const;
  bool Visible(int32_t dx, int32_t dy) const;
  void Plot(int32_t dx, int32_t dy, uint32_t pixel);
  void FillDevice(TRect r, uint32_t pixel);
  // One line in device pixels, end point excluded, continuing the pen's dash pattern.
  void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  void StampPen(int32_t dx, int32_t dy, uint32_t pixel);

  TBitmap* FTarget;
  TPen* FPen;
  TBrush* FBrush;
  TFont* FFont;
  TPoint FOrigin;
  TRect FClip;
  bool FClipSet = false;
  TPoint FPenPos;
  uint32_t FDashStep = 0;  // position in the pen's dash pattern
};

}  // namespace zelvar

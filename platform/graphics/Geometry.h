#pragma once
// Points and rectangles in pixels, as canvases, controls and hit tests count them: a rectangle
// holds its left and top edges and leaves out its right and bottom ones.

#include <cstdint>

namespace zelvar {

struct TPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // Right and Bottom are exclusive
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
  bool operator==(const TRect&) const = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return TRect{left, top, right, bottom};
}

// What both rectangles cover; an empty rectangle at 0, 0 when they do not meet.
inline TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
          a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
  if (r.Empty()) r = TRect{};
  return r;
}

// r moved by the vector by: from a control's coordinates to the bitmap's, say.
inline TRect Offset(const TRect& r, TPoint by) {
  return {r.Left + by.X, r.Top + by.Y, r.Right + by.X, r.Bottom + by.Y};
}

// a * b / c rounded to the nearest, halves away from zero, as the classic MulDiv; c > 0.
inline int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return (p >= 0 ? p + c / 2 : p - c / 2) / c;
}

// The whole factor a picture drawn at d pixels per inch is magnified by to show at m: the
// nearest integer, so that each of its pixels stays one colour, and 1 below 1.5 (a picture
// one and a half times too big would show no finer for it; a smaller one is kept).
inline int32_t GlyphZoomFor(int32_t m, int32_t d) {
  if (d <= 0 || m <= 0 || int64_t{m} * 2 < int64_t{d} * 3) return 1;
  return static_cast<int32_t>((int64_t{m} * 2 + d) / (int64_t{d} * 2));
}

// r with every side moved inwards by d (outwards for a negative d).
inline TRect Shrink(const TRect& r, int32_t d) {
  return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
}

}  // namespace zelvar

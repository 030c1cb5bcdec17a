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

// r with every side moved inwards by d (outwards for a negative d).
inline TRect Shrink(const TRect& r, int32_t d) {
  return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
}

}  // namespace zelvar

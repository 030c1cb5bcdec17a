#pragma once
// Pixels in memory: the one image shape that bitmaps, codecs, text rendering and resources
// share. 32 bits a pixel, 0xAARRGGBB, rows top-down without padding.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvar {

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

inline TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
          a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
  if (r.Empty()) r = TRect{};
  return r;
}

struct TImageData {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;  // Width * Height, 0xAARRGGBB

  TImageData() = default;
  TImageData(int32_t width, int32_t height, uint32_t fill = 0xFF000000)
      : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height, fill) {}
  uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  bool operator==(const TImageData&) const = default;
};

// Where drawing goes: a bitmap's pixels and the rectangle drawing may touch.
struct TSurface {
  uint32_t* Pixels = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  TRect Clip;  // already within 0, 0, Width, Height
};

}  // namespace zelvar

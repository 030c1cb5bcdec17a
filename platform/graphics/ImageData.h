#pragma once
// Pixels in memory: the one image shape that bitmaps, codecs, text rendering and resources
// share (32 bits a pixel, 0xAARRGGBB, rows top-down without padding), and the surface that
// drawing writes those pixels through.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace zelvar {

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

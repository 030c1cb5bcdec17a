#pragma once
// Pictures written in the source, one character a pixel, in the 16 classic VGA colours only, so
// that the images compiled into a program read as pictures and hold what a 16-colour bitmap
// holds. A map starts with a newline and has one line a row. '.' is the background: no picture
// uses olive otherwise, and every map's bottom-left pixel, which names the transparent colour
// of a classic bitmap, is '.'. RegisterMaps makes a module of square maps (the toolkit's icons,
// the palette's pictures).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

#include "platform/graphics/ImageData.h"
#include "platform/graphics/Resources.h"

namespace zelvar::pixelmap {

inline constexpr uint32_t kNone = 0;  // not a legend character; every legend colour is opaque

struct TLegendEntry {
  char Char;
  uint32_t Colour;
};

inline constexpr TLegendEntry kLegend[] = {
    {'.', 0xFF808000},  // olive: background
    {'k', 0xFF000000},  // black
    {'m', 0xFF800000},  // maroon
    {'g', 0xFF008000},  // green
    {'n', 0xFF000080},  // navy
    {'p', 0xFF800080},  // purple
    {'t', 0xFF008080},  // teal
    {'s', 0xFFC0C0C0},  // silver
    {'d', 0xFF808080},  // gray
    {'r', 0xFFFF0000},  // red
    {'l', 0xFF00FF00},  // lime
    {'Y', 0xFFFFFF00},  // yellow
    {'b', 0xFF0000FF},  // blue
    {'f', 0xFFFF00FF},  // fuchsia
    {'c', 0xFF00FFFF},  // aqua
    {'w', 0xFFFFFFFF},  // white
};

constexpr uint32_t LegendColour(char c) {
  for (const TLegendEntry& e : kLegend) {
    if (e.Char == c) return e.Colour;
  }
  return kNone;
}

constexpr size_t RowStart(int32_t width, int32_t y) {
  return 1 + static_cast<size_t>(y) * (static_cast<size_t>(width) + 1);
}

// Checked at compile time by the images' sources: a row of the wrong length, a missing row, a
// character outside the legend or a bottom-left pixel that is not the background.
constexpr bool WellFormed(std::string_view rows, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return false;
  if (rows.size() != RowStart(width, height) || rows[0] != '\n') return false;
  for (int32_t y = 0; y < height; ++y) {
    const size_t start = RowStart(width, y);
    for (int32_t x = 0; x < width; ++x) {
      if (LegendColour(rows[start + x]) == kNone) return false;
    }
    if (rows[start + width] != '\n') return false;
  }
  return rows[RowStart(width, height - 1)] == '.';
}

// Puts a well-formed map into the image at its top-left corner.
inline void Paint(TImageData& image, std::string_view rows, int32_t width, int32_t height) {
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) image.At(x, y) = LegendColour(rows[RowStart(width, y) + x]);
  }
}

// A square picture of a module's and the name it is found by.
struct TNamedMap {
  std::string_view Name;
  std::string_view Rows;
};

constexpr bool AllWellFormed(std::span<const TNamedMap> maps, int32_t size) {
  for (const TNamedMap& map : maps)
    if (!WellFormed(map.Rows, size, size)) return false;
  return true;
}

// Registers the module of that name with each map as a bitmap of size by size.
inline HMODULE RegisterMaps(std::string_view module, std::span<const TNamedMap> maps,
                            int32_t size) {
  HMODULE m = RegisterModule(module);
  for (const TNamedMap& map : maps) {
    TImageData image(size, size);
    Paint(image, map.Rows, size, size);
    RegisterBitmapResource(m, map.Name, std::move(image));
  }
  return m;
}

}  // namespace zelvar::pixelmap

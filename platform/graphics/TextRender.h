#pragma once
// Text measuring and drawing with FreeType and the DejaVu fonts. Every font name maps onto a
// DejaVu face so that metrics are the same on every machine that has the same build.
//
// Glyphs are hinted and rendered monochrome: a pixel is either the text colour or untouched,
// which keeps captions crisp at the small sizes dialogs use and makes drawn output exact.
//
// Fonts are found in /usr/share/fonts/truetype/dejavu, or in the directory named by the
// environment variable ZELVAR_FONT_DIR. If no usable face can be opened, measuring and
// drawing raise EInvalidGraphic naming the file that was missing.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/graphics/ImageData.h"

namespace zelvar {

struct TFontSpec {
  // "Mono"/"Courier" names map to DejaVu Sans Mono, "Serif"/"Times" (not "Sans Serif") to
  // DejaVu Serif, every other name to DejaVu Sans.
  std::string Name = "MS Sans Serif";
  // Points at 96 dpi; taken as 1..500.
  int32_t Size = 8;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  bool operator==(const TFontSpec&) const = default;
};

struct TTextMetrics {
  int32_t Width = 0;   // sum of the glyphs' whole-pixel advances, no kerning
  int32_t Height = 0;  // the font's line height, the same for any text
  int32_t Ascent = 0;  // from the top of the text cell to the baseline
};

// Text is UTF-8; a malformed sequence counts (and draws) as U+FFFD.
TTextMetrics MeasureText(const TFontSpec& font, std::string_view utf8);
int32_t TextWidth(const TFontSpec& font, std::string_view utf8);
int32_t TextHeight(const TFontSpec& font);

// Draws with (x, y) the top-left of the text cell, so the baseline is at y + Ascent. Only the
// glyphs' pixels (and the underline or strike-out line) are set, to argb; nothing outside
// s.Clip changes.
void DrawText(TSurface& s, int32_t x, int32_t y, const TFontSpec& font, std::string_view utf8,
              uint32_t argb);

// Closes the fonts and drops cached glyphs. The next use opens them again and reads
// ZELVAR_FONT_DIR afresh, which is how a changed font directory is picked up.
void ReleaseTextResources();

}  // namespace zelvar

#pragma once
// Text measuring and drawing with FreeType and the DejaVu fonts. Every font name maps onto a
// DejaVu face so that metrics are the same on every machine that has the same fonts.
//
// Glyphs are hinted and rendered monochrome: a pixel is either the text colour or untouched,
// which keeps captions crisp at the small sizes dialogs use and makes drawn output exact.
//
// Fonts are found through fontconfig: the DejaVu family asked for, else DejaVu Sans, else
// whatever sans-serif face fontconfig offers; a style the face found lacks is made up. If
// fontconfig offers no font at all, measuring and drawing raise EInvalidGraphic saying what
// to install. The environment variable ZELVAR_FONT_DIR names a directory of DejaVu files to
// use instead (the tests' way to a known set of fonts); a missing file there raises
// EInvalidGraphic naming it.

#include <cstdint>
#include <optional>
#include <span>
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
// ZELVAR_FONT_DIR and fontconfig's configuration afresh, which is how a changed font
// directory is picked up.
void ReleaseTextResources();

// A face as fontconfig lists it: its file, the face's index in it, and the style it has.
struct TFontFace {
  std::string File;
  int32_t Index = 0;
  bool Bold = false;
  bool Italic = false;
};

// The scalable face of the first of families that fontconfig has, in the style asked for or
// the nearest that family has; failing them all, fontconfig's choice for sans-serif in any
// family. Nothing when fontconfig offers no scalable font at all.
std::optional<TFontFace> FindFontFace(std::span<const std::string_view> families, bool bold,
                                      bool italic);

}  // namespace zelvar

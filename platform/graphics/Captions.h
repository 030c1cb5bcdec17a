#pragma once
// Captions with accelerator marks, as buttons, labels and panels show them: "&Next" shows
// "Next" with the N underlined and answers Alt+N; "&&" is a plain '&'. Finding the
// accelerator, measuring the caption and drawing it all read the marks the same way.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/graphics/Canvas.h"

namespace zelvar {

// A caption without its '&' marks, and the byte range of the accelerator character in the
// result (empty when there is none).
struct TAccelText {
  std::string Text;
  size_t AccelStart = 0;
  size_t AccelLength = 0;
};
TAccelText StripAccel(std::string_view caption);

// True when caption marks letter as its accelerator ("&Next" for N or n; "&&" is a plain '&').
bool IsAccel(char letter, std::string_view caption);

// Width and height of a caption as drawn (without its '&' marks) in the canvas's font.
int32_t CaptionWidth(const TCanvas& canvas, std::string_view caption);
int32_t CaptionHeight(const TCanvas& canvas);

// Draws a caption with its text cell's top-left at x, y and the accelerator underlined, in the
// canvas's font colour over whatever is there. A disabled caption is drawn embossed: in
// clBtnHighlight one pixel down and right, then in clBtnShadow.
void DrawCaption(TCanvas& canvas, int32_t x, int32_t y, std::string_view caption,
                 bool enabled = true);

// The caption cut at a character boundary and ended with "…" so that it is at most maxWidth
// wide in the canvas's font; the caption itself when it fits, "" when not even "…" does. The
// '&' marks are kept, and a mark left without its character is dropped.
std::string EllipsizeCaption(const TCanvas& canvas, std::string_view caption, int32_t maxWidth);

}  // namespace zelvar

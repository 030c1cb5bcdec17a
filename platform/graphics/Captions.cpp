#include "platform/graphics/Captions.h"

#include <vector>

#include "platform/core/Text.h"

namespace zelvar {

namespace {

void DrawCaptionIn(TCanvas& canvas, int32_t x, int32_t y, const TAccelText& t) {
  canvas.TextOut(x, y, t.Text);
  if (t.AccelLength == 0) return;
  // The accelerator again, underlined: advances add up without kerning, so it lands exactly
  // on itself.
  TFont& font = *canvas.Font();
  TFontStyles style = font.Style();
  font.SetStyle(TFontStyles(style).Include(fsUnderline));
  int32_t at = x + canvas.TextWidth(std::string_view(t.Text).substr(0, t.AccelStart));
  canvas.TextOut(at, y, std::string_view(t.Text).substr(t.AccelStart, t.AccelLength));
  font.SetStyle(style);
}

}  // namespace

TAccelText StripAccel(std::string_view caption) {
  TAccelText out;
  out.Text.reserve(caption.size());
  bool found = false;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;  // "&&" gives a plain '&'; "&x" marks x
      if (caption[i] != '&' && !found) {
        found = true;
        size_t n = NextCharBoundary(caption, i) - i;
        out.AccelStart = out.Text.size();
        out.AccelLength = n;
        out.Text.append(caption.substr(i, n));
        i += n - 1;
        continue;
      }
    }
    out.Text.push_back(caption[i]);
  }
  return out;
}

bool IsAccel(char letter, std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return UpperChar(caption[i + 1]) == UpperChar(letter);
  }
  return false;
}

int32_t CaptionWidth(const TCanvas& canvas, std::string_view caption) {
  return canvas.TextWidth(StripAccel(caption).Text);
}

int32_t CaptionHeight(const TCanvas& canvas) {
  return canvas.TextHeight("0");
}

void DrawCaption(TCanvas& canvas, int32_t x, int32_t y, std::string_view caption, bool enabled) {
  TAccelText t = StripAccel(caption);
  TBrushStyle brush = canvas.Brush()->Style();
  canvas.Brush()->SetStyle(bsClear);
  if (enabled) {
    DrawCaptionIn(canvas, x, y, t);
  } else {
    TColor color = canvas.Font()->Color();
    canvas.Font()->SetColor(clBtnHighlight);
    DrawCaptionIn(canvas, x + 1, y + 1, t);
    canvas.Font()->SetColor(clBtnShadow);
    DrawCaptionIn(canvas, x, y, t);
    canvas.Font()->SetColor(color);
  }
  canvas.Brush()->SetStyle(brush);
}

std::string EllipsizeCaption(const TCanvas& canvas, std::string_view caption, int32_t maxWidth) {
  if (CaptionWidth(canvas, caption) <= maxWidth) return std::string(caption);
  static constexpr std::string_view kEllipsis = "\u2026";
  if (canvas.TextWidth(kEllipsis) > maxWidth) return {};
  // The longest prefix that fits with the ellipsis; widths only grow with the prefix, so the
  // cut is found by bisection over character boundaries.
  std::vector<size_t> cuts{0};
  for (size_t i = 0; i < caption.size();) cuts.push_back(i = NextCharBoundary(caption, i));
  auto candidate = [&](size_t cut) {
    std::string s(caption.substr(0, cut));
    // An odd run of '&' at the end would mark the ellipsis as the accelerator.
    size_t marks = 0;
    while (marks < s.size() && s[s.size() - 1 - marks] == '&') ++marks;
    if (marks % 2 == 1) s.pop_back();
    s += kEllipsis;
    return s;
  };
  size_t lo = 0, hi = cuts.size() - 1;
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (CaptionWidth(canvas, candidate(cuts[mid])) <= maxWidth)
      lo = mid;
    else
      hi = mid - 1;
  }
  return candidate(cuts[lo]);
}

}  // namespace zelvar

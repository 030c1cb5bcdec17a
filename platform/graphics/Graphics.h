#pragma once
// Colours, pens, brushes and fonts: the drawing attributes controls and form files share.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/Persistent.h"

namespace zelvar {

// 0x00BBGGRR; with the top bit set, the low byte is an index into the system colours.
enum TColor : int32_t {};

constexpr TColor MakeColor(uint32_t bgr) {
  return static_cast<TColor>(static_cast<int32_t>(bgr));
}
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return MakeColor(r | (uint32_t{g} << 8) | (uint32_t{b} << 16));
}

inline constexpr TColor clBlack = MakeColor(0x000000), clMaroon = MakeColor(0x000080),
                        clGreen = MakeColor(0x008000), clOlive = MakeColor(0x008080),
                        clNavy = MakeColor(0x800000), clPurple = MakeColor(0x800080),
                        clTeal = MakeColor(0x808000), clGray = MakeColor(0x808080),
                        clSilver = MakeColor(0xC0C0C0), clRed = MakeColor(0x0000FF),
                        clLime = MakeColor(0x00FF00), clYellow = MakeColor(0x00FFFF),
                        clBlue = MakeColor(0xFF0000), clFuchsia = MakeColor(0xFF00FF),
                        clAqua = MakeColor(0xFFFF00), clWhite = MakeColor(0xFFFFFF),
                        clLtGray = clSilver, clDkGray = clGray;

inline constexpr TColor clScrollBar = MakeColor(0x80000000), clBackground = MakeColor(0x80000001),
                        clActiveCaption = MakeColor(0x80000002),
                        clInactiveCaption = MakeColor(0x80000003), clMenu = MakeColor(0x80000004),
                        clWindow = MakeColor(0x80000005), clWindowFrame = MakeColor(0x80000006),
                        clMenuText = MakeColor(0x80000007), clWindowText = MakeColor(0x80000008),
                        clCaptionText = MakeColor(0x80000009),
                        clActiveBorder = MakeColor(0x8000000A),
                        clInactiveBorder = MakeColor(0x8000000B),
                        clAppWorkSpace = MakeColor(0x8000000C), clHighlight = MakeColor(0x8000000D),
                        clHighlightText = MakeColor(0x8000000E), clBtnFace = MakeColor(0x8000000F),
                        clBtnShadow = MakeColor(0x80000010), clGrayText = MakeColor(0x80000011),
                        clBtnText = MakeColor(0x80000012),
                        clInactiveCaptionText = MakeColor(0x80000013),
                        clBtnHighlight = MakeColor(0x80000014),
                        cl3DDkShadow = MakeColor(0x80000015), cl3DLight = MakeColor(0x80000016),
                        clInfoText = MakeColor(0x80000017), clInfoBk = MakeColor(0x80000018);

inline constexpr TColor clNone = MakeColor(0x1FFFFFFF), clDefault = MakeColor(0x20000000);

const TIntIdents& IntIdentsOf(TColor);

// A system colour resolved through the classic default scheme; other colours unchanged.
TColor ColorToRGB(TColor color);
// As a pixel: 0xFFRRGGBB.
uint32_t ColorToPixel(TColor color);
TColor PixelToColor(uint32_t pixel);

// ---------------------------------------------------------------------------------------------

ZELVAR_ENUM(TPenStyle, uint8_t, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear,
            psInsideFrame)
ZELVAR_ENUM(TBrushStyle, uint8_t, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal,
            bsBDiagonal, bsCross, bsDiagCross)
ZELVAR_ENUM(TFontStyle, uint8_t, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
ZELVAR_ENUM(TFontPitch, uint8_t, fpDefault, fpVariable, fpFixed)

// A character set number, written by name where it has one (DEFAULT_CHARSET).
enum TFontCharset : uint8_t {};
const TIntIdents& IntIdentsOf(TFontCharset);
inline constexpr TFontCharset ANSI_CHARSET = TFontCharset(0), DEFAULT_CHARSET = TFontCharset(1),
                              SYMBOL_CHARSET = TFontCharset(2);

// Shared by pens, brushes and fonts: an owner (a canvas, a control) listens for changes.
class TGraphicsObject : public TPersistent {
  ZELVAR_CLASS(TGraphicsObject, TPersistent)

 public:
  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }
};

class TPen : public TGraphicsObject {
  ZELVAR_CLASS(TPen, TGraphicsObject)

 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle v);
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v);  // at least 1
  void Assign(const TPersistent* source) override;

 private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int32_t FWidth = 1;
};

class TBrush : public TGraphicsObject {
  ZELVAR_CLASS(TBrush, TGraphicsObject)

 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v);
  void Assign(const TPersistent* source) override;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// Height is the stored size: negative is the character height in pixels, as form files keep
// it; Size is points at 96 dots per inch.
class TFont : public TGraphicsObject {
  ZELVAR_CLASS(TFont, TGraphicsObject)

 public:
  static constexpr int32_t kPixelsPerInch = 96;

  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t v);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch v);
  int32_t Size() const;
  void SetSize(int32_t points);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles v);
  void Assign(const TPersistent* source) override;
  // The same glyphs and metrics (the colour aside).
  bool SameFace(const TFont& o) const {
    return FCharset == o.FCharset && FHeight == o.FHeight && FName == o.FName &&
           FPitch == o.FPitch && FStyle == o.FStyle;
  }

 private:
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int32_t FHeight = -11;  // 8 points
  std::string FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
};

// True when a font still holds the defaults, so forms need not store a control's font.
bool IsDefaultFont(const TFont& font);

}  // namespace zelvar

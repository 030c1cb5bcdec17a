#include "platform/graphics/Graphics.h"

#include <cstdlib>

#include "platform/core/TypInfo.h"

namespace zelvar {

const TIntIdents& IntIdentsOf(TColor) {
  static const TIntIdents idents{
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clNone", clNone},
      {"clDefault", clDefault},
  };
  return idents;
}

const TIntIdents& IntIdentsOf(TFontCharset) {
  static const TIntIdents idents{
      {"ANSI_CHARSET", 0},         {"DEFAULT_CHARSET", 1},       {"SYMBOL_CHARSET", 2},
      {"MAC_CHARSET", 77},         {"SHIFTJIS_CHARSET", 128},    {"HANGEUL_CHARSET", 129},
      {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},
      {"TURKISH_CHARSET", 162},    {"HEBREW_CHARSET", 177},      {"ARABIC_CHARSET", 178},
      {"BALTIC_CHARSET", 186},     {"RUSSIAN_CHARSET", 204},     {"THAI_CHARSET", 222},
      {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
  };
  return idents;
}

TColor ColorToRGB(TColor color) {
  // The classic default scheme, as RGB, by system colour index.
  static constexpr uint32_t kScheme[] = {
      0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
      0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
      0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xFFFFE1,
  };
  auto v = static_cast<uint32_t>(color);
  if (!(v & 0x80000000u)) return color;
  uint32_t index = v & 0xFF;
  uint32_t rgb = index < std::size(kScheme) ? kScheme[index] : 0;
  return RGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
             static_cast<uint8_t>(rgb));
}

uint32_t ColorToPixel(TColor color) {
  auto bgr = static_cast<uint32_t>(ColorToRGB(color));
  return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

TColor PixelToColor(uint32_t pixel) {
  return RGB(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
             static_cast<uint8_t>(pixel));
}

// ---------------------------------------------------------------------------------------------

const TClassInfo& TGraphicsObject::StaticClassInfo() {
  static const auto info = TClassBuilder<TGraphicsObject>("TGraphicsObject").Build();
  return *info;
}

const TClassInfo& TPen::StaticClassInfo() {
  static const auto info = TClassBuilder<TPen>("TPen")
                               .Property("Color", &TPen::Color, &TPen::SetColor)
                               .Default(clBlack)
                               .Property("Style", &TPen::Style, &TPen::SetStyle)
                               .Default(psSolid)
                               .Property("Width", &TPen::Width, &TPen::SetWidth)
                               .Default(1)
                               .Build();
  return *info;
}

void TPen::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  Changed();
}
void TPen::SetWidth(int32_t v) {
  v = v < 1 ? 1 : v;
  if (v == FWidth) return;
  FWidth = v;
  Changed();
}
void TPen::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TPen*>(source)) {
    FColor = p->FColor;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

const TClassInfo& TBrush::StaticClassInfo() {
  static const auto info = TClassBuilder<TBrush>("TBrush")
                               .Property("Color", &TBrush::Color, &TBrush::SetColor)
                               .Default(clWhite)
                               .Property("Style", &TBrush::Style, &TBrush::SetStyle)
                               .Default(bsSolid)
                               .Build();
  return *info;
}

void TBrush::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  Changed();
}
void TBrush::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBrush*>(source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

const TClassInfo& TFont::StaticClassInfo() {
  static const auto info = TClassBuilder<TFont>("TFont")
                               .Property("Charset", &TFont::Charset, &TFont::SetCharset)
                               .Property("Color", &TFont::Color, &TFont::SetColor)
                               .Property("Height", &TFont::Height, &TFont::SetHeight)
                               .Property("Name", &TFont::Name, &TFont::SetName)
                               .Property("Pitch", &TFont::Pitch, &TFont::SetPitch)
                               .Default(fpDefault)
                               .Property("Size", &TFont::Size, &TFont::SetSize)
                               .Stored(false)
                               .Property("Style", &TFont::Style, &TFont::SetStyle)
                               .Default(TFontStyles{})
                               .Build();
  return *info;
}

void TFont::SetCharset(TFontCharset v) {
  if (v == FCharset) return;
  FCharset = v;
  Changed();
}
void TFont::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Changed();
}
void TFont::SetHeight(int32_t v) {
  if (v == FHeight) return;
  FHeight = v;
  Changed();
}
void TFont::SetName(const std::string& v) {
  if (v == FName || v.empty()) return;
  FName = v;
  Changed();
}
void TFont::SetPitch(TFontPitch v) {
  if (v == FPitch) return;
  FPitch = v;
  Changed();
}
int32_t TFont::Size() const {
  // Rounded as the classic MulDiv: -Height * 72 / 96.
  int64_t h = -static_cast<int64_t>(FHeight) * 72;
  int64_t q = (std::llabs(h) + kPixelsPerInch / 2) / kPixelsPerInch;
  return static_cast<int32_t>(h < 0 ? -q : q);
}
void TFont::SetSize(int32_t points) {
  int64_t p = static_cast<int64_t>(points) * kPixelsPerInch;
  int64_t q = (std::llabs(p) + 36) / 72;
  SetHeight(static_cast<int32_t>(p < 0 ? q : -q));
}
void TFont::SetStyle(TFontStyles v) {
  if (v == FStyle) return;
  FStyle = v;
  Changed();
}
void TFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

bool IsDefaultFont(const TFont& font) {
  static const TFont defaults;
  return font.Charset() == defaults.Charset() && font.Color() == defaults.Color() &&
         font.Height() == defaults.Height() && font.Name() == defaults.Name() &&
         font.Pitch() == defaults.Pitch() && font.Style() == defaults.Style();
}

}  // namespace zelvar

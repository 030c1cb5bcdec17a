#include "platform/graphics/TextRender.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Text.h"

namespace zelvar {
namespace {

// About 11.3 degrees, close to what other toolkits use when a face has no oblique file.
constexpr FT_Fixed kShear = 0x3333;
// Enough for many sizes of a few alphabets; past it the cache starts over rather than grow.
constexpr size_t kMaxCacheBytes = 16u << 20;

// One character of s at i, moving i past it. An ill-formed sequence draws as one U+FFFD, so a
// stray byte costs one replacement glyph and the text after it is still read correctly.
char32_t NextCodePoint(std::string_view s, size_t& i) {
  const TUtf8Char c = DecodeUtf8Char(s, i);
  i += c.Length;
  return c.Code;
}

enum TFamily { fmSans, fmMono, fmSerif };

TFamily FamilyOf(std::string_view name) {
  const std::string n = LowerCase(name);
  auto has = [&n](const char* part) { return n.find(part) != std::string::npos; };
  if (has("mono") || has("courier")) return fmMono;
  if (has("times") || (has("serif") && !has("sans"))) return fmSerif;
  return fmSans;
}

// The family each name maps onto: the same faces, so the same metrics, wherever they are.
constexpr std::string_view kFamilyNames[3] = {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"};

const char* FontFileName(TFamily family, bool bold, bool italic) {
  static constexpr const char* kFiles[3][4] = {
      {"DejaVuSans.ttf", "DejaVuSans-Oblique.ttf", "DejaVuSans-Bold.ttf",
       "DejaVuSans-BoldOblique.ttf"},
      {"DejaVuSansMono.ttf", "DejaVuSansMono-Oblique.ttf", "DejaVuSansMono-Bold.ttf",
       "DejaVuSansMono-BoldOblique.ttf"},
      {"DejaVuSerif.ttf", "DejaVuSerif-Italic.ttf", "DejaVuSerif-Bold.ttf",
       "DejaVuSerif-BoldItalic.ttf"}};
  return kFiles[family][(bold ? 2 : 0) + (italic ? 1 : 0)];
}

int32_t PixelSize(const TFontSpec& font) {
  const int32_t points = std::clamp<int32_t>(font.Size, 1, 500);
  return (points * 96 + 36) / 72;
}

int32_t RoundPixels(FT_Pos v) {
  return static_cast<int32_t>((v + 32) >> 6);
}
int32_t CeilPixels(FT_Pos v) {
  return static_cast<int32_t>((v + 63) >> 6);
}

template <typename T, void (*Free)(T*)>
struct TFcDeleter {
  void operator()(T* p) const { Free(p); }
};
using TFcPattern = std::unique_ptr<FcPattern, TFcDeleter<FcPattern, FcPatternDestroy>>;
using TFcFontSet = std::unique_ptr<FcFontSet, TFcDeleter<FcFontSet, FcFontSetDestroy>>;
using TFcConfig = std::unique_ptr<FcConfig, TFcDeleter<FcConfig, FcConfigDestroy>>;

// Fontconfig's faces for family, nearest to the style asked for first.
TFcFontSet SortedFaces(FcConfig* config, std::string_view family, bool bold, bool italic) {
  TFcPattern pattern(FcPatternCreate());
  if (!pattern) throw std::bad_alloc();
  const std::string name(family);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern.get(), FC_WIDTH, FC_WIDTH_NORMAL);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return TFcFontSet(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
}

bool HasFamily(const FcPattern* face, std::string_view family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(face, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (SameText(reinterpret_cast<const char*>(name), family)) return true;
  }
  return false;
}

// The face as a file FreeType can scale, with the style it really has.
std::optional<TFontFace> FaceOf(const FcPattern* face) {
  FcChar8* file = nullptr;
  FcBool scalable = FcFalse;
  if (FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch ||
      FcPatternGetBool(face, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) {
    return std::nullopt;
  }
  int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(face, FC_INDEX, 0, &index);
  FcPatternGetInteger(face, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(face, FC_SLANT, 0, &slant);
  return TFontFace{reinterpret_cast<const char*>(file), index, weight >= FC_WEIGHT_DEMIBOLD,
                   slant != FC_SLANT_ROMAN};
}

// The first face of set that fits, if any.
template <typename Fits>
std::optional<TFontFace> FirstFace(const TFcFontSet& set, Fits fits) {
  for (int i = 0; set && i < set->nfont; ++i) {
    if (!fits(set->fonts[i])) continue;
    if (auto face = FaceOf(set->fonts[i])) return face;
  }
  return std::nullopt;
}

struct TGlyph {
  int32_t Advance = 0;
  int32_t Left = 0;  // bitmap's left edge from the pen
  int32_t Top = 0;   // bitmap's top row above the baseline
  int32_t Width = 0;
  int32_t Rows = 0;
  int32_t Pitch = 0;
  std::vector<uint8_t> Bits;  // one bit a pixel, most significant first, Pitch bytes a row
};

// Vertical layout of one face at one size; the line offsets are from the baseline, down.
struct TLineMetrics {
  int32_t Ascent = 0;
  int32_t Height = 0;
  int32_t UnderlineTop = 0;
  int32_t UnderlineThickness = 1;
  int32_t StrikeTop = 0;
  int32_t StrikeThickness = 1;
};

struct TFaceFile {
  FT_Face Face = nullptr;
  int32_t PixelSize = 0;  // size last set on Face, so switching sizes is only done when needed
};

// A face as a font asks for it: a font file plus whatever style the file lacks, made up.
struct TVariant {
  size_t File = 0;
  bool Shear = false;
  bool Embolden = false;
};

class TFontEngine {
 public:
  TFontEngine() = default;
  TFontEngine(const TFontEngine&) = delete;
  TFontEngine& operator=(const TFontEngine&) = delete;
  ~TFontEngine() { Release(); }

  void Release() {
    DropGlyphs();
    FLines.clear();
    FVariants.clear();
    FVariantOf.fill(-1);
    for (TFaceFile& f : FFiles) FT_Done_Face(f.Face);
    FFiles.clear();
    FFileOf.clear();
    if (FLibrary) FT_Done_FreeType(FLibrary);
    FLibrary = nullptr;
    FFontDir.clear();
    FConfig.reset();
  }

  // Fontconfig's configuration, of the engine's own: read when first asked for and dropped
  // with the fonts, so a changed FONTCONFIG_FILE is read afresh after ReleaseTextResources.
  FcConfig* Config() {
    if (!FConfig) FConfig.reset(FcInitLoadConfigAndFonts());
    if (!FConfig) throw EInvalidGraphic("Cannot read the fontconfig configuration");
    return FConfig.get();
  }

  // The variant and pixel size that draw font.
  std::pair<size_t, int32_t> Resolve(const TFontSpec& font) {
    // Nearly every call names the font of the call before: the name is only read again when
    // it changes.
    if (!FLastFamily || font.Name != FLastName) {
      FLastFamily = FamilyOf(font.Name);
      FLastName = font.Name;
    }
    return {Variant(*FLastFamily, font.Bold, font.Italic), PixelSize(font)};
  }

  const TLineMetrics& Line(size_t variant, int32_t px) {
    const uint64_t key = (static_cast<uint64_t>(variant) << 32) | static_cast<uint32_t>(px);
    auto it = FLines.find(key);
    if (it != FLines.end()) return it->second;

    FT_Face face = UseSize(variant, px);
    const FT_Fixed scale = face->size->metrics.y_scale;
    TLineMetrics m;
    // Rounded outward so that hinted glyphs of ordinary text stay inside the cell.
    m.Ascent = CeilPixels(FT_MulFix(face->ascender, scale));
    const int32_t descent = std::max(0, CeilPixels(-FT_MulFix(face->descender, scale)));
    m.Height = std::max(1, m.Ascent + descent);

    m.UnderlineThickness = std::max(1, RoundPixels(FT_MulFix(face->underline_thickness, scale)));
    // underline_position is the line's centre, negative below the baseline.
    const int32_t centre = RoundPixels(-FT_MulFix(face->underline_position, scale));
    m.UnderlineTop = centre - (m.UnderlineThickness - 1) / 2;
    m.UnderlineTop = std::max(1, std::min(m.UnderlineTop, descent - m.UnderlineThickness));

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    FT_Pos strikePos = 0, strikeSize = face->underline_thickness;
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutPosition > 0) {
      strikePos = os2->yStrikeoutPosition;
      strikeSize = os2->yStrikeoutSize;
    } else {
      strikePos = face->ascender * 2 / 7;  // about half the x-height
    }
    m.StrikeThickness = std::max(1, RoundPixels(FT_MulFix(strikeSize, scale)));
    m.StrikeTop = -std::max(1, RoundPixels(FT_MulFix(strikePos, scale)));
    m.StrikeTop = std::max(m.StrikeTop, -m.Ascent);
    return FLines.emplace(key, m).first->second;
  }

  const TGlyph& Glyph(size_t variant, int32_t px, char32_t cp) {
    const uint64_t sized =
        (static_cast<uint64_t>(variant) << 52) | (static_cast<uint64_t>(px) << 32);
    // Captions are mostly ASCII: those glyphs are found by index, not by hashing.
    const TGlyph** slot = nullptr;
    if (cp < kAsciiGlyphs) {
      slot = &AsciiTable(sized)[cp];
      if (*slot) return **slot;
    }
    const uint64_t key = sized | static_cast<uint32_t>(cp);
    auto it = FGlyphs.find(key);
    if (it != FGlyphs.end()) {
      if (slot) *slot = &it->second;
      return it->second;
    }
    if (FCacheBytes > kMaxCacheBytes) {
      DropGlyphs();
      slot = cp < kAsciiGlyphs ? &AsciiTable(sized)[cp] : nullptr;
    }

    TGlyph g;
    const TVariant& v = FVariants[variant];
    FT_Face face = UseSize(variant, px);
    FT_Matrix shear{0x10000, kShear, 0, 0x10000};
    FT_Set_Transform(face, v.Shear ? &shear : nullptr, nullptr);
    // A code point the face lacks gets glyph 0, the face's own "missing" box.
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, cp), FT_LOAD_TARGET_MONO) == 0) {
      FT_GlyphSlot slot = face->glyph;
      FT_Pos widen = 0;
      if (v.Embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Whole pixels, so stems stay crisp and the advance stays a whole number.
        widen = std::max<FT_Pos>(64, (px * 64 / 24) & ~63);
        FT_Outline_EmboldenXY(&slot->outline, widen, 0);
      }
      g.Advance = std::max(0, RoundPixels(slot->advance.x + widen));
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0 &&
          slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO && slot->bitmap.buffer) {
        const FT_Bitmap& b = slot->bitmap;
        g.Left = slot->bitmap_left;
        g.Top = slot->bitmap_top;
        g.Width = static_cast<int32_t>(b.width);
        g.Rows = static_cast<int32_t>(b.rows);
        g.Pitch = (g.Width + 7) / 8;
        g.Bits.resize(static_cast<size_t>(g.Pitch) * g.Rows);
        const int32_t stride = b.pitch < 0 ? -b.pitch : b.pitch;
        for (int32_t r = 0; r < g.Rows; ++r) {
          // A negative pitch stores the bottom row first.
          const int32_t srcRow = b.pitch < 0 ? g.Rows - 1 - r : r;
          std::copy_n(b.buffer + static_cast<size_t>(srcRow) * stride, g.Pitch,
                      g.Bits.begin() + static_cast<size_t>(r) * g.Pitch);
        }
      }
    }
    FCacheBytes += sizeof(TGlyph) + g.Bits.size() + 32;
    // Elements of the map keep their address when it grows; only clearing it drops them, and
    // the tables with them.
    const TGlyph& stored = FGlyphs.emplace(key, std::move(g)).first->second;
    if (slot) *slot = &stored;
    return stored;
  }

 private:
  void Open() {
    if (FLibrary) return;
    if (FT_Init_FreeType(&FLibrary) != 0) {
      FLibrary = nullptr;
      throw EInvalidGraphic("Cannot initialise the FreeType library");
    }
    const char* dir = std::getenv("ZELVAR_FONT_DIR");
    FFontDir = dir ? dir : "";
    while (FFontDir.size() > 1 && FFontDir.back() == '/') FFontDir.pop_back();
  }

  std::string PathOf(TFamily family, bool bold, bool italic) const {
    return FFontDir + "/" + FontFileName(family, bold, italic);
  }

  // The opened face, or nothing; a file that cannot be opened is remembered so it is only
  // tried once.
  std::optional<size_t> File(const std::string& path, int index) {
    const std::string key = path + "#" + std::to_string(index);
    auto it = FFileOf.find(key);
    if (it == FFileOf.end()) {
      FT_Face face = nullptr;
      int opened = -1;
      if (FT_New_Face(FLibrary, path.c_str(), index, &face) == 0) {
        if (FT_IS_SCALABLE(face) && FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
          FFiles.push_back(TFaceFile{face, 0});
          opened = static_cast<int>(FFiles.size() - 1);
        } else {
          FT_Done_Face(face);
        }
      }
      it = FFileOf.emplace(key, opened).first;
    }
    if (it->second < 0) return std::nullopt;
    return static_cast<size_t>(it->second);
  }

  size_t Variant(TFamily family, bool bold, bool italic) {
    Open();
    const size_t key = static_cast<size_t>(family) * 4 + (bold ? 2 : 0) + (italic ? 1 : 0);
    if (FVariantOf[key] >= 0) return static_cast<size_t>(FVariantOf[key]);
    FVariants.push_back(FFontDir.empty() ? SystemVariant(family, bold, italic)
                                         : DirVariant(family, bold, italic));
    FVariantOf[key] = static_cast<int>(FVariants.size() - 1);
    return FVariants.size() - 1;
  }

  // The face fontconfig offers; a style it lacks is made up.
  TVariant SystemVariant(TFamily family, bool bold, bool italic) {
    const std::string_view families[] = {kFamilyNames[family], kFamilyNames[fmSans]};
    const std::optional<TFontFace> face = FindFontFace(families, bold, italic);
    if (!face) {
      throw EInvalidGraphic(
          "No sans-serif font found through fontconfig (looked for DejaVu Sans); install "
          "fonts-dejavu-core");
    }
    const std::optional<size_t> file = File(face->File, face->Index);
    if (!file) throw EInvalidGraphic("Cannot open the font file " + face->File);
    return TVariant{*file, italic && !face->Italic, bold && !face->Bold};
  }

  // The DejaVu files in ZELVAR_FONT_DIR: the exact file first, then one lacking a style that
  // can be made up, then the same in DejaVu Sans.
  TVariant DirVariant(TFamily family, bool bold, bool italic) {
    for (TFamily fam : {family, fmSans}) {
      for (int drop = 0; drop < 4; ++drop) {
        const bool dropItalic = (drop & 1) != 0, dropBold = (drop & 2) != 0;
        if ((dropItalic && !italic) || (dropBold && !bold)) continue;
        if (auto file = File(PathOf(fam, bold && !dropBold, italic && !dropItalic), 0)) {
          return TVariant{*file, dropItalic, dropBold};
        }
      }
    }
    throw EInvalidGraphic("Cannot open the font file " + PathOf(fmSans, false, false) +
                          " (ZELVAR_FONT_DIR names another font directory)");
  }

  void DropGlyphs() {
    FGlyphs.clear();
    FAscii.clear();
    FLastAscii = nullptr;
    FCacheBytes = 0;
  }

  static constexpr char32_t kAsciiGlyphs = 128;
  using TAsciiGlyphs = std::array<const TGlyph*, kAsciiGlyphs>;

  // The ASCII glyphs of one face and size; the last one asked for is kept at hand.
  TAsciiGlyphs& AsciiTable(uint64_t sized) {
    if (FLastAscii && FLastAsciiFace == sized) return *FLastAscii;
    auto it = FAscii.find(sized);
    if (it == FAscii.end()) it = FAscii.emplace(sized, std::make_unique<TAsciiGlyphs>()).first;
    FLastAsciiFace = sized;
    FLastAscii = it->second.get();
    return *FLastAscii;
  }

  FT_Face UseSize(size_t variant, int32_t px) {
    TFaceFile& f = FFiles[FVariants[variant].File];
    if (f.PixelSize != px) {
      FT_Set_Pixel_Sizes(f.Face, 0, static_cast<FT_UInt>(px));
      f.PixelSize = px;
    }
    return f.Face;
  }

  TFcConfig FConfig;
  FT_Library FLibrary = nullptr;
  std::string FFontDir;
  std::vector<TFaceFile> FFiles;
  std::unordered_map<std::string, int> FFileOf;  // path#face -> index in FFiles, -1 if unusable
  std::vector<TVariant> FVariants;
  std::array<int, 12> FVariantOf = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::unordered_map<uint64_t, TLineMetrics> FLines;
  std::unordered_map<uint64_t, TGlyph> FGlyphs;
  size_t FCacheBytes = 0;
  std::unordered_map<uint64_t, std::unique_ptr<TAsciiGlyphs>> FAscii;  // by face and size
  uint64_t FLastAsciiFace = 0;
  TAsciiGlyphs* FLastAscii = nullptr;
  std::string FLastName;
  std::optional<TFamily> FLastFamily;
};

TFontEngine& Engine() {
  static TFontEngine engine;
  return engine;
}

void FillRect(const TSurface& s, const TRect& clip, int64_t left, int64_t top, int64_t right,
              int64_t bottom, uint32_t argb) {
  const int64_t x0 = std::max<int64_t>(left, clip.Left), x1 = std::min<int64_t>(right, clip.Right);
  const int64_t y0 = std::max<int64_t>(top, clip.Top), y1 = std::min<int64_t>(bottom, clip.Bottom);
  for (int64_t y = y0; y < y1; ++y) {
    uint32_t* row = s.Pixels + y * s.Width;
    std::fill(row + x0, row + std::max(x0, x1), argb);
  }
}

void DrawGlyph(const TSurface& s, const TRect& clip, const TGlyph& g, int64_t left, int64_t top,
               uint32_t argb) {
  const int64_t x0 = std::max<int64_t>(left, clip.Left);
  const int64_t x1 = std::min<int64_t>(left + g.Width, clip.Right);
  const int64_t y0 = std::max<int64_t>(top, clip.Top);
  const int64_t y1 = std::min<int64_t>(top + g.Rows, clip.Bottom);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* bits = g.Bits.data() + (y - top) * g.Pitch;
    uint32_t* row = s.Pixels + y * s.Width;
    for (int64_t x = x0; x < x1; ++x) {
      const int64_t gx = x - left;
      if (bits[gx >> 3] & (0x80 >> (gx & 7))) row[x] = argb;
    }
  }
}

}  // namespace

std::optional<TFontFace> FindFontFace(std::span<const std::string_view> families, bool bold,
                                      bool italic) {
  FcConfig* config = Engine().Config();
  for (std::string_view family : families) {
    const TFcFontSet sorted = SortedFaces(config, family, bold, italic);
    if (auto face = FirstFace(sorted, [&](const FcPattern* f) { return HasFamily(f, family); }))
      return face;
  }
  const TFcFontSet sans = SortedFaces(config, "sans-serif", bold, italic);
  return FirstFace(sans, [](const FcPattern*) { return true; });
}

TTextMetrics MeasureText(const TFontSpec& font, std::string_view utf8) {
  TFontEngine& engine = Engine();
  const auto [variant, px] = engine.Resolve(font);
  const TLineMetrics& line = engine.Line(variant, px);
  int64_t width = 0;
  for (size_t i = 0; i < utf8.size();) {
    width += engine.Glyph(variant, px, NextCodePoint(utf8, i)).Advance;
  }
  TTextMetrics m;
  m.Width = static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max()));
  m.Height = line.Height;
  m.Ascent = line.Ascent;
  return m;
}

int32_t TextWidth(const TFontSpec& font, std::string_view utf8) {
  return MeasureText(font, utf8).Width;
}

int32_t TextHeight(const TFontSpec& font) {
  return MeasureText(font, {}).Height;
}

void DrawText(TSurface& s, int32_t x, int32_t y, const TFontSpec& font, std::string_view utf8,
              uint32_t argb) {
  TFontEngine& engine = Engine();
  const auto [variant, px] = engine.Resolve(font);
  const TLineMetrics& line = engine.Line(variant, px);
  if (!s.Pixels || s.Width <= 0 || s.Height <= 0) return;
  const TRect clip = Intersect(s.Clip, Rect(0, 0, s.Width, s.Height));
  if (clip.Empty()) return;

  // 64-bit positions: a long text far off the surface must not overflow.
  const int64_t baseline = static_cast<int64_t>(y) + line.Ascent;
  int64_t pen = x;
  for (size_t i = 0; i < utf8.size();) {
    const TGlyph& g = engine.Glyph(variant, px, NextCodePoint(utf8, i));
    if (g.Width > 0) DrawGlyph(s, clip, g, pen + g.Left, baseline - g.Top, argb);
    pen += g.Advance;
  }
  if (font.Underline) {
    const int64_t top = baseline + line.UnderlineTop;
    FillRect(s, clip, x, top, pen, top + line.UnderlineThickness, argb);
  }
  if (font.StrikeOut) {
    const int64_t top = baseline + line.StrikeTop;
    FillRect(s, clip, x, top, pen, top + line.StrikeThickness, argb);
  }
}

void ReleaseTextResources() {
  Engine().Release();
}

}  // namespace zelvar

#pragma once
// TBitBtn: a push button with a picture beside its caption, and stock kinds (OK, Cancel,
// Yes, ...) that bring their caption and modal result with them.

#include <cstdint>
#include <memory>

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"

namespace zelvar {

ZELVAR_ENUM(TButtonLayout, uint8_t, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
ZELVAR_ENUM(TButtonStyle, uint8_t, bsAutoDetect, bsWin31, bsNew)
ZELVAR_ENUM(TBitBtnKind, uint8_t, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort,
            bkRetry, bkIgnore, bkAll)
// How many images a glyph strip holds side by side: 1 to 4.
using TNumGlyphs = int32_t;

// Which image of the strip a state shows, when the strip has it.
enum TGlyphImage : int32_t { giUp = 0, giDisabled = 1, giClicked = 2, giDown = 3 };

// Where a glyph and a caption go inside a button's client rectangle.
struct TGlyphLayout {
  TPoint GlyphPos;
  TPoint TextPos;
};
// The classic placement: the glyph and the text side by side (or stacked) per layout, spacing
// apart, margin from the edge the glyph is at; a margin of -1 centres the pair, a spacing of -1
// spreads the free room evenly.
TGlyphLayout CalcButtonLayout(const TRect& client, TPoint glyphSize, TPoint textSize,
                              TButtonLayout layout, int32_t margin, int32_t spacing);

// The caption and modal result a stock kind brings.
const char* BitBtnCaption(TBitBtnKind kind);
TModalResult BitBtnModalResult(TBitBtnKind kind);

class TBitBtn : public TButton {
  ZELVAR_CLASS(TBitBtn, TButton)

 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  // Owned; setting copies the picture, and a strip whose width is a whole multiple (up to 4)
  // of its height sets NumGlyphs to that multiple.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);  // clamped to 1..4
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle v);
  TBitBtnKind Kind() const { return FKind; }
  // A stock kind sets Caption, ModalResult, Default (OK, Yes) and Cancel (Cancel, No). While
  // a form is read it only fills an empty caption: the rest was stored when it mattered.
  void SetKind(TBitBtnKind v);
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t v);
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t v);

  // The image of the strip drawn now, by state; image 0 when the strip lacks that one.
  int32_t CurrentGlyphIndex() const;

 protected:
  void Paint() override;
  bool CaptionStored() const;

 private:
  std::unique_ptr<TBitmap> FGlyph;
  TMagnifiedCopy FShownGlyph;  // the glyph as painted on a scaled form
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  TButtonStyle FStyle = bsAutoDetect;
  TBitBtnKind FKind = bkCustom;
  int32_t FMargin = -1;
  int32_t FSpacing = 4;
};

}  // namespace zelvar

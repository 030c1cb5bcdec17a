#pragma once
// TBitmap: 32-bit pixels with a canvas, a transparent colour, BMP and PNG files, and the form
// files' "Data" property (a BMP file behind a 4-byte length).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/Persistent.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageData.h"

namespace zelvar {

class TCanvas;
class TStream;

ZELVAR_ENUM(TTransparentMode, uint8_t, tmAuto, tmFixed)

class TBitmap : public TPersistent {
  ZELVAR_CLASS(TBitmap, TPersistent)

 public:
  TBitmap();
  TBitmap(int32_t width, int32_t height);
  ~TBitmap() override;

  int32_t Width() const { return FImage.Width; }
  int32_t Height() const { return FImage.Height; }
  void SetWidth(int32_t width) { SetSize(width, FImage.Height); }
  void SetHeight(int32_t height) { SetSize(FImage.Width, height); }
  // Keeps the pixels both sizes share; new pixels are white. Raises EInvalidGraphic for a
  // negative or absurd size.
  void SetSize(int32_t width, int32_t height);
  bool Empty() const { return FImage.Width == 0 || FImage.Height == 0; }

  // Drawing on the bitmap; created on first use.
  TCanvas* Canvas();
  const TImageData& Image() const { return FImage; }
  // Replaces all pixels at once.
  void SetImage(TImageData image);
  uint32_t* ScanLine(int32_t y);  // raises EListError for a row outside the bitmap

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  // In automatic mode the bottom-left pixel, as the classic rule has it.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor v);  // switches to the fixed mode

  void Assign(const TPersistent* source) override;  // a TBitmap, or nullptr to empty it
  // source with each pixel repeated zoom times either way (a glyph for a finer screen): never
  // blurred, so every pixel keeps one of the source's colours. A zoom below 1, or one that
  // would pass kMaxImagePixels, copies source as it is.
  void AssignMagnified(const TBitmap& source, int32_t zoom);
  void LoadFromFile(const std::string& fileName);  // PNG or BMP by extension
  void SaveToFile(const std::string& fileName) const;
  // Copies a bitmap resource (what a handle from LoadBitmapA points at); nullptr empties.
  void LoadFromResource(const TImageData* resource);

  // "Data": the BMP file behind its 4-byte length, as other readers of form files expect.
  void DefineProperties(TFiler& filer) override;

  std::function<void()> OnChange;
  void Changed();

 private:
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

  TImageData FImage;
  std::unique_ptr<TCanvas> FCanvas;
  bool FTransparent = false;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
};

// A picture (a glyph) as painted at a zoom: the picture itself at 1, else each of its pixels a
// zoom by zoom square. Kept between paints and made again only when the zoom or the picture
// changes, compared by content, as a program may draw on a picture through its getter.
class TMagnifiedCopy {
 public:
  TBitmap& Of(TBitmap& source, int32_t zoom);

 private:
  TImageData FSource;
  int32_t FZoom = 0;
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
  TBitmap FMagnified;
};

}  // namespace zelvar

#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Codecs.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

namespace {
constexpr int32_t kMaxSide = 16384;  // 1 GiB of pixels is a mistake, not a picture
constexpr uint32_t kWhite = 0xFFFFFFFF;
}  // namespace

const TClassInfo& TBitmap::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TBitmap>("TBitmap")
          .Public("Width", &TBitmap::Width, &TBitmap::SetWidth)
          .Public("Height", &TBitmap::Height, &TBitmap::SetHeight)
          .Public("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent)
          .Build();
  return *info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int32_t width, int32_t height) {
  SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int32_t width, int32_t height) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
    throw EInvalidGraphic("Invalid bitmap size " + std::to_string(width) + "x" +
                          std::to_string(height));
  if (width == FImage.Width && height == FImage.Height) return;
  if (width == 0 || height == 0) {
    FImage = TImageData();
    FImage.Width = width;
    FImage.Height = height;
  } else {
    TImageData next(width, height, kWhite);
    int32_t w = std::min(width, FImage.Width), h = std::min(height, FImage.Height);
    for (int32_t y = 0; y < h; ++y)
      std::memcpy(&next.At(0, y), FImage.Pixels.data() + static_cast<size_t>(y) * FImage.Width,
                  static_cast<size_t>(w) * 4);
    FImage = std::move(next);
  }
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
  return FCanvas.get();
}

void TBitmap::SetImage(TImageData image) {
  if (image.Width < 0 || image.Height < 0 || image.Width > kMaxSide || image.Height > kMaxSide ||
      image.Pixels.size() != static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
    throw EInvalidGraphic("Invalid image data");
  FImage = std::move(image);
  Changed();
}

uint32_t* TBitmap::ScanLine(int32_t y) {
  if (y < 0 || y >= FImage.Height)
    throw EListError("Scan line " + std::to_string(y) + " out of range");
  return &FImage.At(0, y);
}

void TBitmap::SetTransparent(bool v) {
  if (v == FTransparent) return;
  FTransparent = v;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  return PixelToColor(FImage.At(0, FImage.Height - 1));
}

void TBitmap::SetTransparentColor(TColor v) {
  FTransparentColor = v;
  FTransparentMode = v == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    FImage = TImageData();
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    FImage = b->FImage;
    FTransparent = b->FTransparent;
    FTransparentMode = b->FTransparentMode;
    FTransparentColor = b->FTransparentColor;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TBitmap::AssignMagnified(const TBitmap& source, int32_t zoom) {
  const TImageData& from = source.FImage;
  if (zoom <= 1 || int64_t{from.Width} * from.Height * zoom * zoom > kMaxImagePixels) {
    Assign(&source);
    return;
  }
  TImageData image(from.Width * zoom, from.Height * zoom);
  // Each source row widened once, then copied down for the rows it stands for.
  const size_t width = static_cast<size_t>(image.Width);
  for (int32_t y = 0; y < from.Height; ++y) {
    uint32_t* row = &image.At(0, y * zoom);
    for (int32_t x = 0; x < from.Width; ++x)
      std::fill_n(row + static_cast<size_t>(x) * zoom, zoom, from.At(x, y));
    for (int32_t k = 1; k < zoom; ++k) std::copy_n(row, width, row + k * width);
  }
  FImage = std::move(image);
  FTransparent = source.FTransparent;
  FTransparentMode = source.FTransparentMode;
  FTransparentColor = source.FTransparentColor;
  Changed();
}

TBitmap& TMagnifiedCopy::Of(TBitmap& source, int32_t zoom) {
  if (zoom <= 1) return source;
  if (zoom != FZoom || source.Transparent() != FTransparent ||
      source.TransparentColor() != FTransparentColor || !(source.Image() == FSource)) {
    FSource = source.Image();
    FZoom = zoom;
    FTransparent = source.Transparent();
    FTransparentColor = source.TransparentColor();
    FMagnified.AssignMagnified(source, zoom);
  }
  return FMagnified;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  SetImage(LoadImageFile(fileName));
}

void TBitmap::SaveToFile(const std::string& fileName) const {
  SaveImageFile(fileName, FImage);
}

void TBitmap::LoadFromResource(const TImageData* resource) {
  if (!resource) {
    Assign(nullptr);
    return;
  }
  SetImage(*resource);
}

void TBitmap::Changed() {
  if (OnChange) OnChange();
}

void TBitmap::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

void TBitmap::ReadData(TStream& stream) {
  uint8_t size[4];
  stream.ReadBuffer(size, 4);
  uint32_t n = size[0] | (size[1] << 8) | (size[2] << 16) | (static_cast<uint32_t>(size[3]) << 24);
  std::string bmp = stream.ReadAll();
  if (bmp.size() != n)
    throw EReadError("Bitmap data of " + std::to_string(bmp.size()) +
                     " bytes where its length says " + std::to_string(n));
  SetImage(ReadBmp(bmp));
}

void TBitmap::WriteData(TStream& stream) const {
  std::string bmp = WriteBmp(FImage);
  auto n = static_cast<uint32_t>(bmp.size());
  uint8_t size[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                     static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  stream.WriteBuffer(size, 4);
  stream.WriteBuffer(bmp);
}

}  // namespace zelvar

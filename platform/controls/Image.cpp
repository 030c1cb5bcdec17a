#include "platform/controls/Image.h"

#include "platform/controls/Accessibility.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

namespace {

// Catches the bitmap's own "Data" definition, so the picture stores exactly the block a
// bitmap stores for itself.
class TDataGrabber : public TFiler {
 public:
  TStreamProc Read, Write;
  void DefineProperty(std::string_view, const TReaderProc&, const TWriterProc&, bool) override {}
  void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool) override {
    if (name != "Data") return;
    Read = readData;
    Write = writeData;
  }
};

constexpr std::string_view kBitmapClass = "TBitmap";

}  // namespace

// =============================================================================================
// TPicture

const TClassInfo& TPicture::StaticClassInfo() {
  static const auto info = TClassBuilder<TPicture>("TPicture").Build();
  return *info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

TBitmap* TPicture::Bitmap() {
  if (!FBitmap) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->OnChange = [this] { Changed(); };
  }
  return FBitmap.get();
}

void TPicture::Changed() {
  if (OnChange) OnChange();
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    FBitmap.reset();
    Changed();
  } else if (auto* picture = dynamic_cast<const TPicture*>(source)) {
    if (picture == this) return;
    if (picture->FBitmap)
      Bitmap()->Assign(picture->FBitmap.get());
    else
      Assign(nullptr);
    Changed();
  } else if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    Bitmap()->Assign(bitmap);
    Changed();
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::LoadFromFile(const std::string& fileName) {
  Bitmap()->LoadFromFile(fileName);
  Changed();
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

void TPicture::ReadData(TStream& stream) {
  uint8_t length = 0;
  stream.ReadBuffer(&length, 1);
  std::string className(length, '\0');
  stream.ReadBuffer(className.data(), length);
  if (className != kBitmapClass)
    throw EReadError("Picture of class '" + className + "' where a TBitmap was expected");
  TBitmap* bitmap = Bitmap();
  TDataGrabber grabber;
  bitmap->DefineProperties(grabber);
  if (!grabber.Read) throw EReadError("A bitmap stores no picture data");
  grabber.Read(stream);
  Changed();
}

void TPicture::WriteData(TStream& stream) {
  auto length = static_cast<uint8_t>(kBitmapClass.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(kBitmapClass);
  TDataGrabber grabber;
  Bitmap()->DefineProperties(grabber);
  if (grabber.Write) grabber.Write(stream);
}

// =============================================================================================
// TImage

const TClassInfo& TImage::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TImage>("TImage")
          .Publish("Align")
          .Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
          .Default(false)
          .Property("Center", &TImage::Center, &TImage::SetCenter)
          .Default(false)
          .Property("Picture", &TImage::Picture, &TImage::SetPicture)
          .Publish("PopupMenu")
          .Property("Stretch", &TImage::Stretch, &TImage::SetStretch)
          .Default(false)
          .Property("Transparent", &TImage::Transparent, &TImage::SetTransparent)
          .Default(false)
          .Publish("Visible", "OnClick")
          .Build();
  return *info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = [this] { PictureChanged(); };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  FPicture->OnChange = nullptr;
}

void TImage::PictureChanged() {
  if (FAutoSize && !FPicture->Empty())
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetStretch(bool v) {
  FStretch = v;
  Invalidate();
}

void TImage::SetCenter(bool v) {
  FCenter = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  FAutoSize = v;
  if (v) PictureChanged();
}

void TImage::Paint() {
  TCanvas& canvas = *Canvas();
  if (IsDesigning()) {
    // An empty image would be invisible on the form being designed.
    canvas.Pen()->SetStyle(psDash);
    canvas.Pen()->SetColor(clBlack);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(0, 0, Width(), Height());
    canvas.Pen()->SetStyle(psSolid);
    canvas.Brush()->SetStyle(bsSolid);
  }
  if (FPicture->Empty()) return;
  bool transparent = FTransparent;
  if (!FStretch) {
    // On a finer screen the picture shows magnified, each of its pixels a square of pixels.
    TBitmap& bitmap = FShownPicture.Of(*FPicture->Bitmap(), GlyphZoom());
    int32_t x = FCenter ? (Width() - bitmap.Width()) / 2 : 0;
    int32_t y = FCenter ? (Height() - bitmap.Height()) / 2 : 0;
    canvas.DrawPart(x, y, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, transparent);
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap& bitmap = *FPicture->Bitmap();
  // Nearest neighbour: each target pixel takes the source pixel its centre falls on.
  const TImageData& source = bitmap.Image();
  TImageData scaled(Width(), Height());
  for (int32_t y = 0; y < scaled.Height; ++y) {
    int32_t sy =
        static_cast<int32_t>((int64_t{y} * 2 + 1) * source.Height / (int64_t{scaled.Height} * 2));
    for (int32_t x = 0; x < scaled.Width; ++x) {
      int32_t sx =
          static_cast<int32_t>((int64_t{x} * 2 + 1) * source.Width / (int64_t{scaled.Width} * 2));
      scaled.At(x, y) = source.At(sx, sy);
    }
  }
  TBitmap stretched;
  stretched.SetImage(std::move(scaled));
  if (bitmap.TransparentMode() == tmFixed) stretched.SetTransparentColor(bitmap.TransparentColor());
  canvas.DrawPart(0, 0, stretched, {0, 0, Width(), Height()}, transparent);
}

void TImage::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arImage;
}

}  // namespace zelvar

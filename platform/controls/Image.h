#pragma once
// TImage: a picture on the form, drawn as is, centred or stretched. TPicture holds the
// picture (a bitmap) and stores it in form files the classic way: "Picture.Data" is the
// graphic's class name as a short string followed by that graphic's own data.

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmap.h"

namespace zelvar {

class TPicture : public TPersistent {
  ZELVAR_CLASS(TPicture, TPersistent)

 public:
  TPicture();
  ~TPicture() override;

  // The picture's bitmap, created empty on first use.
  TBitmap* Bitmap();
  bool Empty() const { return !FBitmap || FBitmap->Empty(); }
  int32_t Width() const { return FBitmap ? FBitmap->Width() : 0; }
  int32_t Height() const { return FBitmap ? FBitmap->Height() : 0; }
  // A TPicture or a TBitmap; nullptr empties the picture.
  void Assign(const TPersistent* source) override;
  void LoadFromFile(const std::string& fileName);
  void DefineProperties(TFiler& filer) override;

  std::function<void()> OnChange;

 private:
  void Changed();
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

  std::unique_ptr<TBitmap> FBitmap;
};

class TImage : public TGraphicControl {
  ZELVAR_CLASS(TImage, TGraphicControl)

 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* v) { FPicture->Assign(v); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  bool Center() const { return FCenter; }
  void SetCenter(bool v);
  // The bitmap's transparent colour lets what is behind show through.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  // The control takes the picture's size whenever the picture changes.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;

 private:
  void PictureChanged();

  std::unique_ptr<TPicture> FPicture;
  TMagnifiedCopy FShownPicture;  // the picture as painted on a scaled form
  bool FStretch = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FAutoSize = false;
};

}  // namespace zelvar

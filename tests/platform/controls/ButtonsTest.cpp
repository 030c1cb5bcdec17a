#include "platform/controls/Buttons.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/controls/Register.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

class TBtnTestForm : public TCustomControl {
  ZELVAR_CLASS(TBtnTestForm, TCustomControl)

 public:
  explicit TBtnTestForm(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 200, 100); }
};

const TClassInfo& TBtnTestForm::StaticClassInfo() {
  static const auto info = TClassBuilder<TBtnTestForm>("TBtnTestForm").Build();
  return *info;
}

constexpr TColor kImage[] = {clRed, clGreen, clBlue, clYellow};
constexpr TColor kKey = clFuchsia;

// A strip of n square images of side size, each filled with its own colour; image 0's
// bottom-left pixel holds the transparent colour.
std::unique_ptr<TBitmap> Strip(int32_t n, int32_t size) {
  auto b = std::make_unique<TBitmap>(n * size, size);
  for (int32_t i = 0; i < n; ++i) {
    b->Canvas()->Brush()->SetColor(kImage[i]);
    b->Canvas()->FillRect(Rect(i * size, 0, (i + 1) * size, size));
  }
  b->Canvas()->SetPixel(0, size - 1, kKey);
  return b;
}

struct TFixture {
  TBtnTestForm Form{nullptr};
  TBitBtn* Button;
  TFixture() {
    Button = New<TBitBtn>(&Form);
    Button->SetBounds(10, 10, 90, 30);
    Button->SetParent(&Form);
    Button->SetCaption("Go");
  }
  TColor At(int32_t x, int32_t y) {
    TBitmap bitmap(Form.Width(), Form.Height());
    Form.PaintControl(bitmap, {0, 0}, Rect(0, 0, Form.Width(), Form.Height()));
    return bitmap.Canvas()->Pixel(Button->Left() + x, Button->Top() + y);
  }
  int32_t TextWidth(std::string_view s) {
    TCanvas m(nullptr);
    m.Font()->Assign(Button->Font());
    return m.TextWidth(s);
  }
  int32_t TextHeight() {
    TCanvas m(nullptr);
    m.Font()->Assign(Button->Font());
    return m.TextHeight("0");
  }
};

TEST(ButtonsBitBtn, GlyphAndCaptionCentredAsAPairWithTheStateImage) {
  TFixture f;
  f.Button->SetGlyph(Strip(4, 16).get());
  EXPECT_EQ(f.Button->NumGlyphs(), 4);  // taken from the strip's shape
  // Glyph left of the caption, Spacing apart, the pair centred.
  int32_t gx = (90 - (16 + 4 + f.TextWidth("Go")) + 1) / 2;
  int32_t gy = (30 - 16 + 1) / 2;
  EXPECT_EQ(f.At(gx + 8, gy + 8), kImage[0]);
  EXPECT_EQ(f.At(gx, gy + 15), ColorToRGB(clBtnFace));  // the transparent corner
  EXPECT_EQ(f.At(gx - 1, gy + 8), ColorToRGB(clBtnFace));
  f.Button->SetEnabled(false);
  EXPECT_EQ(f.At(gx + 8, gy + 8), kImage[1]);
  f.Button->SetEnabled(true);
  f.Button->MouseDown(mbLeft, {}, 2, 2);
  EXPECT_EQ(f.At(gx + 9, gy + 9), kImage[2]);  // pressed: shifted one pixel
  EXPECT_EQ(f.At(gx + 16, gy + 9), kImage[2]);
  f.Button->MouseUp(mbLeft, {}, 2, 2);
  EXPECT_EQ(f.At(gx + 8, gy + 8), kImage[0]);
}

TEST(ButtonsBitBtn, OneImageStripShowsItEmbossedWhenDisabled) {
  TFixture f;
  auto strip = Strip(1, 16);
  strip->Canvas()->Brush()->SetColor(clWhite);
  strip->Canvas()->FillRect(Rect(0, 0, 16, 15));
  strip->Canvas()->Brush()->SetColor(clBlack);
  strip->Canvas()->FillRect(Rect(4, 4, 12, 12));
  f.Button->SetGlyph(strip.get());
  EXPECT_EQ(f.Button->NumGlyphs(), 1);
  int32_t gx = (90 - (16 + 4 + f.TextWidth("Go")) + 1) / 2;
  int32_t gy = (30 - 16 + 1) / 2;
  EXPECT_EQ(f.At(gx + 8, gy + 8), clBlack);
  f.Button->SetEnabled(false);
  EXPECT_EQ(f.At(gx + 4, gy + 4), ColorToRGB(clBtnShadow));
  EXPECT_EQ(f.At(gx + 12, gy + 12), ColorToRGB(clBtnHighlight));  // the offset highlight copy
  EXPECT_EQ(f.At(gx + 1, gy + 1), ColorToRGB(clBtnFace));         // light pixels drop out
}

TEST(ButtonsBitBtn, LayoutsPlaceTheGlyphPerSide) {
  TFixture f;
  f.Button->SetGlyph(Strip(1, 16).get());
  int32_t tw = f.TextWidth("Go"), th = f.TextHeight();
  f.Button->SetLayout(blGlyphRight);
  int32_t margin = (90 - (16 + 4 + tw) + 1) / 2;
  int32_t gx = 90 - margin - 16;
  EXPECT_EQ(f.At(gx + 1, 8 + 7), kImage[0]);
  EXPECT_EQ(f.At(gx - 1, 8 + 7), ColorToRGB(clBtnFace));
  f.Button->SetBounds(10, 10, 60, 60);
  f.Button->SetLayout(blGlyphTop);
  f.Button->SetMargin(5);
  int32_t cx = (60 - 16 + 1) / 2;
  EXPECT_EQ(f.At(cx + 8, 5), kImage[0]);
  EXPECT_EQ(f.At(cx + 8, 4), ColorToRGB(clBtnFace));
  // The caption follows below the glyph, Spacing apart.
  TGlyphLayout l = CalcButtonLayout(Rect(0, 0, 60, 60), {16, 16}, {tw, th}, blGlyphTop, 5, 4);
  EXPECT_EQ(l.TextPos.Y, 5 + 16 + 4);
  EXPECT_EQ(l.TextPos.X, (60 - tw + 1) / 2);
  // Spacing -1 with a margin leaves equal room on both sides of the text.
  l = CalcButtonLayout(Rect(0, 0, 100, 20), {10, 10}, {20, 8}, blGlyphLeft, 6, -1);
  EXPECT_EQ(l.TextPos.X - (6 + 10), 100 - (l.TextPos.X + 20));
}

TEST(ButtonsBitBtn, KindsBringCaptionResultAndDefault) {
  TFixture f;
  f.Button->SetKind(bkOK);
  EXPECT_EQ(f.Button->Caption(), "OK");
  EXPECT_EQ(f.Button->ModalResult(), mrOk);
  EXPECT_TRUE(f.Button->Default());
  f.Button->SetKind(bkNo);
  EXPECT_EQ(f.Button->Caption(), "&No");
  EXPECT_EQ(f.Button->ModalResult(), mrNo);
  EXPECT_FALSE(f.Button->Default());
  EXPECT_TRUE(f.Button->Cancel());
  f.Button->SetNumGlyphs(9);
  EXPECT_EQ(f.Button->NumGlyphs(), 4);
}

TEST(ButtonsBitBtn, FormFilesKeepGlyphLayoutAndKind) {
  RegisterControls();
  RegisterClasses<TBtnTestForm>();
  TFixture f;
  f.Form.SetName("Form1");
  f.Button->SetName("OKButton");
  f.Button->SetGlyph(Strip(2, 8).get());
  f.Button->SetLayout(blGlyphBottom);
  f.Button->SetKind(bkOK);
  f.Button->SetDefault(false);  // changed after the kind: must survive the read
  std::string text = WriteComponent(&f.Form, TFormFormat::Text);
  EXPECT_NE(text.find("Glyph.Data = {"), std::string::npos) << text;
  EXPECT_NE(text.find("Kind = bkOK"), std::string::npos) << text;
  EXPECT_NE(text.find("Layout = blGlyphBottom"), std::string::npos) << text;
  EXPECT_NE(text.find("NumGlyphs = 2"), std::string::npos) << text;
  EXPECT_EQ(text.find("Caption"), std::string::npos) << text;  // the kind's own

  std::unique_ptr<TComponent> copy(ReadComponent(text));
  auto* b = As<TBitBtn>(copy->FindComponent("OKButton"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Kind(), bkOK);
  EXPECT_EQ(b->Layout(), blGlyphBottom);
  EXPECT_EQ(b->Caption(), "OK");
  EXPECT_EQ(b->ModalResult(), mrOk);
  EXPECT_FALSE(b->Default());
  EXPECT_EQ(b->NumGlyphs(), 2);
  EXPECT_EQ(b->Glyph()->Image(), f.Button->Glyph()->Image());
  EXPECT_EQ(WriteComponent(copy.get(), TFormFormat::Text), text);
  // The binary format carries the same.
  std::unique_ptr<TComponent> again(ReadComponent(WriteComponent(copy.get())));
  EXPECT_EQ(WriteComponent(again.get(), TFormFormat::Text), text);
}

TEST(ButtonsBitBtn, ExtremeMarginsSpacingsAndBoundsStayInRange) {
  TFixture f;
  f.Button->SetGlyph(Strip(1, 16).get());
  for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom})
    for (int32_t v : {INT32_MIN, -1, INT32_MAX}) {
      SCOPED_TRACE(std::to_string(layout) + " " + std::to_string(v));
      f.Button->SetLayout(layout);
      f.Button->SetMargin(v);
      f.Button->SetSpacing(v);
      f.At(5, 5);
      f.Button->SetBounds(v, v, v, v);
      f.At(5, 5);
      f.Button->SetBounds(10, 10, 90, 30);
      TGlyphLayout out = CalcButtonLayout(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX),
                                          {16, 16}, {40, 13}, layout, v, v);
      EXPECT_LE(out.GlyphPos.X, kMaxExtent);
      EXPECT_GE(out.TextPos.Y, -kMaxExtent);
    }
}

}  // namespace
}  // namespace zelvar

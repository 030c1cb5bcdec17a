#include "platform/controls/ExtCtrls.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Captions.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

const TClassInfo& TPanel::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TPanel>("TPanel")
          .Publish("Align")
          .Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment)
          .Default(taCenter)
          .Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner)
          .Default(bvNone)
          .Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter)
          .Default(bvRaised)
          .Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
          .Default(1)
          .Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
          .Default(0)
          .Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle)
          .Default(bsNone)
          .Publish("PopupMenu")
          .Publish("Caption", "Color", "Enabled", "Font", "TabOrder", "TabStop", "Visible",
                   "OnClick")
          .Build();
  return *info;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  IncludeStyle(csAcceptsControls);
}

void TPanel::Changed() {
  // The frame's size moves the room the aligned children share.
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut v) {
  if (v == FBevelInner) return;
  FBevelInner = v;
  Changed();
}

void TPanel::SetBevelOuter(TBevelCut v) {
  if (v == FBevelOuter) return;
  FBevelOuter = v;
  Changed();
}

void TPanel::SetBevelWidth(TBevelWidth v) {
  v = std::max(v, 1);
  if (v == FBevelWidth) return;
  FBevelWidth = v;
  Changed();
}

void TPanel::SetBorderWidth(TBorderWidth v) {
  v = std::max(v, 0);
  if (v == FBorderWidth) return;
  FBorderWidth = v;
  Changed();
}

void TPanel::SetBorderStyle(TBorderStyle v) {
  if (v != bsNone) v = bsSingle;
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  Changed();
}

int32_t TPanel::FrameSize() const {
  int32_t size = FBorderWidth;
  if (FBorderStyle == bsSingle) ++size;
  if (FBevelOuter != bvNone) size += FBevelWidth;
  if (FBevelInner != bvNone) size += FBevelWidth;
  return size;
}

void TPanel::AlignControls(TControl* changed, TRect& rect) {
  int32_t f = FrameSize();
  rect = Shrink(rect, f);
  TCustomControl::AlignControls(changed, rect);
}

void TPanel::Paint() {
  TCanvas& c = *Canvas();
  TRect r = GetClientRect();
  c.Brush()->SetStyle(bsSolid);
  if (FBorderStyle == bsSingle) {
    c.Brush()->SetColor(clWindowFrame);
    c.FrameRect(r);
    r = Shrink(r, 1);
  }
  // A space bevel is a band of the panel's own colour.
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    TColor top = cut == bvLowered ? clBtnShadow : cut == bvRaised ? clBtnHighlight : Color();
    TColor bottom = cut == bvLowered ? clBtnHighlight : cut == bvRaised ? clBtnShadow : Color();
    Frame3D(c, r, top, bottom, FBevelWidth);
  };
  bevel(FBevelOuter);
  Frame3D(c, r, Color(), Color(), FBorderWidth);
  bevel(FBevelInner);
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  if (Caption().empty()) return;
  int32_t tw = CaptionWidth(c, Caption());
  int32_t x = FAlignment == taLeftJustify    ? r.Left
              : FAlignment == taRightJustify ? r.Right - tw
                                             : r.Left + (r.Width() - tw) / 2;
  int32_t y = r.Top + (r.Height() - CaptionHeight(c)) / 2;
  DrawCaption(c, x, y, Caption(), EnabledInTree());
}

// =============================================================================================
// TTimer

const TClassInfo& TTimer::StaticClassInfo() {
  static const auto info = TClassBuilder<TTimer>("TTimer")
                               .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                               .Default(true)
                               .Property("Interval", &TTimer::Interval, &TTimer::SetInterval)
                               .Default(kDefaultInterval)
                               .Property("OnTimer", &TTimer::OnTimer, &TTimer::OnTimer)
                               .Build();
  return *info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  UpdateTimer();
}

TTimer::~TTimer() {
  Timers().Cancel(FId);
}

void TTimer::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t v) {
  if (v == FInterval) return;
  FInterval = v;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  Timers().Cancel(FId);
  FId = 0;
  if (!FEnabled || FInterval == 0 || IsDesigning() || IsLoading()) return;
  FId = Timers().Schedule(FInterval, [this] {
    if (OnTimer) OnTimer(this);
  });
}

}  // namespace zelvar

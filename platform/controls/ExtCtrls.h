#pragma once
// TPanel: a container with raised or lowered bevels and a caption. TTimer: an event at a
// steady interval, on the application's clock.

#include <cstdint>

#include "platform/controls/StdCtrls.h"
#include "platform/core/TimerQueue.h"

namespace zelvar {

ZELVAR_ENUM(TBevelCut, uint8_t, bvNone, bvLowered, bvRaised, bvSpace)
using TBevelWidth = int32_t;
using TBorderWidth = int32_t;

class TPanel : public TCustomControl {
  ZELVAR_CLASS(TPanel, TCustomControl)

 public:
  explicit TPanel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth v);  // at least 1
  TBorderWidth BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth v);  // at least 0
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);  // bsNone or bsSingle; the others are a form's

  // How far the bevels, border and frame reach in from each edge.
  int32_t FrameSize() const;
  // Children align inside the bevels.
  void AlignControls(TControl* changed, TRect& rect) override;

 protected:
  void Paint() override;

 private:
  void Changed();

  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TBorderWidth FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
};

// Fires OnTimer every Interval milliseconds while Enabled, at run time only: the designer and
// a form still being read keep it quiet.
class TTimer : public TComponent {
  ZELVAR_CLASS(TTimer, TComponent)

 public:
  static constexpr uint32_t kDefaultInterval = 1000;

  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  // 0 stops the timer, as the classic one does.
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t v);
  // Whether the timer runs now (enabled, with an interval, not designing or loading).
  bool Running() const { return FId != 0; }

  TNotifyEvent OnTimer;

  void Loaded() override;

 private:
  // Schedules or cancels the callback to match the properties; a change restarts the count.
  void UpdateTimer();

  bool FEnabled = true;
  uint32_t FInterval = kDefaultInterval;
  TTimerQueue::TId FId = 0;
};

}  // namespace zelvar

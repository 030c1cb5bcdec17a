#pragma once
// The common controls: TPageControl and TTabSheet, pages of controls, one shown at a time,
// chosen by tabs along the top (a sheet joins the page control it is parented to, as the form
// reader parents it; the page order is the order sheets joined, changed through PageIndex);
// and TProgressBar.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/TabLayout.h"
#include "platform/core/TimerQueue.h"

namespace zelvar {

class TPageControl;

class TTabSheet : public TWinControl {
  ZELVAR_CLASS(TTabSheet, TWinControl)

 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* v);
  // Position among the page control's pages; -1 without one. Setting moves the page.
  int32_t PageIndex() const;
  void SetPageIndex(int32_t v);
  // A sheet without a tab can still be the active page (selected from code).
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  void SetCaption(const std::string& v) override;
  void SetParent(TWinControl* parent) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

using TTabChangingEvent = TEvent<void(TObject*, bool&)>;

class TPageControl : public TCustomControl {
  ZELVAR_CLASS(TPageControl, TCustomControl)

 public:
  // Tab moves the focus to the tab strip, whose arrows then change pages.
  static constexpr bool kDefaultTabStop = true;

  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int32_t PageCount() const { return static_cast<int32_t>(FPages.size()); }
  TTabSheet* Pages(int32_t index) const;  // EListError out of range
  // The shown sheet; nullptr when there are no pages. Setting a sheet of another page control
  // raises EInvalidOperation. Setting from code fires no events.
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int32_t ActivePageIndex() const;
  void SetActivePageIndex(int32_t v);  // -1 for none; EListError out of range
  // The next (or previous) page with a visible tab, wrapping; nullptr when there is none.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // What Ctrl+Tab does: asks OnChanging, moves on, fires OnChange.
  void SelectNextPage(bool goForward);

  // 0: fit to the font; a tab's width 0: fit to its caption.
  int32_t TabHeight() const { return FTabHeight; }
  void SetTabHeight(int32_t v);
  int32_t TabWidth() const { return FTabWidth; }
  void SetTabWidth(int32_t v);
  // The tab of a page in client coordinates; empty when the page shows no tab.
  TRect TabRect(int32_t pageIndex) const;
  // The page whose tab is at x, y; -1 for none.
  int32_t IndexOfTabAt(int32_t x, int32_t y) const;
  // Where the active sheet lies: the client area below the tabs, inside the frame.
  TRect DisplayRect() const;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  void AlignControls(TControl* changed, TRect& rect) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS; }
  // The designer lets a press on a tab through, so pages switch while designing.
  int32_t CMDesignHitTest(int32_t x, int32_t y, TShiftState keys) override;
  // A tab list: each visible tab is a part that a press selects, as a click on it does.
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int32_t index);
  // A change the user asked for: OnChanging may refuse; OnChange follows.
  void UserSelect(TTabSheet* page);
  void ShowActive();
  int32_t TabStripHeight() const;
  TTabStyle TabStyle() const;
  // The tabs that show, in one row; shown receives the page of each tab.
  TTabLayout TabLayout(const TTabStyle& style, std::vector<int32_t>& shown) const;

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  int32_t FTabHeight = 0;
  int32_t FTabWidth = 0;
};

ZELVAR_ENUM(TProgressBarOrientation, uint8_t, pbHorizontal, pbVertical)
// Normal shows Position; Marquee shows work of unknown length: a group of blocks that travels
// along the bar on the application's clock, wrapping round.
ZELVAR_ENUM(TProgressBarStyle, uint8_t, pbstNormal, pbstMarquee)

// How many of length pixels position fills in min..max, rounded to the nearest pixel (halves
// up); none when min and max are equal. position is taken within min..max, length within
// kMaxExtent.
int32_t ProgressFill(int32_t position, int32_t min, int32_t max, int32_t length);
// Where the bar goes in area (inside the frame) when filled pixels of it are filled, from the
// left or, vertical, up from the bottom: one rectangle when smooth; otherwise the classic
// blocks, two thirds of the bar's thickness long with two pixels between, each that starts
// within the filled length and fits whole in the area; of those, the ones that meet visible.
std::vector<TRect> ProgressBarRects(TRect area, int32_t filled, TProgressBarOrientation orientation,
                                    bool smooth, const TRect& visible);
// The part of area the marquee covers after step ticks: a quarter of the bar's length (at least
// one pixel) that starts step * 8 pixels in, from the left or up from the bottom, and starts
// over past the end; clipped to the area.
TRect MarqueeSpan(TRect area, uint64_t step, TProgressBarOrientation orientation);

class TProgressBar : public TCustomControl {
  ZELVAR_CLASS(TProgressBar, TCustomControl)

 public:
  static constexpr int32_t kDefaultMin = 0, kDefaultMax = 100, kDefaultStep = 10;
  static constexpr uint32_t kDefaultMarqueeInterval = 10;

  explicit TProgressBar(TComponent* owner);
  ~TProgressBar() override;

  // Min above Max raises EInvalidOperation (while a form file is read, its Loaded checks
  // them once both are in). A new range pulls Position into it.
  int32_t Min() const { return FMin; }
  void SetMin(int32_t v);
  int32_t Max() const { return FMax; }
  void SetMax(int32_t v);
  // Always within Min..Max: a value outside is taken to the nearer end.
  int32_t Position() const { return FPosition; }
  void SetPosition(int32_t v);
  int32_t Step() const { return FStep; }
  void SetStep(int32_t v) { FStep = v; }
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool v);
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation v);
  TProgressBarStyle Style() const { return FStyle; }
  void SetStyle(TProgressBarStyle v);
  // Milliseconds between two moves of the marquee; 0 holds it still.
  uint32_t MarqueeInterval() const { return FMarqueeInterval; }
  void SetMarqueeInterval(uint32_t v);
  // How often the marquee has moved since it started.
  uint64_t MarqueeStep() const { return FMarqueeStep; }
  // Whether the marquee's timer runs: marquee style, an interval, visible, not designing.
  bool MarqueeRunning() const { return FMarqueeId != 0; }

  // Adds Step; past Max the bar starts over at Min (and below Min, stepping down, at Max).
  void StepIt();
  // Adds delta, stopping at Min or Max.
  void StepBy(int32_t delta);

  // Inside the sunken frame, with a pixel to spare on each side.
  TRect BarArea() const;
  void Loaded() override;
  void SetVisible(bool v) override;
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;

 private:
  void SetRange(int32_t min, int32_t max);
  // Starts or stops the marquee's timer to match the properties.
  void UpdateMarquee();

  int32_t FMin = kDefaultMin;
  int32_t FMax = kDefaultMax;
  int32_t FPosition = kDefaultMin;
  int32_t FStep = kDefaultStep;
  bool FSmooth = false;
  TProgressBarOrientation FOrientation = pbHorizontal;
  TProgressBarStyle FStyle = pbstNormal;
  uint32_t FMarqueeInterval = kDefaultMarqueeInterval;
  uint64_t FMarqueeStep = 0;
  TTimerQueue::TId FMarqueeId = 0;
};

}  // namespace zelvar

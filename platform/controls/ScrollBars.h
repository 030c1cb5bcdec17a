#pragma once
// The classic scroll bar. TScrollBarPart is the bar a control draws inside itself (a list box,
// a grid, a memo): range, position, geometry, painting and mouse handling, with a callback by
// which its owner scrolls the content. TScrollBar is the control that is one bar and nothing
// else.
//
// Sections: enumerations and sizes, the layout (a pure function of the bar's bounds and
// range), the part, the control.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

#include "platform/controls/Controls.h"

namespace zelvar {

// ---------------------------------------------------------------------------------------------
// Enumerations and sizes

ZELVAR_ENUM(TScrollBarKind, uint8_t, sbHorizontal, sbVertical)
ZELVAR_ENUM(TScrollCode, uint8_t, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack,
            scTop, scBottom, scEndScroll)
ZELVAR_ENUM(TScrollStyle, uint8_t, ssNone, ssHorizontal, ssVertical, ssBoth)

// How thick the classic bar is, and so how long its square arrow buttons are.
inline constexpr int32_t kScrollBarSize = 16;
// The thumb never gets shorter than this, however large the range.
inline constexpr int32_t kMinThumbSize = 8;
// A held arrow or page press steps once, waits this long, then steps at the repeat rate
// (milliseconds on the application's clock).
inline constexpr uint32_t kScrollFirstDelay = 200;
inline constexpr uint32_t kScrollRepeatDelay = 50;
// Lines a notch of the wheel scrolls, as the classic system setting.
inline constexpr int32_t kWheelScrollLines = 3;

// The classic bar's thickness, at 96 pixels per inch.
constexpr int32_t ScrollBarWidth() {
  return kScrollBarSize;
}
// The thickness of a bar on the control: magnified with its form's glyphs, so that the
// arrows stay as wide as the fingers and eyes of a fine screen need.
inline int32_t ScrollBarWidth(const TControl& control) {
  return kScrollBarSize * control.GlyphZoom();
}
// The length of each arrow button of a bar with these bounds: square, unless the bar is too
// short for two of those, when the arrows share its length.
int32_t ScrollArrowSize(TScrollBarKind kind, const TRect& bounds);

// What a bar scrolls: positions Min..MaxPosition(). PageSize is the visible amount; with a
// page the last position shows the end of the range (Max - PageSize + 1), as the classic
// SetScrollInfo has it.
struct TScrollInfo {
  int32_t Min = 0, Max = 100, PageSize = 0, Position = 0;
  int32_t MaxPosition() const;
  // There is something to scroll: more than one position.
  bool CanScroll() const { return MaxPosition() > Min; }
  bool operator==(const TScrollInfo&) const = default;
};

// ---------------------------------------------------------------------------------------------
// The layout

enum class TScrollBarHit : uint8_t { None, LessArrow, MoreArrow, LessPage, MorePage, Thumb };

// Where the pieces of a bar lie, in the coordinates of its bounds' owner. Less is the up (or
// left) arrow, More the down (or right) one; Thumb is empty when nothing scrolls or the track
// has no room for it.
struct TScrollBarLayout {
  TScrollBarKind Kind = sbHorizontal;
  TRect Less, More, Track, Thumb;
  TScrollBarHit HitTest(int32_t x, int32_t y) const;
};

TScrollBarLayout CalcScrollBarLayout(TScrollBarKind kind, const TRect& bounds,
                                     const TScrollInfo& info);
// The position a thumb stands for when its leading edge is dragged to at (along the bar).
int32_t ThumbPositionAt(TScrollBarKind kind, const TRect& bounds, const TScrollInfo& info,
                        int32_t at);

// Where a box's bars go: the vertical one along its right edge, the horizontal one along its
// bottom, the square between them when both show. Client is what is left for the content; a
// bar that is not shown gets an empty rectangle.
struct TScrollBarPlaces {
  TRect Client, Horz, Vert, Corner;
};
TScrollBarPlaces PlaceScrollBars(const TRect& box, bool horz, bool vert,
                                 int32_t size = ScrollBarWidth());

// ---------------------------------------------------------------------------------------------
// The part

class TScrollBarPart {
 public:
  TScrollBarPart(TControl& owner, TScrollBarKind kind);
  ~TScrollBarPart();
  TScrollBarPart(const TScrollBarPart&) = delete;
  TScrollBarPart& operator=(const TScrollBarPart&) = delete;

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  const TScrollInfo& Info() const { return FInfo; }
  int32_t Min() const { return FInfo.Min; }
  int32_t Max() const { return FInfo.Max; }
  int32_t PageSize() const { return FInfo.PageSize; }
  int32_t Position() const { return FInfo.Position; }
  // Min above Max raises EInvalidOperation and changes nothing. The page is kept within the
  // range's size and the position within Min..MaxPosition().
  void SetParams(int32_t min, int32_t max, int32_t pageSize);
  void SetMin(int32_t v) { SetParams(v, FInfo.Max, FInfo.PageSize); }
  void SetMax(int32_t v) { SetParams(FInfo.Min, v, FInfo.PageSize); }
  void SetPageSize(int32_t v) { SetParams(FInfo.Min, FInfo.Max, v); }
  // Moves the thumb without telling the owner: the owner's own content moved.
  void SetPosition(int32_t v);
  int32_t SmallChange() const { return FSmallChange; }
  void SetSmallChange(int32_t v);  // at least 1
  int32_t LargeChange() const { return FLargeChange; }
  void SetLargeChange(int32_t v);  // at least 1

  // Where the bar lies in the owner's coordinates; an owner that hides it gives it no room.
  const TRect& Bounds() const { return FBounds; }
  void SetBounds(const TRect& v);
  TScrollBarLayout Layout() const { return CalcScrollBarLayout(FKind, FBounds, FInfo); }

  // Arrows, track and thumb; greyed arrows and no thumb when disabled or nothing scrolls.
  void Paint(TCanvas& canvas, bool enabled) const;

  // A press on the bar: an arrow steps by SmallChange, the track by LargeChange towards the
  // press, both repeating while held (on the application's timer queue); the thumb is dragged
  // (scTrack while moving, scPosition on release). True when the press was on the bar; the owner
  // then hands it the moves and the release.
  bool MouseDown(int32_t x, int32_t y);
  void MouseMove(int32_t x, int32_t y);
  void MouseUp(int32_t x, int32_t y);
  bool Tracking() const { return FPressed != TScrollBarHit::None; }
  // Drawn pressed: the piece the mouse holds down, while the mouse is over it.
  TScrollBarHit PressedPiece() const { return FPressedShows ? FPressed : TScrollBarHit::None; }

  // Scrolls as the code says (a line, a page, to the top or bottom, or the end of a scroll),
  // as the keys and the wheel of an owner do.
  void Scroll(TScrollCode code);
  // Scrolls to a position with scTrack or scPosition.
  void ScrollTo(TScrollCode code, int32_t position);

  // Before the thumb moves: the code and the position it would take, which the owner may
  // change. The bar then takes that position (kept in range).
  std::function<void(TScrollCode, int32_t&)> OnScroll;

 private:
  void Step();  // one step of the held arrow or page press
  void StartRepeat();
  void StopRepeat();
  void Changed() const { FOwner.Invalidate(); }

  TControl& FOwner;
  TScrollBarKind FKind;
  TScrollInfo FInfo;
  int32_t FSmallChange = 1, FLargeChange = 1;
  TRect FBounds;
  TScrollBarHit FPressed = TScrollBarHit::None;
  bool FPressedShows = false;
  TPoint FMouse;            // the last point the held press was at
  int32_t FGrabOffset = 0;  // from the thumb's leading edge to the press, while dragging
  int32_t FTrackPos = 0;    // the position the dragged thumb stands for
  uint64_t FRepeat = 0;     // the held press's timer, 0 when none
};

// Turns wheel movement into whole notches, positive away from the user: rest keeps what is
// short of a notch, so a wheel that reports small steps scrolls as far as one that reports
// notches.
int32_t WheelNotches(int32_t& rest, int32_t wheelDelta);

// A control's bars as its mouse handlers use them: a press goes to the bar under it; the moves
// and the release go to the bar that took the press. Each answers true when a bar took it.
bool ScrollBarsMouseDown(std::initializer_list<TScrollBarPart*> bars, int32_t x, int32_t y);
bool ScrollBarsMouseMove(std::initializer_list<TScrollBarPart*> bars, int32_t x, int32_t y);
bool ScrollBarsMouseUp(std::initializer_list<TScrollBarPart*> bars, int32_t x, int32_t y);

// ---------------------------------------------------------------------------------------------
// The control

using TScrollEvent = TEvent<void(TObject*, TScrollCode, int32_t&)>;

class TScrollBar : public TCustomControl {
  ZELVAR_CLASS(TScrollBar, TCustomControl)

 public:
  static constexpr TScrollBarKind kDefaultKind = sbHorizontal;
  static constexpr int32_t kDefaultMin = 0, kDefaultMax = 100, kDefaultPosition = 0;
  static constexpr int32_t kDefaultSmallChange = 1, kDefaultLargeChange = 1, kDefaultPageSize = 0;
  static constexpr bool kDefaultTabStop = true;

  explicit TScrollBar(TComponent* owner);
  ~TScrollBar() override;

  // A new kind turns the bar round: width and height trade places (not while reading).
  TScrollBarKind Kind() const { return FBar.Kind(); }
  void SetKind(TScrollBarKind v);
  // Min above Max raises EInvalidOperation ("Scroll bar property out of range"), except while
  // a form file is read, where Min and Max arrive one after the other: the range is checked
  // and taken once loaded.
  int32_t Min() const { return FBar.Min(); }
  void SetMin(int32_t v);
  int32_t Max() const { return FBar.Max(); }
  void SetMax(int32_t v);
  int32_t PageSize() const { return FBar.PageSize(); }
  void SetPageSize(int32_t v);
  // Kept within Min..Max (less the page); a change runs OnChange.
  int32_t Position() const { return FBar.Position(); }
  void SetPosition(int32_t v);
  int32_t SmallChange() const { return FBar.SmallChange(); }
  void SetSmallChange(int32_t v) { FBar.SetSmallChange(v); }
  int32_t LargeChange() const { return FBar.LargeChange(); }
  void SetLargeChange(int32_t v) { FBar.SetLargeChange(v); }
  // Min, Max and Position at once, checked together.
  void SetParams(int32_t position, int32_t min, int32_t max) {
    ApplyRange(min, max, PageSize(), position);
  }

  const TScrollBarPart& Bar() const { return FBar; }

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  // Arrows step a line, PageUp/PageDown a page, Home/End go to either end.
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS; }
  // A notch scrolls three lines, up (or left) when turned away from the user.
  bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) override;
  void WMSize() override;
  void Loaded() override;
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;
  virtual void Change();
  virtual void Scroll(TScrollCode code, int32_t& position);

 private:
  // What a form file gave while it was read, taken together once loaded.
  struct TPending {
    int32_t Min, Max, PageSize, Position;
  };
  TPending& Pending();
  void ApplyRange(int32_t min, int32_t max, int32_t pageSize, int32_t position);

  TScrollBarPart FBar;
  std::unique_ptr<TPending> FPending;
  int32_t FWheelRest = 0;  // wheel turn short of a notch
};

}  // namespace zelvar

#include "platform/controls/ScrollBars.h"

#include <algorithm>

#include "platform/controls/Accessibility.h"
#include "platform/core/TimerQueue.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

namespace {

// A bar seen along its length, so that one piece of code serves both kinds.
struct TAlong {
  TScrollBarKind Kind;
  TRect Bounds;
  bool Vertical() const { return Kind == sbVertical; }
  int32_t Start() const { return Vertical() ? Bounds.Top : Bounds.Left; }
  int32_t End() const { return Vertical() ? Bounds.Bottom : Bounds.Right; }
  int32_t Length() const { return End() - Start(); }
  int32_t Thickness() const { return Vertical() ? Bounds.Width() : Bounds.Height(); }
  int32_t Of(int32_t x, int32_t y) const { return Vertical() ? y : x; }
  int32_t Of(const TRect& r) const { return Vertical() ? r.Top : r.Left; }
  TRect Span(int32_t from, int32_t to) const {
    return Vertical() ? TRect{Bounds.Left, from, Bounds.Right, to}
                      : TRect{from, Bounds.Top, to, Bounds.Bottom};
  }
};

int32_t ClampTo(int64_t v, int32_t lo, int32_t hi) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

// How long the thumb is on a track of this length: its share of the range when there is a
// page, else square as the classic bar draws it.
int32_t ThumbLength(const TScrollInfo& info, int32_t track, int32_t thickness) {
  int64_t len = thickness;
  if (info.PageSize > 0) {
    const int64_t span = int64_t{info.Max} - info.Min + 1;
    len = int64_t{track} * info.PageSize / span;
  }
  return ClampTo(len, kMinThumbSize, std::max(track, kMinThumbSize));
}

ZELVAR_ENUM(TArrowDirection, uint8_t, adUp, adDown, adLeft, adRight)

// The classic arrow: rows of 7, 5, 3 and 1 pixels on a 16-pixel button, fewer on a smaller
// one and more on a larger one (a bar on a fine screen), pointing the way the button scrolls,
// centred in rect and moved by shift.
void DrawArrowGlyph(TCanvas& canvas, const TRect& rect, TArrowDirection dir, int32_t shift) {
  const int32_t rows = std::max(std::min(rect.Width(), rect.Height()) / 4, 1);
  const int32_t cx = rect.Left + (rect.Width() - 1) / 2 + shift;
  const int32_t cy = rect.Top + (rect.Height() - 1) / 2 + shift;
  const int32_t first = -(rows / 2);  // the tip's offset from the centre
  for (int32_t i = 0; i < rows; ++i) {
    // The i-th row from the tip is 2i+1 pixels wide.
    const int32_t half = i;
    switch (dir) {
      case adUp:
        canvas.FillRect({cx - half, cy + first + i, cx + half + 1, cy + first + i + 1});
        break;
      case adDown:
        canvas.FillRect({cx - half, cy - first - i, cx + half + 1, cy - first - i + 1});
        break;
      case adLeft:
        canvas.FillRect({cx + first + i, cy - half, cx + first + i + 1, cy + half + 1});
        break;
      case adRight:
        canvas.FillRect({cx - first - i, cy - half, cx - first - i + 1, cy + half + 1});
        break;
    }
  }
}

// A raised button face, or a flat pressed one, as the classic bar's arrows and thumb are.
void DrawBarButton(TCanvas& canvas, const TRect& rect, bool pressed) {
  if (rect.Empty()) return;
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(rect);
  if (pressed) {
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FrameRect(rect);
    return;
  }
  Frame3D(canvas, rect, cl3DLight, cl3DDkShadow);
  Frame3D(canvas, Shrink(rect, 1), clBtnHighlight, clBtnShadow);
}

void DrawArrowButton(TCanvas& canvas, const TRect& rect, TArrowDirection dir, bool pressed,
                     bool enabled) {
  if (rect.Empty()) return;
  DrawBarButton(canvas, rect, pressed);
  if (enabled) {
    canvas.Brush()->SetColor(clBtnText);
    DrawArrowGlyph(canvas, rect, dir, pressed ? 1 : 0);
    return;
  }
  // Greyed the classic way: a light copy one pixel down and right under a shadow-coloured
  // one.
  canvas.Brush()->SetColor(clBtnHighlight);
  DrawArrowGlyph(canvas, rect, dir, 1);
  canvas.Brush()->SetColor(clBtnShadow);
  DrawArrowGlyph(canvas, rect, dir, 0);
}

}  // namespace

// =============================================================================================
// Sizes and the range

int32_t ScrollArrowSize(TScrollBarKind kind, const TRect& bounds) {
  const TAlong bar{kind, bounds};
  return std::max(0, std::min(bar.Thickness(), bar.Length() / 2));
}

int32_t TScrollInfo::MaxPosition() const {
  if (PageSize <= 0) return Max;
  return ClampTo(std::max<int64_t>(Min, int64_t{Max} - PageSize + 1), Min, Max);
}

// =============================================================================================
// The layout

TScrollBarHit TScrollBarLayout::HitTest(int32_t x, int32_t y) const {
  if (Less.Contains(x, y)) return TScrollBarHit::LessArrow;
  if (More.Contains(x, y)) return TScrollBarHit::MoreArrow;
  if (Thumb.Empty() || !Track.Contains(x, y)) return TScrollBarHit::None;
  if (Thumb.Contains(x, y)) return TScrollBarHit::Thumb;
  return TAlong{Kind, Track}.Of(x, y) < TAlong{Kind, Thumb}.Of(Thumb) ? TScrollBarHit::LessPage
                                                                      : TScrollBarHit::MorePage;
}

TScrollBarLayout CalcScrollBarLayout(TScrollBarKind kind, const TRect& bounds,
                                     const TScrollInfo& info) {
  TScrollBarLayout out;
  out.Kind = kind;
  if (bounds.Empty()) return out;
  const TAlong bar{kind, bounds};
  const int32_t arrow = ScrollArrowSize(kind, bounds);
  out.Less = bar.Span(bar.Start(), bar.Start() + arrow);
  out.More = bar.Span(bar.End() - arrow, bar.End());
  out.Track = bar.Span(bar.Start() + arrow, bar.End() - arrow);
  const int32_t track = bar.Length() - 2 * arrow;
  if (!info.CanScroll() || track < kMinThumbSize) return out;
  const int32_t thumb = ThumbLength(info, track, bar.Thickness());
  const int64_t offset = MulDiv(track - thumb, int64_t{info.Position} - info.Min,
                                int64_t{info.MaxPosition()} - info.Min);
  const int32_t at = bar.Start() + arrow + ClampTo(offset, 0, track - thumb);
  out.Thumb = bar.Span(at, at + thumb);
  return out;
}

int32_t ThumbPositionAt(TScrollBarKind kind, const TRect& bounds, const TScrollInfo& info,
                        int32_t at) {
  const TScrollBarLayout layout = CalcScrollBarLayout(kind, bounds, info);
  if (layout.Thumb.Empty()) return info.Position;
  const TAlong track{kind, layout.Track};
  const int32_t room = track.Length() - TAlong{kind, layout.Thumb}.Length();
  if (room <= 0) return info.Position;
  const int64_t offset = std::clamp<int64_t>(int64_t{at} - track.Start(), 0, room);
  return ClampTo(info.Min + MulDiv(offset, int64_t{info.MaxPosition()} - info.Min, room), info.Min,
                 info.MaxPosition());
}

TScrollBarPlaces PlaceScrollBars(const TRect& box, bool horz, bool vert, int32_t size) {
  TScrollBarPlaces out;
  out.Client = box;
  // A box too small for a bar gives the bar what there is.
  if (vert) out.Client.Right = std::max(box.Left, box.Right - size);
  if (horz) out.Client.Bottom = std::max(box.Top, box.Bottom - size);
  if (vert) out.Vert = {out.Client.Right, box.Top, box.Right, out.Client.Bottom};
  if (horz) out.Horz = {box.Left, out.Client.Bottom, out.Client.Right, box.Bottom};
  if (horz && vert) out.Corner = {out.Client.Right, out.Client.Bottom, box.Right, box.Bottom};
  return out;
}

// =============================================================================================
// TScrollBarPart

TScrollBarPart::TScrollBarPart(TControl& owner, TScrollBarKind kind) : FOwner(owner), FKind(kind) {}

TScrollBarPart::~TScrollBarPart() {
  StopRepeat();
}

void TScrollBarPart::SetKind(TScrollBarKind v) {
  if (v == FKind) return;
  FKind = v;
  Changed();
}

void TScrollBarPart::SetParams(int32_t min, int32_t max, int32_t pageSize) {
  if (min > max)
    throw EInvalidOperation("Scroll bar property out of range: Min " + std::to_string(min) +
                            " is above Max " + std::to_string(max));
  TScrollInfo info{min, max, ClampTo(pageSize, 0, ClampTo(int64_t{max} - min + 1, 0, INT32_MAX)),
                   FInfo.Position};
  info.Position = std::clamp(info.Position, info.Min, info.MaxPosition());
  if (info == FInfo) return;
  FInfo = info;
  Changed();
}

void TScrollBarPart::SetPosition(int32_t v) {
  v = std::clamp(v, FInfo.Min, FInfo.MaxPosition());
  if (v == FInfo.Position) return;
  FInfo.Position = v;
  Changed();
}

void TScrollBarPart::SetSmallChange(int32_t v) {
  FSmallChange = std::max(v, 1);
}

void TScrollBarPart::SetLargeChange(int32_t v) {
  FLargeChange = std::max(v, 1);
}

void TScrollBarPart::SetBounds(const TRect& v) {
  if (v == FBounds) return;
  FBounds = v;
  Changed();
}

void TScrollBarPart::Scroll(TScrollCode code) {
  int64_t pos = FInfo.Position;
  switch (code) {
    case scLineUp:
      pos -= FSmallChange;
      break;
    case scLineDown:
      pos += FSmallChange;
      break;
    case scPageUp:
      pos -= FLargeChange;
      break;
    case scPageDown:
      pos += FLargeChange;
      break;
    case scTop:
      pos = FInfo.Min;
      break;
    case scBottom:
      pos = FInfo.MaxPosition();
      break;
    default:
      break;
  }
  ScrollTo(code, ClampTo(pos, FInfo.Min, FInfo.MaxPosition()));
}

void TScrollBarPart::ScrollTo(TScrollCode code, int32_t position) {
  position = std::clamp(position, FInfo.Min, FInfo.MaxPosition());
  if (OnScroll) OnScroll(code, position);
  SetPosition(position);
}

// --- the mouse

bool TScrollBarPart::MouseDown(int32_t x, int32_t y) {
  if (!FBounds.Contains(x, y)) return false;
  StopRepeat();
  const TScrollBarLayout layout = Layout();
  if (!FInfo.CanScroll()) return true;  // a bar with nothing to scroll takes the press
  FPressed = layout.HitTest(x, y);
  FPressedShows = FPressed != TScrollBarHit::None;
  FMouse = {x, y};
  if (FPressed == TScrollBarHit::Thumb) {
    const TAlong bar{FKind, FBounds};
    FGrabOffset = bar.Of(x, y) - bar.Of(layout.Thumb);
    FTrackPos = FInfo.Position;
  } else if (FPressed != TScrollBarHit::None) {
    Step();
    StartRepeat();
  }
  Changed();
  return true;
}

void TScrollBarPart::MouseMove(int32_t x, int32_t y) {
  if (!Tracking()) return;
  FMouse = {x, y};
  if (FPressed == TScrollBarHit::Thumb) {
    const TAlong bar{FKind, FBounds};
    const int32_t pos = ThumbPositionAt(FKind, FBounds, FInfo, bar.Of(x, y) - FGrabOffset);
    if (pos == FTrackPos) return;
    FTrackPos = pos;
    ScrollTo(scTrack, pos);
    return;
  }
  const bool shows = Layout().HitTest(x, y) == FPressed;
  if (shows == FPressedShows) return;
  FPressedShows = shows;
  Changed();
}

void TScrollBarPart::MouseUp(int32_t x, int32_t y) {
  if (!Tracking()) return;
  MouseMove(x, y);
  StopRepeat();
  const TScrollBarHit pressed = FPressed;
  FPressed = TScrollBarHit::None;
  FPressedShows = false;
  Changed();
  if (pressed == TScrollBarHit::Thumb) ScrollTo(scPosition, FTrackPos);
  Scroll(scEndScroll);
}

void TScrollBarPart::Step() {
  // An arrow steps while the mouse is over it; a page while the thumb has not yet reached
  // the press, so a held press stops where the user pointed.
  const bool shows = Layout().HitTest(FMouse.X, FMouse.Y) == FPressed;
  if (shows != FPressedShows) {
    FPressedShows = shows;
    Changed();
  }
  if (!shows) return;
  switch (FPressed) {
    case TScrollBarHit::LessArrow:
      Scroll(scLineUp);
      break;
    case TScrollBarHit::MoreArrow:
      Scroll(scLineDown);
      break;
    case TScrollBarHit::LessPage:
      Scroll(scPageUp);
      break;
    case TScrollBarHit::MorePage:
      Scroll(scPageDown);
      break;
    default:
      break;
  }
}

void TScrollBarPart::StartRepeat() {
  StopRepeat();
  // The first repeat waits longer, so that a click steps once.
  FRepeat = Timers().Schedule(kScrollFirstDelay, [this] {
    StopRepeat();
    FRepeat = Timers().Schedule(kScrollRepeatDelay, [this] { Step(); });
    Step();
  });
}

void TScrollBarPart::StopRepeat() {
  Timers().Cancel(FRepeat);
  FRepeat = 0;
}

int32_t WheelNotches(int32_t& rest, int32_t wheelDelta) {
  const int64_t total = int64_t{rest} + wheelDelta;
  const int64_t notches = total / WHEEL_DELTA;
  rest = static_cast<int32_t>(total - notches * WHEEL_DELTA);
  return static_cast<int32_t>(notches);
}

bool ScrollBarsMouseDown(std::initializer_list<TScrollBarPart*> bars, int32_t x, int32_t y) {
  for (TScrollBarPart* bar : bars)
    if (bar->MouseDown(x, y)) return true;
  return false;
}

bool ScrollBarsMouseMove(std::initializer_list<TScrollBarPart*> bars, int32_t x, int32_t y) {
  for (TScrollBarPart* bar : bars)
    if (bar->Tracking()) {
      bar->MouseMove(x, y);
      return true;
    }
  return false;
}

bool ScrollBarsMouseUp(std::initializer_list<TScrollBarPart*> bars, int32_t x, int32_t y) {
  for (TScrollBarPart* bar : bars)
    if (bar->Tracking()) {
      bar->MouseUp(x, y);
      return true;
    }
  return false;
}

// --- painting

void TScrollBarPart::Paint(TCanvas& canvas, bool enabled) const {
  if (FBounds.Empty()) return;
  const TScrollBarLayout layout = Layout();
  const bool active = enabled && FInfo.CanScroll();
  const TScrollBarHit pressed = PressedPiece();
  canvas.Brush()->SetStyle(bsSolid);
  const bool vertical = FKind == sbVertical;
  DrawArrowButton(canvas, layout.Less, vertical ? adUp : adLeft,
                  pressed == TScrollBarHit::LessArrow, active);
  DrawArrowButton(canvas, layout.More, vertical ? adDown : adRight,
                  pressed == TScrollBarHit::MoreArrow, active);
  // A track of the face's own colour would not show: the classic toolkit dithers it then.
  if (ColorToRGB(clScrollBar) == ColorToRGB(clBtnFace)) {
    canvas.FillDithered(layout.Track, clBtnHighlight, clBtnFace);
  } else {
    canvas.Brush()->SetColor(clScrollBar);
    canvas.FillRect(layout.Track);
  }
  if (!active || layout.Thumb.Empty()) return;
  // A held page press darkens the track between the thumb and that end.
  const TAlong track{FKind, layout.Track};
  const TAlong thumb{FKind, layout.Thumb};
  canvas.Brush()->SetColor(cl3DDkShadow);
  if (pressed == TScrollBarHit::LessPage) canvas.FillRect(track.Span(track.Start(), thumb.Start()));
  if (pressed == TScrollBarHit::MorePage) canvas.FillRect(track.Span(thumb.End(), track.End()));
  DrawBarButton(canvas, layout.Thumb, false);
}

// =============================================================================================
// TScrollBar

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TScrollBar>("TScrollBar")
          .Publish("Align")
          .Publish("Enabled")
          .Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind)
          .Default(kDefaultKind)
          .Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
          .Default(kDefaultLargeChange)
          .Property("Max", &TScrollBar::Max, &TScrollBar::SetMax)
          .Default(kDefaultMax)
          .Property("Min", &TScrollBar::Min, &TScrollBar::SetMin)
          .Default(kDefaultMin)
          .Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
          .Default(kDefaultPageSize)
          .Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
          .Default(kDefaultPosition)
          .Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange)
          .Default(kDefaultSmallChange)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Visible")
          .Property("OnChange", &TScrollBar::OnChange, &TScrollBar::OnChange)
          .Publish("OnEnter", "OnExit")
          .Property("OnScroll", &TScrollBar::OnScroll, &TScrollBar::OnScroll)
          .Build();
  return *info;
}

TScrollBar::TScrollBar(TComponent* owner) : TCustomControl(owner), FBar(*this, kDefaultKind) {
  FBar.SetParams(kDefaultMin, kDefaultMax, kDefaultPageSize);
  FBar.SetPosition(kDefaultPosition);
  FBar.SetSmallChange(kDefaultSmallChange);
  FBar.SetLargeChange(kDefaultLargeChange);
  FBar.OnScroll = [this](TScrollCode code, int32_t& pos) {
    Scroll(code, pos);
    SetPosition(pos);
    pos = Position();
  };
  SetTabStop(kDefaultTabStop);
  SetBounds(0, 0, 121, ScrollBarWidth());
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == Kind()) return;
  FBar.SetKind(v);
  // Turned round, the bar keeps its thickness across its new direction.
  if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
}

TScrollBar::TPending& TScrollBar::Pending() {
  if (!FPending)
    FPending = std::make_unique<TPending>(TPending{Min(), Max(), PageSize(), Position()});
  return *FPending;
}

void TScrollBar::SetMin(int32_t v) {
  if (IsLoading())
    Pending().Min = v;
  else
    ApplyRange(v, Max(), PageSize(), Position());
}

void TScrollBar::SetMax(int32_t v) {
  if (IsLoading())
    Pending().Max = v;
  else
    ApplyRange(Min(), v, PageSize(), Position());
}

void TScrollBar::SetPageSize(int32_t v) {
  if (IsLoading())
    Pending().PageSize = v;
  else
    ApplyRange(Min(), Max(), v, Position());
}

void TScrollBar::SetPosition(int32_t v) {
  if (IsLoading()) {
    Pending().Position = v;
    return;
  }
  const int32_t old = Position();
  FBar.SetPosition(v);
  if (Position() != old) Change();
}

void TScrollBar::ApplyRange(int32_t min, int32_t max, int32_t pageSize, int32_t position) {
  const int32_t old = Position();
  FBar.SetParams(min, max, pageSize);  // raises before anything changes
  FBar.SetPosition(position);
  if (Position() != old) Change();
}

void TScrollBar::Loaded() {
  TCustomControl::Loaded();
  if (!FPending) return;
  const TPending p = *FPending;
  FPending.reset();
  try {
    ApplyRange(p.Min, p.Max, p.PageSize, p.Position);
  } catch (const EInvalidOperation& e) {
    // The file is at fault, not the program: say so, and which component it was.
    throw EReadError("Error reading " + Name() + ": " + e.what());
  }
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int32_t& position) {
  if (OnScroll) OnScroll(this, code, position);
}

void TScrollBar::WMSize() {
  TCustomControl::WMSize();
  FBar.SetBounds(GetClientRect());
}

void TScrollBar::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  if (!Focused() && CanFocus() && GetParentForm() != this) SetFocus();
  FBar.MouseDown(x, y);
}

void TScrollBar::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseMove(shift, x, y);
  FBar.MouseMove(x, y);
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) FBar.MouseUp(x, y);
  TCustomControl::MouseUp(button, shift, x, y);
}

namespace {

// The scroll a key asks of a bar; scEndScroll for a key that scrolls nothing.
TScrollCode KeyScrollCode(uint16_t key) {
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      return scLineUp;
    case VK_DOWN:
    case VK_RIGHT:
      return scLineDown;
    case VK_PRIOR:
      return scPageUp;
    case VK_NEXT:
      return scPageDown;
    case VK_HOME:
      return scTop;
    case VK_END:
      return scBottom;
    default:
      return scEndScroll;
  }
}

}  // namespace

void TScrollBar::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const TScrollCode code = KeyScrollCode(key);
  if (code == scEndScroll) return;
  FBar.Scroll(code);
  key = 0;
}

void TScrollBar::KeyUp(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  // Letting go of a scrolling key ends the scroll, as letting go of the mouse does.
  if (KeyScrollCode(key) == scEndScroll) return;
  FBar.Scroll(scEndScroll);
  key = 0;
}

bool TScrollBar::DoMouseWheel(TShiftState, int32_t wheelDelta, TPoint) {
  const int32_t notches = WheelNotches(FWheelRest, wheelDelta);
  const TScrollCode code = notches > 0 ? scLineUp : scLineDown;
  const int64_t lines = int64_t{kWheelScrollLines} * std::abs(int64_t{notches});
  for (int64_t i = 0; i < lines; ++i) {
    const int32_t before = Position();
    FBar.Scroll(code);
    if (Position() == before) break;  // at the end: no need to ask again
  }
  if (notches != 0) FBar.Scroll(scEndScroll);
  return true;
}

void TScrollBar::Paint() {
  TCanvas& canvas = *Canvas();
  FBar.Paint(canvas, EnabledInTree());
  // The classic thumb blinks while focused; a dotted frame inside it says the same.
  const TRect thumb = FBar.Layout().Thumb;
  if (Focused() && EnabledInTree() && !thumb.Empty()) canvas.DrawFocusRect(Shrink(thumb, 2));
}

void TScrollBar::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arScrollBar;
  d.Value = TAccessibleValue{Min(), Max(), Position()};
}

}  // namespace zelvar

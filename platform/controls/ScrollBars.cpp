#include "platform/controls/ScrollBars.h"

#include <algorithm>

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

// a * b / c rounded to the nearest, as the classic MulDiv; c > 0.
int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return (p >= 0 ? p + c / 2 : p - c / 2) / c;
}

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
// one, pointing the way the button scrolls, centred in rect and moved by shift.
void DrawArrowGlyph(TCanvas& canvas, const TRect& rect, TArrowDirection dir, int32_t shift) {
  const int32_t rows = std::clamp(std::min(rect.Width(), rect.Height()) / 4, 1, 4);
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

// =============================================================================================
// TScrollBarPart

TScrollBarPart::TScrollBarPart(TControl& owner, TScrollBarKind kind) : FOwner(owner), FKind(kind) {}

TScrollBarPart::~TScrollBarPart() = default;

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
  const TScrollBarHit now = Layout().HitTest(FMouse.X, FMouse.Y);
  FPressedShows = now == FPressed;
  if (!FPressedShows) return;
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
  canvas.Brush()->SetColor(clScrollBar);
  canvas.FillRect(layout.Track);
  if (!active || layout.Thumb.Empty()) return;
  // A held page press darkens the track between the thumb and that end.
  const TAlong track{FKind, layout.Track};
  const TAlong thumb{FKind, layout.Thumb};
  canvas.Brush()->SetColor(cl3DDkShadow);
  if (pressed == TScrollBarHit::LessPage) canvas.FillRect(track.Span(track.Start(), thumb.Start()));
  if (pressed == TScrollBarHit::MorePage) canvas.FillRect(track.Span(thumb.End(), track.End()));
  DrawBarButton(canvas, layout.Thumb, false);
}

}  // namespace zelvar

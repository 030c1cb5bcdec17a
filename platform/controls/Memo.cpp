#include "platform/controls/Memo.h"

#include <algorithm>
#include <utility>

#include "platform/core/TypInfo.h"

// Sections: TMemoStrings, the class table, properties, layout, keys and mouse, scroll bars.

namespace zelvar {

// =============================================================================================
// TMemoStrings

const TClassInfo& TMemoStrings::StaticClassInfo() {
  static const auto info = TClassBuilder<TMemoStrings>("TMemoStrings").Build();
  return *info;
}

int TMemoStrings::Count() const {
  int n = FMemo.LineCount();
  return FMemo.Line(n - 1).empty() ? n - 1 : n;
}

std::string TMemoStrings::Get(int index) const {
  CheckIndex(index, Count());
  return FMemo.Line(index);
}

void TMemoStrings::Put(int index, const std::string& s) {
  CheckIndex(index, Count());
  FMemo.Replace({index, 0}, {index, FMemo.Line(index).size()}, FMemo.Normalize(s), false);
  Changed();
}

int64_t TMemoStrings::GetObject(int index) const {
  CheckIndex(index, Count());
  return 0;
}

void TMemoStrings::PutObject(int index, int64_t) {
  CheckIndex(index, Count());
}

void TMemoStrings::InsertObject(int index, const std::string& s, int64_t) {
  CheckIndex(index, Count() + 1);
  std::string line = FMemo.Normalize(s);
  if (index == FMemo.LineCount()) {
    // After a last line that has no line break: give it one first.
    TTextPos end = FMemo.TextEnd();
    FMemo.Replace(end, end, "\n" + line + "\n", false);
  } else {
    FMemo.Replace({index, 0}, {index, 0}, line + "\n", false);
  }
  Changed();
}

void TMemoStrings::Delete(int index) {
  CheckIndex(index, Count());
  const int32_t n = FMemo.LineCount();
  if (index + 1 < n)
    FMemo.Replace({index, 0}, {index + 1, 0}, {}, false);
  else if (index > 0)  // the last line, without a line break: the one before it goes
    FMemo.Replace({index - 1, FMemo.Line(index - 1).size()}, {index, FMemo.Line(index).size()}, {},
                  false);
  else
    FMemo.Replace({0, 0}, {0, FMemo.Line(0).size()}, {}, false);
  Changed();
}

void TMemoStrings::Clear() {
  if (FMemo.LineCount() == 1 && FMemo.Line(0).empty()) return;
  FMemo.SetText(std::string());
  Changed();
}

// =============================================================================================
// The class table

const TClassInfo& TMemo::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TMemo>("TMemo")
          .Publish("Align")
          .Publish("Color")
          .Default(kDefaultColor)
          .Publish("Enabled", "Font")
          .Property("Lines", &TMemo::Lines, &TMemo::SetLines)
          .Publish("MaxLength", "ReadOnly")
          .Publish("PopupMenu")
          .Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars)
          .Default(kDefaultScrollBars)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Visible")
          .Property("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns)
          .Default(kDefaultWantReturns)
          .Property("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs)
          .Default(kDefaultWantTabs)
          .Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap)
          .Default(kDefaultWordWrap)
          .Publish("OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyPress")
          .Public("TopIndex", &TMemo::TopIndex, &TMemo::SetTopIndex)
          .Publish("Required")
          .Build();
  return *info;
}

TMemo::TMemo(TComponent* owner)
    : TCustomEdit(owner),
      FLinesView(std::make_unique<TMemoStrings>(*this)),
      FVBar(*this, sbVertical),
      FHBar(*this, sbHorizontal) {
  // The bars only report; the memo keeps the view and hands the bars its numbers.
  FVBar.OnScroll = [this](TScrollCode, int32_t& pos) {
    FTopRow = pos = std::clamp(pos, 0, MaxTopRow());
    Invalidate();
  };
  FHBar.OnScroll = [this](TScrollCode, int32_t& pos) {
    FScrollX = pos = std::max(pos, 0);
    Invalidate();
  };
  SetBounds(0, 0, 185, 89);
  PlaceScrollBars();
}

TMemo::~TMemo() = default;

// =============================================================================================
// Properties

void TMemo::SetLines(TStrings* v) {
  if (v)
    FLinesView->Assign(v);
  else
    FLinesView->Clear();
}

void TMemo::SetWordWrap(bool v) {
  if (v == FWordWrap) return;
  FWordWrap = v;
  FScrollX = 0;
  Invalidate();
}

void TMemo::SetScrollBars(TScrollStyle v) {
  if (v == FScrollBars) return;
  FScrollBars = v;
  FLayoutWidth = -1;  // the text's width changes, and the widest line may be wanted now
  FScrollX = 0;
  PlaceScrollBars();
  Invalidate();
}

bool TMemo::Wrapping() const {
  return FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth;
}

// =============================================================================================
// Layout

int32_t TMemo::WrapWidth() const {
  return Wrapping() ? std::max(TextRect().Width(), 1) : 0;
}

void TMemo::EnsureLayout() const {
  const int32_t width = WrapWidth();
  if (width == FLayoutWidth && FLayoutFont.SameFace(*Font())) return;
  FLayoutFont.Assign(Font());
  FLayoutWidth = width;
  FWrapLine = -1;
  std::vector<int32_t> rows(static_cast<size_t>(LineCount()), 1);
  if (width > 0)
    for (int32_t i = 0; i < LineCount(); ++i) rows[static_cast<size_t>(i)] = RowsOf(i);
  FMaxLineWidth = 0;
  if (width == 0 && FScrollBars != ssNone && FScrollBars != ssVertical)
    for (int32_t i = 0; i < LineCount(); ++i)
      FMaxLineWidth = std::max(FMaxLineWidth, Measure().Width(Line(i)));
  FRows.Assign(std::move(rows));
}

int32_t TMemo::RowsOf(int32_t line) const {
  return FLayoutWidth > 0 ? Measure().RowCount(Line(line), FLayoutWidth) : 1;
}

const std::vector<size_t>& TMemo::RowStarts(int32_t line) const {
  if (FWrapLine != line) {
    if (FLayoutWidth > 0)
      Measure().Wrap(Line(line), FLayoutWidth, FWrapStarts);
    else
      FWrapStarts.assign(1, 0);
    FWrapLine = line;
  }
  return FWrapStarts;
}

void TMemo::LinesReplaced(int32_t first, int32_t removed, int32_t inserted) {
  FWrapLine = -1;
  // A layout that is out of date anyway is made afresh when next asked for: a form file
  // filling the memo line by line lays nothing out.
  if (FLayoutWidth < 0 || FLayoutWidth != WrapWidth() || !FLayoutFont.SameFace(*Font())) {
    FLayoutWidth = -1;
    return;
  }
  const int32_t kept = std::min(removed, inserted);
  for (int32_t i = 0; i < kept; ++i) FRows.Set(first + i, RowsOf(first + i));
  if (removed > kept) {
    FRows.Erase(first + kept, removed - kept);
  } else if (inserted > kept) {
    std::vector<int32_t> rows;
    rows.reserve(static_cast<size_t>(inserted - kept));
    for (int32_t i = kept; i < inserted; ++i) rows.push_back(RowsOf(first + i));
    FRows.Insert(first + kept, rows);
  }
  // The widest line only grows here; a full layout finds it again.
  if (FLayoutWidth == 0 && FScrollBars != ssNone && FScrollBars != ssVertical)
    for (int32_t i = 0; i < inserted; ++i)
      FMaxLineWidth = std::max(FMaxLineWidth, Measure().Width(Line(first + i)));
}

int32_t TMemo::RowCount() const {
  EnsureLayout();
  return static_cast<int32_t>(std::clamp<int64_t>(FRows.Total(), 1, kMaxExtent));
}

TCustomEdit::TRow TMemo::Row(int32_t row) const {
  EnsureLayout();
  row = std::clamp(row, 0, RowCount() - 1);
  const int32_t line = std::min(FRows.Find(row), LineCount() - 1);
  const std::vector<size_t>& starts = RowStarts(line);
  const auto k = static_cast<size_t>(
      std::clamp<int64_t>(row - FRows.Prefix(line), 0, static_cast<int64_t>(starts.size()) - 1));
  return {line, starts[k], k + 1 < starts.size() ? starts[k + 1] : Line(line).size()};
}

int32_t TMemo::RowOf(TTextPos pos) const {
  EnsureLayout();
  pos = Clamp(pos);
  const auto first = static_cast<int32_t>(FRows.Prefix(pos.Line));
  if (FLayoutWidth <= 0) return first;
  const std::vector<size_t>& starts = RowStarts(pos.Line);
  auto k = std::upper_bound(starts.begin(), starts.end(), pos.Byte) - starts.begin() - 1;
  return first + static_cast<int32_t>(k);
}

int32_t TMemo::MaxTopRow() const {
  return std::max(0, RowCount() - VisibleRows());
}

void TMemo::SetTopRow(int32_t v) {
  v = std::clamp(v, 0, MaxTopRow());
  if (v == FTopRow) return;
  FTopRow = v;
  Invalidate();
}

void TMemo::WMSize() {
  TCustomEdit::WMSize();
  PlaceScrollBars();
}

TRect TMemo::TextRect() const {
  TRect field = Shrink(GetClientRect(), kBorder);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) field.Right -= ScrollBarWidth(*this);
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) field.Bottom -= ScrollBarWidth(*this);
  return TextRectIn(field);
}

// =============================================================================================
// Keys and mouse

int32_t TMemo::WMGetDlgCode() {
  return TCustomEdit::WMGetDlgCode() | (FWantTabs ? DLGC_WANTTAB : 0);
}

bool TMemo::CMDialogKey(uint16_t key, TShiftState shift) {
  // Enter breaks the line before a default button sees it, while the memo wants returns.
  if (key == VK_RETURN && FWantReturns && Focused() && !shift.Contains(ssAlt) &&
      !shift.Contains(ssCtrl)) {
    char32_t ch = '\r';
    KeyPress(ch);
    return true;
  }
  return TCustomEdit::CMDialogKey(key, shift);
}

bool TMemo::MoveVertically(uint16_t key, TShiftState shift) {
  const int32_t row = RowOf(CaretPos());
  const int32_t x = FCaretX >= 0 ? FCaretX : RowX(Row(row), CaretPos().Byte);
  const int32_t page = VisibleRows();
  const int32_t step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page;
  // A page key moves the view with the caret.
  if (key == VK_PRIOR || key == VK_NEXT) SetTopRow(FTopRow + step);
  const int32_t target = std::clamp(row + step, 0, RowCount() - 1);
  TRow r = Row(target);
  size_t byte = RowByteAt(r, x);
  if (byte == r.End) byte = RowEnd(target).Byte;
  MoveCaret({r.Line, byte}, shift.Contains(ssShift));
  FCaretX = x;  // the next Up or Down aims at the same x again
  return true;
}

bool TMemo::DoMouseWheel(TShiftState, int32_t wheelDelta, TPoint) {
  const int64_t rows = int64_t{WheelNotches(FWheelRest, wheelDelta)} * kWheelScrollLines;
  SetTopRow(ClampExtent(FTopRow - rows));
  return true;
}

bool TMemo::ClaimPress(int32_t x, int32_t y) {
  SyncScrollBars();
  for (TScrollBarPart* bar : {&FVBar, &FHBar})
    if (bar->MouseDown(x, y)) {
      FBarDown = bar;
      return true;
    }
  return false;
}

void TMemo::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (FBarDown) {
    TCustomControl::MouseMove(shift, x, y);
    FBarDown->MouseMove(x, y);
    return;
  }
  TCustomEdit::MouseMove(shift, x, y);
}

void TMemo::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft && FBarDown) std::exchange(FBarDown, nullptr)->MouseUp(x, y);
  TCustomEdit::MouseUp(button, shift, x, y);
}

// =============================================================================================
// Scroll bars

void TMemo::PlaceScrollBars() {
  const TRect field = Shrink(GetClientRect(), kBorder);
  const bool vert = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const int32_t s = ScrollBarWidth(*this);
  const int32_t right = std::max(field.Left, field.Right - (vert ? s : 0));
  const int32_t bottom = std::max(field.Top, field.Bottom - (horz ? s : 0));
  FVBar.SetBounds(vert ? TRect{right, field.Top, field.Right, bottom} : TRect{});
  FHBar.SetBounds(horz ? TRect{field.Left, bottom, right, field.Bottom} : TRect{});
}

void TMemo::SyncScrollBars() {
  const int32_t rows = RowCount(), page = VisibleRows();
  FTopRow = std::min(FTopRow, MaxTopRow());
  FVBar.SetParams(0, rows - 1, page);
  FVBar.SetLargeChange(page);
  FVBar.SetPosition(FTopRow);
  const int32_t width = std::max(TextRect().Width(), 1);
  FHBar.SetParams(0, Wrapping() ? 0 : FMaxLineWidth, width);
  FHBar.SetSmallChange(std::max(1, Measure().CharWidth('x')));
  FHBar.SetLargeChange(width);
  FHBar.SetPosition(FScrollX);
}

void TMemo::Paint() {
  SyncScrollBars();
  TCustomEdit::Paint();
  TCanvas& c = *Canvas();
  const bool enabled = EnabledInTree();
  if (!FVBar.Bounds().Empty()) FVBar.Paint(c, enabled);
  if (!FHBar.Bounds().Empty()) FHBar.Paint(c, enabled);
  if (FScrollBars == ssBoth) {
    // The square where the bars meet.
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(
        {FHBar.Bounds().Right, FVBar.Bounds().Bottom, FVBar.Bounds().Right, FHBar.Bounds().Bottom});
  }
}

}  // namespace zelvar

#include "platform/controls/Grids.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/controls/Accessibility.h"
#include "platform/core/Text.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

namespace {

constexpr uint16_t kKeyF2 = VK_F1 + 1;  // the key that opens a cell's editor

[[noreturn]] void RaiseGridIndex(const char* what, int32_t index) {
  throw EListError(std::string("Grid ") + what + " index out of range (" + std::to_string(index) +
                   ")");
}

}  // namespace

// =============================================================================================
// TCustomGrid

const TClassInfo& TCustomGrid::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TCustomGrid>("TCustomGrid")
          .Public("Col", &TCustomGrid::Col, &TCustomGrid::SetCol)
          .Public("Row", &TCustomGrid::Row, &TCustomGrid::SetRow)
          .Public("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount)
          .Public("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount)
          .Public("LeftCol", &TCustomGrid::LeftCol, &TCustomGrid::SetLeftCol)
          .Public("TopRow", &TCustomGrid::TopRow, &TCustomGrid::SetTopRow)
          .Public("EditorMode", &TCustomGrid::EditorMode, &TCustomGrid::SetEditorMode)
          .Build();
  return *info;
}

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner),
      FColWidths(kDefaultColCount, kDefaultColWidth),
      FRowHeights(kDefaultRowCount, kDefaultRowHeight) {
  FHorzBar.OnScroll = [this](TScrollCode code, int32_t& pos) {
    ScrollBarScrolled(code, pos, false);
  };
  FVertBar.OnScroll = [this](TScrollCode code, int32_t& pos) {
    ScrollBarScrolled(code, pos, true);
  };
  SetColor(kDefaultColor);
  SetTabStop(kDefaultTabStop);
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

namespace {

void CheckGridCount(const char* what, int32_t v) {
  if (v > kMaxGridCount)
    throw EInvalidOperation("Grid too large: " + std::to_string(v) + " " + what + " (at most " +
                            std::to_string(kMaxGridCount) + ")");
}

int32_t ClampSize(int32_t v) {
  return std::clamp(v, 0, kMaxExtent);
}

}  // namespace

void TCustomGrid::SetColCount(int32_t v) {
  CheckGridCount("columns", v);
  v = std::max(v, 1);
  int32_t oldCols = ColCount();
  if (v == oldCols) return;
  if (FFixedCols >= v) FFixedCols = v - 1;
  FColWidths.resize(static_cast<size_t>(v), FDefaultColWidth);
  SizeChanged(oldCols, RowCount());
  UpdateScrollBars();
  ClampCurrent();
  Invalidate();
}

void TCustomGrid::SetRowCount(int32_t v) {
  CheckGridCount("rows", v);
  v = std::max(v, 0);
  int32_t oldRows = RowCount();
  if (v == oldRows) return;
  if (FFixedRows >= v) FFixedRows = std::max(v - 1, 0);
  FRowHeights.resize(static_cast<size_t>(v), FDefaultRowHeight);
  SizeChanged(ColCount(), oldRows);
  UpdateScrollBars();
  ClampCurrent();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int32_t v) {
  if (v < 0 || v >= ColCount())
    throw EInvalidOperation("Fixed column count must be less than column count");
  FFixedCols = v;
  // The current cell, the anchor and the scroll position start again right below and
  // right of the fixed cells, as in the classic grid.
  FCol = FAnchorCol = FLeftCol = FFixedCols;
  FRow = FAnchorRow = FTopRow = FFixedRows;
  UpdateScrollBars();
  ClampCurrent();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int32_t v) {
  if (v < 0 || (v > 0 && v >= RowCount()))
    throw EInvalidOperation("Fixed row count must be less than row count");
  FFixedRows = v;
  // The current cell, the anchor and the scroll position start again right below and
  // right of the fixed cells, as in the classic grid.
  FCol = FAnchorCol = FLeftCol = FFixedCols;
  FRow = FAnchorRow = FTopRow = FFixedRows;
  UpdateScrollBars();
  ClampCurrent();
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int32_t v) {
  FDefaultColWidth = ClampSize(v);
  std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
  UpdateScrollBars();
  ClampCurrent();
  Invalidate();
}

void TCustomGrid::ChangeScale(int32_t m, int32_t d) {
  auto scale = [m, d](int32_t v) { return ClampSize(ScaleExtent(v, m, d)); };
  FDefaultColWidth = scale(FDefaultColWidth);
  FDefaultRowHeight = scale(FDefaultRowHeight);
  for (int32_t& w : FColWidths) w = scale(w);
  for (int32_t& h : FRowHeights) h = scale(h);
  TCustomControl::ChangeScale(m, d);
  UpdateScrollBars();
  ClampCurrent();
}

void TCustomGrid::SetDefaultRowHeight(int32_t v) {
  FDefaultRowHeight = ClampSize(v);
  std::fill(FRowHeights.begin(), FRowHeights.end(), FDefaultRowHeight);
  UpdateScrollBars();
  ClampCurrent();
  Invalidate();
}

int32_t TCustomGrid::ColWidths(int32_t index) const {
  if (index < 0 || index >= ColCount()) RaiseGridIndex("column", index);
  return FColWidths[static_cast<size_t>(index)];
}

void TCustomGrid::SetColWidths(int32_t index, int32_t width) {
  if (index < 0 || index >= ColCount()) RaiseGridIndex("column", index);
  FColWidths[static_cast<size_t>(index)] = ClampSize(width);
  UpdateScrollBars();
  Invalidate();
}

int32_t TCustomGrid::RowHeights(int32_t index) const {
  if (index < 0 || index >= RowCount()) RaiseGridIndex("row", index);
  return FRowHeights[static_cast<size_t>(index)];
}

void TCustomGrid::SetRowHeights(int32_t index, int32_t height) {
  if (index < 0 || index >= RowCount()) RaiseGridIndex("row", index);
  FRowHeights[static_cast<size_t>(index)] = ClampSize(height);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int32_t v) {
  FGridLineWidth = ClampSize(v);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
  if (v == FOptions) return;
  FOptions = v;
  if (FEditing && !CanEditShow()) CancelEdit();
  if (FOptions.Contains(goRowSelect)) {
    FAnchorRow = FRow;
    FAnchorCol = FCol;
  }
  UpdateScrollBars();  // the lines may come or go
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool v) {
  FDefaultDrawing = v;
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor v) {
  FFixedColor = v;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v) {
  if (v == FScrollBars) return;
  FScrollBars = v;
  UpdateScrollBars();
  Invalidate();
}

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(FCol, FAnchorCol), std::min(FRow, FAnchorRow), std::max(FCol, FAnchorCol),
              std::max(FRow, FAnchorRow)};
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = ColCount() - 1;
  }
  return r;
}

void TCustomGrid::CheckCell(int32_t col, int32_t row) const {
  if (col < FFixedCols || col >= ColCount()) RaiseGridIndex("column", col);
  if (row < FFixedRows || row >= RowCount()) RaiseGridIndex("row", row);
}

bool TCustomGrid::SelectCell(int32_t col, int32_t row) {
  return FocusCell(col, row, true);
}

bool TCustomGrid::CanSelectCell(int32_t col, int32_t row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  return can;
}

bool TCustomGrid::FocusCell(int32_t col, int32_t row, bool check, bool extend) {
  CheckCell(col, row);
  if (check && !CanSelectCell(col, row)) return false;
  if (col != FCol || row != FRow) CommitEditor();
  FCol = col;
  FRow = row;
  if (!extend || !FOptions.Contains(goRangeSelect)) {
    FAnchorCol = col;
    FAnchorRow = row;
  }
  ScrollInView(col, row);
  if (FOptions.Contains(goAlwaysShowEditor) && Focused()) ShowEditor();
  Invalidate();
  return true;
}

void TCustomGrid::ClampCurrent() {
  auto clamp = [](int32_t& v, int32_t lo, int32_t hi) { v = std::clamp(v, lo, std::max(lo, hi)); };
  int32_t oldCol = FCol, oldRow = FRow;
  clamp(FCol, FFixedCols, ColCount() - 1);
  clamp(FRow, FFixedRows, RowCount() - 1);
  clamp(FAnchorCol, FFixedCols, ColCount() - 1);
  clamp(FAnchorRow, FFixedRows, RowCount() - 1);
  clamp(FLeftCol, FFixedCols, ColCount() - 1);
  clamp(FTopRow, FFixedRows, RowCount() - 1);
  // The edited cell went away: its text has nowhere to go.
  if (FEditing && (oldCol != FCol || oldRow != FRow)) CancelEdit();
  ScrollInView(FCol, FRow);
}

int32_t TCustomGrid::LineWidth() const {
  return FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine) ? FGridLineWidth : 0;
}

int32_t TCustomGrid::LineHeight() const {
  return FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine) ? FGridLineWidth : 0;
}

namespace {

// Where cell index lies along one axis: the fixed cells, then the scrolling ones from first
// on; -1 when it is scrolled out of view. Past kMaxExtent every position is as far off.
int32_t CellStart(int32_t index, const std::vector<int32_t>& sizes, int32_t fixed, int32_t first,
                  int32_t line) {
  if (index >= fixed && index < first) return -1;
  int64_t at = 0;
  for (int32_t i = 0; i < fixed && i < index && at < kMaxExtent; ++i)
    at += sizes[static_cast<size_t>(i)] + line;
  for (int32_t i = first; i < index && at < kMaxExtent; ++i)
    at += sizes[static_cast<size_t>(i)] + line;
  return ClampExtent(at);
}

// The first scrolling index to show so that index ends within limit, starting from first and
// walking back from index: what scrolling one at a time would reach, at the cost of the cells
// that fit.
int32_t ScrollTo(int32_t index, const std::vector<int32_t>& sizes, int32_t fixed, int32_t first,
                 int32_t line, int32_t limit) {
  int64_t used = 0;
  for (int32_t i = 0; i < fixed; ++i) used += sizes[static_cast<size_t>(i)] + line;
  used += sizes[static_cast<size_t>(index)];
  if (used > limit) return index;
  int32_t top = index;
  while (top > first) {
    int64_t next = used + sizes[static_cast<size_t>(top - 1)] + line;
    if (next > limit) break;
    used = next;
    --top;
  }
  return top;
}

}  // namespace

int32_t TCustomGrid::ColLeft(int32_t col) const {
  return CellStart(col, FColWidths, FFixedCols, FLeftCol, LineWidth());
}

int32_t TCustomGrid::RowTop(int32_t row) const {
  return CellStart(row, FRowHeights, FFixedRows, FTopRow, LineHeight());
}

TRect TCustomGrid::CellRect(int32_t col, int32_t row) const {
  if (col < 0 || col >= ColCount()) RaiseGridIndex("column", col);
  if (row < 0 || row >= RowCount()) RaiseGridIndex("row", row);
  int32_t x = ColLeft(col), y = RowTop(row);
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return {};
  return {x, y, x + FColWidths[static_cast<size_t>(col)],
          y + FRowHeights[static_cast<size_t>(row)]};
}

bool TCustomGrid::MouseToCell(int32_t x, int32_t y, int32_t& col, int32_t& row) const {
  col = row = -1;
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return false;
  // A point on the line after a cell counts as that cell, so every pixel answers.
  auto find = [](int32_t p, const std::vector<int32_t>& sizes, int32_t fixed, int32_t first,
                 int32_t line) {
    int64_t at = 0;
    auto n = static_cast<int32_t>(sizes.size());
    for (int32_t i = 0; i < n; ++i) {
      if (i == fixed) i = first;
      if (i >= n) break;
      int64_t next = at + sizes[static_cast<size_t>(i)] + line;
      if (p < next) return i;
      at = next;
    }
    return -1;
  };
  col = find(x, FColWidths, FFixedCols, FLeftCol, LineWidth());
  row = find(y, FRowHeights, FFixedRows, FTopRow, LineHeight());
  if (col < 0 || row < 0) {
    col = row = -1;
    return false;
  }
  return true;
}

void TCustomGrid::ScrollInView(int32_t col, int32_t row) {
  if (col >= FFixedCols && ClientWidth() > 0) {
    if (col < FLeftCol)
      FLeftCol = col;
    else
      FLeftCol = ScrollTo(col, FColWidths, FFixedCols, FLeftCol, LineWidth(), ClientWidth());
  }
  if (row >= FFixedRows && ClientHeight() > 0) {
    if (row < FTopRow)
      FTopRow = row;
    else
      FTopRow = ScrollTo(row, FRowHeights, FFixedRows, FTopRow, LineHeight(), ClientHeight());
  }
  SyncScrollBars();
}

// --- scroll bars

TRect TCustomGrid::GetClientRect() const {
  return PlaceScrollBars({0, 0, Width(), Height()}, !FHorzBar.Bounds().Empty(),
                         !FVertBar.Bounds().Empty(), ScrollBarWidth(*this))
      .Client;
}

namespace {

// The furthest first scrolling index along one axis: from it the last cell ends within room.
// Only the cells that fit are walked.
int32_t MaxFirst(const std::vector<int32_t>& sizes, int32_t fixed, int32_t line, int32_t room) {
  const auto count = static_cast<int32_t>(sizes.size());
  if (count <= fixed) return fixed;
  return ScrollTo(count - 1, sizes, fixed, fixed, line, room);
}

}  // namespace

int32_t TCustomGrid::MaxLeftCol() const {
  return MaxFirst(FColWidths, FFixedCols, LineWidth(), ClientWidth());
}

int32_t TCustomGrid::MaxTopRow() const {
  return MaxFirst(FRowHeights, FFixedRows, LineHeight(), ClientHeight());
}

void TCustomGrid::UpdateScrollBars() {
  const TRect box{0, 0, Width(), Height()};
  const bool wantHorz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const bool wantVert = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const int32_t lineW = LineWidth(), lineH = LineHeight(), bar = ScrollBarWidth(*this);
  auto overflows = [](const std::vector<int32_t>& sizes, int32_t fixed, int32_t line,
                      int32_t room) { return MaxFirst(sizes, fixed, line, room) > fixed; };
  // Each bar takes room from the other's direction: one may call for the other.
  bool vert = wantVert && overflows(FRowHeights, FFixedRows, lineH, box.Height());
  const bool horz =
      wantHorz && overflows(FColWidths, FFixedCols, lineW, box.Width() - (vert ? bar : 0));
  if (horz && !vert)
    vert = wantVert && overflows(FRowHeights, FFixedRows, lineH, box.Height() - bar);
  const TScrollBarPlaces places = PlaceScrollBars(box, horz, vert, bar);
  FHorzBar.SetBounds(places.Horz);
  FVertBar.SetBounds(places.Vert);

  // A bar's position is the first scrolling column (row); its page the ones that show at the
  // end, so the thumb's last place shows the last one.
  const int32_t maxLeft = MaxLeftCol(), maxTop = MaxTopRow();
  FHorzBar.SetParams(FFixedCols, std::max(ColCount() - 1, FFixedCols), ColCount() - maxLeft);
  FHorzBar.SetLargeChange(ColCount() - maxLeft);
  FVertBar.SetParams(FFixedRows, std::max(RowCount() - 1, FFixedRows), RowCount() - maxTop);
  FVertBar.SetLargeChange(RowCount() - maxTop);
  // More room shows more of the grid: it scrolls back rather than leave space after the end.
  FLeftCol = std::clamp(FLeftCol, FFixedCols, std::max(maxLeft, FFixedCols));
  FTopRow = std::clamp(FTopRow, FFixedRows, std::max(maxTop, FFixedRows));
  SyncScrollBars();
}

void TCustomGrid::SyncScrollBars() {
  FHorzBar.SetPosition(FLeftCol);
  FVertBar.SetPosition(FTopRow);
}

void TCustomGrid::SetLeftCol(int32_t v) {
  v = std::clamp(v, FFixedCols, std::max(MaxLeftCol(), FFixedCols));
  if (v == FLeftCol) return;
  FLeftCol = v;
  SyncScrollBars();
  Invalidate();
}

void TCustomGrid::SetTopRow(int32_t v) {
  v = std::clamp(v, FFixedRows, std::max(MaxTopRow(), FFixedRows));
  if (v == FTopRow) return;
  FTopRow = v;
  SyncScrollBars();
  Invalidate();
}

void TCustomGrid::ScrollBarScrolled(TScrollCode code, int32_t& pos, bool vertical) {
  // Without goThumbTracking the cells wait for the thumb's release, as the classic grid's do;
  // the thumb itself follows the mouse.
  if (code == scTrack && !FOptions.Contains(goThumbTracking)) return;
  if (code != scEndScroll) {
    if (vertical)
      SetTopRow(pos);
    else
      SetLeftCol(pos);
  }
  pos = vertical ? FTopRow : FLeftCol;
}

void TCustomGrid::WMSize() {
  TCustomControl::WMSize();
  UpdateScrollBars();
}

// --- the editor

bool TCustomGrid::CanEditShow() const {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FCol >= FFixedCols &&
         FRow >= FFixedRows && FCol < ColCount() && FRow < RowCount();
}

void TCustomGrid::ShowEditor() {
  if (FEditing || !CanEditShow()) return;
  FEditText = GetEditText(FCol, FRow);
  FEditing = true;
  Invalidate();
}

void TCustomGrid::CommitEditor() {
  if (!FEditing) return;
  FEditing = false;
  std::string text = std::move(FEditText);
  FEditText.clear();
  Invalidate();
  SetEditText(FCol, FRow, text);
}

void TCustomGrid::CancelEdit() {
  if (!FEditing) return;
  FEditing = false;
  FEditText.clear();
  Invalidate();
}

void TCustomGrid::SetEditorMode(bool v) {
  if (v)
    ShowEditor();
  else
    CommitEditor();
}

void TCustomGrid::SetEditorText(const std::string& v) {
  if (!FEditing) return;
  FEditText = v;
  Invalidate();
}

std::string TCustomGrid::GetEditText(int32_t col, int32_t row) {
  std::string text;
  if (OnGetEditText) OnGetEditText(this, col, row, text);
  return text;
}

void TCustomGrid::SetEditText(int32_t col, int32_t row, const std::string& value) {
  if (OnSetEditText) OnSetEditText(this, col, row, value);
}

void TCustomGrid::SizeChanged(int32_t, int32_t) {}

// --- mouse and keyboard

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  bool wasFocused = Focused();
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  if (!wasFocused && CanFocus() && GetParentForm() != this) SetFocus();
  if (ScrollBarsMouseDown({&FHorzBar, &FVertBar}, x, y)) return;
  int32_t col, row;
  if (!MouseToCell(x, y, col, row) || col < FFixedCols || row < FFixedRows) return;
  // A second press on the current cell of an editable grid opens the editor, as typing would;
  // any other grid selects the cell again (its select handler runs once more).
  if (FOptions.Contains(goEditing) && col == FCol && row == FRow && wasFocused &&
      !shift.Contains(ssShift)) {
    ShowEditor();
    return;
  }
  FocusCell(col, row, true, shift.Contains(ssShift));
}

void TCustomGrid::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseMove(shift, x, y);
  ScrollBarsMouseMove({&FHorzBar, &FVertBar}, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  // A press on a scroll bar scrolls; it is not a click on the grid.
  if (ScrollBarsMouseUp({&FHorzBar, &FVertBar}, x, y)) FControlState.Exclude(csLButtonDown);
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::MoveBy(int32_t dcol, int32_t drow, bool extend) {
  if (RowCount() == 0) return;
  int32_t col = std::clamp(FCol + dcol, FFixedCols, ColCount() - 1);
  int32_t row = std::clamp(FRow + drow, FFixedRows, RowCount() - 1);
  if (FOptions.Contains(goRowSelect)) col = FCol;
  if (col == FCol && row == FRow) return;
  FocusCell(col, row, true, extend);
}

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  bool extend = shift.Contains(ssShift);
  // A page is the rows that show below the fixed ones, less one.
  int32_t page = 1;
  {
    const int32_t line = LineHeight(), limit = ClientHeight();
    const int32_t x = ColLeft(FCol);
    const bool shows = x >= 0 && x < ClientWidth() && FColWidths[static_cast<size_t>(FCol)] > 0;
    int64_t y = std::max(RowTop(FTopRow), 0);
    for (int32_t r = FTopRow; shows && r < RowCount() && y < limit; ++r) {
      const int32_t h = FRowHeights[static_cast<size_t>(r)];
      if (h == 0) break;  // an empty cell ends what shows
      page = r - FTopRow;
      y += h + line;
    }
    page = std::max(page, 1);
  }
  if (FEditing) {
    switch (key) {
      case VK_ESCAPE:
        CancelEdit();
        key = 0;
        return;
      case VK_RETURN:
        CommitEditor();
        key = 0;
        return;
      case VK_BACK:
        FEditText.resize(PrevCharBoundary(FEditText, FEditText.size()));
        Invalidate();
        key = 0;
        return;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_HOME:
      case VK_END:
        key = 0;  // the editor has no caret to move
        return;
      default:
        break;
    }
  }
  switch (key) {
    case kKeyF2:
      ShowEditor();
      break;
    case VK_RETURN:
      if (!FOptions.Contains(goEditing)) return;
      ShowEditor();
      break;
    case VK_LEFT:
      MoveBy(-1, 0, extend);
      break;
    case VK_RIGHT:
      MoveBy(1, 0, extend);
      break;
    case VK_UP:
      MoveBy(0, -1, extend);
      break;
    case VK_DOWN:
      MoveBy(0, 1, extend);
      break;
    case VK_PRIOR:
      MoveBy(0, -page, extend);
      break;
    case VK_NEXT:
      MoveBy(0, page, extend);
      break;
    case VK_HOME:
      if (shift.Contains(ssCtrl))
        MoveBy(FFixedCols - FCol, FFixedRows - FRow, extend);
      else
        MoveBy(FFixedCols - FCol, 0, extend);
      break;
    case VK_END:
      if (shift.Contains(ssCtrl))
        MoveBy(ColCount() - 1 - FCol, RowCount() - 1 - FRow, extend);
      else
        MoveBy(ColCount() - 1 - FCol, 0, extend);
      break;
    case VK_TAB: {
      if (!FOptions.Contains(goTabs) || RowCount() == 0) return;
      // Along the row, then on to the next (or previous) row.
      int32_t col = FCol, row = FRow;
      if (!extend) {
        if (++col >= ColCount()) {
          col = FFixedCols;
          if (++row >= RowCount()) return;
        }
      } else if (--col < FFixedCols) {
        col = ColCount() - 1;
        if (--row < FFixedRows) return;
      }
      FocusCell(col, row, true);
      break;
    }
    default:
      return;
  }
  key = 0;
}

void TCustomGrid::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if (key < 32 || key == 127 || !FOptions.Contains(goEditing)) return;
  if (!FEditing) {
    // Typing into a closed editor replaces the cell's text.
    ShowEditor();
    if (!FEditing) return;
    FEditText.clear();
  }
  AppendUtf8(FEditText, key);
  Invalidate();
  key = 0;
}

bool TCustomGrid::DoMouseWheel(TShiftState, int32_t wheelDelta, TPoint) {
  const int32_t notches = WheelNotches(FWheelRest, wheelDelta);
  if (notches != 0) MoveBy(0, -notches, false);
  return true;
}

int32_t TCustomGrid::WMGetDlgCode() {
  int32_t code = DLGC_WANTARROWS;
  if (FOptions.Contains(goRowSelect)) return code;
  if (FOptions.Contains(goTabs)) code |= DLGC_WANTTAB;
  if (FOptions.Contains(goEditing)) code |= DLGC_WANTCHARS;
  // An open editor takes Enter and Escape before the dialog's buttons do.
  if (FEditing) code |= DLGC_WANTALLKEYS;
  return code;
}

void TCustomGrid::WMSetFocus() {
  TCustomControl::WMSetFocus();
  if (FOptions.Contains(goAlwaysShowEditor)) ShowEditor();
}

void TCustomGrid::WMKillFocus() {
  CommitEditor();
  TCustomControl::WMKillFocus();
}

// --- painting

void TCustomGrid::DrawCell(int32_t, int32_t, const TRect&, TGridDrawState) {}

void TCustomGrid::Paint() {
  TCanvas& canvas = *Canvas();
  TRect client = GetClientRect();
  const TPoint origin = canvas.Origin();
  const TRect deviceClip = Offset(canvas.ClipRect(), origin);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(client);

  const bool focused = Focused();
  const TGridRect sel = Selection();
  const int32_t lineW = LineWidth(), lineH = LineHeight();
  const TColor textColor = Font()->Color();

  // The cells that show along one axis, with where each starts: the fixed ones, then the
  // scrolling ones from first on, up to limit. A cell with no extent (no size and no line)
  // shows nothing and is left out, so a grid of many empty rows or columns costs what shows.
  auto shown = [](int32_t count, int32_t fixed, int32_t first, int32_t limit,
                  const std::vector<int32_t>& sizes, int32_t line) {
    std::vector<std::pair<int32_t, int32_t>> out;
    int32_t at = 0;
    for (int32_t i = 0; i < count && at < limit; ++i) {
      if (i == fixed) i = first;
      if (i >= count) break;
      const int32_t extent = sizes[static_cast<size_t>(i)] + line;
      if (extent == 0) continue;
      out.emplace_back(i, at);
      at += extent;
    }
    return out;
  };
  const auto cols = shown(ColCount(), FFixedCols, FLeftCol, client.Right, FColWidths, lineW);
  const auto rows = shown(RowCount(), FFixedRows, FTopRow, client.Bottom, FRowHeights, lineH);

  for (const auto& [row, y] : rows)
    for (const auto& [col, x] : cols) {
      TRect rect{x, y, x + FColWidths[static_cast<size_t>(col)],
                 y + FRowHeights[static_cast<size_t>(row)]};
      const bool fixed = col < FFixedCols || row < FFixedRows;
      TGridDrawState state;
      if (fixed) {
        state.Include(gdFixed);
      } else {
        if (focused && col == FCol && row == FRow) state.Include(gdFocused);
        if (sel.Contains(col, row)) state.Include(gdSelected);
      }
      // Lines: after the cell, covering the crossing at its bottom-right corner.
      bool vert = FOptions.Contains(fixed ? goFixedVertLine : goVertLine);
      bool horz = FOptions.Contains(fixed ? goFixedHorzLine : goHorzLine);
      TColor lineColor = fixed ? clBtnShadow : clSilver;
      TColor back = fixed ? FFixedColor : Color();
      canvas.Brush()->SetColor(vert ? lineColor : back);
      canvas.FillRect({rect.Right, rect.Top, rect.Right + lineW, rect.Bottom + lineH});
      canvas.Brush()->SetColor(horz ? lineColor : back);
      canvas.FillRect({rect.Left, rect.Bottom, rect.Right, rect.Bottom + lineH});

      // The focused cell shows as a focus frame unless it is drawn selected too.
      bool highlight = state.Contains(gdSelected) &&
                       (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                        FOptions.Contains(goRowSelect));
      canvas.Brush()->SetColor(fixed ? FFixedColor : highlight ? clHighlight : Color());
      canvas.Font()->SetColor(highlight ? clHighlightText : textColor);
      if (FDefaultDrawing) canvas.FillRect(rect);
      canvas.SetDeviceClip(Intersect(deviceClip, Offset(rect, origin)));
      DrawCell(col, row, rect, state);
      canvas.SetDeviceClip(deviceClip);
      if (!FDefaultDrawing) continue;
      if (fixed && rect.Width() > 1 && rect.Height() > 1) {
        // Raised 3-D edges: light along the top and left, shadow along the bottom and
        // right.
        canvas.Brush()->SetColor(clBtnHighlight);
        canvas.FillRect({rect.Left, rect.Top, rect.Right - 1, rect.Top + 1});
        canvas.FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom - 1});
        canvas.Brush()->SetColor(clBtnShadow);
        canvas.FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
        canvas.FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
      }
      if (state.Contains(gdFocused) && !FOptions.Contains(goRowSelect) && !FEditing)
        canvas.DrawFocusRect(rect);
    }

  if (FDefaultDrawing && focused && FOptions.Contains(goRowSelect) && FRow < RowCount()) {
    // One focus frame round the visible part of the current row.
    TRect first = CellRect(std::max(FLeftCol, FFixedCols), FRow);
    if (!first.Empty()) {
      int32_t right = first.Right;
      for (const auto& [c, x] : cols) {
        if (c < FLeftCol) continue;
        const int32_t w = FColWidths[static_cast<size_t>(c)];
        if (w == 0 || x >= client.Right) break;
        right = x + w;
      }
      canvas.DrawFocusRect({first.Left, first.Top, std::min(right, client.Right), first.Bottom});
    }
  }
  if (FEditing) PaintEditor(canvas);
  canvas.SetDeviceClip(deviceClip);
  PaintScrollBars(canvas);
}

void TCustomGrid::PaintScrollBars(TCanvas& canvas) {
  const bool enabled = EnabledInTree();
  FHorzBar.Paint(canvas, enabled);
  FVertBar.Paint(canvas, enabled);
  const TScrollBarPlaces places =
      PlaceScrollBars({0, 0, Width(), Height()}, !FHorzBar.Bounds().Empty(),
                      !FVertBar.Bounds().Empty(), ScrollBarWidth(*this));
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(places.Corner);
}

void TCustomGrid::PaintEditor(TCanvas& canvas) {
  TRect rect = CellRect(FCol, FRow);
  if (rect.Empty()) return;
  TPoint origin = canvas.Origin();
  TRect deviceClip = Offset(canvas.ClipRect(), origin);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clWindow);
  canvas.FillRect(rect);
  canvas.Brush()->SetColor(clWindowText);
  canvas.FrameRect(rect);
  canvas.SetDeviceClip(Intersect(deviceClip, Offset(rect, origin)));
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(clWindowText);
  canvas.TextOut(rect.Left + 2, rect.Top + 2, FEditText);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.SetDeviceClip(deviceClip);
}

// =============================================================================================
// TDrawGrid

const TClassInfo& TDrawGrid::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TDrawGrid>("TDrawGrid")
          .Publish("Align")
          .Publish("ColCount")
          .Default(kDefaultColCount)
          .Publish("Color")
          .Default(kDefaultColor)
          .Property("DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth)
          .Default(kDefaultColWidth)
          .Property("DefaultRowHeight", &TDrawGrid::DefaultRowHeight,
                    &TDrawGrid::SetDefaultRowHeight)
          .Default(kDefaultRowHeight)
          .Property("DefaultDrawing", &TDrawGrid::DefaultDrawing, &TDrawGrid::SetDefaultDrawing)
          .Default(true)
          .Publish("Enabled")
          .Property("FixedColor", &TDrawGrid::FixedColor, &TDrawGrid::SetFixedColor)
          .Default(clBtnFace)
          .Property("FixedCols", &TDrawGrid::FixedCols, &TDrawGrid::SetFixedCols)
          .Default(1)
          // Rows before fixed rows: a reader must be able to set the fixed count it stored.
          .Publish("PopupMenu")
          .Publish("RowCount")
          .Default(kDefaultRowCount)
          .Property("FixedRows", &TDrawGrid::FixedRows, &TDrawGrid::SetFixedRows)
          .Default(1)
          .Property("GridLineWidth", &TDrawGrid::GridLineWidth, &TDrawGrid::SetGridLineWidth)
          .Default(1)
          .Property("Options", &TDrawGrid::Options, &TDrawGrid::SetOptions)
          .Default(kDefaultGridOptions)
          .Property("ScrollBars", &TDrawGrid::ScrollBars, &TDrawGrid::SetScrollBars)
          .Default(kDefaultScrollBars)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Visible", "OnClick")
          .Property("OnDrawCell", &TDrawGrid::OnDrawCell, &TDrawGrid::OnDrawCell)
          .Publish("OnEnter", "OnExit")
          .Property("OnGetEditText", &TDrawGrid::OnGetEditText, &TDrawGrid::OnGetEditText)
          .Publish("OnMouseDown", "OnMouseUp")
          .Property("OnSelectCell", &TDrawGrid::OnSelectCell, &TDrawGrid::OnSelectCell)
          .Property("OnSetEditText", &TDrawGrid::OnSetEditText, &TDrawGrid::OnSetEditText)
          .Build();
  return *info;
}

TDrawGrid::TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}

void TDrawGrid::DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

// =============================================================================================
// TStringGrid

const TClassInfo& TStringGrid::StaticClassInfo() {
  static const auto info = TClassBuilder<TStringGrid>("TStringGrid").Build();
  return *info;
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {}

void TStringGrid::SizeChanged(int32_t, int32_t) {
  // Text in cells that went away goes with them.
  for (auto it = FCells.begin(); it != FCells.end();) {
    const auto col = static_cast<int32_t>(it->first >> 32);
    const auto row = static_cast<int32_t>(it->first & 0xFFFFFFFF);
    if (col >= ColCount()) {
      FCells.erase(it, FCells.end());  // ordered by column: every later cell is out too
      break;
    }
    it = row >= RowCount() ? FCells.erase(it) : std::next(it);
  }
}

const std::string& TStringGrid::Cells(int32_t col, int32_t row) const {
  static const std::string kEmpty;
  if (col < 0 || col >= ColCount()) RaiseGridIndex("column", col);
  if (row < 0 || row >= RowCount()) RaiseGridIndex("row", row);
  auto it = FCells.find(CellKey(col, row));
  return it == FCells.end() ? kEmpty : it->second;
}

void TStringGrid::SetCells(int32_t col, int32_t row, const std::string& value) {
  if (col < 0 || col >= ColCount()) RaiseGridIndex("column", col);
  if (row < 0 || row >= RowCount()) RaiseGridIndex("row", row);
  if (Cells(col, row) == value) return;
  if (value.empty())
    FCells.erase(CellKey(col, row));
  else
    FCells[CellKey(col, row)] = value;
  Invalidate();
}

std::vector<std::string> TStringGrid::Cols(int32_t col) const {
  if (col < 0 || col >= ColCount()) RaiseGridIndex("column", col);
  std::vector<std::string> out(static_cast<size_t>(RowCount()));
  for (auto it = FCells.lower_bound(CellKey(col, 0));
       it != FCells.end() && static_cast<int32_t>(it->first >> 32) == col; ++it)
    out[static_cast<size_t>(it->first & 0xFFFFFFFF)] = it->second;
  return out;
}

std::vector<std::string> TStringGrid::Rows(int32_t row) const {
  if (row < 0 || row >= RowCount()) RaiseGridIndex("row", row);
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(ColCount()));
  for (int32_t c = 0; c < ColCount(); ++c) out.push_back(Cells(c, row));
  return out;
}

void TStringGrid::SetRows(int32_t row, const std::vector<std::string>& values) {
  if (row < 0 || row >= RowCount()) RaiseGridIndex("row", row);
  const size_t n = std::min(values.size(), static_cast<size_t>(ColCount()));
  for (size_t c = 0; c < n; ++c) {
    const uint64_t key = CellKey(static_cast<int32_t>(c), row);
    if (values[c].empty())
      FCells.erase(key);
    else
      FCells[key] = values[c];
  }
  Invalidate();
}

bool TStringGrid::EditCell(int32_t col, int32_t row, const std::string& text) {
  if (!Options().Contains(goEditing) || Options().Contains(goRowSelect)) return false;
  if ((col != Col() || row != Row()) && !SelectCell(col, row)) return false;
  SetEditorMode(true);
  if (!EditorMode()) return false;
  SetEditorText(text);
  SetEditorMode(false);
  return true;
}

void TStringGrid::DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state) {
  if (DefaultDrawing()) {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(rect.Left + 2, rect.Top + 2, Cells(col, row));
    canvas.Brush()->SetStyle(bsSolid);
  }
  TDrawGrid::DrawCell(col, row, rect, state);
}

std::string TStringGrid::GetEditText(int32_t col, int32_t row) {
  std::string text = Cells(col, row);
  if (OnGetEditText) OnGetEditText(this, col, row, text);
  return text;
}

void TStringGrid::SetEditText(int32_t col, int32_t row, const std::string& value) {
  SetCells(col, row, value);
  TDrawGrid::SetEditText(col, row, value);
}

void TCustomGrid::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arTable;
  d.Name.clear();
}

}  // namespace zelvar

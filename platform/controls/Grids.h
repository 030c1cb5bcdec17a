#pragma once
// Grids: TCustomGrid (cells laid out by column widths and row heights, fixed rows and columns,
// a current cell moved by mouse and arrow keys, an in-place editor), TDrawGrid (the owner
// paints through OnDrawCell) and TStringGrid (a string per cell).
//
// A cell's rectangle excludes the grid line after it: column c spans ColWidths[c] pixels and
// is followed by GridLineWidth pixels of line when the options draw that line.
//
// Scroll bars show along the right and bottom edges when the scrolling rows or columns do not
// all fit; they take their room from the client area, so cells never lie under them.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/ScrollBars.h"

namespace zelvar {

ZELVAR_ENUM(TGridOption, uint8_t, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
            goRangeSelect, goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving,
            goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking)
using TGridOptions = TSet<TGridOption>;
ZELVAR_ENUM(TGridDrawStateFlag, uint8_t, gdSelected, gdFocused, gdFixed)
using TGridDrawState = TSet<TGridDrawStateFlag>;

inline constexpr TGridOptions kDefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine,
                                                  goHorzLine, goRangeSelect};

// The most rows, and the most columns, a grid has: every row and column keeps its size, so a
// count is memory, and a few bytes of a form file must not ask for gigabytes.
inline constexpr int32_t kMaxGridCount = 1 << 20;

// Columns Left..Right and rows Top..Bottom, all inclusive.
struct TGridRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Contains(int32_t col, int32_t row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  bool operator==(const TGridRect&) const = default;
};

using TDrawCellEvent = TEvent<void(TObject*, int32_t, int32_t, TRect, TGridDrawState)>;
using TSelectCellEvent = TEvent<void(TObject*, int32_t, int32_t, bool&)>;
using TSetEditEvent = TEvent<void(TObject*, int32_t, int32_t, const std::string&)>;
using TGetEditEvent = TEvent<void(TObject*, int32_t, int32_t, std::string&)>;

class TCustomGrid : public TCustomControl {
  ZELVAR_CLASS(TCustomGrid, TCustomControl)

 public:
  // What a new grid starts with, and so what forms leave out; like an edit field, a grid
  // wears the window colour and is reached by Tab.
  static constexpr int32_t kDefaultColCount = 5, kDefaultRowCount = 5;
  static constexpr int32_t kDefaultColWidth = 64, kDefaultRowHeight = 24;
  static constexpr TColor kDefaultColor = clWindow;
  static constexpr bool kDefaultTabStop = true;
  static constexpr TScrollStyle kDefaultScrollBars = ssBoth;

  explicit TCustomGrid(TComponent* owner);
  ~TCustomGrid() override;

  // --- dimensions. Fewer rows or columns than fixed ones lowers the fixed count; the current
  // cell stays inside the grid. RowCount 0 leaves no row at all, fixed or not (a list with
  // nothing in it): then Row is 0 and names no cell. More than kMaxGridCount raises
  // EInvalidOperation and changes nothing. Sizes are kept within 0..kMaxExtent.
  int32_t ColCount() const { return static_cast<int32_t>(FColWidths.size()); }
  void SetColCount(int32_t v);
  int32_t RowCount() const { return static_cast<int32_t>(FRowHeights.size()); }
  void SetRowCount(int32_t v);
  // At least one scrolling row and column must remain: EInvalidOperation otherwise.
  int32_t FixedCols() const { return FFixedCols; }
  void SetFixedCols(int32_t v);
  int32_t FixedRows() const { return FFixedRows; }
  void SetFixedRows(int32_t v);
  int32_t DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int32_t v);  // resets every column to it
  int32_t DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int32_t v);     // resets every row to it
  int32_t ColWidths(int32_t index) const;  // EListError out of range
  void SetColWidths(int32_t index, int32_t width);
  int32_t RowHeights(int32_t index) const;
  void SetRowHeights(int32_t index, int32_t height);
  int32_t GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int32_t v);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions v);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool v);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor v);
  // Which bars may show; each shows only while its rows or columns do not all fit.
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  const TScrollBarPart& HorzScrollBar() const { return FHorzBar; }
  const TScrollBarPart& VertScrollBar() const { return FVertBar; }
  // The cells' area: the control less the bars that show.
  TRect GetClientRect() const override;
  // Rows and columns scale with the font, each keeping its own size.
  void ChangeScale(int32_t m, int32_t d) override;

  // --- the current cell. Setting it asks OnSelectCell; a veto leaves it where it was. A
  // fixed cell or one outside the grid raises EListError.
  int32_t Col() const { return FCol; }
  void SetCol(int32_t v) { FocusCell(v, FRow, true); }
  int32_t Row() const { return FRow; }
  void SetRow(int32_t v) { FocusCell(FCol, v, true); }
  TGridRect Selection() const;
  // First scrolling column and row shown. Setting scrolls without moving the current cell,
  // no further than where the last column (row) shows whole.
  int32_t LeftCol() const { return FLeftCol; }
  void SetLeftCol(int32_t v);
  int32_t TopRow() const { return FTopRow; }
  void SetTopRow(int32_t v);
  // What a click on the cell does: asks OnSelectCell and moves there; false when vetoed.
  bool SelectCell(int32_t col, int32_t row);

  // --- geometry, in client coordinates
  // The cell's rectangle without its grid lines; empty when the cell is scrolled out of view.
  TRect CellRect(int32_t col, int32_t row) const;
  // The cell at a point; false (and -1, -1) outside every cell.
  bool MouseToCell(int32_t x, int32_t y, int32_t& col, int32_t& row) const;

  // --- the in-place editor: a state of the grid, drawn over the current cell.
  bool EditorMode() const { return FEditing; }
  // Opening needs goEditing; closing commits the text.
  void SetEditorMode(bool v);
  const std::string& EditorText() const { return FEditText; }
  void SetEditorText(const std::string& v);
  // Closes the editor without storing its text.
  void CancelEdit();

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TSetEditEvent OnSetEditText;
  TGetEditEvent OnGetEditText;

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  // A notch moves the current cell a row, up when turned away from the user, as the classic
  // grid does; the grid scrolls to keep it in view.
  bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) override;
  int32_t WMGetDlgCode() override;
  void DescribeAccessible(TAccessibleDescription& d) const override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void WMSize() override;

 protected:
  void Paint() override;
  // Paints one cell's contents; the grid has already filled its background. TDrawGrid calls
  // OnDrawCell here.
  virtual void DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state);
  // Asks whether the cell may become current (OnSelectCell).
  virtual bool CanSelectCell(int32_t col, int32_t row);
  virtual std::string GetEditText(int32_t col, int32_t row);
  virtual void SetEditText(int32_t col, int32_t row, const std::string& value);
  // Rows or columns were added or removed (TStringGrid resizes its store).
  virtual void SizeChanged(int32_t oldColCount, int32_t oldRowCount);
  bool CanEditShow() const;

 private:
  // Moves the current cell; the check asks CanSelectCell. Returns false when vetoed.
  bool FocusCell(int32_t col, int32_t row, bool check, bool extend = false);
  void CheckCell(int32_t col, int32_t row) const;
  void ClampCurrent();
  void ScrollInView(int32_t col, int32_t row);
  // Lines take room when either region draws them, so fixed and scrolling cells line up.
  int32_t LineWidth() const;
  int32_t LineHeight() const;
  int32_t ColLeft(int32_t col) const;  // -1: scrolled out of view
  int32_t RowTop(int32_t row) const;
  void ShowEditor();
  void CommitEditor();
  void MoveBy(int32_t dcol, int32_t drow, bool extend);
  void PaintEditor(TCanvas& canvas);
  void PaintScrollBars(TCanvas& canvas);
  // Shows the bars the sizes call for, sets their ranges, and keeps LeftCol and TopRow within
  // them; then the bars' thumbs follow LeftCol and TopRow.
  void UpdateScrollBars();
  void SyncScrollBars();
  // The furthest LeftCol (TopRow): the one from which the last column (row) shows whole.
  int32_t MaxLeftCol() const;
  int32_t MaxTopRow() const;
  void ScrollBarScrolled(TScrollCode code, int32_t& pos, bool vertical);

  std::vector<int32_t> FColWidths;
  std::vector<int32_t> FRowHeights;
  int32_t FFixedCols = 1, FFixedRows = 1;
  int32_t FDefaultColWidth = kDefaultColWidth, FDefaultRowHeight = kDefaultRowHeight;
  int32_t FGridLineWidth = 1;
  TGridOptions FOptions = kDefaultGridOptions;
  bool FDefaultDrawing = true;
  TColor FFixedColor = clBtnFace;
  int32_t FCol = 1, FRow = 1;
  int32_t FAnchorCol = 1, FAnchorRow = 1;  // the other corner of a range selection
  int32_t FLeftCol = 1, FTopRow = 1;
  bool FEditing = false;
  std::string FEditText;
  TScrollStyle FScrollBars = kDefaultScrollBars;
  TScrollBarPart FHorzBar{*this, sbHorizontal};
  TScrollBarPart FVertBar{*this, sbVertical};
  int32_t FWheelRest = 0;  // wheel turn short of a notch
};

class TDrawGrid : public TCustomGrid {
  ZELVAR_CLASS(TDrawGrid, TCustomGrid)

 public:
  explicit TDrawGrid(TComponent* owner);

 protected:
  void DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state) override;
};

class TStringGrid : public TDrawGrid {
  ZELVAR_CLASS(TStringGrid, TDrawGrid)

 public:
  explicit TStringGrid(TComponent* owner);

  // EListError for a cell outside the grid.
  const std::string& Cells(int32_t col, int32_t row) const;
  void SetCells(int32_t col, int32_t row, const std::string& value);
  // A whole column or row, top to bottom or left to right.
  std::vector<std::string> Cols(int32_t col) const;
  std::vector<std::string> Rows(int32_t row) const;
  void SetRows(int32_t row, const std::vector<std::string>& values);  // extra values ignored

  // What typing into the cell and pressing Enter does: selects the cell (through
  // OnSelectCell), opens the editor, replaces its text and commits, so Cells changes and
  // OnSetEditText fires. False when the grid is not editable or the cell was vetoed.
  bool EditCell(int32_t col, int32_t row, const std::string& text);

 protected:
  void DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state) override;
  std::string GetEditText(int32_t col, int32_t row) override;
  void SetEditText(int32_t col, int32_t row, const std::string& value) override;
  void SizeChanged(int32_t oldColCount, int32_t oldRowCount) override;

 private:
  // Only cells with text are kept, by column then row: a large empty grid costs nothing.
  static uint64_t CellKey(int32_t col, int32_t row) {
    return uint64_t{static_cast<uint32_t>(col)} << 32 | static_cast<uint32_t>(row);
  }
  std::map<uint64_t, std::string> FCells;
};

}  // namespace zelvar

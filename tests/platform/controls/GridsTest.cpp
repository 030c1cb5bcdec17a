#include "platform/controls/Grids.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Register.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar {
namespace {

using test::Middle;

void Click(TCustomGrid& grid, int32_t col, int32_t row) {
  TPoint p = Middle(grid.CellRect(col, row));
  grid.MouseDown(mbLeft, {}, p.X, p.Y);
  grid.MouseUp(mbLeft, {}, p.X, p.Y);
}

void Key(TCustomGrid& grid, uint16_t key, TShiftState shift = {}) {
  grid.KeyDown(key, shift);
}

void Type(TCustomGrid& grid, const std::string& text) {
  for (char c : text) {
    char32_t key = static_cast<unsigned char>(c);
    grid.KeyPress(key);
  }
}

std::unique_ptr<TBitmap> Paint(TCustomGrid& grid) {
  auto bitmap = std::make_unique<TBitmap>(grid.Width(), grid.Height());
  grid.PaintControl(*bitmap, {0, 0}, Rect(0, 0, grid.Width(), grid.Height()));
  return bitmap;
}

TEST(Grids, CellRectanglesFollowColumnWidthsAndRowHeights) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  grid.SetColWidths(0, 30);
  grid.SetColWidths(1, 50);
  grid.SetRowHeights(1, 40);
  int32_t line = grid.GridLineWidth();
  int32_t left = grid.ColWidths(0) + line + grid.ColWidths(1) + line;
  int32_t top = grid.RowHeights(0) + line + grid.RowHeights(1) + line;
  EXPECT_EQ(grid.CellRect(2, 2),
            Rect(left, top, left + grid.ColWidths(2), top + grid.RowHeights(2)));
  int32_t col, row;
  ASSERT_TRUE(grid.MouseToCell(left, top, col, row));
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 2);
  // Without lines the cells touch.
  grid.SetOptions({});
  EXPECT_EQ(grid.CellRect(1, 0).Left, grid.ColWidths(0));
  EXPECT_THROW(grid.ColWidths(grid.ColCount()), EListError);
  EXPECT_THROW(grid.SetRowHeights(-1, 5), EListError);
  EXPECT_THROW(grid.CellRect(0, grid.RowCount()), EListError);
}

TEST(Grids, AClickSelectsTheCellUnlessOnSelectCellVetoes) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  std::vector<std::pair<int32_t, int32_t>> asked;
  grid.OnSelectCell = TSelectCellEvent([&](TObject*, int32_t c, int32_t r, bool& can) {
    asked.emplace_back(c, r);
    can = c != 4;
  });
  Click(grid, 3, 2);
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 2);
  Click(grid, 4, 3);
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 2);
  Click(grid, 0, 0);  // fixed: not selectable, not even asked about
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(asked, (std::vector<std::pair<int32_t, int32_t>>{{3, 2}, {4, 3}}));
  // Code goes through the same check.
  grid.SetCol(4);
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_TRUE(grid.SelectCell(2, 4));
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_THROW(grid.SetRow(0), EListError);
  EXPECT_THROW(grid.SetCol(grid.ColCount()), EListError);
}

TEST(Grids, APressOnTheCurrentCellSelectsItAgainUnlessTheGridEdits) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 500, 300);
  auto* grid = New<TDrawGrid>(&form);
  grid->SetParent(&form);
  grid->SetBounds(0, 0, 400, 200);
  grid->SetFixedCols(0);
  grid->SetFixedRows(0);
  EXPECT_EQ(grid->Col(), 0);  // the current cell starts again next to the fixed ones
  EXPECT_EQ(grid->Row(), 0);
  int asked = 0;
  grid->OnSelectCell = TSelectCellEvent([&](TObject*, int32_t, int32_t, bool&) { ++asked; });
  TPoint p = Middle(grid->CellRect(0, 0));
  for (int i = 0; i < 3; ++i) {
    form.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, p.X, p.Y);
    form.DispatchMouse(TMessage::MouseUp, mbLeft, {}, p.X, p.Y);
  }
  EXPECT_EQ(asked, 3);
}

TEST(Grids, ArrowKeysMoveAndStopAtTheEdgesWithoutEnteringFixedCells) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  EXPECT_NE(grid.WMGetDlgCode() & DLGC_WANTARROWS, 0);
  Key(grid, VK_LEFT);
  Key(grid, VK_UP);
  EXPECT_EQ(grid.Col(), grid.FixedCols());
  EXPECT_EQ(grid.Row(), grid.FixedRows());
  Key(grid, VK_RIGHT);
  Key(grid, VK_DOWN);
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(grid.Row(), 2);
  for (int i = 0; i < 10; ++i) {
    Key(grid, VK_RIGHT);
    Key(grid, VK_DOWN);
  }
  EXPECT_EQ(grid.Col(), grid.ColCount() - 1);
  EXPECT_EQ(grid.Row(), grid.RowCount() - 1);
  // The last column may have scrolled into view; it is still fully inside the client area.
  EXPECT_LE(grid.CellRect(grid.Col(), grid.Row()).Right, grid.ClientWidth());
  grid.SetFixedCols(2);
  for (int i = 0; i < 10; ++i) Key(grid, VK_LEFT);
  EXPECT_EQ(grid.Col(), 2);
}

TEST(Grids, RowSelectPaintsTheWholeRowHighlighted) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  grid.SelectCell(1, 2);
  TRect other = grid.CellRect(3, 2);
  TPoint inOther{other.Right - 2, other.Bottom - 2};
  TPoint inCurrent = Middle(grid.CellRect(1, 2));
  {
    auto b = Paint(grid);
    EXPECT_EQ(b->Canvas()->Pixel(inCurrent.X, inCurrent.Y), ColorToRGB(clHighlight));
    EXPECT_EQ(b->Canvas()->Pixel(inOther.X, inOther.Y), ColorToRGB(clWindow));
    // A fixed cell inside its edges, and the line after a normal cell.
    TRect fixed = grid.CellRect(0, 2);
    EXPECT_EQ(b->Canvas()->Pixel(fixed.Left + 3, fixed.Top + 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(b->Canvas()->Pixel(fixed.Right - 1, fixed.Top + 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b->Canvas()->Pixel(other.Right, other.Top + 3), ColorToRGB(clSilver));
  }
  grid.SetOptions(grid.Options() + TGridOptions{goRowSelect});
  auto b = Paint(grid);
  EXPECT_EQ(b->Canvas()->Pixel(inOther.X, inOther.Y), ColorToRGB(clHighlight));
  TRect below = grid.CellRect(3, 3);
  EXPECT_EQ(b->Canvas()->Pixel(below.Left + 3, below.Top + 3), ColorToRGB(clWindow));
}

TEST(Grids, CellTextIsDrawnAtTheCellsOffset) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  grid.SetCells(3, 3, "WWW");
  auto b = Paint(grid);
  TRect r = grid.CellRect(3, 3);
  TCanvas measure(nullptr);
  measure.Font()->Assign(grid.Font());
  int32_t w = measure.TextWidth("WWW"), h = measure.TextHeight("WWW");
  int inked = 0;
  for (int32_t y = r.Top; y < r.Bottom; ++y)
    for (int32_t x = r.Left; x < r.Right; ++x) {
      if (b->Canvas()->Pixel(x, y) == ColorToRGB(clWindow)) continue;
      ++inked;
      EXPECT_TRUE(x >= r.Left + 2 && x < r.Left + 2 + w && y >= r.Top + 2 && y < r.Top + 2 + h)
          << x << "," << y;
    }
  EXPECT_GT(inked, 0);
}

TEST(Grids, EditingCommitsToCellsAndEscapeCancels) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  std::vector<std::string> log;
  grid.OnSetEditText = TSetEditEvent([&](TObject*, int32_t c, int32_t r, const std::string& v) {
    log.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
  });
  EXPECT_FALSE(grid.EditCell(2, 3, "no"));  // not editable yet
  EXPECT_EQ(grid.Cells(2, 3), "");
  grid.SetOptions(grid.Options() + TGridOptions{goEditing});
  EXPECT_TRUE(grid.EditCell(2, 3, "abc"));
  EXPECT_EQ(grid.Cells(2, 3), "abc");
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(log, std::vector<std::string>{"2,3=abc"});

  Key(grid, VK_F1 + 1);  // F2
  ASSERT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.EditorText(), "abc");
  EXPECT_NE(grid.WMGetDlgCode() & DLGC_WANTALLKEYS, 0);
  Type(grid, "x");
  Key(grid, VK_ESCAPE);
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(grid.Cells(2, 3), "abc");
  EXPECT_EQ(log.size(), 1u);

  // Typing opens the editor on a fresh text; Enter commits.
  Type(grid, "zq");
  Key(grid, VK_BACK);
  {
    // The editor is a white box with a border, over the highlighted cell.
    auto b = Paint(grid);
    TRect r = grid.CellRect(2, 3);
    EXPECT_EQ(b->Canvas()->Pixel(r.Left, r.Bottom - 1), ColorToRGB(clWindowText));
    EXPECT_EQ(b->Canvas()->Pixel(r.Right - 3, r.Bottom - 3), ColorToRGB(clWindow));
  }
  Key(grid, VK_RETURN);
  EXPECT_EQ(grid.Cells(2, 3), "z");
  EXPECT_EQ(log.back(), "2,3=z");
  // Moving away commits an open editor to the cell it was on.
  Key(grid, VK_RETURN);
  Type(grid, "m");
  Key(grid, VK_DOWN);
  EXPECT_EQ(grid.Cells(2, 3), "zm");
  EXPECT_EQ(grid.Row(), 4);
  // A vetoed cell is not edited.
  grid.OnSelectCell = TSelectCellEvent([](TObject*, int32_t, int32_t, bool& can) { can = false; });
  EXPECT_FALSE(grid.EditCell(1, 1, "v"));
  EXPECT_EQ(grid.Cells(1, 1), "");
}

// Backspace takes one character as the grid draws it: a whole UTF-8 sequence, or one
// ill-formed piece (drawn as one replacement character), never the character before it.
TEST(Grids, BackspaceTakesOneCharacterAsDrawn) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  grid.SetOptions(grid.Options() + TGridOptions{goEditing});
  ASSERT_TRUE(grid.EditCell(1, 1, "a\x80\x80\xE2\x82\xF0\x9F\x98\x80"));
  Key(grid, VK_F1 + 1);  // F2
  ASSERT_TRUE(grid.EditorMode());
  const char* const after[] = {"a\x80\x80\xE2\x82", "a\x80\x80", "a\x80", "a", ""};
  for (const char* text : after) {
    Key(grid, VK_BACK);
    EXPECT_EQ(grid.EditorText(), text);
  }
}

TEST(Grids, CellsOutsideTheGridRaise) {
  TStringGrid grid(nullptr);
  EXPECT_THROW(grid.Cells(grid.ColCount(), 0), EListError);
  EXPECT_THROW(grid.Cells(0, grid.RowCount()), EListError);
  EXPECT_THROW(grid.Cells(-1, 0), EListError);
  EXPECT_THROW(grid.SetCells(0, -1, "x"), EListError);
  EXPECT_THROW(grid.Rows(9), EListError);
  grid.SetCells(0, 0, "corner");  // fixed cells hold text too
  EXPECT_EQ(grid.Rows(0).front(), "corner");
}

TEST(Grids, ShrinkingKeepsTheCurrentCellAndTheSurvivingCells) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);
  grid.SetCells(1, 1, "kept");
  grid.SetCells(4, 4, "gone");
  grid.SelectCell(4, 4);
  grid.SetRowCount(3);
  grid.SetColCount(3);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(grid.Cells(1, 1), "kept");
  grid.SetRowCount(5);
  grid.SetColCount(5);
  EXPECT_EQ(grid.Cells(4, 4), "");
  grid.SetRowCount(1);  // no room for a fixed row
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_THROW(grid.SetFixedRows(1), EInvalidOperation);
}

TEST(Grids, FormFilesKeepTheLayout) {
  RegisterControls();
  TStringGrid grid(nullptr);
  grid.SetName("Grid1");
  grid.SetRowCount(10);
  grid.SetFixedRows(7);
  grid.SetColCount(2);
  grid.SetOptions(TGridOptions{goEditing, goTabs});
  std::string text = WriteComponent(&grid, TFormFormat::Text);
  std::unique_ptr<TComponent> copy(ReadComponent(text));
  auto* g = As<TStringGrid>(copy.get());
  EXPECT_EQ(g->RowCount(), 10);
  EXPECT_EQ(g->FixedRows(), 7);
  EXPECT_EQ(g->ColCount(), 2);
  EXPECT_EQ(g->Options(), (TGridOptions{goEditing, goTabs}));
  EXPECT_EQ(WriteComponent(g, TFormFormat::Text), text);
}

TEST(Grids, AFormOfAFewBytesCannotAskForGigabytes) {
  // Text: only cells that hold some take memory, so a million by a million grid is cheap to
  // make, to write to, to paint and to walk to its far corner.
  RegisterControls();
  std::unique_ptr<TComponent> read(ReadComponent(
      "object Grid1: TStringGrid\n  ColCount = 1048576\n  RowCount = 1048576\nend\n"));
  auto& grid = *As<TStringGrid>(read.get());
  grid.SetOptions(TGridOptions{goEditing});
  grid.SetCells(1048575, 1048575, "far");
  grid.SetCells(2, 3, "near");
  EXPECT_EQ(grid.Cells(1048575, 1048575), "far");
  EXPECT_EQ(grid.Cells(7, 7), "");
  EXPECT_EQ(grid.Cols(2)[3], "near");
  EXPECT_EQ(grid.Rows(3)[2], "near");
  Paint(grid);
  Key(grid, VK_END, {ssCtrl});
  EXPECT_EQ(grid.Col(), 1048575);
  EXPECT_EQ(grid.Row(), 1048575);
  EXPECT_FALSE(grid.CellRect(1048575, 1048575).Empty());
  Key(grid, VK_PRIOR);
  Paint(grid);
  // Shrinking drops the text of the cells that went.
  grid.SetRowCount(10);
  grid.SetRowCount(1048576);
  EXPECT_EQ(grid.Cells(1048575, 1048575), "");
  EXPECT_EQ(grid.Cells(2, 3), "near");
  grid.SetCells(2, 3, "");
  EXPECT_EQ(grid.Cols(2)[3], "");

  // Beyond the cap the count is refused and the grid keeps its size.
  EXPECT_THROW(grid.SetRowCount(2147483647), EInvalidOperation);
  EXPECT_THROW(grid.SetColCount(1048577), EInvalidOperation);
  EXPECT_EQ(grid.RowCount(), 1048576);
  EXPECT_EQ(grid.ColCount(), 1048576);
  EXPECT_THROW(ReadComponent("object Grid1: TStringGrid\n  RowCount = 2147483647\nend\n"),
               EReadError);
}

TEST(Grids, EmptyRowsAndColumnsCostNothingToPaint) {
  // Rows and columns of no size show nothing; many of them must not be walked cell by cell.
  TDrawGrid grid(nullptr);
  grid.SetColCount(4096);
  grid.SetRowCount(4096);
  grid.SetDefaultColWidth(0);
  grid.SetDefaultRowHeight(0);
  grid.SetGridLineWidth(0);
  int64_t drawn = 0;
  grid.OnDrawCell =
      TDrawCellEvent([&](TObject*, int32_t, int32_t, TRect, TGridDrawState) { ++drawn; });
  Paint(grid);
  EXPECT_EQ(drawn, 0);
  grid.SetColWidths(5, 30);
  grid.SetRowHeights(6, 20);
  Paint(grid);
  EXPECT_EQ(drawn, 1);
  Key(grid, VK_END, {ssCtrl});
  Key(grid, VK_NEXT);
  EXPECT_EQ(grid.Row(), 4095);
}

// --- scroll bars

void Press(TCustomGrid& grid, TPoint p) {
  grid.MouseDown(mbLeft, {}, p.X, p.Y);
  grid.MouseUp(mbLeft, {}, p.X, p.Y);
}

TEST(GridScrollBars, ShowOnlyWhereRowsOrColumnsDoNotFit) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 400, 200);  // 5 columns of 65 and 5 rows of 25 fit
  EXPECT_TRUE(grid.HorzScrollBar().Bounds().Empty());
  EXPECT_TRUE(grid.VertScrollBar().Bounds().Empty());
  EXPECT_EQ(grid.GetClientRect(), Rect(0, 0, 400, 200));
  grid.SetRowCount(20);
  EXPECT_EQ(grid.VertScrollBar().Bounds(), Rect(400 - ScrollBarWidth(), 0, 400, 200));
  EXPECT_TRUE(grid.HorzScrollBar().Bounds().Empty());
  EXPECT_EQ(grid.ClientWidth(), 400 - ScrollBarWidth());
  // Columns that just fit the whole width no longer fit beside the vertical bar.
  const int32_t line = grid.GridLineWidth();
  grid.SetDefaultColWidth((400 - 4 * line) / 5);
  EXPECT_FALSE(grid.HorzScrollBar().Bounds().Empty());
  EXPECT_EQ(grid.GetClientRect(), Rect(0, 0, 400 - ScrollBarWidth(), 200 - ScrollBarWidth()));
  grid.SetScrollBars(ssVertical);
  EXPECT_TRUE(grid.HorzScrollBar().Bounds().Empty());
  grid.SetScrollBars(ssNone);
  EXPECT_EQ(grid.GetClientRect(), Rect(0, 0, 400, 200));
  // The default grid, as classic, holds more than it shows both ways.
  TDrawGrid plain(nullptr);
  EXPECT_EQ(plain.ScrollBars(), ssBoth);
  EXPECT_FALSE(plain.HorzScrollBar().Bounds().Empty());
  EXPECT_FALSE(plain.VertScrollBar().Bounds().Empty());
}

TEST(GridScrollBars, ArrowsAndPagesScrollWithoutMovingTheCurrentCell) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 300, 200);
  grid.SetRowCount(50);
  grid.SetColCount(20);
  int clicks = 0;
  grid.OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  const TRect fixed = grid.CellRect(0, 0);
  const TScrollBarPart& vert = grid.VertScrollBar();
  Press(grid, Middle(vert.Layout().More));
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(vert.Position(), 2);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.CellRect(0, 0), fixed);  // fixed rows stay
  EXPECT_TRUE(grid.CellRect(1, 1).Empty());
  const int32_t page = vert.LargeChange();
  const TRect track = vert.Layout().Track;
  Press(grid, {Middle(track).X, track.Bottom - 1});
  EXPECT_EQ(grid.TopRow(), 2 + page);
  Press(grid, Middle(grid.HorzScrollBar().Layout().More));
  EXPECT_EQ(grid.LeftCol(), 2);
  EXPECT_EQ(clicks, 0);
  // The keyboard still scrolls, and the bar follows.
  Key(grid, VK_END, {ssCtrl});
  EXPECT_EQ(grid.TopRow(), vert.Position());
  EXPECT_EQ(vert.Position(), vert.Info().MaxPosition());
  Key(grid, VK_HOME, {ssCtrl});
  EXPECT_EQ(vert.Position(), 1);
  EXPECT_EQ(grid.HorzScrollBar().Position(), 1);
  // A notch of the wheel moves the current row, and the grid follows it.
  EXPECT_TRUE(grid.DoMouseWheel({}, -2 * WHEEL_DELTA, {5, 5}));
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_TRUE(grid.DoMouseWheel({}, -60 * WHEEL_DELTA, {5, 5}));
  EXPECT_EQ(grid.Row(), 49);
  EXPECT_EQ(grid.TopRow(), vert.Info().MaxPosition());
  grid.DoMouseWheel({}, WHEEL_DELTA, {5, 5});
  EXPECT_EQ(grid.Row(), 48);
}

TEST(GridScrollBars, TheThumbDraggedToTheEndShowsTheLastRow) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 300, 200);
  grid.SetRowCount(100);
  const TScrollBarPart& vert = grid.VertScrollBar();
  auto drag = [&](int32_t dy) {
    const TPoint grab = Middle(vert.Layout().Thumb);
    grid.MouseDown(mbLeft, {}, grab.X, grab.Y);
    grid.MouseMove({ssLeft}, grab.X, grab.Y + dy);
    return grab;
  };
  // Without goThumbTracking the cells wait for the release.
  TPoint grab = drag(1000);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.MouseUp(mbLeft, {}, grab.X, grab.Y + 1000);
  const int32_t last = grid.TopRow();
  EXPECT_EQ(last, vert.Info().MaxPosition());
  const TRect lastRow = grid.CellRect(1, 99);
  ASSERT_FALSE(lastRow.Empty());
  EXPECT_LE(lastRow.Bottom, grid.ClientHeight());
  EXPECT_TRUE(grid.CellRect(1, last - 1).Empty());
  // Past the end there is nowhere further to go.
  grid.SetTopRow(1000);
  EXPECT_EQ(grid.TopRow(), last);
  // With it they follow the thumb.
  TGridOptions tracking = grid.Options();
  tracking.Include(goThumbTracking);
  grid.SetOptions(tracking);
  grab = drag(-1000);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.MouseUp(mbLeft, {}, grab.X, grab.Y - 1000);
  // More room scrolls back rather than leave space after the last row.
  grid.SetTopRow(last);
  // (the horizontal bar stays: five columns are wider than the grid)
  grid.SetHeight(100 * (grid.DefaultRowHeight() + grid.GridLineWidth()) + ScrollBarWidth());
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_TRUE(grid.VertScrollBar().Bounds().Empty());
}

TEST(GridScrollBars, PaintTheThumbInProportionWhereTheLayoutPutsIt) {
  TStringGrid grid(nullptr);
  grid.SetBounds(0, 0, 300, 200);
  grid.SetRowCount(40);
  grid.SetTopRow(20);
  const TScrollBarPart& vert = grid.VertScrollBar();
  const TScrollBarLayout l = vert.Layout();
  // The page is the rows that show at the end; the thumb its share of the track.
  const int32_t rows = vert.PageSize();
  EXPECT_EQ(rows, (grid.ClientHeight() - grid.RowHeights(0) - 1) / (grid.DefaultRowHeight() + 1));
  EXPECT_EQ(l.Thumb.Height(), l.Track.Height() * rows / 39);
  auto shot = Paint(grid);
  auto px = [&](int32_t x, int32_t y) { return shot->Canvas()->Pixel(x, y); };
  const int32_t x = Middle(l.Thumb).X;
  // The track is dithered highlight and face, by the bitmap's own grid.
  auto track = [](int32_t tx, int32_t ty) {
    return ColorToRGB(((tx + ty) & 1) == 0 ? clBtnHighlight : clBtnFace);
  };
  EXPECT_EQ(px(x, l.Thumb.Top - 1), track(x, l.Thumb.Top - 1));
  EXPECT_EQ(px(x, l.Thumb.Top), ColorToRGB(cl3DLight));
  EXPECT_EQ(px(x, Middle(l.Thumb).Y), ColorToRGB(clBtnFace));
  EXPECT_EQ(px(x, l.Thumb.Bottom), track(x, l.Thumb.Bottom));
  EXPECT_EQ(px(x, 0), ColorToRGB(cl3DLight));  // the up arrow at the top
  // Both bars: the corner between them is the face colour.
  grid.SetColCount(30);
  shot = Paint(grid);
  EXPECT_EQ(px(grid.Width() - 2, grid.Height() - 2), ColorToRGB(clBtnFace));
}

TEST(GridScrollBars, FormFilesKeepTheScrollBars) {
  RegisterControls();
  TStringGrid grid(nullptr);
  grid.SetName("Grid1");
  std::string text = WriteComponent(&grid, TFormFormat::Text);
  EXPECT_EQ(text.find("ScrollBars"), std::string::npos);
  grid.SetScrollBars(ssVertical);
  text = WriteComponent(&grid, TFormFormat::Text);
  EXPECT_NE(text.find("ScrollBars = ssVertical"), std::string::npos);
  std::unique_ptr<TComponent> copy(ReadComponent(text));
  EXPECT_EQ(As<TStringGrid>(copy.get())->ScrollBars(), ssVertical);
}

}  // namespace
}  // namespace zelvar

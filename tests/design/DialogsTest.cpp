// The four design-time dialogs, driven as a developer drives them: cells selected and edited,
// list items picked, buttons pressed with the mouse, and the dialog closed inside its modal loop.
// Each dialog is filled first as its property editor fills it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "container/ZelvarA.h"
#include "design/blf.h"
#include "design/pnf.h"
#include "design/scf.h"
#include "design/wlf.h"
#include "platform/backends/Headless.h"
#include "platform/core/TypInfo.h"

namespace zelvar::test {
namespace {

// A left click in the middle of a control, through the form as the mouse delivers it.
void Press(TForm& form, const TControl* control) {
  TPoint at = control->FormOrigin();
  at.X += control->Width() / 2;
  at.Y += control->Height() / 2;
  form.DispatchMouse(TMessage::MouseDown, mbLeft, {}, at.X, at.Y);
  form.DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X, at.Y);
}

// Shows the dialog modally; the user acts once from inside the loop and must close it.
TModalResult RunModal(TForm& dialog, const std::function<void()>& user) {
  auto* backend = new THeadlessBackend;
  Application().SetBackend(std::unique_ptr<TBackend>(backend));
  bool acted = false;
  backend->OnIdle = [&] {
    if (acted) return false;
    acted = true;
    user();
    return true;
  };
  struct TRestore {
    ~TRestore() { Application().SetBackend(nullptr); }
  } restore;
  return dialog.ShowModal();
}

// A cell's pixel in the form's painted image, at dx, dy from the cell's top-left.
TColor CellPixel(TForm& form, const TCustomGrid& grid, int32_t col, int32_t row, int32_t dx,
                 int32_t dy) {
  TRect cell = grid.CellRect(col, row);
  TPoint origin = grid.FormOrigin();
  return PixelToColor(
      form.Snapshot().Image().At(origin.X + cell.Left + dx, origin.Y + cell.Top + dy));
}

// The first `width` columns of two cells look alike pixel for pixel, painted afresh (the
// dialog is not told when the names it shows change).
bool SameCellImage(TForm& form, const TCustomGrid& grid, TPoint a, TPoint b, int32_t width) {
  form.InvalidateForm();
  const int32_t height = grid.CellRect(a.X, a.Y).Height();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      if (CellPixel(form, grid, a.X, a.Y, x, y) != CellPixel(form, grid, b.X, b.Y, x, y))
        return false;
  return true;
}

// The dialog's button of that caption.
TButton* ButtonOf(TForm& form, const std::string& caption) {
  for (TComponent* c : form.Components())
    if (auto* b = dynamic_cast<TButton*>(c); b && b->Caption() == caption) return b;
  return nullptr;
}

TEST(DialogForms, AreLaidOutAsDesignedAndClosedByOkAndCancel) {
  RegisterPnf();
  RegisterScf();
  RegisterBlf();
  RegisterWlf();
  struct TExpect {
    const char* Class;
    const char* Caption;
    int32_t Width, Height;
    const char* Grid;
    int32_t GridWidth, GridHeight, GridTabOrder;
  };
  const TExpect dialogs[] = {
      {"TPageNameDialog", "PageNames", 390, 315, "PageList", 301, 315, 0},
      {"TShowDialog", "Show Component", 244, 218, "ShowGrid", 154, 218, 0},
      // Its buttons are widened to fit "Delete Space", and the dialog with them.
      {"TLayoutDialog", "Button layout", 0, 217, "LayoutGrid", 130, 217, 1},
      {"TWayListForm", "WayList Editor", 594, 353, "WayListGrid", 505, 307, 1}};
  for (const TExpect& e : dialogs) {
    SCOPED_TRACE(e.Class);
    std::unique_ptr<TComponent> made(FindClass(e.Class).Factory(nullptr));
    auto* form = As<TForm>(made.get());
    EXPECT_EQ(form->Caption(), e.Caption);
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->Position(), poScreenCenter);
    auto* panel = As<TControl>(form->FindComponent("Panel1"));
    EXPECT_EQ(form->ClientWidth(), e.Width ? e.Width : e.GridWidth + panel->Width());
    EXPECT_EQ(form->ClientHeight(), e.Height);
    // The grid found by its published field is the component of that name, sized by alignment.
    auto* grid = As<TCustomGrid>(form->FieldAddress(e.Grid).Get());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid, form->FindComponent(e.Grid));
    EXPECT_EQ(grid->Width(), e.GridWidth);
    EXPECT_EQ(grid->Height(), e.GridHeight);
    EXPECT_EQ(grid->TabOrder(), e.GridTabOrder);
    if (auto* w = dynamic_cast<TWayListForm*>(form)) w->FEditList->AddPage({1, gpNext});
    EXPECT_EQ(RunModal(*form, [&] { Press(*form, ButtonOf(*form, "OK")); }), mrOk);
    EXPECT_EQ(RunModal(*form, [&] { Press(*form, ButtonOf(*form, "Cancel")); }), mrCancel);
  }
}

// -------------------------------------------------------------------------------------------
// Page names

class DialogPageNames : public ::testing::Test {
 protected:
  // Pages 0 to numPages, as TPageNameProperty fills the grid.
  void Open(int32_t numPages) {
    D.reset(New<TPageNameDialog>(nullptr));
    TStringGrid* g = D->PageList;
    g->SetRowCount(numPages + 2);
    D->FPageCounter = numPages;
    g->SetCells(0, 0, "Page");
    g->SetCells(1, 0, "Name");
    for (int32_t p = 0; p <= numPages; ++p) {
      g->SetCells(0, p + 1, std::to_string(p));
      g->SetCells(1, p + 1, p == 0 ? "Dialog" : "Page " + std::to_string(p));
    }
  }
  std::vector<std::string> Numbers() const {
    std::vector<std::string> n = D->PageList->Cols(0);
    n.erase(n.begin());
    return n;
  }
  void Press(TButton* b) { test::Press(*D, b); }

  std::unique_ptr<TPageNameDialog> D;
};

TEST_F(DialogPageNames, AddAndInsertHandOutNumbersThatAreNeverReused) {
  Open(3);
  D->PageList->SelectCell(1, 3);
  Press(D->Button5);  // Add
  Press(D->Button5);
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
  EXPECT_EQ(D->PageList->Cells(1, 6), "Page 5");
  EXPECT_EQ(D->PageList->Row(), 3);

  Open(3);
  D->PageList->SelectCell(1, 3);  // page 2
  Press(D->Button3);              // Insert
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "1", "4", "2", "3"}));
  EXPECT_EQ(D->PageList->Cells(1, 3), "Page 4");
  EXPECT_EQ(D->PageList->Cells(1, 5), "Page 3");
  EXPECT_EQ(D->PageList->Row(), 3);
  EXPECT_EQ(D->FPageCounter, 4);

  Open(3);
  D->PageList->SelectCell(1, 3);
  Press(D->Button4);  // Delete page 2
  Press(D->Button5);
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "1", "3", "4"}));
  EXPECT_EQ(D->PageList->Cells(1, 3), "Page 3");
}

TEST_F(DialogPageNames, MovesCarryNumbersWithNamesAndPageZeroNeverMoves) {
  Open(3);
  ASSERT_TRUE(D->PageList->EditCell(1, 4, "Last"));
  D->PageList->SelectCell(1, 4);
  Press(D->Button1);  // Up
  Press(D->Button1);
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "3", "1", "2"}));
  EXPECT_EQ(D->PageList->Cells(1, 2), "Last");
  EXPECT_EQ(D->PageList->Row(), 2);
  Press(D->Button1);  // would go above page 0
  Press(D->Button2);  // Down
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "1", "3", "2"}));

  D->PageList->SelectCell(1, 1);  // page 0: nothing moves, nothing goes before it or away
  for (TButton* b : {D->Button1, D->Button2, D->Button3, D->Button4}) Press(b);
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "1", "3", "2"}));
  D->PageList->SelectCell(1, 4);
  Press(D->Button2);  // already last
  EXPECT_EQ(D->PageList->Row(), 4);

  Open(1);
  D->PageList->SelectCell(1, 2);
  Press(D->Button4);  // the only wizard page stays
  Press(D->Button1);
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"0", "1"}));
}

TEST_F(DialogPageNames, NamesAreEditedInPlaceAndTypingIsKeptOnOk) {
  Open(2);
  EXPECT_TRUE(D->PageList->EditCell(1, 2, ""));
  EXPECT_EQ(D->PageList->Cells(1, 2), "");
  EXPECT_THROW(D->PageList->EditCell(0, 2, "9"), EListError);
  EXPECT_THROW(D->PageList->EditCell(1, 0, "Title"), EListError);
  EXPECT_EQ(D->PageList->Cells(0, 2), "1");
  EXPECT_EQ(D->PageList->Cells(1, 0), "Name");
  // Typed into the selected cell and not yet committed when OK is pressed.
  EXPECT_EQ(RunModal(*D,
                     [&] {
                       D->PageList->SelectCell(1, 3);
                       for (char c : std::string("Go")) D->DispatchKey(TMessage::KeyDown, c, {}, c);
                       Press(D->Button7);
                     }),
            mrOk);
  EXPECT_EQ(D->PageList->Cells(1, 3), "Go");
}

// -------------------------------------------------------------------------------------------
// Show container

class DialogShow : public ::testing::Test {
 protected:
  // Pages 0 to 3 as TShowProperty fills the dialog: page 2 holds a stray Shown value.
  void SetUp() override {
    D.reset(New<TShowDialog>(nullptr));
    for (int32_t shown : {1, 0, 5, 1}) D->FEditList->AddAPos({10 + shown, 20, shown});
    D->ShowGrid->SetRowCount(D->FEditList->Count());
    D->FPageNames = &Names;
  }
  int32_t Shown(int32_t page) const { return D->FEditList->Record(page).Shown; }
  // The centre of a box lies on both diagonals.
  bool Ticked(int32_t page) {
    return CellPixel(*D, *D->ShowGrid, 0, page, 8, 8) == ColorToRGB(clBlack);
  }

  TStringList Names{"Dialog", "Welcome", "Options", "Done"};
  std::unique_ptr<TShowDialog> D;
};

TEST_F(DialogShow, SelectingABoxTogglesItAndOnlyShownOneCounts) {
  TDrawGrid* g = D->ShowGrid;
  EXPECT_TRUE(Ticked(0));
  EXPECT_FALSE(Ticked(1));
  EXPECT_FALSE(Ticked(2));  // 5 is not 1
  g->SelectCell(0, 2);
  EXPECT_EQ(Shown(2), 0);
  g->SelectCell(0, 2);  // again on the selected box
  EXPECT_EQ(Shown(2), 1);
  EXPECT_TRUE(Ticked(2));
  g->SelectCell(0, 1);
  g->SelectCell(0, 1);
  EXPECT_EQ(Shown(1), 0);
  g->SelectCell(1, 3);  // a name: nothing changes
  EXPECT_EQ(Shown(3), 1);
  EXPECT_EQ(D->FEditList->Record(2).Left, 15);
  EXPECT_EQ(D->FEditList->Record(2).Top, 20);

  // A click on a box, through the form.
  TRect cell = g->CellRect(0, 1);
  TPoint at = g->FormOrigin();
  D->DispatchMouse(TMessage::MouseDown, mbLeft, {}, at.X + cell.Left + 4, at.Y + cell.Top + 4);
  D->DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X + cell.Left + 4, at.Y + cell.Top + 4);
  EXPECT_EQ(Shown(1), 1);
}

TEST_F(DialogShow, NamesFollowThePagesWithoutASelectionHighlight) {
  TDrawGrid* g = D->ShowGrid;
  g->SelectCell(1, 1);
  const int32_t right = g->ColWidths(1) - 2;
  EXPECT_EQ(CellPixel(*D, *g, 1, 1, right, 8), ColorToRGB(clWhite));
  // Each row names its own page: same name, same image.
  Names.Put(3, "Welcome");
  EXPECT_TRUE(SameCellImage(*D, *g, {1, 1}, {1, 3}, g->ColWidths(1)));
  EXPECT_FALSE(SameCellImage(*D, *g, {1, 1}, {1, 2}, g->ColWidths(1)));
}

TEST(DialogShowEmpty, AnEmptyListShowsNoRowAndAClickFindsNothing) {
  std::unique_ptr<TShowDialog> d(New<TShowDialog>(nullptr));
  TStringList names{"Dialog"};
  d->FPageNames = &names;
  d->ShowGrid->SetRowCount(0);  // as TShowProperty sets it for an empty list
  EXPECT_EQ(RunModal(*d,
                     [&] {
                       EXPECT_EQ(d->ShowGrid->RowCount(), 0);
                       // Where the first box would be.
                       TPoint at = d->ShowGrid->FormOrigin();
                       d->DispatchMouse(TMessage::MouseDown, mbLeft, {}, at.X + 8, at.Y + 8);
                       d->DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X + 8, at.Y + 8);
                       Press(*d, ButtonOf(*d, "OK"));
                     }),
            mrOk);
  EXPECT_EQ(d->FEditList->RecordCount(), 0);
}

// -------------------------------------------------------------------------------------------
// Button layout

class DialogLayout : public ::testing::Test {
 protected:
  // As TLayoutProperty fills the dialog.
  void Open(std::initializer_list<int32_t> codes) {
    D.reset(New<TLayoutDialog>(nullptr));
    D->LayoutGrid->SetRowCount(static_cast<int32_t>(codes.size()));
    for (int32_t c : codes) D->FEditList->Add(c);
  }
  std::vector<int32_t> Codes() const { return D->FEditList->Items(); }
  void Press(TButton* b) { test::Press(*D, b); }

  std::unique_ptr<TLayoutDialog> D;
};

TEST_F(DialogLayout, EveryCaptionFitsItsButtonInTheButtonsFont) {
  Open({});
  for (TButton* b : {D->Button1, D->Button2, D->Button3, D->Button4, D->Button5, D->Button6}) {
    SCOPED_TRACE(b->Caption());
    TCanvas measure(nullptr);
    measure.Font()->Assign(b->Font());
    // Clear of the focus frame, which stands 4 pixels in, with as much again to spare.
    EXPECT_LE(measure.TextWidth(b->Caption()) + 16, b->Width());
    EXPECT_EQ(b->Width(), D->Button6->Width());
    EXPECT_LE(b->Left() + b->Width() + 6, D->Panel1->Width());
  }
  EXPECT_EQ(D->LayoutGrid->Width(), 130);
}

TEST_F(DialogLayout, EntriesMoveButOnlySpacersComeAndGo) {
  Open({bcBack, bcNext, bcCancel});
  EXPECT_EQ(D->LayoutGrid->Row(), 0);
  Press(D->Button3);  // Up on the first row
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcBack, bcNext, bcCancel}));
  Press(D->Button4);  // Down
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcNext, bcBack, bcCancel}));
  EXPECT_EQ(D->LayoutGrid->Row(), 1);
  Press(D->Button6);  // Delete Space on Back
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcNext, bcBack, bcCancel}));

  D->LayoutGrid->SelectCell(0, 2);
  Press(D->Button4);  // Down on the last row
  Press(D->Button5);  // Insert Space: before the last entry, never after it
  Press(D->Button5);
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcNext, bcBack, bcSpace, bcSpace, bcCancel}));
  EXPECT_EQ(D->LayoutGrid->RowCount(), 5);
  EXPECT_EQ(D->LayoutGrid->Row(), 2);
  Press(D->Button6);
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcNext, bcBack, bcSpace, bcCancel}));
  EXPECT_EQ(D->LayoutGrid->RowCount(), 4);
  Press(D->Button3);
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcNext, bcSpace, bcBack, bcCancel}));
}

TEST_F(DialogLayout, AStrayCodeShowsNothingAndCanMoveButNotGo) {
  Open({bcHelp, 42, bcMiddle});
  TDrawGrid* g = D->LayoutGrid;
  auto blank = [&](int32_t row, TColor back) {
    for (int32_t x = 0; x < g->ColWidths(0); ++x)
      for (int32_t y = 0; y < 16; ++y)
        if (CellPixel(*D, *g, 0, row, x, y) != ColorToRGB(back)) return false;
    return true;
  };
  EXPECT_FALSE(blank(0, clHighlight));  // "Help", selected
  EXPECT_TRUE(blank(1, clWindow));
  EXPECT_FALSE(blank(2, clWindow));  // "Middle"
  g->SelectCell(0, 1);
  EXPECT_TRUE(blank(1, clHighlight));
  Press(D->Button6);
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcHelp, 42, bcMiddle}));
  Press(D->Button4);
  EXPECT_EQ(Codes(), (std::vector<int32_t>{bcHelp, bcMiddle, 42}));
}

// -------------------------------------------------------------------------------------------
// Way list

class DialogWayList : public ::testing::Test {
 protected:
  // A container of three pages and a dialog filled as TWayListProperty fills it.
  void SetUp() override {
    Form.reset(New<TForm>(nullptr));
    Z = New<TZelvar>(Form.get());
    Z->SetParent(Form.get());
    Z->SetNumPages(3);
    Z->PageNames()->SetText("Start\nWelcome\nOptions\nDone");
    Open({{1, gpNext}, {3, 1}, {2, gpFinish}});
  }
  void Open(std::initializer_list<TPageRec> steps) {
    D.reset(New<TWayListForm>(nullptr));
    D->GotoBox->Items()->Clear();
    D->PageBox->Items()->Clear();
    for (const char* a : {"Next", "Finish", "Ask", "Dialog"}) D->GotoBox->Items()->Add(a);
    D->PageBox->Items()->AddStrings(*Z->PageNames());
    D->FContainer = Z;
    for (const TPageRec& s : steps) D->FEditList->AddPage(s);
    D->WayListGrid->SetRowCount(D->FEditList->Count() + 1);
    for (int32_t k = 1; k <= D->FEditList->Count(); ++k)
      D->GotoBox->Items()->Add("Goto " + std::to_string(k));
  }
  using TSteps = std::vector<TPageRec>;
  TSteps Steps() const { return D->FEditList->Entries(); }
  void Press(TButton* b) { test::Press(*D, b); }
  // What the label and the two lists show.
  std::tuple<std::string, int32_t, int32_t> Shown() const {
    return {D->Label1->Caption(), D->PageBox->ItemIndex(), D->GotoBox->ItemIndex()};
  }

  std::unique_ptr<TForm> Form;
  TZelvar* Z = nullptr;
  std::unique_ptr<TWayListForm> D;
};

TEST_F(DialogWayList, ShowingSelectsTheFirstStepAndTheListsEditIt) {
  EXPECT_EQ(RunModal(*D,
                     [&] {
                       EXPECT_EQ(Shown(), std::make_tuple("1", 1, 0));
                       D->WayListGrid->SelectCell(0, 2);
                       EXPECT_EQ(Shown(), std::make_tuple("2", 3, 4));  // page 3, Goto 1
                       D->GotoBox->Pick(3);
                       D->PageBox->Pick(0);
                       D->WayListGrid->SelectCell(0, 3);
                       D->GotoBox->Pick(5);
                       Press(D->Button2);
                     }),
            mrOk);
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {0, gpDialog}, {2, 2}}));
}

TEST_F(DialogWayList, AStepOutsideTheListsShowsNoSelectionAndDrawsAsDeleted) {
  Open({{1, gpNext}, {9, 12}, {2, 2}, {2, gpAsk}});
  D->WayListGrid->SelectCell(0, 2);
  EXPECT_EQ(Shown(), std::make_tuple("2", -1, -1));
  TDrawGrid* g = D->WayListGrid;
  g->SelectCell(0, 4);
  // A page named like the texts the grid must show draws the very same image.
  Z->PageNames()->Put(2, "Deleted");
  EXPECT_TRUE(SameCellImage(*D, *g, {1, 2}, {1, 3}, g->ColWidths(1)));
  Z->PageNames()->Put(2, "Goto 2");
  EXPECT_TRUE(SameCellImage(*D, *g, {1, 3}, {2, 3}, g->ColWidths(2) - 1));
  Z->PageNames()->Put(2, "Ask");
  EXPECT_FALSE(SameCellImage(*D, *g, {1, 3}, {2, 3}, g->ColWidths(2) - 1));
  EXPECT_EQ(CellPixel(*D, *g, 2, 4, g->ColWidths(2) - 3, 8), ColorToRGB(clHighlight));
  EXPECT_EQ(CellPixel(*D, *g, 0, 0, 20, 8), ColorToRGB(clBtnFace));
}

TEST_F(DialogWayList, UpAndDownMoveStepsAndTheControlsFollow) {
  D->WayListGrid->SelectCell(0, 1);
  Press(D->Button1);  // Up on row 1
  D->WayListGrid->SelectCell(0, 3);
  Press(D->Button4);  // Down on the last row
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {3, 1}, {2, gpFinish}}));
  Press(D->Button1);
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {2, gpFinish}, {3, 1}}));
  EXPECT_EQ(Shown(), std::make_tuple("2", 2, 1));
  Press(D->Button4);
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {3, 1}, {2, gpFinish}}));
  EXPECT_EQ(Shown(), std::make_tuple("3", 2, 1));
}

TEST_F(DialogWayList, InsertDeleteAndAddKeepGotoItemsOnePerStep) {
  const int32_t fixedItems = 4;
  D->WayListGrid->SelectCell(0, 2);
  Press(D->Button5);  // Insert before step 2
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {1, gpNext}, {3, 1}, {2, gpFinish}}));
  EXPECT_EQ(Shown(), std::make_tuple("2", 1, 0));
  EXPECT_EQ(D->GotoBox->Items()->Count(), fixedItems + 4);
  EXPECT_EQ(D->GotoBox->Items()->Strings(fixedItems + 3), "Goto 4");

  D->WayListGrid->SelectCell(0, 3);
  Press(D->Button6);  // Delete step 3
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {1, gpNext}, {2, gpFinish}}));
  EXPECT_EQ(Shown(), std::make_tuple("3", 2, 1));
  EXPECT_EQ(D->GotoBox->Items()->Count(), fixedItems + 3);

  Press(D->Button7);  // Add: the selection stays
  EXPECT_EQ(Steps().back(), (TPageRec{1, gpNext}));
  EXPECT_EQ(D->WayListGrid->RowCount(), 5);
  EXPECT_EQ(D->WayListGrid->Row(), 3);
  EXPECT_EQ(Shown(), std::make_tuple("3", 2, 1));
  EXPECT_EQ(D->GotoBox->Items()->Strings(fixedItems + 3), "Goto 4");

  D->WayListGrid->SelectCell(0, 1);
  Press(D->Button6);  // the first step never goes
  EXPECT_EQ(Steps().size(), 4u);
  Open({{2, gpNext}});
  Press(D->Button6);
  EXPECT_EQ(Steps().size(), 1u);
  EXPECT_EQ(D->GotoBox->Items()->Count(), fixedItems + 1);
}

TEST_F(DialogWayList, DefaultBuildsOneStepPerPageEndingInFinish) {
  Open({{2, gpAsk}});
  Press(D->Button8);
  EXPECT_EQ(Steps(), (TSteps{{1, gpNext}, {2, gpNext}, {3, gpFinish}}));
  EXPECT_EQ(D->WayListGrid->RowCount(), 4);
  ASSERT_EQ(D->GotoBox->Items()->Count(), 7);
  EXPECT_EQ(D->GotoBox->Items()->Strings(6), "Goto 3");
  EXPECT_EQ(Shown(), std::make_tuple("1", 1, 0));
}

}  // namespace
}  // namespace zelvar::test

#include "design/wlf.h"

#include <string>

#include "container/ZelvarA.h"
#include "controls/FlowModel.h"
#include "design/DialogParts.h"
#include "platform/controls/ListBox.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

using namespace dialogparts;

namespace {

TComboBox* MakeBox(TPanel* panel, const char* name, int32_t left, int32_t width, int32_t tabOrder) {
  auto* box = New<TComboBox>(panel->Owner());
  box->SetName(name);
  box->SetParent(panel);
  box->SetStyle(csDropDownList);
  box->SetBounds(left, 16, width, box->Height());
  box->SetTabOrder(tabOrder);
  return box;
}

// Shows the item at index, or no selection when there is no such item (a step pointing at a
// page or position the lists do not hold).
void ShowItem(TComboBox* box, int64_t index) {
  box->SetItemIndex(index >= 0 && index < box->Items()->Count() ? static_cast<int32_t>(index) : -1);
}

// GotoBox's fixed items, item index = GotoPage + 3; the "Goto k" items follow.
void FillActions(TComboBox* box) {
  for (const char* action : {"Next", "Finish", "Ask", "Dialog"}) box->Items()->Add(action);
}

std::string GotoText(int32_t position) {
  return "Goto " + std::to_string(position);
}

std::string ActionText(int32_t gotoPage) {
  switch (gotoPage) {
    case gpNext:
      return "Next";
    case gpFinish:
      return "Finish";
    case gpAsk:
      return "Ask";
    case gpDialog:
      return "Dialog";
    default:
      return GotoText(gotoPage);
  }
}

constexpr TPageRec kNewStep{1, gpNext};

}  // namespace

const TClassInfo& TWayListForm::StaticClassInfo() {
  using D = TWayListForm;
  static const auto info = TClassBuilder<D>("TWayListForm")
                               .Field("Panel1", &D::Panel1, false)
                               .Field("Button1", &D::Button1, false)
                               .Field("Button2", &D::Button2, false)
                               .Field("Button3", &D::Button3, false)
                               .Field("Button4", &D::Button4, false)
                               .Field("Button5", &D::Button5, false)
                               .Field("Button6", &D::Button6, false)
                               .Field("Button7", &D::Button7, false)
                               .Field("Button8", &D::Button8, false)
                               .Field("CheckButton", &D::CheckButton, false)
                               .Field("Panel2", &D::Panel2, false)
                               .Field("Panel3", &D::Panel3, false)
                               .Field("Label1", &D::Label1, false)
                               .Field("PageBox", &D::PageBox, false)
                               .Field("GotoBox", &D::GotoBox, false)
                               .Field("WayListGrid", &D::WayListGrid, false)
                               .Method("FormCreate", &D::FormCreate)
                               .Method("FormDestroy", &D::FormDestroy)
                               .Method("WayListGridDrawCell", &D::WayListGridDrawCell)
                               .Method("Button7Click", &D::Button7Click)
                               .Method("WayListGridSelectCell", &D::WayListGridSelectCell)
                               .Method("PageBoxChange", &D::PageBoxChange)
                               .Method("GotoBoxChange", &D::GotoBoxChange)
                               .Method("Button1Click", &D::Button1Click)
                               .Method("Button4Click", &D::Button4Click)
                               .Method("Button5Click", &D::Button5Click)
                               .Method("Button6Click", &D::Button6Click)
                               .Method("Button8Click", &D::Button8Click)
                               .Method("FormShow", &D::FormShow)
                               .Method("CheckButtonClick", &D::CheckButtonClick)
                               .Build();
  return *info;
}

TWayListForm::TWayListForm(TComponent* owner) : TForm(owner) {
  SetUpDialog(*this, "WayList Editor", 594, 353);

  Panel1 = MakeButtonPanel(*this, 89, 0);

  Button1 = MakeButton(Panel1, "Button1", 8, "Up", 0);
  Button2 = MakeButton(Panel1, "Button2", 320, "OK", 1, mrOk);
  Button3 = MakeButton(Panel1, "Button3", 288, "Cancel", 2, mrCancel);
  Button4 = MakeButton(Panel1, "Button4", 40, "Down", 3);
  Button5 = MakeButton(Panel1, "Button5", 72, "Insert", 4);
  Button6 = MakeButton(Panel1, "Button6", 104, "Delete", 5);
  Button7 = MakeButton(Panel1, "Button7", 136, "Add", 6);
  Button8 = MakeButton(Panel1, "Button8", 168, "Default", 7);
  CheckButton = MakeButton(Panel1, "CheckButton", 200, "Check", 8);
  CheckButton->OnClick = MethodAddress("CheckButtonClick").AsEvent<void(TObject*)>();

  Panel2 = New<TPanel>(this);
  Panel2->SetName("Panel2");
  Panel2->SetParent(this);
  Panel2->SetAlign(alClient);
  Panel2->SetBevelOuter(bvNone);
  Panel2->SetTabOrder(1);

  Panel3 = New<TPanel>(this);
  Panel3->SetName("Panel3");
  Panel3->SetParent(Panel2);
  Panel3->SetAlign(alBottom);
  Panel3->SetHeight(46);
  Panel3->SetTabOrder(0);

  Label1 = New<TLabel>(this);
  Label1->SetName("Label1");
  Label1->SetParent(Panel3);
  Label1->SetCaption("1");
  Label1->SetBounds(8, 18, Label1->Width(), Label1->Height());

  PageBox = MakeBox(Panel3, "PageBox", 40, 257, 0);
  GotoBox = MakeBox(Panel3, "GotoBox", 304, 193, 1);

  WayListGrid = New<TDrawGrid>(this);
  WayListGrid->SetName("WayListGrid");
  WayListGrid->SetParent(Panel2);
  WayListGrid->SetAlign(alClient);
  WayListGrid->SetColCount(3);
  WayListGrid->SetFixedCols(0);
  WayListGrid->SetFixedRows(1);
  WayListGrid->SetDefaultRowHeight(16);
  WayListGrid->SetColWidths(0, 26);
  WayListGrid->SetColWidths(1, 339);
  WayListGrid->SetColWidths(2, 109);
  WayListGrid->SetOptions(
      {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected, goRowSelect});
  // A classic grid starts on its first scrolling cell; placed before the handlers are bound.
  WayListGrid->SetCol(0);
  WayListGrid->SetRow(1);
  WayListGrid->SetTabOrder(1);

  // Bound by name through the class record, as the form reader binds a form's handlers.
  WayListGrid->OnDrawCell =
      MethodAddress("WayListGridDrawCell").AsEvent<TDrawCellEvent::Signature>();
  WayListGrid->OnSelectCell =
      MethodAddress("WayListGridSelectCell").AsEvent<TSelectCellEvent::Signature>();
  PageBox->OnChange = MethodAddress("PageBoxChange").AsEvent<void(TObject*)>();
  GotoBox->OnChange = MethodAddress("GotoBoxChange").AsEvent<void(TObject*)>();
  Button1->OnClick = MethodAddress("Button1Click").AsEvent<void(TObject*)>();
  Button4->OnClick = MethodAddress("Button4Click").AsEvent<void(TObject*)>();
  Button5->OnClick = MethodAddress("Button5Click").AsEvent<void(TObject*)>();
  Button6->OnClick = MethodAddress("Button6Click").AsEvent<void(TObject*)>();
  Button7->OnClick = MethodAddress("Button7Click").AsEvent<void(TObject*)>();
  Button8->OnClick = MethodAddress("Button8Click").AsEvent<void(TObject*)>();
  OnCreate = MethodAddress("FormCreate").AsEvent<void(TObject*)>();
  OnShow = MethodAddress("FormShow").AsEvent<void(TObject*)>();

  // The form has just been created.
  OnCreate(this);
}

TWayListForm::~TWayListForm() {
  FormDestroy(this);
}

void TWayListForm::FormCreate(TObject*) {
  FEditListStore = std::make_unique<TPageList>();
  FEditList = FEditListStore.get();
  FLastRow = -1;
}

void TWayListForm::FormDestroy(TObject*) {
  FEditList = nullptr;
  FEditListStore.reset();
}

void TWayListForm::FormShow(TObject*) {
  SelectCurrentRow();
}

void TWayListForm::SelectCurrentRow() {
  bool canSelect = true;
  WayListGridSelectCell(WayListGrid, 0, WayListGrid->Row(), canSelect);
}

void TWayListForm::WayListGridDrawCell(TObject*, int32_t ACol, int32_t ARow, TRect Rect,
                                       TGridDrawState State) {
  std::string text;
  if (ARow == 0) {
    static const char* const kHeader[] = {"ID", "PAGE", "GOTO"};
    if (ACol >= 0 && ACol < 3) text = kHeader[ACol];
  } else if (FEditList && ARow - 1 < FEditList->EntryCount()) {
    const TPageRec& step = FEditList->Entry(ARow - 1);
    if (ACol == 0) {
      text = std::to_string(ARow);
    } else if (ACol == 1 && FContainer) {
      // A step may still name a page that was removed since.
      const TStrings* names = FContainer->PageNames();
      const bool named =
          step.Number >= 0 && step.Number <= FContainer->NumPages() && step.Number < names->Count();
      text = named ? names->Strings(step.Number) : "Deleted";
    } else if (ACol == 2) {
      text = ActionText(step.GotoPage);
    }
  }

  TCanvas& canvas = *WayListGrid->Canvas();
  if (State.Contains(gdFixed)) {
    canvas.Font()->SetColor(clWindowText);
    canvas.Brush()->SetColor(clBtnFace);
  } else if (State.Contains(gdSelected)) {
    canvas.Font()->SetColor(clHighlightText);
    canvas.Brush()->SetColor(clHighlight);
  } else {
    canvas.Font()->SetColor(clWindowText);
    canvas.Brush()->SetColor(clWindow);
  }
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  canvas.TextRect(Rect, Rect.Left, Rect.Top, text);
}

void TWayListForm::WayListGridSelectCell(TObject*, int32_t, int32_t ARow, bool& CanSelect) {
  CanSelect = true;
  if (ARow == FLastRow) return;
  FLastRow = ARow;
  Label1->SetCaption(std::to_string(ARow));
  int64_t page = -1, action = -1;
  if (FEditList && ARow >= 1 && ARow - 1 < FEditList->EntryCount()) {
    const TPageRec& step = FEditList->Entry(ARow - 1);
    page = step.Number;
    action = int64_t{step.GotoPage} + 3;
  }
  ShowItem(PageBox, page);
  ShowItem(GotoBox, action);
}

// Only a chosen item is stored: a list showing no selection says nothing about the step.
void TWayListForm::PageBoxChange(TObject*) {
  const int32_t page = PageBox->ItemIndex();
  if (page < 0 || !FEditList) return;
  FEditList->Entry(WayListGrid->Row() - 1).Number = page;
  WayListGrid->Repaint();
}

void TWayListForm::GotoBoxChange(TObject*) {
  const int32_t item = GotoBox->ItemIndex();
  if (item < 0 || !FEditList) return;
  FEditList->Entry(WayListGrid->Row() - 1).GotoPage = item - 3;
  WayListGrid->Repaint();
}

// Moving the selection runs WayListGridSelectCell, so the controls follow the moved step.
void TWayListForm::Button1Click(TObject*) {
  const int32_t r = WayListGrid->Row();
  if (r <= 1 || !FEditList) return;
  FEditList->ExchPage(r - 1, r - 2);
  WayListGrid->SetRow(r - 1);
  WayListGrid->Repaint();
}

void TWayListForm::Button4Click(TObject*) {
  const int32_t r = WayListGrid->Row();
  if (!FEditList || r >= FEditList->Count()) return;
  FEditList->ExchPage(r - 1, r);
  WayListGrid->SetRow(r + 1);
  WayListGrid->Repaint();
}

// The new step goes before the selected one and becomes the selected step.
void TWayListForm::Button5Click(TObject*) {
  if (!FEditList) return;
  FEditList->InsertPage(WayListGrid->Row() - 1, kNewStep);
  WayListGrid->SetRowCount(WayListGrid->RowCount() + 1);
  WayListGrid->Repaint();
  FLastRow = -1;
  SelectCurrentRow();
  GotoBox->Items()->Add(GotoText(FEditList->Count()));
}

// The first step stays, so the list is never empty. Steps that pointed at a removed or
// shifted position keep their number.
void TWayListForm::Button6Click(TObject*) {
  const int32_t r = WayListGrid->Row();
  if (r <= 1 || !FEditList) return;
  FEditList->DelPage(r - 1);
  WayListGrid->SetRowCount(WayListGrid->RowCount() - 1);
  WayListGrid->Repaint();
  FLastRow = -1;
  SelectCurrentRow();
  TStrings* items = GotoBox->Items();
  if (items->Count() > 0) items->Delete(items->Count() - 1);
}

void TWayListForm::Button7Click(TObject*) {
  if (!FEditList) return;
  FEditList->AddPage(kNewStep);
  WayListGrid->SetRowCount(WayListGrid->RowCount() + 1);
  GotoBox->Items()->Add(GotoText(FEditList->Count()));
}

// One step per page in page order, the last one finishing.
// The flow check of the way list as it stands in the editor, in a list of its own.
void TWayListForm::CheckButtonClick(TObject*) {
  if (!FContainer || !FEditList) return;
  std::vector<std::string> lines = FlowCheckLines("", FlowModelOf(*FContainer, FEditList));
  if (lines.empty())
    lines.push_back("No problems: every position is reached and leads to the finish.");
  TForm box(nullptr);
  box.SetName("FlowCheck");
  SetUpDialog(box, "Flow check", 520, 240);
  auto* list = New<TListBox>(&box);
  list->SetName("Findings");
  list->SetParent(&box);
  list->SetBounds(8, 8, box.ClientWidth() - 16, box.ClientHeight() - 50);
  for (const std::string& line : lines) list->Items()->Add(line);
  auto* ok = New<TButton>(&box);
  ok->SetName("OK");
  ok->SetParent(&box);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetCancel(true);
  ok->SetModalResult(mrOk);
  ok->SetBounds(box.ClientWidth() - 83, box.ClientHeight() - 33, 75, 25);
  box.ShowModal();
}

void TWayListForm::Button8Click(TObject*) {
  if (!FEditList || !FContainer) return;
  FEditList->Clear();
  FEditList->SetCount(0);
  GotoBox->Items()->Clear();
  FillActions(GotoBox);
  const int32_t pages = FContainer->NumPages();
  for (int32_t i = 1; i <= pages; ++i) {
    FEditList->AddPage({i, gpNext});
    GotoBox->Items()->Add(GotoText(i));
  }
  WayListGrid->SetRowCount(pages + 1);
  if (FEditList->EntryCount() > 0)
    FEditList->Entry(FEditList->EntryCount() - 1).GotoPage = gpFinish;
  FLastRow = -1;
  WayListGrid->Repaint();
  SelectCurrentRow();
}

void RegisterWlf() {
  RegisterClass(TWayListForm::StaticClassInfo());
}

}  // namespace zelvar

#include "design/blf.h"

#include <algorithm>
#include <string_view>

#include "container/ZelvarA.h"
#include "design/DialogParts.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

using namespace dialogparts;

namespace {

// The name a row shows for a button code; a code no button has shows nothing.
std::string_view CodeName(int32_t code) {
  switch (code) {
    case bcChange:
      return "Change";
    case bcHelp:
      return "Help";
    case bcCancel:
      return "Cancel";
    case bcBack:
      return "Back";
    case bcNext:
      return "Next";
    case bcOK:
      return "OK";
    case bcSpace:
      return "Space";
    case bcMiddle:
      return "Middle";
    default:
      return {};
  }
}

}  // namespace

const TClassInfo& TLayoutDialog::StaticClassInfo() {
  using D = TLayoutDialog;
  static const auto info = TClassBuilder<D>("TLayoutDialog")
                               .Field("Panel1", &D::Panel1, false)
                               .Field("Button1", &D::Button1, false)
                               .Field("Button2", &D::Button2, false)
                               .Field("Button3", &D::Button3, false)
                               .Field("Button4", &D::Button4, false)
                               .Field("Button5", &D::Button5, false)
                               .Field("Button6", &D::Button6, false)
                               .Field("LayoutGrid", &D::LayoutGrid, false)
                               .Method("FormCreate", &D::FormCreate)
                               .Method("FormDestroy", &D::FormDestroy)
                               .Method("LayoutGridDrawCell", &D::LayoutGridDrawCell)
                               .Method("Button3Click", &D::Button3Click)
                               .Method("Button4Click", &D::Button4Click)
                               .Method("Button5Click", &D::Button5Click)
                               .Method("Button6Click", &D::Button6Click)
                               .Build();
  return *info;
}

TLayoutDialog::TLayoutDialog(TComponent* owner) : TForm(owner) {
  SetUpDialog(*this, "Button layout", 219, 217);

  Panel1 = MakeButtonPanel(*this, 89, 0);

  Button1 = MakeButton(Panel1, "Button1", 184, "OK", 0, mrOk);
  Button2 = MakeButton(Panel1, "Button2", 152, "Cancel", 1, mrCancel);
  Button3 = MakeButton(Panel1, "Button3", 8, "Up", 2);
  Button4 = MakeButton(Panel1, "Button4", 40, "Down", 3);
  Button5 = MakeButton(Panel1, "Button5", 72, "Insert Space", 4);
  Button6 = MakeButton(Panel1, "Button6", 104, "Delete Space", 5);
  FitButtonsToCaptions(*this, Panel1, {Button1, Button2, Button3, Button4, Button5, Button6});

  LayoutGrid = New<TDrawGrid>(this);
  LayoutGrid->SetName("LayoutGrid");
  LayoutGrid->SetParent(this);
  LayoutGrid->SetAlign(alClient);
  LayoutGrid->SetFixedCols(0);
  LayoutGrid->SetFixedRows(0);
  LayoutGrid->SetColCount(1);
  LayoutGrid->SetDefaultRowHeight(16);
  LayoutGrid->SetColWidths(0, 100);
  LayoutGrid->SetOptions(
      {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected});
  // A classic grid starts on its first scrolling cell: the first entry is selected.
  LayoutGrid->SetCol(0);
  LayoutGrid->SetRow(0);
  LayoutGrid->SetTabOrder(1);

  // Bound by name through the class record, as the form reader binds a form's handlers.
  LayoutGrid->OnDrawCell = MethodAddress("LayoutGridDrawCell").AsEvent<TDrawCellEvent::Signature>();
  Button3->OnClick = MethodAddress("Button3Click").AsEvent<void(TObject*)>();
  Button4->OnClick = MethodAddress("Button4Click").AsEvent<void(TObject*)>();
  Button5->OnClick = MethodAddress("Button5Click").AsEvent<void(TObject*)>();
  Button6->OnClick = MethodAddress("Button6Click").AsEvent<void(TObject*)>();
  OnCreate = MethodAddress("FormCreate").AsEvent<void(TObject*)>();
  OnShow = TNotifyEvent([this](TObject*) { ShowEditList(); });

  // The form has just been created.
  OnCreate(this);
}

TLayoutDialog::~TLayoutDialog() {
  FormDestroy(this);
}

void TLayoutDialog::FormCreate(TObject*) {
  FEditListStore = std::make_unique<TIntegerList>();
  FEditList = FEditListStore.get();
}

void TLayoutDialog::FormDestroy(TObject*) {
  FEditList = nullptr;
  FEditListStore.reset();
}

void TLayoutDialog::LayoutGridDrawCell(TObject*, int32_t, int32_t ARow, TRect Rect,
                                       TGridDrawState State) {
  TCanvas& canvas = *LayoutGrid->Canvas();
  const bool entry = FEditList && ARow < FEditList->ItemCount();
  const std::string_view name = entry ? CodeName(FEditList->GetInteger(ARow)) : "";
  const bool selected = State.Contains(gdSelected);
  canvas.Font()->SetColor(selected ? clHighlightText : clWindowText);
  canvas.Brush()->SetColor(selected ? clHighlight : clWindow);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.TextRect(Rect, Rect.Left, Rect.Top, name);
}

void TLayoutDialog::ShowEditList() {
  const int32_t count = FEditList ? FEditList->ItemCount() : 0;
  LayoutGrid->SetRowCount(count);
  for (TButton* b : {Button3, Button4, Button6}) b->SetEnabled(count > 0);
  LayoutGrid->Repaint();
}

void TLayoutDialog::Button3Click(TObject*) {
  const int32_t r = LayoutGrid->Row();
  if (!FEditList || r <= 0 || r >= FEditList->ItemCount()) return;
  FEditList->exchange(r, r - 1);
  LayoutGrid->SetRow(r - 1);
  LayoutGrid->Repaint();
}

void TLayoutDialog::Button4Click(TObject*) {
  const int32_t r = LayoutGrid->Row();
  if (!FEditList || r < 0 || r >= FEditList->ItemCount() - 1) return;
  FEditList->exchange(r, r + 1);
  LayoutGrid->SetRow(r + 1);
  LayoutGrid->Repaint();
}

// The spacer goes before the selected entry, and the selection stays on it; an empty list
// gets it as its first entry.
void TLayoutDialog::Button5Click(TObject*) {
  if (!FEditList) return;
  FEditList->Insert(std::clamp(LayoutGrid->Row(), 0, FEditList->ItemCount()), bcSpace);
  ShowEditList();
}

// Only spacers can go: every button the list held stays in it.
void TLayoutDialog::Button6Click(TObject*) {
  const int32_t r = LayoutGrid->Row();
  if (!FEditList || r < 0 || r >= FEditList->ItemCount() || FEditList->GetInteger(r) != bcSpace)
    return;
  FEditList->Del(r);
  ShowEditList();
}

void RegisterBlf() {
  RegisterClass(TLayoutDialog::StaticClassInfo());
}

}  // namespace zelvar

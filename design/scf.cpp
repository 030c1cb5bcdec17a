#include "design/scf.h"

#include <string>

#include "design/DialogParts.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

using namespace dialogparts;

namespace {

constexpr int32_t kBoxSize = 16;

}  // namespace

const TClassInfo& TShowDialog::StaticClassInfo() {
  using D = TShowDialog;
  static const auto info = TClassBuilder<D>("TShowDialog")
                               .Field("ShowGrid", &D::ShowGrid, false)
                               .Field("Panel1", &D::Panel1, false)
                               .Field("Button1", &D::Button1, false)
                               .Field("Button2", &D::Button2, false)
                               .Method("FormCreate", &D::FormCreate)
                               .Method("FormDestroy", &D::FormDestroy)
                               .Method("ShowGridDrawCell", &D::ShowGridDrawCell)
                               .Method("ShowGridSelectCell", &D::ShowGridSelectCell)
                               .Build();
  return *info;
}

TShowDialog::TShowDialog(TComponent* owner) : TForm(owner) {
  SetUpDialog(*this, "Show Component", 244, 218);

  ShowGrid = New<TDrawGrid>(this);
  ShowGrid->SetName("ShowGrid");
  ShowGrid->SetParent(this);
  ShowGrid->SetAlign(alClient);
  ShowGrid->SetColCount(2);
  ShowGrid->SetFixedCols(0);
  ShowGrid->SetFixedRows(0);
  ShowGrid->SetDefaultRowHeight(16);
  ShowGrid->SetColWidths(0, 28);
  ShowGrid->SetColWidths(1, 102);
  ShowGrid->SetDefaultDrawing(false);
  // Only fixed cells draw lines, and there are none: the boxes stand on plain white.
  ShowGrid->SetOptions({goFixedVertLine, goFixedHorzLine});
  // A classic grid starts on its first scrolling cell; placed before the handlers are bound,
  // so that placing it toggles nothing.
  ShowGrid->SetCol(0);
  ShowGrid->SetRow(0);
  ShowGrid->SetTabOrder(0);

  Panel1 = MakeButtonPanel(*this, 90, 1);

  Button1 = MakeButton(Panel1, "Button1", 152, "Cancel", 0, mrCancel);
  Button2 = MakeButton(Panel1, "Button2", 184, "OK", 1, mrOk);

  // Bound by name through the class record, as the form reader binds a form's handlers.
  ShowGrid->OnDrawCell = MethodAddress("ShowGridDrawCell").AsEvent<TDrawCellEvent::Signature>();
  ShowGrid->OnSelectCell =
      MethodAddress("ShowGridSelectCell").AsEvent<TSelectCellEvent::Signature>();
  OnCreate = MethodAddress("FormCreate").AsEvent<void(TObject*)>();
  OnShow = TNotifyEvent([this](TObject*) { ShowEditList(); });

  // The form has just been created.
  OnCreate(this);
}

void TShowDialog::ShowEditList() {
  ShowGrid->SetRowCount(FEditList ? FEditList->RecordCount() : 0);
}

TShowDialog::~TShowDialog() {
  FormDestroy(this);
}

void TShowDialog::FormCreate(TObject*) {
  FEditListStore = std::make_unique<TAposList>();
  FEditList = FEditListStore.get();
}

void TShowDialog::FormDestroy(TObject*) {
  FEditList = nullptr;
  FEditListStore.reset();
}

// Default drawing is off: only the box or the name is painted, with no selection highlight
// and no focus frame.
void TShowDialog::ShowGridDrawCell(TObject*, int32_t ACol, int32_t ARow, TRect Rect,
                                   TGridDrawState) {
  TCanvas& canvas = *ShowGrid->Canvas();
  const int32_t l = Rect.Left, t = Rect.Top;
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clWhite);
  if (ACol == 0) {
    canvas.Pen()->SetColor(clBlack);
    canvas.Rectangle(l, t, l + kBoxSize, t + kBoxSize);
    // Only 1 means shown; any other stored value draws an empty box.
    if (FEditList && ARow < FEditList->RecordCount() && FEditList->Record(ARow).Shown == 1) {
      canvas.MoveTo(l, t);
      canvas.LineTo(l + kBoxSize, t + kBoxSize);
      canvas.MoveTo(l + kBoxSize, t);
      canvas.LineTo(l, t + kBoxSize);
    }
  } else if (ACol == 1) {
    // The grid readies the canvas for a highlight; the names are never highlighted.
    canvas.Font()->SetColor(ShowGrid->Font()->Color());
    const bool named = FPageNames && ARow < FPageNames->Count();
    canvas.TextRect(Rect, l, t, named ? FPageNames->Strings(ARow) : std::string());
  }
}

// Every selection of a box toggles it, a click on the box already selected included.
void TShowDialog::ShowGridSelectCell(TObject*, int32_t ACol, int32_t ARow, bool& CanSelect) {
  CanSelect = true;
  if (ACol != 0 || !FEditList || ARow >= FEditList->RecordCount()) return;
  TAposRec& rec = FEditList->Record(ARow);
  rec.Shown = rec.Shown == 0 ? 1 : 0;
  ShowGrid->Repaint();
}

void RegisterScf() {
  RegisterClass(TShowDialog::StaticClassInfo());
}

}  // namespace zelvar

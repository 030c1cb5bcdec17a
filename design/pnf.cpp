#include "design/pnf.h"

#include <string>

#include "design/DialogParts.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

using namespace dialogparts;

const TClassInfo& TPageNameDialog::StaticClassInfo() {
  using D = TPageNameDialog;
  static const auto info = TClassBuilder<D>("TPageNameDialog")
                               .Field("PageList", &D::PageList, false)
                               .Field("Panel1", &D::Panel1, false)
                               .Field("Button1", &D::Button1, false)
                               .Field("Button2", &D::Button2, false)
                               .Field("Button3", &D::Button3, false)
                               .Field("Button4", &D::Button4, false)
                               .Field("Button5", &D::Button5, false)
                               .Field("Button6", &D::Button6, false)
                               .Field("Button7", &D::Button7, false)
                               .Method("Button5Click", &D::Button5Click)
                               .Method("Button1Click", &D::Button1Click)
                               .Method("Button2Click", &D::Button2Click)
                               .Method("Button3Click", &D::Button3Click)
                               .Method("Button4Click", &D::Button4Click)
                               .Build();
  return *info;
}

TPageNameDialog::TPageNameDialog(TComponent* owner) : TForm(owner) {
  SetUpDialog(*this, "PageNames", 390, 315);

  PageList = New<TStringGrid>(this);
  PageList->SetName("PageList");
  PageList->SetParent(this);
  PageList->SetAlign(alClient);
  PageList->SetColCount(2);
  PageList->SetFixedCols(1);
  PageList->SetFixedRows(1);
  PageList->SetDefaultRowHeight(16);
  PageList->SetColWidths(0, 30);
  PageList->SetColWidths(1, 264);
  PageList->SetOptions(
      {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected, goEditing});
  PageList->SetTabOrder(0);

  Panel1 = MakeButtonPanel(*this, 89, 1);

  Button1 = MakeButton(Panel1, "Button1", 8, "Up", 0);
  Button2 = MakeButton(Panel1, "Button2", 40, "Down", 1);
  Button3 = MakeButton(Panel1, "Button3", 72, "Insert", 2);
  Button4 = MakeButton(Panel1, "Button4", 104, "Delete", 3);
  Button5 = MakeButton(Panel1, "Button5", 136, "Add", 4);
  Button6 = MakeButton(Panel1, "Button6", 248, "Cancel", 5, mrCancel);
  Button7 = MakeButton(Panel1, "Button7", 280, "OK", 6, mrOk);

  // Bound by name through the class record, as the form reader binds a form's handlers.
  Button1->OnClick = MethodAddress("Button1Click").AsEvent<void(TObject*)>();
  Button2->OnClick = MethodAddress("Button2Click").AsEvent<void(TObject*)>();
  Button3->OnClick = MethodAddress("Button3Click").AsEvent<void(TObject*)>();
  Button4->OnClick = MethodAddress("Button4Click").AsEvent<void(TObject*)>();
  Button5->OnClick = MethodAddress("Button5Click").AsEvent<void(TObject*)>();
}

void TPageNameDialog::SwapRows(int32_t a, int32_t b) {
  for (int32_t col = 0; col < 2; ++col) {
    std::string keep = PageList->Cells(col, a);
    PageList->SetCells(col, a, PageList->Cells(col, b));
    PageList->SetCells(col, b, keep);
  }
}

void TPageNameDialog::NewPage(int32_t row) {
  PageList->SetCells(0, row, std::to_string(FPageCounter));
  PageList->SetCells(1, row, "Page " + std::to_string(FPageCounter));
}

// Row 1 is page 0, which neither moves nor has a page moved above it.
void TPageNameDialog::Button1Click(TObject*) {
  const int32_t r = PageList->Row();
  if (r <= 2) return;
  SwapRows(r - 1, r);
  PageList->SetRow(r - 1);
}

void TPageNameDialog::Button2Click(TObject*) {
  const int32_t r = PageList->Row();
  if (r <= 1 || r + 1 >= PageList->RowCount()) return;
  SwapRows(r, r + 1);
  PageList->SetRow(r + 1);
}

// The new page takes the selected row, which stays selected; nothing goes before page 0.
void TPageNameDialog::Button3Click(TObject*) {
  const int32_t r = PageList->Row();
  if (r <= 1) return;
  ++FPageCounter;
  PageList->SetRowCount(PageList->RowCount() + 1);
  for (int32_t i = PageList->RowCount() - 1; i > r; --i)
    PageList->SetRows(i, PageList->Rows(i - 1));
  NewPage(r);
}

// Page 0 stays, and so does at least one wizard page.
void TPageNameDialog::Button4Click(TObject*) {
  const int32_t r = PageList->Row();
  const int32_t rows = PageList->RowCount();
  if (rows <= 3 || r <= 1) return;
  for (int32_t i = r; i <= rows - 2; ++i) PageList->SetRows(i, PageList->Rows(i + 1));
  PageList->SetRowCount(rows - 1);
}

void TPageNameDialog::Button5Click(TObject*) {
  PageList->SetRowCount(PageList->RowCount() + 1);
  ++FPageCounter;
  NewPage(PageList->RowCount() - 1);
}

void RegisterPnf() {
  RegisterClass(TPageNameDialog::StaticClassInfo());
}

}  // namespace zelvar

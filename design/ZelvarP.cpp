#include "design/ZelvarP.h"

#include <algorithm>

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "design/blf.h"
#include "design/pnf.h"
#include "design/scf.h"
#include "design/wlf.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Grids.h"
#include "platform/core/SysUtils.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"

namespace zelvar {

// =============================================================================================
// TContainerEditor

int TContainerEditor::GetVerbCount() const {
  return dynamic_cast<TZelvar*>(Component()) ? 4 : 1;
}

std::string TContainerEditor::GetVerb(int index) const {
  switch (index) {
    case 0:
      return "Insert covered controls";
    case 1:
      return "Aktivate Jump controls";
    case 2:
      return "Disable Jump controls";
    case 3:
      if (auto* z = dynamic_cast<TZelvar*>(Component()))
        return z->Page() == 0 ? "Set size to Wizard size" : "Set size to Dialog size";
      return "Set size to Dialog size";
    default:
      return {};
  }
}

void TContainerEditor::ExecuteVerb(int index) {
  switch (index) {
    case 0:
      InsertCoveredControls();
      break;
    case 1:
      SetJumpButtonMode(false);
      break;
    case 2:
      SetJumpButtonMode(true);
      break;
    case 3:
      SetOtherModeSize();
      break;
    default:
      return;
  }
  // The verbs change the form like any other design step: it needs saving.
  if (Designer()) Designer()->Modified();
}

void TContainerEditor::InsertCoveredControls() {
  auto* target = As<TWinControl>(Component());
  TForm* form = As<TForm>(Component()->Owner());
  if (!target || !form) return;
  const int32_t l = target->Left(), t = target->Top();
  const int32_t r = l + target->Width(), b = t + target->Height();
  TWinControl* source = nullptr;
  if (auto* z = dynamic_cast<TZelvar*>(target)) {
    source = z->Parent();
  } else if (TFieldRef field = target->FieldAddress("FZelvar")) {
    source = dynamic_cast<TWinControl*>(field.Get());
  }
  // Without a container a box has no layer of its own to gather from.
  if (!source) return;
  std::vector<TControl*> chosen;
  for (TComponent* c : form->Components()) {
    auto* control = dynamic_cast<TControl*>(c);
    if (!control || control == target || control->Parent() != source) continue;
    if (control->Left() >= l && control->Top() >= t && control->Left() + control->Width() <= r &&
        control->Top() + control->Height() <= b)
      chosen.push_back(control);
  }
  for (TControl* control : chosen) {
    int32_t left = control->Left(), top = control->Top();
    control->SetParent(target);
    control->SetTop(top - t);
    control->SetLeft(left - l);
  }
}

void TContainerEditor::SetJumpButtonMode(bool mode) {
  auto* z = dynamic_cast<TZelvar*>(Component());
  if (!z) return;
  TForm* form = As<TForm>(z->Owner());
  if (!form) return;
  for (TComponent* c : form->Components()) {
    if (auto* button = dynamic_cast<TAJumpBitBtn*>(c)) button->SetButtonMode(mode);
    if (auto* radio = dynamic_cast<TAJumpRadioBtn*>(c)) radio->SetButtonMode(mode);
  }
}

void TContainerEditor::SetOtherModeSize() {
  auto* z = dynamic_cast<TZelvar*>(Component());
  if (!z) return;
  TForm* form = As<TForm>(static_cast<TObject*>(z->Parent()));
  if (!form) return;
  if (z->Page() == 0) {
    form->SetWidth(z->WizardWidth());
    form->SetHeight(z->WizardHeight());
  } else {
    form->SetWidth(z->DialogWidth());
    form->SetHeight(z->DialogHeight());
  }
}

// =============================================================================================
// The list editors

TZelvar* TListPropertyEditor::Container() const {
  TPersistent* c = GetComponent(0);
  if (auto* z = dynamic_cast<TZelvar*>(c)) return z;
  if (auto* o = dynamic_cast<TObject*>(c))
    if (TFieldRef field = o->FieldAddress("FZelvar")) return dynamic_cast<TZelvar*>(field.Get());
  return nullptr;
}

void TListPropertyEditor::Finish(TZelvar* container) const {
  if (container) container->zelvarupdate();
  Modified();
}

void TPageNameProperty::Edit() {
  TZelvar* z = As<TZelvar>(GetComponent(0));
  {
    std::unique_ptr<TPageNameDialog> dialog(New<TPageNameDialog>(nullptr));
    TStringGrid& grid = *dialog->PageList;
    const int32_t pages = z->NumPages();
    grid.SetRowCount(pages + 2);
    dialog->FPageCounter = pages;
    grid.SetCells(0, 0, "Page");
    grid.SetCells(1, 0, "Name");
    TStrings& names = *z->PageNames();
    for (int32_t p = 0; p <= pages; ++p) {
      grid.SetCells(0, p + 1, std::to_string(p));
      grid.SetCells(1, p + 1, p < names.Count() ? names.Get(p) : std::string());
    }
    if (dialog->ShowModal() == mrOk) {
      const int32_t n = grid.RowCount() - 2;
      if (n > z->NumPages()) z->SetNumPages(n);
      for (int32_t i = 0; i <= n && i < names.Count(); ++i) names.Put(i, grid.Cells(1, i + 1));
      // Every control's places follow their pages through the moves, insertions and
      // deletions made in the dialog: the number column holds each page's old number.
      std::vector<int32_t> identity;
      for (int32_t i = 0; i <= n; ++i) identity.push_back(StrToIntDef(grid.Cells(0, i + 1), -1));
      TComponent* form = z->Owner();
      const auto& components = form ? form->Components() : std::vector<TComponent*>{};
      for (size_t k = components.size(); k-- > 0;) {
        TFieldRef field = components[k]->FieldAddress("FAposList");
        auto* list = field ? dynamic_cast<TAposList*>(field.Get()) : nullptr;
        if (!list) continue;
        TAposList rebuilt;
        for (int32_t old : identity)
          rebuilt.AddAPos(old >= 0 && old < list->RecordCount() ? list->Record(old) : TAposRec{});
        list->Assign(&rebuilt);
      }
      if (n < z->NumPages()) z->SetNumPages(n);
    }
  }
  Finish(z);
}

void TShowProperty::Edit() {
  TPersistent* c = GetComponent(0);
  auto* object = dynamic_cast<TObject*>(c);
  TFieldRef field = object ? object->FieldAddress("FAposList") : TFieldRef();
  auto* list = field ? dynamic_cast<TAposList*>(field.Get()) : nullptr;
  TZelvar* z = Container();
  // A control without a list, or without the container that names its pages, is not edited.
  if (!list || !z) return;
  {
    std::unique_ptr<TShowDialog> dialog(New<TShowDialog>(nullptr));
    for (const TAposRec& rec : list->Records()) dialog->FEditList->AddAPos(rec);
    dialog->ShowGrid->SetRowCount(list->Count());
    dialog->FPageNames = z->PageNames();
    if (dialog->ShowModal() == mrOk)
      for (int32_t i = 0; i < list->RecordCount() && i < dialog->FEditList->RecordCount(); ++i)
        list->Record(i) = dialog->FEditList->Record(i);
  }
  Finish(z);
}

void TLayoutProperty::Edit() {
  TZelvar* z = As<TZelvar>(GetComponent(0));
  auto* list = As<TIntegerList>(GetObjValue());
  {
    std::unique_ptr<TLayoutDialog> dialog(New<TLayoutDialog>(nullptr));
    dialog->LayoutGrid->SetRowCount(list->Count());
    for (int32_t v : list->Items()) dialog->FEditList->Add(v);
    if (dialog->ShowModal() == mrOk) {
      list->Clear();
      for (int32_t v : dialog->FEditList->Items()) list->Add(v);
    }
  }
  Finish(z);
}

void TWayListProperty::Edit() {
  TZelvar* z = As<TZelvar>(GetComponent(0));
  TPageList& way = *z->WayList();
  {
    std::unique_ptr<TWayListForm> dialog(New<TWayListForm>(nullptr));
    TStrings& gotos = *dialog->GotoBox->Items();
    TStrings& pages = *dialog->PageBox->Items();
    gotos.Clear();
    pages.Clear();
    for (const char* g : {"Next", "Finish", "Ask", "Dialog"}) gotos.Add(g);
    pages.AddStrings(*z->PageNames());
    dialog->FContainer = z;
    TPageList& edit = *dialog->FEditList;
    if (way.EntryCount() > 0) {
      edit.Clear();
      edit.SetCount(0);
      for (const TPageRec& rec : way.Entries()) edit.AddPage(rec);
    } else {
      edit.AddPage({1, gpNext});
    }
    dialog->WayListGrid->SetRowCount(edit.Count() + 1);
    for (int32_t k = 1; k <= edit.Count(); ++k) gotos.Add("Goto " + std::to_string(k));
    if (dialog->ShowModal() == mrOk) {
      way.Clear();
      way.SetCount(0);
      for (const TPageRec& rec : edit.Entries()) way.AddPage(rec);
    }
  }
  Finish(z);
}

void TNumPagesProperty::SetValue(const std::string& value) {
  // Text that is no count, and whatever the setter refuses, leave the count as it was.
  try {
    int32_t n = StrToInt(value);
    int32_t current = StrToInt(GetValue());
    if (current > n && MessageDlg(kReducePagesQuestion, mtWarning, {mbYes, mbCancel}, 0) != mrYes)
      return;
    TIntegerProperty::SetValue(value);
  } catch (const Exception&) {
  }
}

}  // namespace zelvar

#include "design/ZelvarP.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

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

void TListPropertyEditor::EditThenFinish(TZelvar* container,
                                         const std::function<void()>& edit) const {
  std::exception_ptr failure;
  try {
    edit();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    if (container) container->zelvarupdate();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  Modified();
  if (failure) std::rethrow_exception(failure);
}

namespace {

// The way list after the pages were renumbered: newNumber[p] is the new number of old page p,
// or -1 for a page deleted. A step whose page is gone (now, or already before this edit) is
// removed, and the others take their page's new number. A jump to a position follows its step;
// a jump to a removed step becomes a plain Next. Returns the new position of each old one
// (index = old position), 0 for a step removed.
std::vector<int32_t> RenumberWayList(TPageList& way, const std::vector<int32_t>& newNumber) {
  const int32_t count = way.EntryCount();
  std::vector<TPageRec> kept;
  std::vector<int32_t> position(static_cast<size_t>(count) + 1, 0);
  for (int32_t k = 1; k <= count; ++k) {
    TPageRec rec = way.Entry(k - 1);
    const bool known = rec.Number >= 0 && rec.Number < static_cast<int32_t>(newNumber.size());
    const int32_t number = known ? newNumber[static_cast<size_t>(rec.Number)] : -1;
    if (number < 0) continue;
    rec.Number = number;
    kept.push_back(rec);
    position[static_cast<size_t>(k)] = static_cast<int32_t>(kept.size());
  }
  // Jumps past the end of the list led nowhere before and are left so.
  for (TPageRec& rec : kept) {
    if (rec.GotoPage < 1 || rec.GotoPage > count) continue;
    const int32_t to = position[static_cast<size_t>(rec.GotoPage)];
    rec.GotoPage = to > 0 ? to : gpNext;
  }
  way.Clear();
  way.SetCount(0);
  for (const TPageRec& rec : kept) way.AddPage(rec);
  return position;
}

// Where the container goes from an old position: its step's new one; for a removed step the
// next step kept after it, else the last step, else the dialog page.
int32_t FollowPosition(const std::vector<int32_t>& position, int32_t old) {
  for (size_t k = static_cast<size_t>(old); k < position.size(); ++k)
    if (position[k] > 0) return position[k];
  for (size_t k = position.size(); k-- > 1;)
    if (position[k] > 0) return position[k];
  return 0;
}

}  // namespace

void TPageNameProperty::Edit() {
  TZelvar* z = As<TZelvar>(GetComponent(0));
  EditThenFinish(z, [&] {
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
    if (dialog->ShowModal() != mrOk) return;
    const int32_t n = grid.RowCount() - 2;
    if (n > z->NumPages()) z->SetNumPages(n);
    // A list with fewer lines than pages (made by hand, or assigned) grows to hold every name
    // the dialog showed.
    while (names.Count() < n + 1) names.Add("");
    for (int32_t i = 0; i <= n; ++i) names.Put(i, grid.Cells(1, i + 1));
    // The number column holds each page's old number, so every control's places and the way
    // list follow their pages through the moves, insertions and deletions made in the dialog.
    std::vector<int32_t> identity;
    std::vector<int32_t> newNumber(static_cast<size_t>(pages) + 1, -1);
    for (int32_t i = 0; i <= n; ++i) {
      const int32_t old = StrToIntDef(grid.Cells(0, i + 1), -1);
      identity.push_back(old);
      if (old >= 0 && old <= pages) newNumber[static_cast<size_t>(old)] = i;
    }
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
    const std::vector<int32_t> position = RenumberWayList(*z->WayList(), newNumber);
    // With the way list the container stands on a position: it follows its step.
    if (z->WayListEnabled() && z->Page() > 0 && z->Page() < static_cast<int32_t>(position.size()))
      z->setPage(FollowPosition(position, z->Page()));
    if (n < z->NumPages()) z->SetNumPages(n);
  });
}

void TShowProperty::Edit() {
  TPersistent* c = GetComponent(0);
  auto* object = dynamic_cast<TObject*>(c);
  TFieldRef field = object ? object->FieldAddress("FAposList") : TFieldRef();
  auto* list = field ? dynamic_cast<TAposList*>(field.Get()) : nullptr;
  TZelvar* z = Container();
  // A control without a list, or without the container that names its pages, is not edited.
  if (!list || !z) return;
  EditThenFinish(z, [&] {
    std::unique_ptr<TShowDialog> dialog(New<TShowDialog>(nullptr));
    for (const TAposRec& rec : list->Records()) dialog->FEditList->AddAPos(rec);
    dialog->ShowGrid->SetRowCount(list->RecordCount());
    dialog->FPageNames = z->PageNames();
    if (dialog->ShowModal() == mrOk)
      for (int32_t i = 0; i < list->RecordCount() && i < dialog->FEditList->RecordCount(); ++i)
        list->Record(i) = dialog->FEditList->Record(i);
  });
}

void TLayoutProperty::Edit() {
  TZelvar* z = As<TZelvar>(GetComponent(0));
  auto* list = As<TIntegerList>(GetObjValue());
  EditThenFinish(z, [&] {
    std::unique_ptr<TLayoutDialog> dialog(New<TLayoutDialog>(nullptr));
    for (int32_t v : list->Items()) dialog->FEditList->Add(v);
    dialog->LayoutGrid->SetRowCount(dialog->FEditList->ItemCount());
    if (dialog->ShowModal() == mrOk) {
      list->Clear();
      for (int32_t v : dialog->FEditList->Items()) list->Add(v);
    }
  });
}

void TWayListProperty::Edit() {
  TZelvar* z = As<TZelvar>(GetComponent(0));
  TPageList& way = *z->WayList();
  EditThenFinish(z, [&] {
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
  });
}

std::string TPageSetProperty::GetValue() const {
  const auto* list = dynamic_cast<TIntegerList*>(GetObjValue());
  if (!list) return "";
  std::string text;
  for (int i = 0, n = std::min(list->Count(), list->ItemCount()); i < n; ++i)
    text += (i ? ", " : "") + IntToStr(list->GetInteger(i));
  return text;
}

void TPageSetProperty::SetValue(const std::string& value) {
  auto* list = dynamic_cast<TIntegerList*>(GetObjValue());
  auto* zelvar = dynamic_cast<TZelvar*>(GetComponent(0));
  if (!list || !zelvar) return;
  std::vector<int32_t> pages;
  std::string word;
  // Commas or blanks part the numbers; the pages are kept sorted, each once.
  auto take = [&] {
    if (word.empty()) return;
    int32_t page = 0;
    if (!TryStrToInt(word, page))
      throw EPropertyError(Prop().Name + ": '" + word + "' is not a page number");
    if (page < 1 || page > zelvar->NumPages())
      throw EPropertyError(Prop().Name + ": page " + IntToStr(page) +
                           " does not exist (the pages are 1 to " + IntToStr(zelvar->NumPages()) +
                           ")");
    if (std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
    word.clear();
  };
  for (char c : value) {
    if (c == ',' || c == ' ' || c == '\t')
      take();
    else
      word += c;
  }
  take();
  std::sort(pages.begin(), pages.end());
  list->Clear();
  for (int32_t p : pages) list->Add(p);
  zelvar->zelvarupdate();
  Modified();
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

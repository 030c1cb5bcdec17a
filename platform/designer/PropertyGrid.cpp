#include "platform/designer/PropertyGrid.h"

// In this file, in order: the in-place editors and the set-flag editor; rows (building,
// values, paths); selection and reloading; editing the current row; geometry; input; painting.

#include <algorithm>

#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TabPaint.h"
#include "platform/core/Exceptions.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/Text.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Dialogs.h"

namespace zelvar {

// =============================================================================================
// The in-place editors

namespace {

// What both in-place editors hand to the property grid: Enter applies, Escape reverts, Up and
// Down move to another row (applying first).
bool GridKey(TPropertyGrid& grid, uint16_t& key, bool listOpen) {
  switch (key) {
    case VK_RETURN:
      grid.ApplyEdit();
      break;
    case VK_ESCAPE:
      grid.RevertEdit();
      break;
    case VK_UP:
    case VK_DOWN:
      if (listOpen) return false;
      if (grid.ApplyEdit()) grid.SetCurrentRow(grid.CurrentRow() + (key == VK_UP ? -1 : 1));
      break;
    default:
      return false;
  }
  key = 0;
  return true;
}

}  // namespace

class TGridEdit : public TEdit {
 public:
  explicit TGridEdit(TPropertyGrid* grid) : TEdit(grid), FGrid(*grid) {}
  int32_t WMGetDlgCode() override { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void KeyDown(uint16_t& key, TShiftState shift) override {
    if (!GridKey(FGrid, key, false)) TEdit::KeyDown(key, shift);
  }
  void KeyPress(char32_t& key) override {
    if (key == '\r' || key == 27) return;  // handled with their key down
    TEdit::KeyPress(key);
  }

 private:
  TPropertyGrid& FGrid;
};

// A drop-down whose field takes typing (a colour by name or $00BBGGRR): typed text waits for
// Enter, a picked item applies at once.
class TGridCombo : public TComboBox {
 public:
  explicit TGridCombo(TPropertyGrid* grid) : TComboBox(grid), FGrid(*grid) {
    IncludeStyle(csDoubleClicks);
  }
  int32_t WMGetDlgCode() override { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void KeyDown(uint16_t& key, TShiftState shift) override {
    // Ctrl+A takes the whole value, as entering the field does: typing then replaces it.
    if (key == 'A' && shift.Contains(ssCtrl)) {
      FReplace = true;
      key = 0;
      return;
    }
    bool open = DroppedDown();
    if (key == VK_RETURN && open) {
      TComboBox::KeyDown(key, shift);  // closes the list
      key = VK_RETURN;
    }
    if (!GridKey(FGrid, key, open)) TComboBox::KeyDown(key, shift);
  }
  void WMSetFocus() override {
    TComboBox::WMSetFocus();
    FReplace = true;
  }
  void KeyPress(char32_t& key) override {
    std::string text = FReplace ? std::string() : Text();
    FReplace = false;
    if (key == VK_BACK) {
      if (!text.empty()) text.erase(PrevCharBoundary(text, text.size()));
    } else if (key >= 32 && key != 127) {
      AppendUtf8(text, key);
    } else {
      return;
    }
    SetText(text);
  }
  void DblClick() override { FGrid.CycleValue(); }

 protected:
  void Change() override {
    TComboBox::Change();
    if (!FFilling) FGrid.ApplyEdit();
  }

 public:
  // Set while the property grid fills the list, so that no value is applied then.
  bool FFilling = false;

 private:
  TPropertyGrid& FGrid;
  bool FReplace = false;  // the next character typed replaces the value
};

namespace {

// One flag of a set: True or False, written back into the set on every selected object.
class TSetElementProperty : public TPropertyEditor {
 public:
  TSetElementProperty(IDesigner* designer, std::vector<TPersistent*> components,
                      const TPropInfo& prop, int bit)
      : TPropertyEditor(designer, std::move(components), prop), FBit(bit) {}
  TPropertyAttributes GetAttributes() const override { return {paMultiSelect, paValueList}; }
  std::string GetValue() const override { return (GetOrdValue() >> FBit) & 1 ? "True" : "False"; }
  void SetValue(const std::string& value) override {
    bool on = SameText(value, "True");
    if (!on && !SameText(value, "False"))
      throw EConvertError("'" + value + "' is not a valid boolean value");
    if (!Prop().SetOrd) throw EPropertyError("Property " + Prop().Name + " is read-only");
    for (int i = 0; i < ComponentCount(); ++i) {
      TPersistent* c = GetComponent(i);
      int64_t bits = Prop().GetOrd(c);
      Prop().SetOrd(c, on ? bits | (int64_t{1} << FBit) : bits & ~(int64_t{1} << FBit));
    }
    Modified();
  }
  std::vector<std::string> GetValues() const override { return {"False", "True"}; }

 private:
  int FBit;
};

std::vector<TPersistent*> ComponentsOf(const TPropertyEditor& editor) {
  std::vector<TPersistent*> list;
  for (int i = 0; i < editor.ComponentCount(); ++i) list.push_back(editor.GetComponent(i));
  return list;
}

// Expanded rows are remembered by path, whatever case a script spells it in.
std::string UpperPath(const std::string& path) {
  return UpperCase(path);
}

}  // namespace

// =============================================================================================
// Rows

struct TPropertyGrid::TRow {
  std::unique_ptr<TPropertyEditor> Editor;
  std::string Name, Path, Value;
  TRow* Parent = nullptr;
  int Level = 0;
  TPropertyAttributes Attrs;
  bool Expandable = false;
  bool Expanded = false;
  bool ChildrenBuilt = false;
  std::vector<std::unique_ptr<TRow>> Children;
};

const TClassInfo& TPropertyGrid::StaticClassInfo() {
  static const auto info = TClassBuilder<TPropertyGrid>("TPropertyGrid").Build();
  return *info;
}

TPropertyGrid::TPropertyGrid(TComponent* owner) : TCustomControl(owner), FVert(*this, sbVertical) {
  SetTabStop(true);
  SetColor(clBtnFace);
  IncludeStyle(csDoubleClicks);
  FVert.OnScroll = [this](TScrollCode, int32_t& pos) {
    FTop = pos;
    PlaceEditor();
    Invalidate();
  };
  FEdit = New<TGridEdit>(this);
  FEdit->SetVisible(false);
  FEdit->SetParent(this);
  FCombo = New<TGridCombo>(this);
  FCombo->SetVisible(false);
  FCombo->SetParent(this);
  FEllipsis = New<TButton>(this);
  FEllipsis->SetCaption("...");
  FEllipsis->SetVisible(false);
  FEllipsis->SetParent(this);
  FEllipsis->OnClick = [this](TObject*) { EditDialog(); };
  MeasureFont();
}

TPropertyGrid::~TPropertyGrid() = default;

void TPropertyGrid::MeasureFont() {
  TCanvas& c = *Canvas();
  c.Font()->Assign(Font());
  FRowHeight = std::max(c.TextHeight("0"), 1) + kRowPadding;
}

// The editors of every published property the selection shares, for one tab.
void TPropertyGrid::Rebuild() {
  if (FEditDepth > 0) {
    FRebuildPending = true;
    return;
  }
  FRebuildPending = false;
  std::string current = FCurrent >= 0 ? FShown[static_cast<size_t>(FCurrent)]->Path : "";
  FShown.clear();
  FRows.clear();
  FCurrent = -1;
  std::vector<std::unique_ptr<TPropertyEditor>> editors;
  if (!FSelection.empty()) {
    // Several objects share a property when their nearest common class has it: its record's
    // accessors then fit every one of them.
    const TClassInfo* common = &FSelection.front()->ClassInfo();
    for (TPersistent* p : FSelection)
      while (common && !p->ClassInfo().InheritsFrom(*common)) common = common->Parent;
    const bool multi = FSelection.size() > 1;
    for (const TPropInfo* first : FSelection.front()->ClassInfo().PublishedProps()) {
      if ((first->Kind == TPropKind::Method) != FShowEvents) continue;
      const TPropInfo* prop = first;
      if (multi) {
        prop = common ? common->FindProp(first->Name) : nullptr;
        bool shared = prop && prop->Kind == first->Kind;
        for (TPersistent* p : FSelection) {
          const TPropInfo* own = p->ClassInfo().FindProp(first->Name);
          shared = shared && own && own->Published;
        }
        if (!shared) continue;
      }
      auto editor = GetPropertyEditor(FDesigner, FSelection, *prop);
      if (multi && !editor->GetAttributes().Contains(paMultiSelect)) continue;
      editors.push_back(std::move(editor));
    }
  }
  AddRows(FRows, nullptr, std::move(editors));
  Flatten();
  if (TRow* row = current.empty() ? nullptr : FindRow(current)) {
    auto it = std::find(FShown.begin(), FShown.end(), row);
    if (it != FShown.end()) FCurrent = static_cast<int>(it - FShown.begin());
  }
  if (FCurrent < 0 && !FShown.empty()) FCurrent = 0;
  UpdateScrollBar();
  PlaceEditor();
  Invalidate();
}

void TPropertyGrid::AddRows(std::vector<std::unique_ptr<TRow>>& into, TRow* parent,
                            std::vector<std::unique_ptr<TPropertyEditor>> editors,
                            const std::vector<std::string>& names) {
  for (size_t i = 0; i < editors.size(); ++i) {
    auto& editor = editors[i];
    auto row = std::make_unique<TRow>();
    row->Name = i < names.size() ? names[i] : editor->Prop().Name;
    row->Path = parent ? parent->Path + "." + row->Name : row->Name;
    row->Parent = parent;
    row->Level = parent ? parent->Level + 1 : 0;
    row->Attrs = editor->GetAttributes();
    row->Expandable = row->Attrs.Contains(paSubProperties) ||
                      (editor->Prop().Kind == TPropKind::Set && editor->Prop().EnumType);
    row->Editor = std::move(editor);
    ReadValues(*row);
    row->Expanded = row->Expandable && FExpanded.contains(UpperPath(row->Path));
    if (row->Expanded) BuildChildren(*row);
    into.push_back(std::move(row));
  }
  // Properties by name; set flags keep their enumeration's order.
  if (names.empty())
    std::stable_sort(into.begin(), into.end(), [](const auto& a, const auto& b) {
      return CompareText(a->Name, b->Name) < 0;
    });
}

void TPropertyGrid::BuildChildren(TRow& row) {
  if (row.ChildrenBuilt) return;
  row.ChildrenBuilt = true;
  std::vector<std::unique_ptr<TPropertyEditor>> editors;
  std::vector<std::string> flags;
  try {
    const TPropInfo& prop = row.Editor->Prop();
    if (row.Attrs.Contains(paSubProperties)) {
      editors = row.Editor->GetProperties();
    } else if (prop.Kind == TPropKind::Set && prop.EnumType) {
      for (int bit = 0; bit < prop.EnumType->Count(); ++bit) {
        editors.push_back(
            std::make_unique<TSetElementProperty>(FDesigner, ComponentsOf(*row.Editor), prop, bit));
        flags.push_back(prop.EnumType->NameOf(bit));
      }
    }
  } catch (const Exception&) {
    editors.clear();  // a nested object that cannot be read shows no rows
    flags.clear();
  }
  AddRows(row.Children, &row, std::move(editors), flags);
}

void TPropertyGrid::ReadValues(TRow& row) {
  try {
    row.Value = row.Editor->GetValue();
  } catch (const Exception& e) {
    row.Value = "(" + e.Message() + ")";
  }
  for (auto& child : row.Children) ReadValues(*child);
}

void TPropertyGrid::Flatten() {
  FShown.clear();
  std::function<void(const std::vector<std::unique_ptr<TRow>>&)> walk = [&](const auto& rows) {
    for (const auto& row : rows) {
      FShown.push_back(row.get());
      if (row->Expanded) walk(row->Children);
    }
  };
  walk(FRows);
}

TPropertyGrid::TRow* TPropertyGrid::FindRow(const std::string& path) {
  std::vector<std::unique_ptr<TRow>>* level = &FRows;
  TRow* found = nullptr;
  size_t start = 0;
  while (start <= path.size()) {
    size_t dot = path.find('.', start);
    std::string_view step = std::string_view(path).substr(
        start, dot == std::string::npos ? std::string::npos : dot - start);
    auto it = std::find_if(level->begin(), level->end(),
                           [&](const auto& r) { return SameText(r->Name, step); });
    if (it == level->end()) return nullptr;
    found = it->get();
    if (dot == std::string::npos) return found;
    if (!found->Expandable) return nullptr;
    BuildChildren(*found);
    level = &found->Children;
    start = dot + 1;
  }
  return found;
}

const std::string& TPropertyGrid::RowPath(int index) const {
  if (index < 0 || index >= RowCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FShown[static_cast<size_t>(index)]->Path;
}
const std::string& TPropertyGrid::RowName(int index) const {
  RowPath(index);
  return FShown[static_cast<size_t>(index)]->Name;
}
const std::string& TPropertyGrid::RowValue(int index) const {
  RowPath(index);
  return FShown[static_cast<size_t>(index)]->Value;
}
int TPropertyGrid::RowLevel(int index) const {
  RowPath(index);
  return FShown[static_cast<size_t>(index)]->Level;
}
bool TPropertyGrid::RowExpandable(int index) const {
  RowPath(index);
  return FShown[static_cast<size_t>(index)]->Expandable;
}
bool TPropertyGrid::RowExpanded(int index) const {
  RowPath(index);
  return FShown[static_cast<size_t>(index)]->Expanded;
}

bool TPropertyGrid::SetExpanded(const std::string& path, bool expanded) {
  TRow* row = FindRow(path);
  if (!row || !row->Expandable) return false;
  // What leads to a row opens with it, or it would not show.
  for (TRow* r = expanded ? row : nullptr; r; r = r->Parent) {
    r->Expanded = true;
    BuildChildren(*r);
    FExpanded.insert(UpperPath(r->Path));
  }
  if (!expanded) {
    row->Expanded = false;
    FExpanded.erase(UpperPath(row->Path));
  }
  TRow* current = FCurrent >= 0 ? FShown[static_cast<size_t>(FCurrent)] : nullptr;
  Flatten();
  // A collapsed row takes over from a current row it hid.
  FCurrent = -1;
  for (TRow* r = current; r && FCurrent < 0; r = r->Parent) {
    auto it = std::find(FShown.begin(), FShown.end(), r);
    if (it != FShown.end()) FCurrent = static_cast<int>(it - FShown.begin());
  }
  UpdateScrollBar();
  PlaceEditor();
  Invalidate();
  return true;
}

void TPropertyGrid::Toggle(int index) {
  if (index < 0 || index >= RowCount()) return;
  TRow& row = *FShown[static_cast<size_t>(index)];
  if (row.Expandable) SetExpanded(row.Path, !row.Expanded);
}

// =============================================================================================
// Selection and reloading

void TPropertyGrid::SetDesigner(IDesigner* designer) {
  FDesigner = designer;
  Rebuild();
}

void TPropertyGrid::SetSelection(const std::vector<TPersistent*>& selection) {
  for (TPersistent* p : FSelection)
    if (auto* c = dynamic_cast<TComponent*>(p)) RemoveFreeNotification(c);
  FSelection.clear();
  for (TPersistent* p : selection) {
    if (!p || std::find(FSelection.begin(), FSelection.end(), p) != FSelection.end()) continue;
    FSelection.push_back(p);
    if (auto* c = dynamic_cast<TComponent*>(p)) FreeNotification(c);
  }
  FTop = 0;
  Rebuild();
}

void TPropertyGrid::Reload() {
  Rebuild();
}

void TPropertyGrid::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FEdit) FEdit = nullptr;
  if (component == FCombo) FCombo = nullptr;
  if (component == FEllipsis) FEllipsis = nullptr;
  auto it = std::find(FSelection.begin(), FSelection.end(), static_cast<TPersistent*>(component));
  if (it == FSelection.end()) return;
  FSelection.erase(it);
  // The rows hold editors of the freed component: none may be used again.
  if (FEditDepth == 0) {
    Rebuild();
  } else {
    FRebuildPending = true;
  }
}

void TPropertyGrid::ShowEvents(bool events) {
  if (events == FShowEvents) return;
  ApplyEdit();
  FShowEvents = events;
  FCurrent = -1;
  FTop = 0;
  Rebuild();
}

bool TPropertyGrid::SelectRow(const std::string& path) {
  if (FSelection.empty() || path.empty()) return false;
  // The first step says which tab: events live on their own.
  std::string first = path.substr(0, path.find('.'));
  bool event = false;
  const TClassInfo& cls = FSelection.front()->ClassInfo();
  if (const TPropInfo* p = cls.FindProp(first)) event = p->Kind == TPropKind::Method;
  if (event != FShowEvents) ShowEvents(event);
  TRow* row = FindRow(path);
  if (!row) return false;
  if (row->Parent) SetExpanded(row->Parent->Path, true);
  auto it = std::find(FShown.begin(), FShown.end(), row);
  if (it == FShown.end()) return false;
  SetCurrentRow(static_cast<int>(it - FShown.begin()));
  return FCurrent == static_cast<int>(it - FShown.begin());
}

void TPropertyGrid::SetCurrentRow(int index) {
  if (FShown.empty()) return;
  index = std::clamp(index, 0, RowCount() - 1);
  if (index == FCurrent) return;
  FCurrent = index;
  ScrollInView(index);
  PlaceEditor();
  Invalidate();
}

void TPropertyGrid::MoveCurrent(int index) {
  if (ApplyEdit()) SetCurrentRow(index);
}

// =============================================================================================
// Editing the current row

TWinControl* TPropertyGrid::ValueEdit() const {
  if (FCombo && FCombo->Visible()) return FCombo;
  if (FEdit && FEdit->Visible()) return FEdit;
  return nullptr;
}

TControl* TPropertyGrid::EllipsisButton() const {
  return FEllipsis && FEllipsis->Visible() ? FEllipsis : nullptr;
}

std::string TPropertyGrid::EditorText() const {
  if (FCombo && FCombo->Visible()) return FCombo->Text();
  if (FEdit && FEdit->Visible()) return FEdit->Text();
  return {};
}

bool TPropertyGrid::RunEdit(const std::function<void()>& step) {
  std::string error;
  {
    TRestore<int> depth(FEditDepth, FEditDepth + 1);
    try {
      step();
    } catch (const Exception& e) {
      error = e.Message().empty() ? std::string("Invalid property value") : e.Message();
    }
  }
  // Every value may have changed (a flag changes its set, a page count its pages): read all.
  if (FEditDepth == 0) Rebuild();
  if (!error.empty()) {
    MessageDlg(error, mtError, {mbOK});
    RevertEdit();
    return false;
  }
  return true;
}

bool TPropertyGrid::ApplyEdit() {
  if (FCurrent < 0 || !ValueEdit()) return true;
  TRow& row = *FShown[static_cast<size_t>(FCurrent)];
  std::string text = EditorText();
  if (text == row.Value || row.Attrs.Contains(paReadOnly)) return true;
  TPropertyEditor* editor = row.Editor.get();
  return RunEdit([editor, text] { editor->SetValue(text); });
}

void TPropertyGrid::RevertEdit() {
  PlaceEditor();
}

void TPropertyGrid::CycleValue() {
  if (FCurrent < 0) return;
  TRow& row = *FShown[static_cast<size_t>(FCurrent)];
  if (row.Attrs.Contains(paReadOnly)) return;
  std::vector<std::string> values = row.Editor->GetValues();
  if (values.empty()) return;
  auto it = std::find_if(values.begin(), values.end(),
                         [&](const std::string& v) { return SameText(v, row.Value); });
  const std::string& next =
      it == values.end() || it + 1 == values.end() ? values.front() : *(it + 1);
  TPropertyEditor* editor = row.Editor.get();
  RunEdit([editor, next] { editor->SetValue(next); });
}

void TPropertyGrid::EditDialog() {
  if (FCurrent < 0) return;
  TRow& row = *FShown[static_cast<size_t>(FCurrent)];
  if (!row.Attrs.Contains(paDialog)) return;
  TPropertyEditor* editor = row.Editor.get();
  RunEdit([editor] { editor->Edit(); });
}

// Shows the current row's controls over its value: a drop-down when the editor offers
// values, an edit otherwise, and the ellipsis for a dialog. Also what Escape does: the
// controls show the row's value again.
void TPropertyGrid::PlaceEditor() {
  if (!FEdit || !FCombo || !FEllipsis) return;
  TRect r = FCurrent >= 0 ? RowRect(FCurrent) : TRect{};
  if (r.Empty()) {
    FEdit->SetVisible(false);
    FCombo->SetVisible(false);
    FEllipsis->SetVisible(false);
    return;
  }
  TRow& row = *FShown[static_cast<size_t>(FCurrent)];
  std::vector<std::string> values;
  try {
    values = row.Editor->GetValues();
  } catch (const Exception&) {
    values.clear();
  }
  const bool dialog = row.Attrs.Contains(paDialog);
  const bool list = !values.empty() && !row.Attrs.Contains(paReadOnly);
  TRect cell{FSplitter + 1, r.Top, r.Right, r.Bottom - 1};
  if (dialog) {
    FEllipsis->SetBounds(cell.Right - FRowHeight, cell.Top, FRowHeight, cell.Height());
    cell.Right -= FRowHeight;
  }
  FEllipsis->SetVisible(dialog);
  if (list) {
    TRestore<bool> filling(FCombo->FFilling, true);
    TStringList items;
    for (const std::string& v : values) items.Add(v);
    FCombo->SetItems(&items);
    FCombo->SetText(row.Value);
    FCombo->SetDroppedDown(false);
    FCombo->SetBounds(cell.Left, cell.Top, cell.Width(), cell.Height());
  } else {
    FEdit->SetText(row.Value);
    FEdit->SetReadOnly(row.Attrs.Contains(paReadOnly) || row.Attrs.Contains(paSubProperties));
    FEdit->SetBounds(cell.Left, cell.Top, cell.Width(), cell.Height());
    FEdit->SelectAll();
  }
  FCombo->SetVisible(list);
  FEdit->SetVisible(!list);
}

// =============================================================================================
// Geometry

TTabLayout TPropertyGrid::Tabs() const {
  TCanvas& c = *const_cast<TPropertyGrid*>(this)->Canvas();
  const int32_t widths[] = {c.TextWidth("Properties"), c.TextWidth("Events")};
  TTabStyle style;
  style.Left = 2;
  style.Top = 2;
  style.RowHeight = FRowHeight + 2;
  style.Padding = 12;
  style.Room = std::max(Width() - 4, 1);
  const int32_t rows[] = {2};
  return PlaceTabs(widths, rows, FShowEvents ? 1 : 0, style);
}

TRect TPropertyGrid::TabRect(bool events) const {
  return Tabs().Tabs[events ? 1 : 0].Bounds;
}

TRect TPropertyGrid::GridRect() const {
  TRect client = GetClientRect();
  client.Top = std::min(client.Bottom, 2 + FRowHeight + 4);
  return PlaceScrollBars(client, false, FVert.Info().CanScroll()).Client;
}

TRect TPropertyGrid::RowRect(int index) const {
  TRect grid = GridRect();
  if (index < FTop || index >= RowCount()) return {};
  int64_t top = grid.Top + int64_t{index - FTop} * FRowHeight;
  if (top >= grid.Bottom) return {};
  return {grid.Left, static_cast<int32_t>(top), grid.Right,
          static_cast<int32_t>(std::min<int64_t>(top + FRowHeight, grid.Bottom))};
}

int TPropertyGrid::RowAt(int32_t y) const {
  TRect grid = GridRect();
  if (y < grid.Top || y >= grid.Bottom) return -1;
  int index = FTop + (y - grid.Top) / FRowHeight;
  return index < RowCount() ? index : -1;
}

void TPropertyGrid::SetSplitterPos(int32_t x) {
  TRect grid = GridRect();
  FSplitter = std::clamp(x, kMinColumn, std::max(kMinColumn, grid.Right - kMinColumn));
  FSplitterSet = true;
  PlaceEditor();
  Invalidate();
}

void TPropertyGrid::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TCustomControl::SetBounds(left, top, width, height);
  MeasureFont();
  if (!FSplitterSet) FSplitter = std::max(kMinColumn, width * 9 / 20);
  UpdateScrollBar();
  PlaceEditor();
}

void TPropertyGrid::UpdateScrollBar() {
  TRect client = GetClientRect();
  client.Top = std::min(client.Bottom, 2 + FRowHeight + 4);
  const int32_t page = std::max(client.Height() / FRowHeight, 1);
  FVert.SetParams(0, std::max(RowCount() - 1, 0), page);
  FVert.SetLargeChange(page);
  FVert.SetBounds(PlaceScrollBars(client, false, FVert.Info().CanScroll()).Vert);
  FTop = std::clamp(FTop, 0, std::max(FVert.Info().MaxPosition(), 0));
  FVert.SetPosition(FTop);
}

void TPropertyGrid::ScrollInView(int index) {
  const int32_t page = std::max(GridRect().Height() / FRowHeight, 1);
  if (index < FTop) FTop = index;
  if (index >= FTop + page) FTop = index - page + 1;
  UpdateScrollBar();
}

// =============================================================================================
// Input

void TPropertyGrid::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  if (ScrollBarsMouseDown({&FVert}, x, y)) return;
  TTabLayout tabs = Tabs();
  int tab = -1;
  for (int i = 0; i < 2; ++i)
    if (tabs.Tabs[static_cast<size_t>(i)].Bounds.Contains(x, y)) tab = i;
  if (tab >= 0) {
    ShowEvents(tab == 1);
    return;
  }
  if (!Focused() && CanFocus()) SetFocus();
  TRect grid = GridRect();
  if (std::abs(x - FSplitter) <= 2 && y >= grid.Top) {
    FDragging = true;
    return;
  }
  int index = RowAt(y);
  if (index < 0 || shift.Contains(ssDouble)) return;
  if (!ApplyEdit()) return;
  SetCurrentRow(index);
  if (FCurrent != index) return;
  TRow& row = *FShown[static_cast<size_t>(index)];
  if (row.Expandable && x < (row.Level + 1) * kIndent) Toggle(index);
  // A press on the value goes on into its editor.
  TWinControl* edit = ValueEdit();
  if (x > FSplitter && edit && edit->CanFocus()) edit->SetFocus();
}

void TPropertyGrid::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseMove(shift, x, y);
  if (ScrollBarsMouseMove({&FVert}, x, y)) return;
  if (FDragging) SetSplitterPos(x);
  SetCursor(FDragging || (std::abs(x - FSplitter) <= 2 && y >= GridRect().Top) ? crSizeWE
                                                                               : crDefault);
}

void TPropertyGrid::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (ScrollBarsMouseUp({&FVert}, x, y)) return;
  FDragging = false;
}

// A double click on a name opens or closes a nested row, or steps a drop-down value, or
// opens the dialog: the classic grid's shortcut to the obvious edit.
void TPropertyGrid::DblClick() {
  TCustomControl::DblClick();
  if (FCurrent < 0) return;
  TRow& row = *FShown[static_cast<size_t>(FCurrent)];
  if (row.Expandable)
    Toggle(FCurrent);
  else if (row.Attrs.Contains(paDialog))
    EditDialog();
  else
    CycleValue();
}

void TPropertyGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const int page = std::max(GridRect().Height() / FRowHeight, 1);
  switch (key) {
    case VK_UP:
      MoveCurrent(FCurrent - 1);
      break;
    case VK_DOWN:
      MoveCurrent(FCurrent + 1);
      break;
    case VK_PRIOR:
      MoveCurrent(FCurrent - page);
      break;
    case VK_NEXT:
      MoveCurrent(FCurrent + page);
      break;
    case VK_HOME:
      MoveCurrent(0);
      break;
    case VK_END:
      MoveCurrent(RowCount() - 1);
      break;
    case VK_RIGHT:
    case VK_LEFT:
      if (FCurrent >= 0) SetExpanded(FShown[static_cast<size_t>(FCurrent)]->Path, key == VK_RIGHT);
      break;
    case VK_TAB:
      if (TWinControl* edit = ValueEdit(); edit && edit->CanFocus()) edit->SetFocus();
      break;
    case VK_RETURN:
      if (FCurrent >= 0 && FShown[static_cast<size_t>(FCurrent)]->Expandable) Toggle(FCurrent);
      break;
    default:
      return;
  }
  key = 0;
}

void TPropertyGrid::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if ((key == '+' || key == '-') && FCurrent >= 0) {
    SetExpanded(FShown[static_cast<size_t>(FCurrent)]->Path, key == '+');
    key = 0;
  } else if (key >= 32 && key != 127) {
    // Typing on a row starts editing its value afresh, as in the classic grid.
    TWinControl* edit = ValueEdit();
    if (!edit || !edit->CanFocus()) return;
    edit->SetFocus();
    if (edit == FEdit) FEdit->SelectAll();
    if (edit == FCombo) FCombo->SetText({});
    edit->KeyPress(key);
    key = 0;
  }
}

bool TPropertyGrid::DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  int32_t notches = WheelNotches(FWheelRest, wheelDelta);
  if (notches != 0) FVert.ScrollTo(scPosition, FTop - notches * kWheelScrollLines);
  return true;
}

// =============================================================================================
// Painting

void TPropertyGrid::Paint() {
  TCanvas& c = *Canvas();
  TRect client = GetClientRect();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(client);

  // The tabs: the current one raised and joined to the grid below it.
  TTabLayout tabs = Tabs();
  const char* captions[] = {"Properties", "Events"};
  for (int i = 0; i < 2; ++i)
    if ((i == 1) != FShowEvents)
      PaintTab(c, tabs.Tabs[static_cast<size_t>(i)].Bounds, false, captions[i], Color(), clBtnText);
  PaintTab(c, tabs.Tabs[FShowEvents ? 1 : 0].Bounds, true, captions[FShowEvents ? 1 : 0], Color(),
           clBtnText);

  TRect grid = GridRect();
  c.Brush()->SetColor(clWindow);
  c.FillRect({FSplitter + 1, grid.Top, grid.Right, grid.Bottom});
  const int32_t textDy = kRowPadding / 2;
  for (int i = FTop; i < RowCount(); ++i) {
    TRect r = RowRect(i);
    if (r.Empty()) break;
    const TRow& row = *FShown[static_cast<size_t>(i)];
    const bool current = i == FCurrent;
    TRect name{r.Left, r.Top, FSplitter, r.Bottom - 1};
    c.Brush()->SetColor(current ? clHighlight : clBtnFace);
    c.FillRect(name);
    const int32_t indent = row.Level * kIndent;
    if (row.Expandable) {
      // The "+"/"-" box, centred in the indent of the row's level.
      int32_t bx = indent + 1, by = r.Top + (FRowHeight - 9) / 2;
      c.Brush()->SetColor(clWindow);
      c.FillRect({bx, by, bx + 9, by + 9});
      c.Brush()->SetColor(clBtnShadow);
      c.FrameRect({bx, by, bx + 9, by + 9});
      c.Pen()->SetColor(clWindowText);
      c.MoveTo(bx + 2, by + 4);
      c.LineTo(bx + 7, by + 4);
      if (!row.Expanded) {
        c.MoveTo(bx + 4, by + 2);
        c.LineTo(bx + 4, by + 7);
      }
    }
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(current ? clHighlightText : clBtnText);
    c.TextRect(name, indent + kIndent + 1, r.Top + textDy, row.Name);
    c.Font()->SetColor(row.Attrs.Contains(paReadOnly) ? clGrayText : clNavy);
    TRect value{FSplitter + 1, r.Top, r.Right, r.Bottom - 1};
    c.TextRect(value, value.Left + 2, r.Top + textDy, row.Value);
    c.Brush()->SetStyle(bsSolid);
    c.Pen()->SetColor(clBtnShadow);
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Right, r.Bottom - 1);
  }
  c.Pen()->SetColor(clBtnShadow);
  c.MoveTo(FSplitter, grid.Top);
  c.LineTo(FSplitter, grid.Bottom);
  if (FVert.Info().CanScroll()) FVert.Paint(c, EnabledInTree());
}

}  // namespace zelvar

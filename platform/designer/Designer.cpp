#include "platform/designer/Designer.h"

#include <algorithm>

#include "platform/controls/Memo.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Bitmap.h"

namespace zelvar {

// =============================================================================================
// TFormDesigner

// Takes a freed component out of the selection.
class TFormDesigner::TWatch : public TComponent {
 public:
  explicit TWatch(TFormDesigner& designer) : TComponent(nullptr), FDesigner(designer) {}
  ~TWatch() override {
    for (TComponent* c : FWatched) RemoveFreeNotification(c);
  }
  void Watch(const std::vector<TPersistent*>& selection) {
    for (TComponent* c : FWatched) RemoveFreeNotification(c);
    FWatched.clear();
    for (TPersistent* p : selection)
      if (auto* c = dynamic_cast<TComponent*>(p)) {
        FreeNotification(c);
        FWatched.push_back(c);
      }
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    std::erase(FWatched, component);
    auto& sel = FDesigner.FSelection;
    if (std::erase(sel, static_cast<TPersistent*>(component)) > 0) FDesigner.SelectionChanged();
  }

 private:
  TFormDesigner& FDesigner;
  std::vector<TComponent*> FWatched;
};

TFormDesigner::TFormDesigner(TForm& form) : FForm(form), FWatch(std::make_unique<TWatch>(*this)) {
  FForm.SetDesigning(true);
  FForm.SetDesigner(this);
  FForm.OnDesignMouse = [this](TMessage::TKind kind, TControl* target, TMouseButton button,
                               TShiftState shift, int32_t x, int32_t y) {
    try {
      DesignMouse(kind, target, button, shift, x, y);
    } catch (const Exception& e) {
      if (!OnError) throw;
      OnError(e.Message());
    }
  };
}

TFormDesigner::~TFormDesigner() {
  if (FForm.Designer() == this) {
    FForm.SetDesigner(nullptr);
    FForm.OnDesignMouse = nullptr;
  }
}

void TFormDesigner::Modified() {
  ++FModifiedCount;
  if (FChangeDepth > 0) {
    FChangedInAction = true;
    return;
  }
  if (OnModified) OnModified();
}

void TFormDesigner::EndChange() {
  if (FChangeDepth == 0) return;
  if (--FChangeDepth > 0 || !FChangedInAction) return;
  FChangedInAction = false;
  if (OnModified) OnModified();
}

void TFormDesigner::SelectComponent(TPersistent* instance) {
  SetSelection(instance && instance != &FForm ? std::vector<TPersistent*>{instance}
                                              : std::vector<TPersistent*>{});
}

void TFormDesigner::SetSelection(std::vector<TPersistent*> selection) {
  std::erase(selection, static_cast<TPersistent*>(&FForm));
  std::erase(selection, nullptr);
  if (selection == FSelection) return;
  FSelection = std::move(selection);
  SelectionChanged();
}

bool TFormDesigner::IsSelected(const TPersistent* instance) const {
  return std::find(FSelection.begin(), FSelection.end(), instance) != FSelection.end();
}

void TFormDesigner::ToggleSelection(TPersistent* instance) {
  std::vector<TPersistent*> sel = FSelection;
  if (IsSelected(instance))
    std::erase(sel, instance);
  else
    sel.push_back(instance);
  SetSelection(std::move(sel));
}

void TFormDesigner::SelectionChanged() {
  FWatch->Watch(FSelection);
  if (OnSelectionChanged) OnSelectionChanged();
}

TComponent* TFormDesigner::SelectableAt(TControl* target) const {
  for (TControl* c = target; c && c != &FForm; c = c->Parent())
    if (c->Owner() == &FForm) return c;
  return &FForm;
}

void TFormDesigner::DesignMouse(TMessage::TKind kind, TControl* target, TMouseButton, TShiftState,
                                int32_t, int32_t) {
  if (kind == TMessage::MouseDown) SelectComponent(SelectableAt(target));
}

TFormReadOptions DesignReadOptions() {
  TFormReadOptions options;
  options.Designing = true;
  options.CreateRoot = [](const std::string& className, TComponent* owner) -> TComponent* {
    TForm* f = New<TForm>(owner);
    f->SetFormClassName(className);
    return f;
  };
  return options;
}

// =============================================================================================
// Property editors

namespace {

// Text typed into a property view: blanks around a name or number are not part of it.
std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b, e - b + 1));
}

}  // namespace

TPropertyEditor::TPropertyEditor(IDesigner* designer, std::vector<TPersistent*> components,
                                 const TPropInfo& prop)
    : FDesigner(designer), FComponents(std::move(components)), FProp(prop) {
  if (FComponents.empty()) throw EInvalidOperation("A property editor needs a component");
}

TPersistent* TPropertyEditor::GetComponent(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FComponents[static_cast<size_t>(index)];
}

// Strings show and take their text as it is; other kinds their form-file spelling.
std::string TPropertyEditor::GetValue() const {
  if (FProp.Kind == TPropKind::String && FProp.GetStr) return FProp.GetStr(FComponents.front());
  return GetPropText(FComponents.front(), FProp.Name);
}

void TPropertyEditor::SetValue(const std::string& value) {
  for (TPersistent* c : FComponents) {
    if (FProp.Kind == TPropKind::String)
      SetPropValue(c, FProp, TValue(value));
    else
      SetPropText(c, FProp.Name, value);
  }
  Modified();
}

int64_t TPropertyEditor::GetOrdValue() const {
  if (!FProp.GetOrd) throw EPropertyError("Property " + FProp.Name + " is not ordinal");
  return FProp.GetOrd(FComponents.front());
}

TObject* TPropertyEditor::GetObjValue() const {
  if (!FProp.GetObj) throw EPropertyError("Property " + FProp.Name + " holds no object");
  return FProp.GetObj(FComponents.front());
}

void TPropertyEditor::Modified() const {
  if (FDesigner) FDesigner->Modified();
}

std::vector<std::string> TPropertyEditor::GetValues() const {
  std::vector<std::string> values;
  if (FProp.Kind == TPropKind::Boolean) return {"False", "True"};
  if (FProp.Kind == TPropKind::Enumeration && FProp.EnumType) {
    for (int i = 0; i < FProp.EnumType->Count(); ++i) values.push_back(FProp.EnumType->NameOf(i));
  } else if (FProp.Kind == TPropKind::Integer && FProp.IntIdents) {
    for (const auto& ident : FProp.IntIdents->Idents()) values.push_back(ident.first);
  }
  return values;
}

void TIntegerProperty::SetValue(const std::string& value) {
  std::optional<int64_t> named;
  if (Prop().IntIdents) named = Prop().IntIdents->ValueOf(Trim(value));
  int32_t v = named ? static_cast<int32_t>(*named) : StrToInt(value);
  for (int i = 0; i < ComponentCount(); ++i)
    SetPropValue(GetComponent(i), Prop(), TValue(int64_t{v}));
  Modified();
}

namespace {

// The form a reference is looked up in: the selection's root, or the selection itself when it
// is a root (the designed form).
TComponent* ReferenceRoot(const TPropertyEditor& editor) {
  auto* c = dynamic_cast<TComponent*>(editor.GetComponent(0));
  return c ? c->Root() : nullptr;
}

}  // namespace

std::string TComponentProperty::GetValue() const {
  auto* c = static_cast<TComponent*>(GetObjValue());
  return c ? c->Name() : std::string();
}

void TComponentProperty::SetValue(const std::string& value) {
  std::string name = Trim(value);
  TValue v = name.empty() ? TValue(TNil{}) : TValue(TIdent{name});
  TComponent* root = ReferenceRoot(*this);
  if (!name.empty() && (!root || !root->FindComponent(name)))
    throw EPropertyError("Component '" + name + "' not found");
  for (int i = 0; i < ComponentCount(); ++i) SetPropValue(GetComponent(i), Prop(), v);
  Modified();
}

std::vector<std::string> TComponentProperty::GetValues() const {
  std::vector<std::string> values{""};
  TComponent* root = ReferenceRoot(*this);
  if (!root || !Prop().PropClass) return values;
  const TClassInfo& cls = Prop().PropClass();
  auto fits = [&](TComponent* c) { return !c->Name().empty() && c->ClassInfo().InheritsFrom(cls); };
  for (TComponent* c : root->Components())
    if (fits(c)) values.push_back(c->Name());
  std::sort(values.begin() + 1, values.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  return values;
}

namespace {

// The property editors' dialogs: a fixed-size dialog, and its buttons 75 by 25.
std::unique_ptr<TForm> NewEditorDialog(const char* caption, int32_t width, int32_t height) {
  std::unique_ptr<TForm> dialog(New<TForm>(nullptr));
  dialog->SetCaption(caption);
  dialog->SetBorderStyle(bsDialog);
  dialog->SetPosition(poScreenCenter);
  dialog->SetClientWidth(width);
  dialog->SetClientHeight(height);
  return dialog;
}

TButton* AddDialogButton(TForm& dialog, const char* name, const char* caption, TModalResult result,
                         int32_t left, int32_t top) {
  auto* b = New<TButton>(&dialog);
  b->SetName(name);
  b->SetCaption(caption);
  b->SetModalResult(result);
  b->SetParent(&dialog);
  b->SetBounds(left, top, 75, 25);
  return b;
}

// OK (the default) and Cancel at the right of a dialog 360 wide.
void AddOkCancel(TForm& dialog, int32_t top) {
  AddDialogButton(dialog, "OKButton", "OK", mrOk, 196, top)->SetDefault(true);
  AddDialogButton(dialog, "CancelButton", "Cancel", mrCancel, 277, top)->SetCancel(true);
}

}  // namespace

void TStringsProperty::Edit() {
  auto* list = static_cast<TStrings*>(GetObjValue());
  std::unique_ptr<TForm> dialog = NewEditorDialog("String List Editor", 360, 260);
  auto* memo = New<TMemo>(dialog.get());
  memo->SetName("Memo");
  memo->SetParent(dialog.get());
  memo->SetBounds(8, 8, 344, 206);
  memo->SetWordWrap(false);
  memo->SetScrollBars(ssBoth);
  if (list) memo->Lines()->Assign(list);
  AddOkCancel(*dialog, 224);
  dialog->SetActiveControl(memo);
  if (dialog->ShowModal() != mrOk) return;
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* target = static_cast<TStrings*>(Prop().GetObj(GetComponent(i)));
    if (!target) throw EPropertyError("Property " + Prop().Name + " is nil");
    target->Assign(memo->Lines());
  }
  Modified();
}

std::string TPictureProperty::GetValue() const {
  const auto* picture = dynamic_cast<const TBitmap*>(GetObjValue());
  if (!picture || picture->Empty()) return "(None)";
  return Format("(TBitmap %dx%d)", {picture->Width(), picture->Height()});
}

void TPictureProperty::SetValue(const std::string& value) {
  // Read first, so that a file that cannot be read changes nothing.
  TBitmap picture;
  const std::string file = Trim(value);
  if (!file.empty()) picture.LoadFromFile(file);
  for (int i = 0; i < ComponentCount(); ++i) {
    if (Prop().SetObj)
      Prop().SetObj(GetComponent(i), &picture);
    else if (auto* target = dynamic_cast<TBitmap*>(Prop().GetObj(GetComponent(i))))
      target->Assign(&picture);
  }
  Modified();
}

void TPictureProperty::Edit() {
  std::unique_ptr<TForm> dialog = NewEditorDialog("Picture Editor", 360, 92);
  auto* label = New<TLabel>(dialog.get());
  label->SetParent(dialog.get());
  label->SetBounds(8, 14, 80, 16);
  label->SetCaption("&File (PNG, BMP):");
  auto* file = New<TEdit>(dialog.get());
  file->SetName("FileName");
  file->SetParent(dialog.get());
  file->SetBounds(8, 32, 344, 21);
  label->SetFocusControl(file);
  AddDialogButton(*dialog, "ClearButton", "C&lear", mrNo, 8, 62);
  AddOkCancel(*dialog, 62);
  dialog->SetActiveControl(file);
  switch (dialog->ShowModal()) {
    case mrOk:
      SetValue(file->Text());
      break;
    case mrNo:
      SetValue("");
      break;
    default:
      break;
  }
}

std::string TMethodProperty::GetValue() const {
  return Prop().GetEvent ? Prop().GetEvent(GetComponent(0)).MethodName : std::string();
}

void TMethodProperty::SetValue(const std::string& value) {
  std::string name = Trim(value);
  for (int i = 0; i < ComponentCount(); ++i) SetEventName(GetComponent(i), Prop(), name);
  Modified();
}

std::vector<std::string> TMethodProperty::GetValues() const {
  std::vector<std::string> values;
  TComponent* root = ReferenceRoot(*this);
  if (!root) return values;
  for (const TClassInfo* cls = &root->ClassInfo(); cls; cls = cls->Parent)
    for (const TMethodInfo& m : cls->Methods)
      if (m.Signature == Prop().EventSignature) values.push_back(m.Name);
  std::sort(values.begin(), values.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  values.erase(
      std::unique(values.begin(), values.end(),
                  [](const std::string& a, const std::string& b) { return SameText(a, b); }),
      values.end());
  return values;
}

std::string TClassProperty::GetValue() const {
  TObject* o = GetObjValue();
  return "(" + (o ? o->ClassName() : std::string(Prop().PropClass ? Prop().PropClass().Name : "")) +
         ")";
}

std::vector<std::unique_ptr<TPropertyEditor>> TClassProperty::GetProperties() const {
  std::vector<std::unique_ptr<TPropertyEditor>> result;
  auto* object = dynamic_cast<TPersistent*>(GetObjValue());
  if (!object) return result;
  for (const TPropInfo* p : object->ClassInfo().PublishedProps())
    result.push_back(GetPropertyEditor(Designer(), {object}, *p));
  return result;
}

namespace {

struct TPropertyEditorEntry {
  TPropertyType Type;
  const TClassInfo* ComponentClass;
  std::string Name;
  TPropertyEditorFactory Factory;
};

std::vector<TPropertyEditorEntry>& PropertyEditors() {
  static std::vector<TPropertyEditorEntry> list;
  return list;
}

bool TypeMatches(const TPropertyType& type, const TPropInfo& prop) {
  if (type.Kind != prop.Kind) return false;
  if (!type.Class) return true;
  return prop.PropClass && prop.PropClass().InheritsFrom(type.Class());
}

struct TComponentEditorEntry {
  const TClassInfo* Class;
  TComponentEditorFactory Factory;
};

std::vector<TComponentEditorEntry>& ComponentEditors() {
  static std::vector<TComponentEditorEntry> list;
  return list;
}

std::vector<TPalettePage>& Palette() {
  static std::vector<TPalettePage> pages;
  return pages;
}

}  // namespace

void RegisterPropertyEditor(TPropertyType type, const TClassInfo* componentClass, std::string name,
                            TPropertyEditorFactory factory) {
  PropertyEditors().push_back({type, componentClass, std::move(name), std::move(factory)});
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* designer,
                                                   std::vector<TPersistent*> components,
                                                   const TPropInfo& prop) {
  if (components.empty()) throw EInvalidOperation("A property editor needs a component");
  const TClassInfo& cls = components.front()->ClassInfo();
  const TPropertyEditorEntry* best = nullptr;
  int bestRank = -1;
  for (const TPropertyEditorEntry& e : PropertyEditors()) {
    if (!TypeMatches(e.Type, prop)) continue;
    if (e.ComponentClass && !cls.InheritsFrom(*e.ComponentClass)) continue;
    if (!e.Name.empty() && !SameText(e.Name, prop.Name)) continue;
    int rank = (e.Name.empty() ? 0 : 2) + (e.ComponentClass ? 1 : 0);
    if (rank >= bestRank) {
      best = &e;
      bestRank = rank;
    }
  }
  if (best) return best->Factory(designer, std::move(components), prop);
  if (prop.Kind == TPropKind::Integer)
    return std::make_unique<TIntegerProperty>(designer, std::move(components), prop);
  if (prop.Kind == TPropKind::Object && prop.PropClass &&
      prop.PropClass().InheritsFrom(TBitmap::StaticClassInfo()))
    return std::make_unique<TPictureProperty>(designer, std::move(components), prop);
  if (prop.Kind == TPropKind::Object)
    return std::make_unique<TClassProperty>(designer, std::move(components), prop);
  if (prop.Kind == TPropKind::Component)
    return std::make_unique<TComponentProperty>(designer, std::move(components), prop);
  if (prop.Kind == TPropKind::Strings)
    return std::make_unique<TStringsProperty>(designer, std::move(components), prop);
  if (prop.Kind == TPropKind::Method)
    return std::make_unique<TMethodProperty>(designer, std::move(components), prop);
  return std::make_unique<TPropertyEditor>(designer, std::move(components), prop);
}

void RegisterComponentEditor(const TClassInfo& componentClass, TComponentEditorFactory factory) {
  auto& list = ComponentEditors();
  for (auto& e : list)
    if (e.Class == &componentClass) {
      e.Factory = std::move(factory);
      return;
    }
  list.push_back({&componentClass, std::move(factory)});
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* component, IDesigner* designer) {
  if (!component) throw EInvalidOperation("A component editor needs a component");
  // The closest ancestor: walk the class line from the component's own class up.
  for (const TClassInfo* cls = &component->ClassInfo(); cls; cls = cls->Parent)
    for (const auto& e : ComponentEditors())
      if (e.Class == cls) return e.Factory(component, designer);
  return std::make_unique<TComponentEditor>(component, designer);
}

void RegisterComponents(const std::string& page, std::initializer_list<const TClassInfo*> classes,
                        HMODULE images) {
  auto& pages = Palette();
  auto it = std::find_if(pages.begin(), pages.end(),
                         [&](const TPalettePage& p) { return SameText(p.Name, page); });
  if (it == pages.end()) {
    pages.push_back({page, {}});
    it = pages.end() - 1;
  }
  for (const TClassInfo* cls : classes) {
    if (!cls) throw EInvalidOperation("RegisterComponents: a class is missing");
    RegisterClass(*cls);
    auto& entries = it->Entries;
    auto found = std::find_if(entries.begin(), entries.end(),
                              [cls](const TPaletteEntry& e) { return e.Class == cls; });
    TPaletteEntry entry{cls, images ? LoadBitmapA(images, UpperCase(cls->Name)) : nullptr};
    if (found == entries.end())
      entries.push_back(entry);
    else
      *found = entry;
  }
}

const std::vector<TPalettePage>& PalettePages() {
  return Palette();
}

}  // namespace zelvar

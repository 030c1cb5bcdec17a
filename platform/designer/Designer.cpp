#include "platform/designer/Designer.h"

#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"

namespace zelvar {

// =============================================================================================
// TFormDesigner

TFormDesigner::TFormDesigner(TForm& form) : FForm(form) {
  FForm.SetDesigning(true);
  FForm.SetDesigner(this);
  // Presses that no control claims select what was pressed.
  FForm.OnDesignMouse = [this](TControl* target, TMouseButton, TShiftState, int32_t, int32_t) {
    SelectComponent(target ? static_cast<TPersistent*>(target) : &FForm);
  };
}

TFormDesigner::~TFormDesigner() {
  if (FForm.Designer() == this) {
    FForm.SetDesigner(nullptr);
    FForm.OnDesignMouse = nullptr;
  }
}

void TFormDesigner::SelectComponent(TPersistent* instance) {
  FSelection.clear();
  if (instance) FSelection.push_back(instance);
}

// =============================================================================================
// Property editors

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

std::string TPropertyEditor::GetValue() const {
  return GetPropText(FComponents.front(), FProp.Name);
}

void TPropertyEditor::SetValue(const std::string& value) {
  for (TPersistent* c : FComponents) SetPropText(c, FProp.Name, value);
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

void TIntegerProperty::SetValue(const std::string& value) {
  int32_t v = StrToInt(value);
  for (int i = 0; i < ComponentCount(); ++i)
    SetPropValue(GetComponent(i), Prop(), TValue(int64_t{v}));
  Modified();
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
  if (prop.Kind == TPropKind::Object)
    return std::make_unique<TClassProperty>(designer, std::move(components), prop);
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

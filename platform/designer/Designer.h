#pragma once
// The form designer's side of the toolkit: IDesigner, which components of a designed form
// talk to; TFormDesigner, a plain designer with a selection and a count of modifications;
// property editors (TPropertyEditor and its family), which the designer's property view uses
// to show and change a property; component editors (TComponentEditor), which give a
// component context-menu verbs; and the registries a package fills in its Register.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/Strings.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Resources.h"

namespace zelvar {

class TPersistent;
class TComponent;
class TForm;
class TControl;
struct TPropInfo;

class IDesigner {
 public:
  virtual ~IDesigner() = default;
  // The edited form changed: it needs saving, and property views must read it again.
  virtual void Modified() = 0;
  // Makes instance the designer's whole selection.
  virtual void SelectComponent(TPersistent* instance) = 0;
};

// A designer for one form: the form is marked as designed, a press on a control the designer
// handles selects it, and components report their changes here. The visual designer derives
// from it to move, size and create controls; this base only selects.
class TFormDesigner : public IDesigner {
 public:
  explicit TFormDesigner(TForm& form);
  ~TFormDesigner() override;
  TFormDesigner(const TFormDesigner&) = delete;
  TFormDesigner& operator=(const TFormDesigner&) = delete;

  TForm& Form() const { return FForm; }
  // Counts the change and reports it (OnModified) unless a change is in progress
  // (BeginChange): then the outermost EndChange reports it once.
  void Modified() override;
  void SelectComponent(TPersistent* instance) override;

  // The selected components, in the order they were selected; empty means the form itself.
  // A component freed while selected leaves the selection.
  const std::vector<TPersistent*>& Selection() const { return FSelection; }
  void SetSelection(std::vector<TPersistent*> selection);
  bool IsSelected(const TPersistent* instance) const;
  // Adds instance, or takes it out when it is selected already (Shift+click).
  void ToggleSelection(TPersistent* instance);
  int ModifiedCount() const { return FModifiedCount; }

  // One user action that may call Modified many times (a drag, a paste) is one change.
  void BeginChange() { ++FChangeDepth; }
  void EndChange();

  // The visual designer's hooks: a change was made (once per user action), the selection
  // changed.
  std::function<void()> OnModified;
  std::function<void()> OnSelectionChanged;
  // An action the mouse started failed; without a handler the error goes on to the caller.
  std::function<void(const std::string& message)> OnError;

 protected:
  // The mouse over the designed form that no control claimed (see TForm::OnDesignMouse):
  // x, y in the form's client coordinates. The base selects what a press hits.
  virtual void DesignMouse(TMessage::TKind kind, TControl* target, TMouseButton button,
                           TShiftState shift, int32_t x, int32_t y);
  // The component a press on target selects: target or the nearest parent the form owns.
  TComponent* SelectableAt(TControl* target) const;

 private:
  class TWatch;
  void SelectionChanged();

  TForm& FForm;
  std::vector<TPersistent*> FSelection;
  std::unique_ptr<TWatch> FWatch;
  int FModifiedCount = 0;
  int FChangeDepth = 0;
  bool FChangedInAction = false;
};

// How the designer reads forms: designed, with unregistered form classes (an application's
// TForm1) as plain forms that keep their class name.
TFormReadOptions DesignReadOptions();

// ---------------------------------------------------------------------------------------------
// Property editors

ZELVAR_ENUM(TPropertyAttribute, uint8_t, paValueList, paSubProperties, paDialog, paMultiSelect,
            paAutoUpdate, paSortList, paReadOnly, paRevertable)
using TPropertyAttributes = TSet<TPropertyAttribute>;

// Shows and changes one property of the selected components. The base edits any property
// through its text form-file spelling.
class TPropertyEditor {
 public:
  TPropertyEditor(IDesigner* designer, std::vector<TPersistent*> components, const TPropInfo& prop);
  virtual ~TPropertyEditor() = default;

  virtual TPropertyAttributes GetAttributes() const { return {paMultiSelect}; }
  // The text the property view shows: the first component's value.
  virtual std::string GetValue() const;
  // Sets the value on every selected component.
  virtual void SetValue(const std::string& value);
  // The dialog behind the ellipsis button; nothing by default.
  virtual void Edit() {}
  // The sub-properties of a nested object (paSubProperties).
  virtual std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() const { return {}; }
  // The values a property view offers in its drop-down: the identifiers of enumerations,
  // booleans and named integers (colours); none for other kinds.
  virtual std::vector<std::string> GetValues() const;

  IDesigner* Designer() const { return FDesigner; }
  const TPropInfo& Prop() const { return FProp; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // EListError for an index out of range.
  TPersistent* GetComponent(int index) const;
  // An ordinal property's value (integers, booleans, enumerations, sets) on the first one.
  int64_t GetOrdValue() const;
  // An object property's value on the first one.
  TObject* GetObjValue() const;
  void Modified() const;

 private:
  IDesigner* FDesigner;
  std::vector<TPersistent*> FComponents;
  const TPropInfo& FProp;
};

// Integers in decimal (or $hex); one with named values (a colour) also takes and shows its
// names. Text that is neither raises EConvertError.
class TIntegerProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  void SetValue(const std::string& value) override;
};

// A reference to a component: its name, empty for none; the drop-down lists the components
// of the root that fit.
class TComponentProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override { return {paMultiSelect, paValueList}; }
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  std::vector<std::string> GetValues() const override;
};

// A strings list: shown as "(TStrings)", edited in a dialog of one memo.
class TStringsProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override { return {paMultiSelect, paDialog}; }
  std::string GetValue() const override { return "(TStrings)"; }
  void Edit() override;
};

// An event: the name of its handler. At design time there is no code to bind, so the name is
// stored alone (SetEventName) and a form writer writes it; empty text clears it. A name that
// is no identifier raises EPropertyError.
class TMethodProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  // The root's published methods of the event's signature.
  std::vector<std::string> GetValues() const override;
};

// A nested object: shown as "(TClassName)", edited through its own properties.
class TClassProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override {
    return {paMultiSelect, paSubProperties, paReadOnly};
  }
  std::string GetValue() const override;
  void SetValue(const std::string&) override {}
  std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() const override;
};

// A picture (a glyph, a banner image): shown as "(None)" or "(TBitmap 55x55)". Its value is
// set by a PNG or BMP file's name, read at once ('' empties it); the dialog asks for the name.
// A file that cannot be read raises the reader's error and leaves the picture as it was.
class TPictureProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override { return {paMultiSelect, paDialog}; }
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void Edit() override;
};

// What a property editor is registered for: a property kind and, for objects, its class.
struct TPropertyType {
  TPropKind Kind = TPropKind::Integer;
  TClassInfoFn Class = nullptr;  // objects, strings lists and components; nullptr otherwise
};
template <class T>
TPropertyType PropertyTypeOf() {
  if constexpr (std::is_same_v<T, int32_t>)
    return {TPropKind::Integer, nullptr};
  else
    return {IsComponentClass(T::StaticClassInfo()) ? TPropKind::Component
            : std::is_base_of_v<TStrings, T>       ? TPropKind::Strings
                                                   : TPropKind::Object,
            &T::StaticClassInfo};
}

using TPropertyEditorFactory = std::function<std::unique_ptr<TPropertyEditor>(
    IDesigner*, std::vector<TPersistent*>, const TPropInfo&)>;

template <class E>
TPropertyEditorFactory PropertyEditorFactory() {
  return [](IDesigner* d, std::vector<TPersistent*> c, const TPropInfo& p) {
    return std::make_unique<E>(d, std::move(c), p);
  };
}

// Binds an editor to properties of a type; a component class of nullptr and an empty name
// bind it to every property of the type. The most specific registration wins (a name over a
// class over neither), then the latest.
void RegisterPropertyEditor(TPropertyType type, const TClassInfo* componentClass, std::string name,
                            TPropertyEditorFactory factory);
// The editor the designer uses for a property of the selected components.
std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* designer,
                                                   std::vector<TPersistent*> components,
                                                   const TPropInfo& prop);

// ---------------------------------------------------------------------------------------------
// Component editors

class TComponentEditor {
 public:
  TComponentEditor(TComponent* component, IDesigner* designer)
      : FComponent(component), FDesigner(designer) {}
  virtual ~TComponentEditor() = default;

  virtual int GetVerbCount() const { return 0; }
  virtual std::string GetVerb(int) const { return {}; }
  virtual void ExecuteVerb(int) {}
  // A double click in the designer: the first verb, when there is one.
  virtual void Edit() {
    if (GetVerbCount() > 0) ExecuteVerb(0);
  }

  TComponent* Component() const { return FComponent; }
  IDesigner* Designer() const { return FDesigner; }

 private:
  TComponent* FComponent;
  IDesigner* FDesigner;
};

using TComponentEditorFactory =
    std::function<std::unique_ptr<TComponentEditor>(TComponent*, IDesigner*)>;

template <class E>
TComponentEditorFactory ComponentEditorFactory() {
  return [](TComponent* c, IDesigner* d) { return std::make_unique<E>(c, d); };
}

// The editor of the closest registered ancestor class wins; later registrations of the same
// class replace earlier ones.
void RegisterComponentEditor(const TClassInfo& componentClass, TComponentEditorFactory factory);
// A component's editor; a plain one without verbs when no class of its line is registered.
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* component, IDesigner* designer);

// ---------------------------------------------------------------------------------------------
// The palette

struct TPaletteEntry {
  const TClassInfo* Class = nullptr;
  HBITMAP Image = nullptr;  // the class's image, found by its name in capitals; may be none
};
struct TPalettePage {
  std::string Name;
  std::vector<TPaletteEntry> Entries;
};

// Adds the classes to a palette page (created on first use), in order, and registers them
// with the form reader; images come from the module's bitmaps named like the classes.
void RegisterComponents(const std::string& page, std::initializer_list<const TClassInfo*> classes,
                        HMODULE images = nullptr);
const std::vector<TPalettePage>& PalettePages();

}  // namespace zelvar

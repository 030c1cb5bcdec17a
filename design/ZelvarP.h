#pragma once
// Unit ZelvarP: the designer's editors for the wizard. A component editor gives the container
// and the boxes their context-menu verbs; property editors open the page-name, show-list,
// button-layout and way-list dialogs on a working copy, write it back on OK, and bring the
// container up to date; the page-count editor asks before pages are removed.

#include <functional>
#include <string>

#include "platform/designer/Designer.h"

namespace zelvar {

class TZelvar;

// Verbs: "Insert covered controls" for the container and the boxes; the container adds the
// two jump-control switches and the form size of the other mode.
class TContainerEditor : public TComponentEditor {
 public:
  using TComponentEditor::TComponentEditor;
  int GetVerbCount() const override;
  std::string GetVerb(int index) const override;
  void ExecuteVerb(int index) override;

 private:
  void InsertCoveredControls();
  void SetJumpButtonMode(bool mode);
  void SetOtherModeSize();
};

// What the five list editors share: a dialog behind an ellipsis, a fixed value text, and the
// container brought up to date after every edit, OK or not.
class TListPropertyEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override { return {paDialog}; }
  void SetValue(const std::string&) override {}

 protected:
  // The container being edited: the component itself, or a control's FZelvar.
  TZelvar* Container() const;
  // Runs the edit (which makes, shows and frees its dialog), then brings the container up to
  // date and tells the designer. The designer hears of it also when the edit or the update
  // raises, since the lists may have changed by then; the first error goes on afterwards.
  void EditThenFinish(TZelvar* container, const std::function<void()>& edit) const;
};

class TPageNameProperty : public TListPropertyEditor {
 public:
  using TListPropertyEditor::TListPropertyEditor;
  std::string GetValue() const override { return "[PageNames]"; }
  void Edit() override;
};

class TShowProperty : public TListPropertyEditor {
 public:
  using TListPropertyEditor::TListPropertyEditor;
  std::string GetValue() const override { return "[ShowContainer]"; }
  void Edit() override;
};

class TLayoutProperty : public TListPropertyEditor {
 public:
  using TListPropertyEditor::TListPropertyEditor;
  std::string GetValue() const override { return "[ButtonLayout]"; }
  void Edit() override;
};

class TWayListProperty : public TListPropertyEditor {
 public:
  using TListPropertyEditor::TListPropertyEditor;
  std::string GetValue() const override { return "[WayList]"; }
  void Edit() override;
};

// A set of pages (SkipOnBack, CommitPages) typed as its page numbers: "4, 6"; "" for none.
// A page the container does not have, or text that is no list of numbers, raises
// EPropertyError naming it, and the set stays as it was.
class TPageSetProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override { return {}; }
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
};

// Kept for forms that name it; it edits nothing.
class TPageChangeListProperty : public TListPropertyEditor {
 public:
  using TListPropertyEditor::TListPropertyEditor;
  std::string GetValue() const override { return "[PageChangeList]"; }
  void Edit() override {}
};

// NumPages: a smaller count is confirmed first; text that is no count is ignored.
class TNumPagesProperty : public TIntegerProperty {
 public:
  using TIntegerProperty::TIntegerProperty;
  void SetValue(const std::string& value) override;
};

inline constexpr const char* kReducePagesQuestion =
    "Do you want to reduce the number of pages in the Zelvar?";

}  // namespace zelvar

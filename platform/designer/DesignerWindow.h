#pragma once
// The visual form designer in one window: the component palette across the top, the object
// grid on the left, and the form being designed on the work area. Ctrl+S saves (in the
// format the form came in; Ctrl+Shift+S asks for a file and a format), Ctrl+Z and Ctrl+Y undo
// and redo, F9 runs the form as at run time, and closing with unsaved changes asks first.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/designer/DesignSession.h"
#include "platform/designer/DesignSurface.h"
#include "platform/forms/Forms.h"

namespace zelvar {

class TComponentPalette;
class TPropertyGrid;
class TPopupMenu;
class TListBox;

class TDesignerWindow : public TForm {
 public:
  using inherited = TForm;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  explicit TDesignerWindow(TComponent* owner);
  ~TDesignerWindow() override;

  TDesignSession& Session() const { return *FSession; }
  TComponentPalette& Palette() const { return *FPalette; }
  TPropertyGrid& PropertyGrid() const { return *FGrid; }
  TDesignSurface& Surface() const { return *FSurface; }
  // The designer's menu of the last right click on the form (open while it shows).
  TPopupMenu& ContextMenu() const { return *FMenu; }

  // Opens a form file; a file that cannot be read raises and the designer keeps its form.
  void Open(const std::string& fileName);
  // Ctrl+S: to the form's file in its format; a form without a file asks as Save As does.
  // False when the user cancelled or the file could not be written (a message says why).
  bool Save();
  // Asks for a file name and a format (text or binary), then saves.
  bool SaveAs();
  void Undo();
  void Redo();
  // F9: runs a copy of the form, read from its current state, as at run time, until it
  // closes; then the designer carries on.
  void RunForm();
  // With unsaved changes: asks whether to save them (Yes saves, No discards, Cancel stays).
  bool CloseQuery() override;
  // "Zelvar designer - setup.txt *": the file and whether it has unsaved changes.
  std::string TitleText() const;

  // What a package checks in a form once it is saved (a wizard's flow): the lines show in a
  // list below the form until the next save; none hides the list.
  std::function<std::vector<std::string>(TForm&)> CheckOnSave;
  // After any save: runs CheckOnSave and shows its lines.
  void Saved();
  TListBox& Messages() const { return *FMessages; }

 private:
  void Wire();
  void SelectionChanged();
  void StateChanged();
  void ShowContextMenu(TComponent* component, int32_t x, int32_t y);
  void DesignerKey(TObject*, uint16_t& key, TShiftState shift);
  void ShowError(const std::string& message);

  std::unique_ptr<TDesignSession> FSession;
  TComponentPalette* FPalette;
  TPropertyGrid* FGrid;
  TDesignSurface* FSurface;
  TPopupMenu* FMenu;
  TListBox* FMessages;
};

}  // namespace zelvar

#pragma once
// Unit scf: the show dialog behind the ShowContainer property of every page-bound control. One
// row per page, page 0 (the dialog page) first, each with a box that says whether the control
// is shown on that page; a click on a box toggles it. Only the Shown field of a working copy
// of the control's position list changes; the property editor copies it back on OK.

#include <memory>

#include "lists/ZelvarL.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Strings.h"
#include "platform/forms/Forms.h"

namespace zelvar {

class TShowDialog : public TForm {
  ZELVAR_CLASS(TShowDialog, TForm)

 public:
  explicit TShowDialog(TComponent* owner);
  ~TShowDialog() override;

  // Published components.
  TDrawGrid* ShowGrid = nullptr;
  TPanel* Panel1 = nullptr;
  TButton* Button1 = nullptr;  // Cancel
  TButton* Button2 = nullptr;  // OK

  // Published handlers.
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ShowGridDrawCell(TObject* Sender, int32_t ACol, int32_t ARow, TRect Rect,
                        TGridDrawState State);
  void ShowGridSelectCell(TObject* Sender, int32_t ACol, int32_t ARow, bool& CanSelect);

  // The working copy, entry i for page i; owned by the dialog from FormCreate to FormDestroy.
  TAposList* FEditList = nullptr;
  // The container's page names, row i naming page i; not owned.
  TStrings* FPageNames = nullptr;

 private:
  // One grid row per entry of the working copy, none for an empty one; run when the dialog
  // shows, whatever row count its caller gave the grid.
  void ShowEditList();

  std::unique_ptr<TAposList> FEditListStore;
};

// Registers TShowDialog with the class registry.
void RegisterScf();

}  // namespace zelvar

#pragma once
// Unit wlf: the way-list editor behind the container's WayList property. One grid row per
// wizard step (position, page, what Next does there); two drop-down lists below the grid edit
// the selected step, and buttons move, insert, delete and append steps or rebuild the default
// sequence. It works on a copy that the property editor writes back on OK.

#include <cstdint>
#include <memory>

#include "lists/ZelvarL.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace zelvar {

class TZelvar;

class TWayListForm : public TForm {
  ZELVAR_CLASS(TWayListForm, TForm)

 public:
  explicit TWayListForm(TComponent* owner);
  ~TWayListForm() override;

  // Published components.
  TPanel* Panel1 = nullptr;
  TButton* Button1 = nullptr;      // Up
  TButton* Button2 = nullptr;      // OK
  TButton* Button3 = nullptr;      // Cancel
  TButton* Button4 = nullptr;      // Down
  TButton* Button5 = nullptr;      // Insert
  TButton* Button6 = nullptr;      // Delete
  TButton* Button7 = nullptr;      // Add
  TButton* Button8 = nullptr;      // Default
  TButton* CheckButton = nullptr;  // the flow check of the list as edited
  TPanel* Panel2 = nullptr;
  TPanel* Panel3 = nullptr;
  TLabel* Label1 = nullptr;      // the selected position
  TComboBox* PageBox = nullptr;  // item index = the step's page number
  TComboBox* GotoBox = nullptr;  // item index = the step's GotoPage + 3
  TDrawGrid* WayListGrid = nullptr;

  // Published handlers.
  void FormCreate(TObject* Sender);
  void CheckButtonClick(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void WayListGridDrawCell(TObject* Sender, int32_t ACol, int32_t ARow, TRect Rect,
                           TGridDrawState State);
  void Button7Click(TObject* Sender);
  void WayListGridSelectCell(TObject* Sender, int32_t ACol, int32_t ARow, bool& CanSelect);
  void PageBoxChange(TObject* Sender);
  void GotoBoxChange(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void Button5Click(TObject* Sender);
  void Button6Click(TObject* Sender);
  void Button8Click(TObject* Sender);
  void FormShow(TObject* Sender);

  // The grid row last copied into Label1, PageBox and GotoBox; -1 forces the next copy.
  int32_t FLastRow = -1;
  // The working copy, row k showing entry k - 1; owned by the dialog from FormCreate to
  // FormDestroy.
  TPageList* FEditList = nullptr;
  // The container being edited, for its page count and names; not owned.
  TZelvar* FContainer = nullptr;

 private:
  // Runs WayListGridSelectCell for the current row.
  void SelectCurrentRow();
  std::unique_ptr<TPageList> FEditListStore;
};

// Registers TWayListForm with the class registry.
void RegisterWlf();

}  // namespace zelvar

#pragma once
// Unit blf: the button layout dialog behind the container's BLWizard and BLDialog. It lists the
// button kinds in layout order; the developer reorders them and inserts or removes spacers,
// but can neither add nor remove a button, so every kind the list held stays in it.

#include <memory>

#include "lists/ZelvarL.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace zelvar {

class TLayoutDialog : public TForm {
  ZELVAR_CLASS(TLayoutDialog, TForm)

 public:
  explicit TLayoutDialog(TComponent* owner);
  ~TLayoutDialog() override;

  // Published components.
  TPanel* Panel1 = nullptr;
  TButton* Button1 = nullptr;  // OK
  TButton* Button2 = nullptr;  // Cancel
  TButton* Button3 = nullptr;  // Up
  TButton* Button4 = nullptr;  // Down
  TButton* Button5 = nullptr;  // Insert Space
  TButton* Button6 = nullptr;  // Delete Space
  TDrawGrid* LayoutGrid = nullptr;

  // Published handlers.
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void LayoutGridDrawCell(TObject* Sender, int32_t ACol, int32_t ARow, TRect Rect,
                          TGridDrawState State);
  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void Button5Click(TObject* Sender);
  void Button6Click(TObject* Sender);

  // The working copy, one button code per row; owned by the dialog from FormCreate to
  // FormDestroy.
  TIntegerList* FEditList = nullptr;

 private:
  // One grid row per entry of the working copy, none for an empty one, and the buttons that
  // act on a row only while there is one; run when the dialog shows and after every change.
  void ShowEditList();

  std::unique_ptr<TIntegerList> FEditListStore;
};

// Registers TLayoutDialog with the class registry.
void RegisterBlf();

}  // namespace zelvar

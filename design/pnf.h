#pragma once
// Unit pnf: the page-name dialog behind the container's PageNames property. One grid row per
// page, page 0 (the dialog page) first; the developer renames, moves, inserts, deletes and
// appends pages. Column 0 keeps each page's old number (or a new one for a page made here), so
// the property editor can carry every control's per-page places along with its page.

#include <cstdint>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace zelvar {

class TPageNameDialog : public TForm {
  ZELVAR_CLASS(TPageNameDialog, TForm)

 public:
  explicit TPageNameDialog(TComponent* owner);

  // Published components.
  TStringGrid* PageList = nullptr;
  TPanel* Panel1 = nullptr;
  TButton* Button1 = nullptr;  // Up
  TButton* Button2 = nullptr;  // Down
  TButton* Button3 = nullptr;  // Insert
  TButton* Button4 = nullptr;  // Delete
  TButton* Button5 = nullptr;  // Add
  TButton* Button6 = nullptr;  // Cancel
  TButton* Button7 = nullptr;  // OK

  // Published handlers.
  void Button5Click(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);

  // The highest page number handed out so far: the editor sets it to NumPages, and each page
  // made here takes the next one, so a number is never used twice.
  int32_t FPageCounter = 0;

 private:
  void SwapRows(int32_t a, int32_t b);
  // Writes a new page's number and default name into row.
  void NewPage(int32_t row);
};

// Registers TPageNameDialog with the class registry.
void RegisterPnf();

}  // namespace zelvar

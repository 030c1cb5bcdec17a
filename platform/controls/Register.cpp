#include "platform/controls/Register.h"

#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Image.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Memo.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"

namespace zelvar {

void RegisterControls() {
  // Registering a class a second time is harmless: the registry keeps the same record.
  RegisterClasses<TButton, TRadioButton, TLabel, TGroupBox, TBitBtn, TPanel, TDrawGrid, TStringGrid,
                  TComboBox, TPageControl, TTabSheet, TImage, TTimer>();
  // The everyday controls of a wizard page.
  RegisterClasses<TEdit, TMemo, TCheckBox, TListBox, TProgressBar, TScrollBar>();
  RegisterClasses<TPopupMenu, TMenuItem>();
}

}  // namespace zelvar

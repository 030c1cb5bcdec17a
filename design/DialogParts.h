#pragma once
// What the four editor dialogs share: the frame of a small fixed dialog, the panel of buttons
// along its right side, and the buttons on that panel.

#include <cstdint>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace zelvar::dialogparts {

// A dialog border, centred on the screen, 8-point "MS Sans Serif", this caption and client size.
inline void SetUpDialog(TForm& form, const char* caption, int32_t clientWidth,
                        int32_t clientHeight) {
  form.SetBorderStyle(bsDialog);
  form.SetPosition(poScreenCenter);
  form.SetCaption(caption);
  form.Font()->SetName("MS Sans Serif");
  form.Font()->SetSize(8);
  form.SetClientWidth(clientWidth);
  form.SetClientHeight(clientHeight);
}

// The panel "Panel1" aligned to the right of the dialog.
inline TPanel* MakeButtonPanel(TForm& form, int32_t width, int32_t tabOrder) {
  auto* panel = New<TPanel>(&form);
  panel->SetName("Panel1");
  panel->SetParent(&form);
  panel->SetAlign(alRight);
  panel->SetWidth(width);
  panel->SetTabOrder(tabOrder);
  return panel;
}

// A 75 by 25 button at (8, top) on the panel, owned by the panel's dialog.
inline TButton* MakeButton(TPanel* panel, const char* name, int32_t top, const char* caption,
                           int32_t tabOrder, TModalResult result = mrNone) {
  auto* b = New<TButton>(panel->Owner());
  b->SetName(name);
  b->SetParent(panel);
  b->SetBounds(8, top, 75, 25);
  b->SetCaption(caption);
  b->SetModalResult(result);
  b->SetTabOrder(tabOrder);
  return b;
}

}  // namespace zelvar::dialogparts

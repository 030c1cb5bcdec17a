#pragma once
// What the four editor dialogs share: the frame of a small fixed dialog, the panel of buttons
// along its right side, and the buttons on that panel.

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Captions.h"

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

// Gives the panel's buttons one width at which every caption fits in its button's font, clear
// of the focus frame. Buttons that fit keep their width; otherwise the panel and the dialog
// grow by as much, so what stands beside the panel keeps its size.
inline void FitButtonsToCaptions(TForm& form, TPanel* panel,
                                 std::initializer_list<TButton*> buttons) {
  constexpr int32_t kCaptionMargin = 8;  // each side: the focus frame stands 4 in
  TCanvas measure(nullptr);
  int32_t width = 0, needed = 0;
  for (TButton* b : buttons) {
    measure.Font()->Assign(b->Font());
    width = std::max(width, b->Width());
    needed =
        std::max(needed, measure.TextWidth(StripAccel(b->Caption()).Text) + 2 * kCaptionMargin);
  }
  const int32_t grow = needed - width;
  if (grow <= 0) return;
  for (TButton* b : buttons) b->SetWidth(needed);
  panel->SetWidth(panel->Width() + grow);
  form.SetClientWidth(form.ClientWidth() + grow);
}

}  // namespace zelvar::dialogparts

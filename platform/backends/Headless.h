#pragma once
// The headless backend: no window; input is what a script or a test posts, or what OnIdle
// produces when a modal loop needs more (a script runner executes its next line there). Each
// form keeps its painted bitmap, so snapshots need nothing from the backend.

#include <functional>

#include "platform/forms/Forms.h"

namespace zelvar {

class THeadlessBackend : public TBackend {
 public:
  bool WaitForInput() override { return OnIdle ? OnIdle() : false; }
  std::function<bool()> OnIdle;

  // The mouse buttons held down, which belong to the shift state of every mouse message as
  // in the window backend: a press holds its button from its own message on, a release lets
  // go of it before its message.
  void SetButtonState(TMouseButton button, bool down) {
    TShiftStateFlag flag = button == mbRight ? ssRight : button == mbMiddle ? ssMiddle : ssLeft;
    if (down)
      FButtons.Include(flag);
    else
      FButtons.Exclude(flag);
  }
  TShiftState ButtonState() const { return FButtons; }

 private:
  TShiftState FButtons;
};

}  // namespace zelvar

#pragma once
// The headless backend: no window; input is what a script or a test posts, or what OnIdle
// produces when a modal loop needs more (a script runner executes its next line there, an
// application's headless steps run there). Each form keeps its painted bitmap, so snapshots
// need nothing from the backend.

#include <cstdint>
#include <deque>
#include <functional>
#include <string_view>

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

// What an application queues for a headless run (Application().Headless()): each step runs
// when a modal loop waits for input, one per wait, and finds its control by name on the form
// active then (see FindOnForm), so steps may act on pages, forms shown later and embedded
// forms. A step whose control is missing or cannot take the input raises EComponentError
// naming it and the form, and the steps after it are dropped. When the steps run out while a
// loop still waits, the loop raises ENoInput. Each call queues one step and returns the queue:
//
//   Application().Headless().Type("FolderEdit", "C:\\Apps").Click("NextButton").Key("Enter");
class THeadlessSteps {
 public:
  // A left click at the control's centre; it must be visible, enabled and uncovered there.
  THeadlessSteps& Click(std::string_view control);
  THeadlessSteps& DblClick(std::string_view control);
  // Focuses the control, then types the text (UTF-8) as keys.
  THeadlessSteps& Type(std::string_view control, std::string_view text);
  // Types into the control that has the focus.
  THeadlessSteps& Type(std::string_view text);
  // A key by name with any modifiers before it: "Enter", "Escape", "F1", "a", "Ctrl+A",
  // "Shift+Tab", "Ctrl+Shift+End" (names as in platform/forms/KeyNames.h, any case).
  THeadlessSteps& Key(std::string_view keys);
  // Moves the timer clock on, firing the timers that fall due.
  THeadlessSteps& Wait(int32_t milliseconds);
  // Runs a callable of the program's (a check between steps); it is copied into the queue.
  THeadlessSteps& Do(std::function<void()> step);

  size_t Count() const { return FSteps.size(); }
  void Clear() { FSteps.clear(); }
  // Runs the next step; false when none is left.
  bool RunNext();

 private:
  THeadlessSteps& Add(std::function<void()> step);
  std::deque<std::function<void()>> FSteps;
};

}  // namespace zelvar

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
};

}  // namespace zelvar

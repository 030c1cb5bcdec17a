#pragma once
// The walk model of a wizard on a form, as the flow check reads it: positions from the way
// list or the pages, the jump controls and page-bound controls shown at each, and the places
// the page-bound controls are missing.

#include <string>
#include <vector>
#include "container/FlowCheck.h"

#include "container/ZelvarA.h"

namespace zelvar {

// With wayList, its entries are the positions (a way list being edited, not yet the
// container's).
TFlowModel FlowModelOf(const TZelvar& zelvar, const TPageList* wayList = nullptr);

// The findings of the check as `zelvar check` prints them, form named by form.
std::vector<std::string> FlowCheckLines(const std::string& form, const TFlowModel& model);

}  // namespace zelvar

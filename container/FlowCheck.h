#pragma once
// How a wizard can be walked, checked before anyone walks it: which positions the start page
// reaches, which reach the finish, and what in the wizard's data cannot work. The check is a
// pure function of a small model of the wizard (FlowModelOf in controls/FlowModel.h reads it
// from a form), so it is tested on graphs made up in a few lines.

#include <cstdint>
#include <string>
#include <vector>

namespace zelvar {

// Where a move leads besides a position number (1 up).
inline constexpr int32_t kFlowFinish = -1;  // the wizard closes with OK
inline constexpr int32_t kFlowDialog = 0;   // the dialog page, whose OK closes the wizard

struct TFlowJump {
  std::string Name;      // the jump control
  int32_t Target = 0;    // the position it sends the wizard to (already made absolute)
  bool Radio = false;    // a jump radio button (Next follows it) or a jump bit button (jumps)
  bool Checked = false;  // a radio button checked when the wizard starts
};

// One position of the walk: a page without the way list, a way-list entry with it.
struct TFlowPosition {
  int32_t Page = 0;  // the page it shows
  // Next without a checked jump radio button: a position, kFlowFinish, kFlowDialog; a way
  // list's Ask proposes the next position, as here.
  int32_t Next = kFlowFinish;
  std::vector<TFlowJump> Jumps;  // the jump controls shown at this position
  int32_t ShownControls = 0;     // page-bound controls shown at this position
};

struct TFlowMissingPlace {
  std::string Control;
  int32_t Page = 0;  // a page the control holds no place for
};

struct TFlowModel {
  int32_t NumPages = 0;
  int32_t StartPage = 1;
  bool WayList = false;                  // positions are way-list entries
  std::vector<std::string> PageNames;    // index = page
  std::vector<TFlowPosition> Positions;  // index 0 = position 1
  std::vector<TFlowMissingPlace> MissingPlaces;
  std::vector<int32_t> SkipOnBack;  // pages Back passes over
};

struct TFlowFinding {
  bool Error = true;  // else a warning
  int32_t Page = 0;   // the page the finding is about
  std::string Message;
};

// Which positions a walk forward from position from reaches (Next and the jumps), by position;
// entry 0 is unused, and from itself counts as reached. Nothing for a from outside the walk.
std::vector<bool> ReachableFrom(const TFlowModel& model, int32_t from);

// The findings, errors and warnings, in order of the positions they concern.
std::vector<TFlowFinding> CheckFlow(const TFlowModel& model);

// A finding as `zelvar check` prints it: "FORM: page N ('name'): error: message"; without a
// form name, from "page" on.
std::string FlowFindingText(const std::string& form, const TFlowModel& model,
                            const TFlowFinding& finding);

// The walk as a Graphviz graph: positions as nodes named by their pages, edges labelled Next,
// Back-skips or the jump control's name.
std::string FlowDot(const TFlowModel& model);

}  // namespace zelvar

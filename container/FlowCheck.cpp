#include "container/FlowCheck.h"

#include <algorithm>
#include <deque>
#include <set>

#include "platform/core/Format.h"

namespace zelvar {

namespace {

struct TEdge {
  int32_t To;  // a position, kFlowFinish or kFlowDialog
  std::string Label;
};

int32_t PositionCount(const TFlowModel& m) {
  return static_cast<int32_t>(m.Positions.size());
}

bool IsPosition(const TFlowModel& m, int32_t p) {
  return p >= 1 && p <= PositionCount(m);
}

// Where the user can go forward from position p: Next (to each checked-able jump radio
// button's target, and to the plain next when no radio button starts checked), and each jump
// bit button. Targets outside the wizard are left out here; the check reports them.
std::vector<TEdge> EdgesFrom(const TFlowModel& m, int32_t p) {
  std::vector<TEdge> edges;
  const TFlowPosition& pos = m.Positions[static_cast<size_t>(p - 1)];
  const bool radios =
      std::any_of(pos.Jumps.begin(), pos.Jumps.end(), [](const TFlowJump& j) { return j.Radio; });
  const bool checked = std::any_of(pos.Jumps.begin(), pos.Jumps.end(),
                                   [](const TFlowJump& j) { return j.Radio && j.Checked; });
  // A radio button decides Next only where Next follows the ordinary next page.
  const bool follows =
      pos.Next != kFlowFinish && pos.Next != kFlowDialog && (!m.WayList || pos.Next == p + 1);
  for (const TFlowJump& j : pos.Jumps)
    if (!j.Radio || follows) edges.push_back({j.Target, j.Name});
  if (!radios || !checked || !follows) edges.push_back({pos.Next, "Next"});
  return edges;
}

bool Valid(const TFlowModel& m, int32_t to) {
  return to == kFlowFinish || to == kFlowDialog || IsPosition(m, to);
}

std::vector<bool> Reached(const TFlowModel& m, const std::vector<std::vector<TEdge>>& edges,
                          int32_t from) {
  std::vector<bool> reached(static_cast<size_t>(PositionCount(m)) + 1, false);
  std::deque<int32_t> todo;
  if (IsPosition(m, from)) {
    reached[static_cast<size_t>(from)] = true;
    todo.push_back(from);
  }
  while (!todo.empty()) {
    int32_t p = todo.front();
    todo.pop_front();
    for (const TEdge& e : edges[static_cast<size_t>(p)])
      if (IsPosition(m, e.To) && !reached[static_cast<size_t>(e.To)]) {
        reached[static_cast<size_t>(e.To)] = true;
        todo.push_back(e.To);
      }
  }
  return reached;
}

std::vector<std::vector<TEdge>> AllEdges(const TFlowModel& m) {
  std::vector<std::vector<TEdge>> edges(static_cast<size_t>(PositionCount(m)) + 1);
  for (int32_t p = 1; p <= PositionCount(m); ++p) edges[static_cast<size_t>(p)] = EdgesFrom(m, p);
  return edges;
}

}  // namespace

std::vector<bool> ReachableFrom(const TFlowModel& model, int32_t from) {
  return Reached(model, AllEdges(model), from);
}

std::vector<TFlowFinding> CheckFlow(const TFlowModel& m) {
  std::vector<TFlowFinding> findings;
  const int32_t n = PositionCount(m);
  auto where = [&](int32_t p) {
    return m.WayList ? Format("way-list position %d", {p}) : std::string("the page");
  };

  // Reachable from the start, forward; and which positions reach the finish.
  const std::vector<std::vector<TEdge>> edges = AllEdges(m);
  const std::vector<bool> reached = Reached(m, edges, m.StartPage);
  std::vector<bool> finishes(static_cast<size_t>(n) + 1, false);
  for (bool changed = true; changed;) {
    changed = false;
    for (int32_t p = 1; p <= n; ++p) {
      if (finishes[static_cast<size_t>(p)]) continue;
      for (const TEdge& e : edges[static_cast<size_t>(p)])
        if (e.To == kFlowFinish || e.To == kFlowDialog ||
            (IsPosition(m, e.To) && finishes[static_cast<size_t>(e.To)])) {
          finishes[static_cast<size_t>(p)] = true;
          changed = true;
          break;
        }
    }
  }

  if (!IsPosition(m, m.StartPage))
    findings.push_back(
        {true, m.StartPage,
         Format("the start page %d is not a position of the wizard (1 to %d)", {m.StartPage, n})});
  for (int32_t p = 1; p <= n; ++p) {
    const TFlowPosition& pos = m.Positions[static_cast<size_t>(p - 1)];
    const int32_t page = pos.Page;
    if (page < 0 || page > m.NumPages)
      findings.push_back(
          {true, page, Format("%s shows page %d, which does not exist", {where(p), page})});
    if (!Valid(m, pos.Next))
      findings.push_back(
          {true, page,
           m.WayList ? Format("%s goes on to position %d, which has no entry", {where(p), pos.Next})
                     : Format("Next leads to %d, outside 0..%d", {pos.Next, n})});
    for (const TFlowJump& j : pos.Jumps)
      if (!Valid(m, j.Target))
        findings.push_back(
            {true, page,
             Format("the jump target %d of %s lies outside 0..%d", {j.Target, j.Name, n})});
    if (!reached[static_cast<size_t>(p)])
      findings.push_back({true, page, where(p) + " is reached by no walk from the start page"});
    else if (!finishes[static_cast<size_t>(p)])
      findings.push_back(
          {true, page, where(p) + " is a dead end: no walk from it reaches the finish"});
    // A radio button's targets that disagree: Next follows the first in component order.
    std::set<int32_t> checkedTargets;
    std::string first;
    for (const TFlowJump& j : pos.Jumps)
      if (j.Radio && j.Checked) {
        checkedTargets.insert(j.Target);
        if (first.empty()) first = j.Name;
      }
    if (checkedTargets.size() > 1)
      findings.push_back({false, page,
                          "checked jump radio buttons lead to different pages; Next follows " +
                              first + ", the first of them"});
    if (pos.ShownControls == 0) findings.push_back({false, page, where(p) + " shows no control"});
  }
  for (const TFlowMissingPlace& missing : m.MissingPlaces)
    findings.push_back({true, missing.Page,
                        Format("%s holds no place for page %d", {missing.Control, missing.Page})});
  std::stable_sort(findings.begin(), findings.end(),
                   [](const TFlowFinding& a, const TFlowFinding& b) { return a.Page < b.Page; });
  return findings;
}

std::string FlowFindingText(const std::string& form, const TFlowModel& model,
                            const TFlowFinding& finding) {
  std::string name =
      finding.Page >= 0 && finding.Page < static_cast<int32_t>(model.PageNames.size())
          ? model.PageNames[static_cast<size_t>(finding.Page)]
          : std::string();
  std::string text =
      Format("page %d ('%s'): %s: %s",
             {finding.Page, name, finding.Error ? "error" : "warning", finding.Message});
  return form.empty() ? text : form + ": " + text;
}

std::string FlowDot(const TFlowModel& m) {
  auto quoted = [](const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    return out + "\"";
  };
  auto node = [&](int32_t to) -> std::string {
    if (to == kFlowFinish) return "finish";
    if (to == kFlowDialog) return "dialog";
    return "p" + std::to_string(to);
  };
  const int32_t n = PositionCount(m);
  std::string dot = "digraph wizard {\n  start [shape=point];\n  finish [shape=doublecircle];\n";
  dot += "  dialog [shape=box, label=" +
         quoted(m.PageNames.empty() ? std::string("Dialog") : m.PageNames.front()) + "];\n";
  for (int32_t p = 1; p <= n; ++p) {
    int32_t page = m.Positions[static_cast<size_t>(p - 1)].Page;
    std::string name = page >= 0 && page < static_cast<int32_t>(m.PageNames.size())
                           ? m.PageNames[static_cast<size_t>(page)]
                           : "page " + std::to_string(page);
    dot += "  p" + std::to_string(p) + " [label=" + quoted(name) + "];\n";
  }
  if (IsPosition(m, m.StartPage)) dot += "  start -> p" + std::to_string(m.StartPage) + ";\n";
  dot += "  dialog -> finish [label=\"OK\"];\n";
  for (int32_t p = 1; p <= n; ++p)
    for (const TEdge& e : EdgesFrom(m, p))
      if (Valid(m, e.To))
        dot +=
            "  p" + std::to_string(p) + " -> " + node(e.To) + " [label=" + quoted(e.Label) + "];\n";
  // Back from a page reached through a skipped one returns past it, to where that one came
  // from: each such way back is drawn dashed.
  auto skipped = [&](int32_t p) {
    return std::find(m.SkipOnBack.begin(), m.SkipOnBack.end(),
                     m.Positions[static_cast<size_t>(p - 1)].Page) != m.SkipOnBack.end();
  };
  std::set<std::pair<int32_t, int32_t>> backs;
  for (int32_t u = 1; u <= n; ++u) {
    if (!skipped(u)) continue;
    for (const TEdge& out : EdgesFrom(m, u)) {
      if (!IsPosition(m, out.To) || skipped(out.To)) continue;
      for (int32_t w = 1; w <= n; ++w)
        for (const TEdge& in : EdgesFrom(m, w))
          if (in.To == u && !skipped(w)) backs.insert({out.To, w});
    }
  }
  for (const auto& [from, to] : backs)
    dot += "  p" + std::to_string(from) + " -> p" + std::to_string(to) +
           " [label=\"Back-skips\", style=dashed];\n";
  return dot + "}\n";
}

}  // namespace zelvar

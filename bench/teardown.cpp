// Freeing forms of many controls: sibling panels, aligned sibling panels, panels nested in a
// few parents, and a form read that fails after its last component (the reader frees what it
// made before it reports). Each case runs at two sizes ten times apart; the complexity fit
// and the time per child show whether freeing stays linear: a quadratic teardown takes ten
// times as long per child at the larger size.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/controls/ExtCtrls.h"
#include "platform/core/Exceptions.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"

namespace {

using namespace zelvar;

TForm* MakeForm(int64_t children, TAlign align, int64_t parents) {
  auto* form = New<TForm>(nullptr);
  form->SetBounds(0, 0, 800, 600);
  std::vector<TWinControl*> holders;
  for (int64_t i = 0; i < parents; ++i) {
    auto* holder = New<TPanel>(form);
    holder->SetParent(form);
    holders.push_back(holder);
  }
  if (holders.empty()) holders.push_back(form);
  for (int64_t i = 0; i < children; ++i) {
    auto* panel = New<TPanel>(form);
    panel->SetBounds(static_cast<int32_t>(i % 700), static_cast<int32_t>(i % 500), 20, 10);
    panel->SetParent(holders[static_cast<size_t>(i) % holders.size()]);
    if (align != alNone) panel->SetAlign(align);
  }
  return form;
}

void FreeForms(benchmark::State& state, TAlign align, int64_t parents) {
  const int64_t n = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    TForm* form = MakeForm(n, align, parents);
    state.ResumeTiming();
    delete form;
  }
  state.SetComplexityN(n);
  state.counters["per_child"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

void BM_FreeSiblingPanels(benchmark::State& state) {
  FreeForms(state, alNone, 0);
}
BENCHMARK(BM_FreeSiblingPanels)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_FreeAlignedPanels(benchmark::State& state) {
  FreeForms(state, alTop, 0);
}
// Making n aligned children lays them out n times, so this case stops at 10,000.
BENCHMARK(BM_FreeAlignedPanels)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Children spread over ten parents, added in turn: each parent loses its children in the
// reverse of the order they came, but not at the back of the form's list.
void BM_FreeNestedPanels(benchmark::State& state) {
  FreeForms(state, alNone, 10);
}
BENCHMARK(BM_FreeNestedPanels)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A form file of n panels whose last one names a property no panel has: the time is the
// reading and the freeing of everything read, until the error is reported.
void BM_FailedRead(benchmark::State& state) {
  const int64_t n = state.range(0);
  RegisterClasses<TForm, TPanel>();
  std::string text = "object Form1: TForm\n";
  for (int64_t i = 0; i < n; ++i)
    text += "  object P" + std::to_string(i) + ": TPanel\n    Left = 1\n  end\n";
  text += "  object Last: TPanel\n    NoSuchProperty = 1\n  end\nend\n";
  for (auto _ : state) {
    try {
      delete ReadComponent(text);
      state.SkipWithError("the broken form was read");
    } catch (const EReadError&) {
    }
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_FailedRead)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

// A large wizard's input: 2,000 edits on 100 page-bound panels over 20 pages, one of them
// Required on the page shown. Typing a character into it makes the wizard weigh the page's
// input again (Next follows every keystroke); saving and restoring the wizard's state takes
// every edit's value. Targets: a keystroke well inside a 16 ms frame (1 ms), saving or
// restoring the state 50 ms.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "platform/controls/Edit.h"
#include "platform/streaming/Streams.h"
#include "zelvar/zelvar.h"

namespace {

using namespace zelvar;

constexpr int32_t kPages = 20;
constexpr int32_t kPanelsPerPage = 5;
constexpr int32_t kEditsPerPanel = 20;

struct TLargeWizard {
  std::unique_ptr<TForm> Form;
  TZelvar* Zelvar = nullptr;
  TEdit* Required = nullptr;

  TLargeWizard() {
    Initialize();
    Form.reset(New<TForm>(nullptr));
    Form->SetName("Form1");
    Form->SetBounds(0, 0, 640, 480);
    Zelvar = New<TZelvar>(Form.get());
    Zelvar->SetName("Zelvar1");
    Zelvar->SetParent(Form.get());
    Zelvar->SetNumPages(kPages);
    Zelvar->UseDefaultButtons();
    int n = 0;
    for (int32_t p = 1; p <= kPages; ++p)
      for (int32_t i = 0; i < kPanelsPerPage; ++i) {
        auto* panel = New<TAPanel>(Form.get());
        panel->SetName("Panel" + std::to_string(++n));
        Zelvar->Place(panel, p, {8, 8 + i * 60, 600, 60 + i * 60});
        for (int32_t e = 0; e < kEditsPerPanel; ++e) {
          auto* edit = New<TEdit>(Form.get());
          edit->SetName("Edit" + std::to_string(n) + "_" + std::to_string(e));
          edit->SetParent(panel);
          edit->SetBounds(4 + e * 28, 4, 26, 21);
          edit->SetText("value " + std::to_string(e));
        }
      }
    Required = New<TEdit>(Form.get());
    Required->SetName("Name");
    Required->SetParent(dynamic_cast<TAPanel*>(Form->FindComponent("Panel1")));
    Required->SetRequired(true);
    Zelvar->setPage(1);
  }
};

void BM_KeystrokeInARequiredEdit(benchmark::State& state) {
  TLargeWizard w;
  for (auto _ : state) {
    w.Required->SetText(w.Required->Text().size() > 40 ? "" : w.Required->Text() + "a");
    benchmark::DoNotOptimize(w.Zelvar->PageComplete());
  }
}
BENCHMARK(BM_KeystrokeInARequiredEdit)->Unit(benchmark::kMicrosecond);

void BM_SaveState(benchmark::State& state) {
  TLargeWizard w;
  for (auto _ : state) {
    TMemoryStream stream;
    w.Zelvar->SaveState(stream);
    benchmark::DoNotOptimize(stream.Data().size());
  }
}
BENCHMARK(BM_SaveState)->Unit(benchmark::kMillisecond);

void BM_LoadState(benchmark::State& state) {
  TLargeWizard w;
  TMemoryStream saved;
  w.Zelvar->SaveState(saved);
  for (auto _ : state) {
    saved.SetPosition(0);
    w.Zelvar->LoadState(saved);
  }
}
BENCHMARK(BM_LoadState)->Unit(benchmark::kMillisecond);

}  // namespace

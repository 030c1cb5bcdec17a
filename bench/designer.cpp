// The visual designer on a large wizard: 2,000 page-bound panels on 20 pages (100 a page).
// One frame of the designer is the user's action and the repaint of the whole designer window
// that shows it: selecting a control with a click, moving it a grid step (which records the
// change for undo), and one undo (which rebuilds the form from the recorded state). Opening
// reads the file, builds the property grid and paints the window once. Targets: 16 ms a frame,
// 200 ms to open.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "design/Zelvar32.h"
#include "platform/controls/Register.h"
#include "platform/designer/DesignerWindow.h"
#include "platform/designer/Palette.h"
#include "platform/streaming/FormFiles.h"
#include "zelvar/zelvar.h"

namespace {

using namespace zelvar;

constexpr int32_t kPages = 20;
constexpr int32_t kPerPage = 100;

// The form file, made once: the container steps through its pages in the design state, and
// each page gets its panels, which record their place for the page shown as they are placed.
const std::string& LargeWizardFile() {
  static const std::string file = [] {
    Initialize();
    RegisterStandardPalette();
    Register();
    auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
    form->SetName("Form1");
    form->SetFormClassName("TForm1");
    form->SetBounds(0, 0, 640, 480);
    form->SetDesigning(true);
    auto* z = New<TZelvar>(form.get());
    z->SetName("Zelvar1");
    z->SetParent(form.get());
    z->SetNumPages(kPages);
    int n = 0;
    for (int32_t p = 1; p <= kPages; ++p) {
      z->setPage(p);
      for (int32_t i = 0; i < kPerPage; ++i) {
        auto* panel = New<TAPanel>(form.get());
        panel->SetName("APanel" + std::to_string(++n));
        panel->SetParent(z);
        panel->SetBounds(8 + (i % 10) * 60, 8 + (i / 10) * 36, 56, 32);
      }
    }
    z->setPage(1);
    std::string path =
        (std::filesystem::temp_directory_path() / "zelvar-bench-designer.dfm").string();
    WriteComponentFile(path, form.get(), TFormFormat::Binary);
    return path;
  }();
  return file;
}

// The designer with the large wizard open and painted.
struct TOpenDesigner {
  TOpenDesigner() : Window(std::make_unique<TDesignerWindow>(nullptr)) {
    Window->Palette().Rebuild();
    Window->Open(LargeWizardFile());
    Window->RepaintForm();
  }
  TFormEditor& Editor() const { return Window->Session().Editor(); }
  // A click at the centre of the control, through the window as a user's click comes.
  void Click(TControl& c) const {
    TPoint at = c.FormOrigin();
    at.X += c.Width() / 2;
    at.Y += c.Height() / 2;
    Window->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, at.X, at.Y);
    Window->DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X, at.Y);
  }
  TControl& Panel(int n) const {
    return *dynamic_cast<TControl*>(
        Window->Session().Form().FindComponent("APanel" + std::to_string(n)));
  }
  std::unique_ptr<TDesignerWindow> Window;
};

void BM_DesignerOpen(benchmark::State& state) {
  LargeWizardFile();
  for (auto _ : state) {
    TOpenDesigner designer;
    benchmark::DoNotOptimize(designer.Window->Snapshot().Width());
    if (designer.Window->Session().Form().GetComponentCount() != kPages * kPerPage + 1)
      state.SkipWithError("the form does not hold its controls");
  }
}
BENCHMARK(BM_DesignerOpen)->Unit(benchmark::kMillisecond);

void BM_DesignerSelectAndRepaint(benchmark::State& state) {
  TOpenDesigner designer;
  TControl* panels[] = {&designer.Panel(1), &designer.Panel(55)};
  int k = 0;
  for (auto _ : state) {
    designer.Click(*panels[k ^= 1]);
    designer.Window->RepaintForm();
  }
  if (designer.Editor().Selection().size() != 1) state.SkipWithError("a click selected nothing");
}
BENCHMARK(BM_DesignerSelectAndRepaint)->Unit(benchmark::kMillisecond);

void BM_DesignerMoveGridStepAndRepaint(benchmark::State& state) {
  TOpenDesigner designer;
  designer.Click(designer.Panel(1));
  int step = 1;
  for (auto _ : state) {
    step = -step;
    designer.Editor().DesignKey(step > 0 ? VK_RIGHT : VK_LEFT, {ssCtrl});
    designer.Window->RepaintForm();
  }
  if (!designer.Window->Session().CanUndo()) state.SkipWithError("the moves were not recorded");
}
BENCHMARK(BM_DesignerMoveGridStepAndRepaint)->Unit(benchmark::kMillisecond);

void BM_DesignerUndoAndRepaint(benchmark::State& state) {
  TOpenDesigner designer;
  designer.Click(designer.Panel(1));
  designer.Editor().DesignKey(VK_RIGHT, {ssCtrl});
  for (auto _ : state) {
    designer.Window->Undo();
    designer.Window->RepaintForm();
    state.PauseTiming();
    designer.Window->Redo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DesignerUndoAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

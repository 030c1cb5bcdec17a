// Page changes on a large wizard: a container on a form of many page-bound controls, each told
// the new page by the container's broadcast and moving, showing or parking itself as a
// page-bound control does. Three cases separate the costs: controls that show on one page and
// hide on the others, controls hidden everywhere (only the hide path, which finds nothing to
// change), and controls that ignore the call (only the container's dispatch).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "container/ZelvarA.h"
#include "platform/controls/Controls.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"

namespace {

using namespace zelvar;

constexpr int32_t kPages = 10;

// Where a box stands on one page, and whether it is seen there at all.
struct TPlace {
  int32_t Left = 0;
  int32_t Top = 0;
  bool Shown = false;
};

// A page-bound control. A graphic control: no window, no place in the tab order, so the
// numbers are the container's and the broadcast's rather than the focus handling's.
class TBenchBox : public TGraphicControl {
  ZELVAR_CLASS(TBenchBox, TGraphicControl)

 public:
  explicit TBenchBox(TComponent* owner)
      : TGraphicControl(owner), FPlaces(static_cast<size_t>(kPages) + 1) {}

  void ShowOn(int32_t page, int32_t left, int32_t top) {
    FPlaces.at(static_cast<size_t>(page)) = {left, top, true};
  }

  // Every control is a child of the container already, so only the place and the state
  // change; each property is written only when it differs, as a repaint follows every write.
  void SetNewPosition(int32_t n) {
    const TPlace* place = n >= 0 && static_cast<size_t>(n) < FPlaces.size()
                              ? &FPlaces[static_cast<size_t>(n)]
                              : nullptr;
    if (place && place->Shown) {
      if (Left() != place->Left) SetLeft(place->Left);
      if (Top() != place->Top) SetTop(place->Top);
      if (!Enabled()) SetEnabled(true);
      if (!Visible()) SetVisible(true);
    } else {
      if (Visible()) SetVisible(false);
      if (Enabled()) SetEnabled(false);
      if (Left() != kParkedLeft) SetLeft(kParkedLeft);
    }
  }

  // n places: the dialog page and each wizard page; pages added later start hidden.
  void SetNumApos(int32_t n) {
    if (n >= 0) FPlaces.resize(static_cast<size_t>(n));
  }

 private:
  std::vector<TPlace> FPlaces;
};

// Publishes the two methods but does nothing in them: what remains is the dispatch.
class TBenchNullBox : public TGraphicControl {
  ZELVAR_CLASS(TBenchNullBox, TGraphicControl)

 public:
  explicit TBenchNullBox(TComponent* owner) : TGraphicControl(owner) {}
  void SetNewPosition(int32_t n) { benchmark::DoNotOptimize(n); }
  void SetNumApos(int32_t n) { benchmark::DoNotOptimize(n); }
};

const TClassInfo& TBenchBox::StaticClassInfo() {
  static const auto info = TClassBuilder<TBenchBox>("TBenchBox")
                               .Method("SetNewPosition", &TBenchBox::SetNewPosition)
                               .Method("SetNumApos", &TBenchBox::SetNumApos)
                               .Build();
  return *info;
}

const TClassInfo& TBenchNullBox::StaticClassInfo() {
  static const auto info = TClassBuilder<TBenchNullBox>("TBenchNullBox")
                               .Method("SetNewPosition", &TBenchNullBox::SetNewPosition)
                               .Method("SetNumApos", &TBenchNullBox::SetNumApos)
                               .Build();
  return *info;
}

enum class TLayout { OnePageEach, HiddenEverywhere };

struct TWizard {
  std::unique_ptr<TForm> Form;
  TZelvar* Zelvar = nullptr;
};

// A shown 800x600 form with a run-time container and count boxes owned by the form and
// parented to the container, spread over the ten pages.
template <class Box>
TWizard MakeWizard(int count, TLayout layout) {
  TWizard w;
  w.Form.reset(New<TForm>(nullptr));
  w.Form->SetBounds(0, 0, 800, 600);
  w.Zelvar = New<TZelvar>(w.Form.get());
  w.Zelvar->SetParent(w.Form.get());
  for (int i = 0; i < count; ++i) {
    auto* box = New<Box>(w.Form.get());
    box->SetParent(w.Zelvar);
    box->SetBounds(0, 0, 75, 21);
    if constexpr (std::is_same_v<Box, TBenchBox>) {
      if (layout == TLayout::OnePageEach)
        box->ShowOn(i % kPages + 1, 8 + (i * 37) % 700, 8 + (i * 13) % 520);
    }
  }
  // After the boxes, so that they get the page count through the broadcast, as on a form
  // that was read from its file.
  w.Zelvar->SetNumPages(kPages);
  w.Form->Show();
  // The first page also sizes the form for the wizard; that happens once, not per change.
  w.Zelvar->setPage(1);
  return w;
}

// The boxes seen on the current page: a page change that did nothing would go unnoticed in
// the timings alone.
int VisibleBoxes(const TZelvar& z) {
  int n = 0;
  for (int i = 0; i < z.ControlCount(); ++i) {
    TControl* c = z.Controls(i);
    if ((c->Is<TBenchBox>() || c->Is<TBenchNullBox>()) && c->Visible()) ++n;
  }
  return n;
}

// Cycles through the pages so that every iteration really changes the page.
void RunPageChanges(benchmark::State& state, TZelvar& z) {
  int32_t page = z.Page();
  for (auto _ : state) {
    page = page % kPages + 1;
    z.setPage(page);
  }
}

void ReportPerComponent(benchmark::State& state, int count) {
  state.counters["components"] = count;
  if (count > 0)
    state.counters["ns_per_component"] = benchmark::Counter(
        count * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SetPage(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TWizard w = MakeWizard<TBenchBox>(count, TLayout::OnePageEach);
  RunPageChanges(state, *w.Zelvar);
  if (VisibleBoxes(*w.Zelvar) != count / kPages)
    state.SkipWithError("the boxes of the current page are not the ones shown");
  ReportPerComponent(state, count);
}
BENCHMARK(BM_SetPage)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_SetPageAllHidden(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TWizard w = MakeWizard<TBenchBox>(count, TLayout::HiddenEverywhere);
  RunPageChanges(state, *w.Zelvar);
  if (VisibleBoxes(*w.Zelvar) != 0) state.SkipWithError("a box hidden everywhere is shown");
  ReportPerComponent(state, count);
}
BENCHMARK(BM_SetPageAllHidden)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The broadcast alone; with no boxes at all, what a page change costs the container itself.
void BM_SetPageDispatchOnly(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TWizard w = MakeWizard<TBenchNullBox>(count, TLayout::HiddenEverywhere);
  RunPageChanges(state, *w.Zelvar);
  ReportPerComponent(state, count);
}
BENCHMARK(BM_SetPageDispatchOnly)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

// What a list box costs to paint: a box showing 40 items, holding only those 40 or 100,000 of
// them. Only the items that show are laid out and drawn, so the two should cost about the same
// (the long list at most twice the short one).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls/ListBox.h"
#include "platform/graphics/Bitmap.h"

namespace {

using namespace zelvar;

constexpr int32_t kVisible = 40;

void PaintListBox(benchmark::State& state) {
  const auto count = static_cast<int32_t>(state.range(0));
  TListBox box(nullptr);
  box.Items()->BeginUpdate();
  for (int32_t i = 0; i < count; ++i) box.Items()->Add("Item number " + std::to_string(i));
  box.Items()->EndUpdate();
  box.SetBounds(0, 0, 240, kVisible * box.ItemHeight() + 2 * TListBox::kBorder);
  if (box.VisibleRows() != kVisible) {
    state.SkipWithError("the box does not show 40 items");
    return;
  }
  // Scrolled to the middle, where a walk from the first item would cost the most.
  box.SetTopIndex(count / 2);
  box.SetItemIndex(box.TopIndex() + 3);
  TBitmap target(box.Width(), box.Height());
  const TRect clip = Rect(0, 0, box.Width(), box.Height());
  for (auto _ : state) {
    box.PaintControl(target, {0, 0}, clip);
    benchmark::ClobberMemory();
  }
  state.counters["items"] = count;
}

BENCHMARK(PaintListBox)->Arg(kVisible)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

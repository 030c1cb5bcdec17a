// Fill and line throughput on an 800x600 bitmap, with the memset floor in the same run.

#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

using namespace zelvar;

void BM_MemsetFloor(benchmark::State& state) {
  TBitmap bitmap(800, 600);
  for (auto _ : state) {
    std::memset(bitmap.ScanLine(0), 0x7F, 800 * 600 * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 800 * 600 * 4);
}
BENCHMARK(BM_MemsetFloor)->Unit(benchmark::kMicrosecond);

void BM_FillRect800x600(benchmark::State& state) {
  TBitmap bitmap(800, 600);
  TCanvas& c = *bitmap.Canvas();
  c.Brush()->SetColor(clBtnFace);
  for (auto _ : state) {
    c.FillRect(Rect(0, 0, 800, 600));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 800 * 600 * 4);
}
BENCHMARK(BM_FillRect800x600)->Unit(benchmark::kMicrosecond);

// 1000 lines in every direction, solid and dotted: pixels per second.
void BM_Lines(benchmark::State& state) {
  TBitmap bitmap(800, 600);
  TCanvas& c = *bitmap.Canvas();
  c.Pen()->SetStyle(state.range(0) ? psDot : psSolid);
  int64_t pixels = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      int x0 = (i * 37) % 800, y0 = (i * 53) % 600, x1 = (i * 91) % 800, y1 = (i * 17) % 600;
      c.MoveTo(x0, y0);
      c.LineTo(x1, y1);
      pixels += std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels_per_s"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Lines)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

// Property access by name is the path every form-file read and every script takes, so its
// cost per property matters for loading large forms.

#include <benchmark/benchmark.h>

#include "platform/core/TypInfo.h"

namespace {

using namespace zelvar;

ZELVAR_ENUM(TBenchAlign, uint8_t, baNone, baTop, baBottom, baLeft, baRight, baClient)

class TBenchControl : public TComponent {
  ZELVAR_CLASS(TBenchControl, TComponent)

 public:
  using TComponent::TComponent;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  TBenchAlign Align = baNone;
  std::string Caption;
};

const TClassInfo& TBenchControl::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TBenchControl>("TBenchControl")
          .Property("Left", &TBenchControl::Left, &TBenchControl::Left)
          .Property("Top", &TBenchControl::Top, &TBenchControl::Top)
          .Property("Width", &TBenchControl::Width, &TBenchControl::Width)
          .Property("Height", &TBenchControl::Height, &TBenchControl::Height)
          .Property("Align", &TBenchControl::Align, &TBenchControl::Align)
          .Default(baNone)
          .Property("Caption", &TBenchControl::Caption, &TBenchControl::Caption)
          .Build();
  return *info;
}

void BM_SetPropValueByName(benchmark::State& state) {
  TBenchControl c(nullptr);
  const TValue value = int64_t{42};
  for (auto _ : state) {
    SetPropValue(&c, "Height", value);
    benchmark::DoNotOptimize(c.Height);
  }
}
BENCHMARK(BM_SetPropValueByName);

void BM_SetPropTextEnum(benchmark::State& state) {
  TBenchControl c(nullptr);
  for (auto _ : state) {
    SetPropText(&c, "Align", "baClient");
    benchmark::DoNotOptimize(c.Align);
  }
}
BENCHMARK(BM_SetPropTextEnum);

void BM_GetPropTextString(benchmark::State& state) {
  TBenchControl c(nullptr);
  c.Caption = "Wizard - Page 1 of 2";
  for (auto _ : state) benchmark::DoNotOptimize(GetPropText(&c, "Caption"));
}
BENCHMARK(BM_GetPropTextString);

// The direct setter, as the yardstick for the by-name path above.
void BM_DirectAssignment(benchmark::State& state) {
  TBenchControl c(nullptr);
  int32_t v = 42;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    c.Height = v;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DirectAssignment);

}  // namespace

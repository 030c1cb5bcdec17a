// What a fine screen costs: a full repaint of the setup example (banner, watermark, step list,
// glyphs) read at 96 and at 192 pixels per inch. The picture has four times the pixels at 192,
// and its pictures are magnified as they are painted; the ratio of the two shows what that adds.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "platform/controls/Register.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"

namespace {

using namespace zelvar;

void BM_RepaintSetup(benchmark::State& state) {
  RegisterControls();
  RegisterClasses<TForm>();
  RegisterZelvarA();
  RegisterZelvarC();
  const std::string dpi = std::to_string(state.range(0));
  ::setenv("ZELVAR_DPI", dpi.c_str(), 1);
  TFormReadOptions options;
  // The example's handlers do nothing here: only its pictures are measured.
  options.FindHandler = [](const std::string&) { return TGenericHandler([](TEventCall&) {}); };
  std::unique_ptr<TForm> form(
      As<TForm>(ReadComponentFile(std::string(ZELVAR_EXAMPLES) + "/setup.txt", options)));
  ::unsetenv("ZELVAR_DPI");
  auto* wizard = As<TZelvar>(form->FindComponent("Zelvar1"));
  wizard->setPage(static_cast<int32_t>(state.range(1)));
  form->Snapshot();
  for (auto _ : state) form->RepaintForm();
  const TBitmap& shot = form->Snapshot();
  state.counters["pixels"] = static_cast<double>(shot.Width()) * shot.Height();
}
BENCHMARK(BM_RepaintSetup)
    ->ArgNames({"dpi", "page"})
    ->Args({96, 1})
    ->Args({192, 1})
    ->Args({96, 3})
    ->Args({192, 3})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

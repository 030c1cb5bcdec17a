// Form files at scale: a generated form of many components with mixed properties, converted
// both ways, read into live components and written back. Conversion speed is held against
// Free Pascal's converters (fpconv) on the same file in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/core/TypInfo.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/FormText.h"

namespace {

using namespace zelvar;

ZELVAR_ENUM(TBenchAlign, uint8_t, baNone, baTop, baBottom, baLeft, baRight, baClient)

class TBenchFont : public TPersistent {
  ZELVAR_CLASS(TBenchFont, TPersistent)

 public:
  int32_t Size = 8;
  std::string Name = "MS Sans Serif";
};

class TBenchItem : public TComponent {
  ZELVAR_CLASS(TBenchItem, TComponent)

 public:
  explicit TBenchItem(TComponent* owner) : TComponent(owner) {}
  ~TBenchItem() override {
    delete Font;
    delete Lines;
  }
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { Data = s.ReadAll(); },
        [this](TStream& s) { s.WriteBuffer(Data); }, !Data.empty());
  }
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
  bool Enabled = true, Visible = true;
  TBenchAlign Align = baNone;
  TBenchFont* Font = new TBenchFont;
  TStringList* Lines = new TStringList;
  std::string Data;
};

const TClassInfo& TBenchFont::StaticClassInfo() {
  static const auto info = TClassBuilder<TBenchFont>("TBenchFont")
                               .Property("Size", &TBenchFont::Size, &TBenchFont::Size)
                               .Property("Name", &TBenchFont::Name, &TBenchFont::Name)
                               .Build();
  return *info;
}

const TClassInfo& TBenchItem::StaticClassInfo() {
  static const auto info = TClassBuilder<TBenchItem>("TBenchItem")
                               .Property("Left", &TBenchItem::Left, &TBenchItem::Left)
                               .Property("Top", &TBenchItem::Top, &TBenchItem::Top)
                               .Property("Width", &TBenchItem::Width, &TBenchItem::Width)
                               .Property("Height", &TBenchItem::Height, &TBenchItem::Height)
                               .Property("Caption", &TBenchItem::Caption, &TBenchItem::Caption)
                               .Property("Enabled", &TBenchItem::Enabled, &TBenchItem::Enabled)
                               .Default(true)
                               .Property("Visible", &TBenchItem::Visible, &TBenchItem::Visible)
                               .Default(true)
                               .Property("Align", &TBenchItem::Align, &TBenchItem::Align)
                               .Default(baNone)
                               .Property("Font", &TBenchItem::Font)
                               .Property("Lines", &TBenchItem::Lines)
                               .Build();
  return *info;
}

// The form's text: every component with integers, a string, a boolean, an enumeration, a
// dotted nested property, a 132-byte binary block and a strings list.
std::string FormText(int components) {
  static const char* aligns[] = {"baTop", "baBottom", "baLeft", "baRight", "baClient"};
  std::string text =
      "object Form1: TBenchItem\n  Left = 0\n  Top = 0\n  Width = 800\n  Height = 600\n";
  char hex[3];
  for (int i = 0; i < components; ++i) {
    text += "  object Item" + std::to_string(i) + ": TBenchItem\n";
    text += "    Left = " + std::to_string(i % 700) +
            "\n    Top = " + std::to_string((i * 7) % 500) +
            "\n    Width = " + std::to_string(75 + i % 300) + "\n    Height = 25\n";
    text += "    Caption = 'Item " + std::to_string(i) + " caption'\n";
    if (i % 3 == 0) text += "    Enabled = False\n";
    text += std::string("    Align = ") + aligns[i % 5] + "\n";
    text += "    Font.Size = " + std::to_string(8 + i % 5) + "\n";
    text += "    Lines.Strings = (\n      'first line'\n      'second line'\n    )\n";
    text += "    Data = {";
    for (int b = 0; b < 132; ++b) {
      if (b % 32 == 0) text += "\n      ";
      std::snprintf(hex, sizeof hex, "%02X", (i + b) & 0xFF);
      text += hex;
    }
    text += "\n    }\n  end\n";
  }
  return text + "end\n";
}

struct TCorpus {
  std::string Text, Binary, TextFile, BinaryFile;
};

const TCorpus& Corpus(int components) {
  static std::map<int, TCorpus> cache;
  auto it = cache.find(components);
  if (it != cache.end()) return it->second;
  TCorpus c;
  c.Text = FormText(components);
  c.Binary = ObjectTextToBinary(c.Text);
  c.TextFile = "/tmp/zelvar-bench-" + std::to_string(components) + ".txt";
  c.BinaryFile = "/tmp/zelvar-bench-" + std::to_string(components) + ".dfm";
  TMemoryStream(c.Text).SaveToFile(c.TextFile);
  TMemoryStream(c.Binary).SaveToFile(c.BinaryFile);
  return cache.emplace(components, std::move(c)).first->second;
}

// Free Pascal's throughput on the same file, or 0 when fpconv is not there.
double FpcMBps(const char* direction, const std::string& file) {
  std::string fpconv = ZELVAR_FPCONV;
  if (fpconv.empty()) return 0;
  std::string cmd = fpconv + " bench " + direction + " " + file + " 20";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return 0;
  double mbps = 0;
  if (std::fscanf(p, "MBps %lf", &mbps) != 1) mbps = 0;
  pclose(p);
  return mbps;
}

void Report(benchmark::State& state, size_t bytes, const char* direction, const std::string& file) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  static std::map<std::string, double> fpc;
  auto key = std::string(direction) + file;
  if (!fpc.count(key)) fpc[key] = FpcMBps(direction, file);
  state.counters["fpc_MBps"] = fpc[key];
  state.counters["MBps"] = benchmark::Counter(static_cast<double>(bytes) * 1e-6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_TextToBinary(benchmark::State& state) {
  const TCorpus& c = Corpus(10000);
  for (auto _ : state) benchmark::DoNotOptimize(ObjectTextToBinary(c.Text));
  Report(state, c.Text.size(), "t2b", c.TextFile);
}
BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);

void BM_BinaryToText(benchmark::State& state) {
  const TCorpus& c = Corpus(10000);
  for (auto _ : state) benchmark::DoNotOptimize(ObjectBinaryToText(c.Binary));
  Report(state, c.Binary.size(), "b2t", c.BinaryFile);
}
BENCHMARK(BM_BinaryToText)->Unit(benchmark::kMillisecond);

void BM_ReadComponent(benchmark::State& state) {
  RegisterClasses<TBenchItem>();
  const TCorpus& c = Corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::unique_ptr<TComponent> root(ReadComponent(c.Binary));
    benchmark::DoNotOptimize(root.get());
    // Freeing the form is not part of reading it.
    state.PauseTiming();
    root.reset();
    state.ResumeTiming();
  }
  state.counters["us_per_component"] = benchmark::Counter(
      static_cast<double>(state.range(0)) * 1e-6,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadComponent)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WriteComponent(benchmark::State& state) {
  RegisterClasses<TBenchItem>();
  const TCorpus& c = Corpus(10000);
  std::unique_ptr<TComponent> root(ReadComponent(c.Binary));
  for (auto _ : state) benchmark::DoNotOptimize(WriteComponent(root.get()));
  state.counters["us_per_component"] = benchmark::Counter(
      10000 * 1e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WriteComponent)->Unit(benchmark::kMillisecond);

}  // namespace

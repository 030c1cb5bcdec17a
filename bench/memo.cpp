// What a long text costs in a memo: typing one character at the end of a 1 MB text and moving
// the caret down one line in it (each within 50 us), painting 40 rows of a 100,000-line text
// next to the same 40 rows of a 40-line text (within 2x), and scrolling that memo by a page,
// key and repaint (within 0.5 ms).

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Memo.h"
#include "platform/graphics/Bitmap.h"

namespace {

using namespace zelvar;

// A memo on a panel that stands in for its form, focused, showing `rows` rows.
struct TMemoOnForm {
  std::unique_ptr<TPanel> Form{New<TPanel>(nullptr)};
  TMemo* Memo = New<TMemo>(Form.get());
  TBitmap Picture;

  TMemoOnForm(const std::string& text, int32_t rows) {
    Form->SetBounds(0, 0, 640, 800);
    Memo->SetParent(Form.get());
    Memo->SetWordWrap(false);
    Memo->SetText(text);
    // The height that shows exactly this many rows.
    TCanvas canvas(nullptr);
    canvas.Font()->Assign(Memo->Font());
    int32_t frame = Memo->Height() - Memo->TextRect().Height();
    Memo->SetBounds(0, 0, 600, frame + rows * canvas.TextHeight("Xy"));
    Picture.SetSize(Memo->Width(), Memo->Height());
    Memo->SetFocus();
    Paint();  // lays the text out once, as showing the form would
  }
  void Paint() { Memo->PaintControl(Picture, {0, 0}, Rect(0, 0, Memo->Width(), Memo->Height())); }
};

// Lines of about 50 characters, like a licence's paragraphs broken by hand.
std::string Text(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += "Line " + std::to_string(i) + ": the licensee may use the software as stated.\n";
  return text;
}

// 1 MB of text.
const std::string& MegabyteText() {
  static const std::string text = Text(1'000'000 / 56);
  return text;
}

void BM_MemoTypeAtEndOf1MB(benchmark::State& state) {
  TMemoOnForm f(MegabyteText(), 40);
  uint16_t key = VK_END;
  f.Memo->KeyDown(key, {ssCtrl});
  int64_t typed = 0;
  for (auto _ : state) {
    char32_t ch = 'x';
    f.Memo->KeyPress(ch);
    // A new line now and then, as a writer types, so the line typed into stays short.
    if (++typed % 50 == 0) {
      state.PauseTiming();
      ch = '\r';
      f.Memo->KeyPress(ch);
      state.ResumeTiming();
    }
  }
  state.counters["bytes"] = static_cast<double>(f.Memo->TextLength());
}
BENCHMARK(BM_MemoTypeAtEndOf1MB)->Unit(benchmark::kMicrosecond);

void BM_MemoCaretDownIn1MB(benchmark::State& state) {
  TMemoOnForm f(MegabyteText(), 40);
  const int32_t lines = f.Memo->LineCount();
  for (auto _ : state) {
    uint16_t key = VK_DOWN;
    f.Memo->KeyDown(key, {});
    if (f.Memo->CaretPos().Line == lines - 1) {
      state.PauseTiming();
      f.Memo->SetSelStart(0);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_MemoCaretDownIn1MB)->Unit(benchmark::kMicrosecond);

// Painting 40 rows; the argument is the number of lines the text has.
void BM_MemoPaint40Rows(benchmark::State& state) {
  const auto lines = static_cast<int>(state.range(0));
  TMemoOnForm f(Text(lines), 40);
  // The same 40 rows on screen in both: the middle of the long text.
  if (lines > 40) f.Memo->SetTopIndex(lines / 2 - (lines / 2) % 40);
  for (auto _ : state) {
    f.Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemoPaint40Rows)->Arg(40)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_MemoPageDownAndPaint100k(benchmark::State& state) {
  TMemoOnForm f(Text(100'000), 40);
  for (auto _ : state) {
    uint16_t key = VK_NEXT;
    f.Memo->KeyDown(key, {});
    f.Paint();
    if (f.Memo->CaretPos().Line >= 99'000) {
      state.PauseTiming();
      f.Memo->SetSelStart(0);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_MemoPageDownAndPaint100k)->Unit(benchmark::kMicrosecond);

}  // namespace

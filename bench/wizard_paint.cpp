// What a wizard costs to keep on screen: the button-bar layout pass when nothing changed (it
// must only compare), the tab-row rebuild of the tabbed style on very many pages, and a full
// repaint of an 800x600 wizard with fifty buttons, next to the memset floor of its bitmap.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "container/ZelvarA.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Resources.h"
#include "resources/ZelvarRes.h"

namespace {

using namespace zelvar;

// A run-time form that counts the requests to paint it again: an invalidation leaves no other
// trace once the flag it sets has been cleared by a paint.
class TCountingForm : public TForm {
 public:
  using TForm::TForm;
  void InvalidateForm() override {
    ++FInvalidations;
    TForm::InvalidateForm();
  }
  int64_t Invalidations() const { return FInvalidations; }
  void ResetInvalidations() { FInvalidations = 0; }

 private:
  int64_t FInvalidations = 0;
};

struct TWizard {
  std::unique_ptr<TCountingForm> Form;
  TZelvar* Zelvar = nullptr;
};

// Copies a glyph of the package's resources into a description; false when it is missing.
bool GiveGlyph(TButtonData& data, const char* resource) {
  HBITMAP handle = LoadBitmapA(ZelvarModule(), resource);
  if (!handle) return false;
  TBitmap glyph;
  glyph.LoadFromResource(handle);
  data.SetGlyph(&glyph);
  return !data.GetGlyph()->Empty();
}

// The nine descriptions as the language file fills them: text, glyph, shown and enabled.
bool DescribeButtons(TZelvar& z) {
  struct TEntry {
    TButtonData* Data;
    const char* Glyph;
    const char* Text;
  };
  const TEntry entries[] = {
      {z.BtnHelp(), "HELP", "&Help"},
      {z.BtnWizardOK(), "ZELVAROK", "&OK"},
      {z.BtnFinish(), "FINISH", "&Finish"},
      {z.BtnDialogOK(), "DIALOGOK", "&OK"},
      {z.BtnChangeWizard(), "CHANGEZELVAR", "&Wizard"},
      {z.BtnChangeDialog(), "CHANGEDIALOG", "&Dialog"},
      {z.BtnCancel(), "CANCEL", "&Cancel"},
      {z.BtnNext(), "ARROWR", "&Next"},
      {z.BtnBack(), "ARROWL", "&Back"},
  };
  for (const TEntry& e : entries) {
    if (!GiveGlyph(*e.Data, e.Glyph)) return false;
    e.Data->SetText(e.Text);
    e.Data->SetEnabled(true);
    e.Data->SetShow(true);
  }
  z.BtnNext()->SetLayout(blGlyphRight);
  return true;
}

// An 800x600 run-time form, not shown yet, with a container of the given style and pages.
TWizard MakeWizard(ZelvarStyle style, int32_t pages) {
  TWizard w;
  w.Form.reset(New<TCountingForm>(nullptr));
  w.Form->SetBounds(0, 0, 800, 600);
  w.Zelvar = New<TZelvar>(w.Form.get());
  w.Zelvar->SetParent(w.Form.get());
  w.Zelvar->SetNumPages(pages);
  if (style != asWizard) w.Zelvar->SetStyle(style);
  return w;
}

// --- 1. The layout pass with nothing to change

// What the layout pass may touch on one button.
struct TButtonState {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
  bool Enabled = false;
  bool Visible = false;
  bool Default = false;
  TButtonLayout Layout = blGlyphLeft;
  int32_t Tag = 0;
  int32_t NumGlyphs = 0;
  int32_t TabOrder = 0;
  std::vector<uint32_t> Glyph;

  bool operator==(const TButtonState&) const = default;
};

std::vector<TButtonState> CaptureButtons(const TZelvar& z) {
  std::vector<TButtonState> out;
  for (TBitBtn* b : {static_cast<TBitBtn*>(z.ChangeButton()), static_cast<TBitBtn*>(z.HelpButton()),
                     z.CancelButton(), static_cast<TBitBtn*>(z.BackButton()),
                     static_cast<TBitBtn*>(z.NextButton()), z.OKButton()})
    out.push_back({b->Left(), b->Top(), b->Width(), b->Height(), b->Caption(), b->Enabled(),
                   b->Visible(), b->Default(), b->Layout(), b->Tag(), b->NumGlyphs(), b->TabOrder(),
                   b->Glyph()->Image().Pixels});
  return out;
}

int ShownButtons(const std::vector<TButtonState>& buttons) {
  int n = 0;
  for (const TButtonState& b : buttons)
    if (b.Left != kParkedLeft && !b.Caption.empty() && !b.Glyph.empty()) ++n;
  return n;
}

void BM_LayoutPassUnchanged(benchmark::State& state) {
  TWizard w = MakeWizard(asWizard, 5);
  TZelvar& z = *w.Zelvar;
  if (!DescribeButtons(z)) {
    state.SkipWithError("a glyph of the package's resources is missing");
    return;
  }
  w.Form->Show();
  z.setPage(2);
  // A first pass of its own: whatever the page change left to settle is not what is timed.
  z.ShowButtons();
  w.Form->Snapshot();
  const std::vector<TButtonState> before = CaptureButtons(z);
  w.Form->ResetInvalidations();
  for (auto _ : state) z.ShowButtons();
  const int64_t invalidations = w.Form->Invalidations();
  state.counters["invalidations"] = static_cast<double>(invalidations);
  state.counters["buttons_shown"] = ShownButtons(before);
  // On page 2 of 5 every code of the wizard order is shown: Change, Help, Cancel, Back, Next
  // and OK.
  if (ShownButtons(before) != 6)
    state.SkipWithError("the bar does not show its six buttons with caption and glyph");
  else if (invalidations != 0 || w.Form->NeedsRepaint())
    state.SkipWithError("a pass with nothing changed invalidated the form");
  else if (CaptureButtons(z) != before)
    state.SkipWithError("a pass with nothing changed changed a button");
}
BENCHMARK(BM_LayoutPassUnchanged)->Unit(benchmark::kNanosecond);

// --- 2. The tab rows of the tabbed style

void ReportPerPage(benchmark::State& state, const TZelvar& z, int32_t pages) {
  state.counters["pages"] = pages;
  state.counters["rows"] = z.TabRows() ? z.TabRows()->ItemCount() : 0;
  state.counters["ns_per_page"] = benchmark::Counter(
      pages * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Every page has a tab in exactly one row.
bool RowsCoverPages(const TZelvar& z, int32_t pages) {
  const TIntegerList* rows = z.TabRows();
  if (!rows || rows->ItemCount() == 0) return false;
  int64_t sum = 0;
  for (int i = 0; i < rows->ItemCount(); ++i) {
    if (rows->GetInteger(i) <= 0) return false;
    sum += rows->GetInteger(i);
  }
  return sum == pages;
}

// SetTabSpaceX rebuilds the rows and then repaints the container's form. The container is
// taken off its form after it was laid out there, so it keeps its width but has no form to
// repaint: what remains is the rebuild, which measures every page's caption.
void BM_InitTabsInline(benchmark::State& state) {
  const auto pages = static_cast<int32_t>(state.range(0));
  TWizard w = MakeWizard(asTabbed, pages);
  TZelvar& z = *w.Zelvar;
  const int32_t width = z.Width();
  z.SetParent(nullptr);
  for (auto _ : state) z.SetTabSpaceX(16);
  if (z.Width() != width || width < 700)
    state.SkipWithError("the container lost the width it had on the form");
  else if (!RowsCoverPages(z, pages))
    state.SkipWithError("the rows do not hold every page once");
  ReportPerPage(state, z, pages);
}
BENCHMARK(BM_InitTabsInline)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same call as the designer makes it, the form's repaint included; the form is not shown,
// which does not spare the repaint.
void BM_SetTabSpaceXWithRepaint(benchmark::State& state) {
  const auto pages = static_cast<int32_t>(state.range(0));
  TWizard w = MakeWizard(asTabbed, pages);
  TZelvar& z = *w.Zelvar;
  for (auto _ : state) z.SetTabSpaceX(16);
  if (!RowsCoverPages(z, pages)) state.SkipWithError("the rows do not hold every page once");
  ReportPerPage(state, z, pages);
}
BENCHMARK(BM_SetTabSpaceXWithRepaint)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

// --- 3. A full repaint

constexpr int kButtons = 50;

// The form's bitmap as big as the whole form, filled once: the least a full repaint can cost.
void BM_MemsetFloor800x600(benchmark::State& state) {
  TBitmap bitmap(800, 600);
  for (auto _ : state) {
    std::memset(bitmap.ScanLine(0), 0x7F, size_t{800} * 600 * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 800 * 600 * 4);
}
BENCHMARK(BM_MemsetFloor800x600)->Unit(benchmark::kMicrosecond);

// Dark pixels inside a button's frame: only its caption puts them there.
int CaptionPixels(const TBitmap& shot, const TControl& button) {
  const TPoint at = button.FormOrigin();
  int n = 0;
  for (int32_t y = at.Y + 3; y < at.Y + button.Height() - 3; ++y)
    for (int32_t x = at.X + 3; x < at.X + button.Width() - 3; ++x)
      if ((shot.Image().At(x, y) & 0x00FFFFFF) == 0) ++n;
  return n;
}

// Fifty buttons on the page area, ten a row: plain buttons (0) or bitmap buttons with a glyph
// (1), each with its own caption.
void BM_RepaintWizard(benchmark::State& state) {
  const bool bitmapButtons = state.range(0) != 0;
  TWizard w = MakeWizard(asWizard, 5);
  TZelvar& z = *w.Zelvar;
  if (!DescribeButtons(z)) {
    state.SkipWithError("a glyph of the package's resources is missing");
    return;
  }
  TBitmap glyph;
  glyph.LoadFromResource(LoadBitmapA(ZelvarModule(), "ZELVAROK"));
  std::vector<TButton*> buttons;
  for (int i = 0; i < kButtons; ++i) {
    TButton* b = nullptr;
    if (bitmapButtons) {
      auto* bb = New<TBitBtn>(w.Form.get());
      bb->SetGlyph(&glyph);
      b = bb;
    } else {
      b = New<TButton>(w.Form.get());
    }
    b->SetParent(&z);
    b->SetBounds(8 + (i % 10) * 78, 8 + (i / 10) * 40, 75, 25);
    b->SetCaption("Option &" + std::to_string(i + 1));
    buttons.push_back(b);
  }
  w.Form->Show();
  z.setPage(2);
  w.Form->Snapshot();
  for (auto _ : state) w.Form->RepaintForm();
  const TBitmap& shot = w.Form->Snapshot();
  state.SetBytesProcessed(state.iterations() * shot.Width() * shot.Height() * 4);
  state.counters["buttons"] = static_cast<double>(z.ControlCount());
  state.counters["width"] = shot.Width();
  state.counters["height"] = shot.Height();
  for (const TButton* b : buttons)
    if (CaptionPixels(shot, *b) == 0) {
      state.SkipWithError("a button's caption is not on the form's bitmap");
      return;
    }
  if (CaptionPixels(shot, *z.NextButton()) == 0)
    state.SkipWithError("the Next button's caption is not on the form's bitmap");
}
BENCHMARK(BM_RepaintWizard)->ArgName("bitbtn")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

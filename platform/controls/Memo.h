#pragma once
// TMemo: the multi-line edit. Lines is a TStrings view of the memo's own lines, so code that
// adds, deletes or sets lines changes the memo directly (no copy to keep in step).
//
// Long texts stay fast: the text is kept as lines and a keystroke changes one of them; the
// rows each line wraps to are counted per line in a TLineIndex, so finding the line of a row
// and the row of a line is O(log n); only the rows on screen are wrapped in full and drawn.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Edit.h"
#include "platform/controls/ScrollBars.h"
#include "platform/core/Strings.h"

namespace zelvar {

class TMemo;

// Lines as a TStrings. Count leaves out the empty line after a final line break, so a text
// that ends with one has as many lines as it shows text lines; Add and Insert write a line
// with its line break. Objects are not kept (always 0).
class TMemoStrings : public TStrings {
  ZELVAR_CLASS(TMemoStrings, TStrings)

 public:
  explicit TMemoStrings(TMemo& memo) : FMemo(memo) {}
  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  int64_t GetObject(int index) const override;
  void PutObject(int index, int64_t object) override;
  void InsertObject(int index, const std::string& s, int64_t object) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  TMemo& FMemo;
};

class TMemo : public TCustomEdit {
  ZELVAR_CLASS(TMemo, TCustomEdit)

 public:
  static constexpr bool kDefaultWordWrap = true;
  static constexpr bool kDefaultWantReturns = true;
  static constexpr bool kDefaultWantTabs = false;
  static constexpr TScrollStyle kDefaultScrollBars = ssNone;

  explicit TMemo(TComponent* owner);
  ~TMemo() override;

  TStrings* Lines() const { return FLinesView.get(); }
  void SetLines(TStrings* v);  // copies the lines
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool v) { FWantReturns = v; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool v) { FWantTabs = v; }
  // The first row shown (a wrapped line shows as several rows).
  int32_t TopIndex() const { return FTopRow; }
  void SetTopIndex(int32_t v) { SetTopRow(v); }
  // Lines wrap at the text's width when WordWrap is set and there is no horizontal scroll
  // bar, as in the classic memo.
  bool Wrapping() const;

  int32_t WMGetDlgCode() override;
  bool CMDialogKey(uint16_t key, TShiftState shift) override;
  bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void WMSize() override;
  TRect TextRect() const override;

  const TScrollBarPart& VertScrollBar() const { return FVBar; }
  const TScrollBarPart& HorzScrollBar() const { return FHBar; }
  // Brings the bars' ranges, pages and positions up to date with the text and the view.
  void SyncScrollBars();

 protected:
  bool MultiLine() const override { return true; }
  int32_t RowCount() const override;
  TRow Row(int32_t row) const override;
  int32_t RowOf(TTextPos pos) const override;
  int32_t TopRow() const override { return FTopRow; }
  void SetTopRow(int32_t v) override;
  void LinesReplaced(int32_t first, int32_t removed, int32_t inserted) override;
  bool MoveVertically(uint16_t key, TShiftState shift) override;
  bool ScrollsHorizontally() const override { return !Wrapping(); }
  bool ClaimPress(int32_t x, int32_t y) override;
  void Paint() override;

 private:
  friend class TMemoStrings;
  // The width rows wrap at; 0 when lines do not wrap.
  int32_t WrapWidth() const;
  // Lays every line out again when the width or the font changed since the last time.
  void EnsureLayout() const;
  int32_t RowsOf(int32_t line) const;
  // Where the rows of a line start; the last line asked for is kept.
  const std::vector<size_t>& RowStarts(int32_t line) const;
  int32_t MaxTopRow() const;
  void PlaceScrollBars();

  std::unique_ptr<TMemoStrings> FLinesView;
  bool FWordWrap = kDefaultWordWrap;
  TScrollStyle FScrollBars = kDefaultScrollBars;
  bool FWantReturns = kDefaultWantReturns;
  bool FWantTabs = kDefaultWantTabs;
  int32_t FTopRow = 0;
  int32_t FWheelRest = 0;  // wheel turn short of a notch

  // The layout, a cache of the text, the font and the width.
  mutable TLineIndex FRows;           // rows per line
  mutable int32_t FLayoutWidth = -1;  // the WrapWidth it was made for; -1: none yet
  mutable TFont FLayoutFont;          // the face it was measured in
  mutable int32_t FMaxLineWidth = 0;  // the widest line (not wrapping), in pixels
  mutable int32_t FWrapLine = -1;     // the line FWrapStarts holds
  mutable std::vector<size_t> FWrapStarts;

  TScrollBarPart FVBar, FHBar;
  TScrollBarPart* FBarDown = nullptr;  // the bar a held press went down on
};

}  // namespace zelvar

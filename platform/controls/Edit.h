#pragma once
// TCustomEdit, the editing core that TEdit and TMemo share, and TEdit, the single-line field.
//
// The text is kept as lines (a single-line edit has exactly one), a position is a line and a
// byte offset on a character boundary, and every change goes through Replace, so carets,
// selections and MaxLength count characters and never split a UTF-8 sequence. Where the text
// shows is a list of rows: one row for an edit, the wrapped rows of a memo; painting, hit
// tests and the caret keys walk rows, so they are written once here.
//
// Outside, positions count characters from the start of the text (SelStart, SelLength), a
// line break counting as one character, as Lines.Text writes it ('\n').

#include <algorithm>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/TextEditing.h"

namespace zelvar {

ZELVAR_ENUM(TEditCharCase, uint8_t, ecNormal, ecUpperCase, ecLowerCase)

struct TTextPos {
  int32_t Line = 0;
  size_t Byte = 0;
  auto operator<=>(const TTextPos&) const = default;
};

class TCustomEdit : public TCustomControl {
  ZELVAR_CLASS(TCustomEdit, TCustomControl)

 public:
  // A field: the window colour, reached by Tab.
  static constexpr TColor kDefaultColor = clWindow;
  static constexpr bool kDefaultTabStop = true;
  static constexpr bool kDefaultAutoSelect = true;
  // The sunken frame's width on every side, and the gap between it and the text.
  static constexpr int32_t kBorder = 2;
  static constexpr int32_t kMargin = 1;

  explicit TCustomEdit(TComponent* owner);
  ~TCustomEdit() override;

  // --- text
  std::string Text() const;
  // Code may set any text: MaxLength limits only the user. CharCase applies. The same text
  // again changes nothing (no OnChange).
  void SetText(const std::string& v);
  int32_t LineCount() const { return static_cast<int32_t>(FLines.size()); }
  // EListError out of range.
  const std::string& Line(int32_t i) const;
  // Characters in the text, each line break one.
  int64_t TextLength() const { return FChars.Total() - 1; }

  // --- selection, in characters from the start of the text
  // Counts past INT32_MAX read as INT32_MAX.
  int32_t SelStart() const;
  void SetSelStart(int32_t v);
  // Negative: the selection runs back from SelStart.
  int32_t SelLength() const;
  void SetSelLength(int32_t v);
  std::string SelText() const;
  void SetSelText(const std::string& v);
  void SelectAll();
  TTextPos CaretPos() const { return FCaret; }
  TTextPos AnchorPos() const { return FAnchor; }

  // --- properties
  int32_t MaxLength() const { return FMaxLength; }
  void SetMaxLength(int32_t v) { FMaxLength = std::max(v, 0); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v) { FReadOnly = v; }
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  TEditCharCase CharCase() const { return FCharCase; }
  // Changing the case converts the text there is, as the classic edit does.
  void SetCharCase(TEditCharCase v);

  // --- the user's actions: what keys, the mouse and the clipboard do
  // Types or pastes text over the selection: nothing when ReadOnly; line breaks dropped in a
  // single line; CharCase applied; cut at a character boundary to what MaxLength leaves.
  void UserInsert(std::string_view text);
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  TNotifyEvent OnChange;
  TKeyPressEvent OnKeyPress;

  // Required input is given by text that is not all blanks.
  bool InputSatisfied() const override;
  // A text field: its text, caret and selection reach a screen reader, and it may edit them.
  void DescribeAccessible(TAccessibleDescription& d) const override;

  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void WMSetFocus() override;
  void WMKillFocus() override;

  // Where the text shows: the client area inside the frame and margins, less scroll bars.
  virtual TRect TextRect() const;
  // The box of the character at offset (characters from the start) in client coordinates, as
  // scrolled; no wider than the caret at a line's end. A screen reader shows it.
  TRect CharRect(int64_t offset);

 protected:
  // One row of the text on screen: bytes [Begin, End) of a line.
  struct TRow {
    int32_t Line = 0;
    size_t Begin = 0, End = 0;
  };

  // --- the rows; an edit has one, a memo overrides these
  virtual bool MultiLine() const { return false; }
  virtual int32_t RowCount() const { return 1; }
  virtual TRow Row(int32_t row) const;
  virtual int32_t RowOf(TTextPos pos) const;
  virtual int32_t TopRow() const { return 0; }
  virtual void SetTopRow(int32_t) {}
  // Rows that fit the text rectangle, at least one.
  int32_t VisibleRows() const;
  // Lines [first, first + removed) were replaced by [first, first + inserted).
  virtual void LinesReplaced(int32_t, int32_t, int32_t) {}
  // The caret keys a memo adds (Up, Down, PageUp, PageDown); true when handled.
  virtual bool MoveVertically(uint16_t, TShiftState) { return false; }
  // False while a memo wraps its lines: its rows always fit.
  virtual bool ScrollsHorizontally() const { return true; }

  // --- positions
  TTextPos Clamp(TTextPos p) const;
  TTextPos PosOfChar(int64_t offset) const;
  int64_t CharOf(TTextPos p) const;
  TTextPos TextEnd() const;
  // The position nearest to x, y in client coordinates.
  TTextPos PosAt(int32_t x, int32_t y);
  // Pixels from a row's first character to byte of its line (masked by PasswordChar).
  int32_t RowX(const TRow& row, size_t byte);
  // The character boundary of a row nearest to x row pixels.
  size_t RowByteAt(const TRow& row, int32_t x);
  // Where End puts the caret on a row.
  TTextPos RowEnd(int32_t row) const;
  // Moves the caret; with extend the anchor stays (a selection grows), else it follows.
  void MoveCaret(TTextPos to, bool extend);
  // Scrolls so that the caret shows.
  void ScrollToCaret();

  // A press the memo's scroll bars take before the text sees it; true when taken.
  virtual bool ClaimPress(int32_t, int32_t) { return false; }
  // The text rectangle inside field: the margins taken off.
  static TRect TextRectIn(TRect field);

  // --- changes
  // The one way the text changes: [from, to) becomes text (with '\n' between lines). The
  // caret and anchor go to the end of the new text when moveCaret, else they keep their
  // place in the text around it.
  void Replace(TTextPos from, TTextPos to, std::string_view text, bool moveCaret);
  virtual void Change();
  // Line breaks as the control keeps them ('\n', none in a single line), CharCase applied.
  std::string Normalize(std::string_view text) const;
  bool HasSelection() const { return FCaret != FAnchor; }
  void DeleteSelection();
  void DeleteBack();
  void DeleteForward();

  // --- painting
  void Paint() override;
  // The line as shown: PasswordChar for every character in an edit that has one.
  virtual char MaskChar() const { return 0; }
  TTextMeasure& Measure() const;

  int32_t FScrollX = 0;  // pixels of the rows scrolled off to the left
  int32_t FCaretX = -1;  // where Up and Down aim, in row pixels; -1: where the caret is

 private:
  void SetAllText(std::string_view text);
  void PaintRow(TCanvas& canvas, const TRow& row, int32_t x, int32_t y, TTextPos selFrom,
                TTextPos selTo);
  // Draws bytes [begin, end) of a line from x on, skipping what lies outside [left, right).
  void PaintText(TCanvas& canvas, std::string_view line, size_t begin, size_t end, int32_t& x,
                 int32_t y, int32_t left, int32_t right);
  TTextPos WordLeft(TTextPos p) const;
  TTextPos WordRight(TTextPos p) const;
  TTextPos CharLeft(TTextPos p) const;
  TTextPos CharRight(TTextPos p) const;

  std::vector<std::string> FLines{std::string()};
  TLineIndex FChars;  // characters per line, its line break included
  TTextPos FCaret, FAnchor;
  int32_t FMaxLength = 0;
  bool FReadOnly = false;
  bool FAutoSelect = kDefaultAutoSelect;
  TEditCharCase FCharCase = ecNormal;
  bool FSelecting = false;        // the left button went down in the text and is held
  mutable TTextMeasure FMeasure;  // a cache of the font's advances
};

class TEdit : public TCustomEdit {
  ZELVAR_CLASS(TEdit, TCustomEdit)

 public:
  explicit TEdit(TComponent* owner);

  // #0 shows the text; any other ASCII character hides each character behind it.
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char v);

 protected:
  char MaskChar() const override { return FPasswordChar; }

 private:
  char FPasswordChar = 0;
};

}  // namespace zelvar

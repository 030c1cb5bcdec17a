#include "platform/controls/Edit.h"

#include <algorithm>
#include <limits>

#include "platform/controls/Accessibility.h"
#include "platform/controls/Clipbrd.h"
#include "platform/core/Text.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Frame3D.h"

// Sections: class tables, text and selection, changes, keys and mouse, painting, TEdit.

namespace zelvar {

namespace {

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::numeric_limits<int32_t>::max()));
}

int32_t CharsOf(std::string_view line) {
  return ToInt32(static_cast<int64_t>(CharCount(line)));
}

}  // namespace

// =============================================================================================
// Class tables

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TCustomEdit>("TCustomEdit")
          // Declared here, published by TEdit and TMemo as each shows them.
          .Public("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
          .Default(kDefaultAutoSelect)
          .Public("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
          .Default(ecNormal)
          .Public("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
          .Default(0)
          .Public("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
          .Default(false)
          .Public("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
          .Public("OnChange", &TCustomEdit::OnChange, &TCustomEdit::OnChange)
          .Public("OnKeyPress", &TCustomEdit::OnKeyPress, &TCustomEdit::OnKeyPress)
          .Public("SelStart", &TCustomEdit::SelStart, &TCustomEdit::SetSelStart)
          .Public("SelLength", &TCustomEdit::SelLength, &TCustomEdit::SetSelLength)
          .Public("SelText", &TCustomEdit::SelText, &TCustomEdit::SetSelText)
          .Build();
  return *info;
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TEdit>("TEdit")
          .Publish("Align", "AutoSelect", "CharCase")
          .Publish("Color")
          .Default(kDefaultColor)
          .Publish("Enabled", "Font", "MaxLength")
          // A one-character string, as classic form files write it; #0 (no mask) is not
          // written.
          .Property(
              "PasswordChar",
              [](const TEdit& e) {
                return e.PasswordChar() ? std::string(1, e.PasswordChar()) : std::string();
              },
              [](TEdit& e, const std::string& v) {
                if (v.size() > 1)
                  throw EConvertError("PasswordChar takes one ASCII character, not '" + v + "'");
                e.SetPasswordChar(v.empty() ? '\0' : v[0]);
              })
          .Publish("PopupMenu")
          .Publish("ReadOnly", "TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Text", "Visible", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit",
                   "OnKeyPress")
          .Publish("Required")
          .Build();
  return *info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner) {
  FChars.Assign({1});
  SetColor(kDefaultColor);
  SetTabStop(kDefaultTabStop);
  SetCursor(crIBeam);
  IncludeStyle(csDoubleClicks);
}

TCustomEdit::~TCustomEdit() = default;

// =============================================================================================
// Text and selection

const std::string& TCustomEdit::Line(int32_t i) const {
  if (i < 0 || static_cast<size_t>(i) >= FLines.size())
    throw EListError("Line index out of bounds (" + std::to_string(i) + ")");
  return FLines[static_cast<size_t>(i)];
}

std::string TCustomEdit::Text() const {
  std::string text;
  for (size_t i = 0; i < FLines.size(); ++i) {
    if (i > 0) text += '\n';
    text += FLines[i];
  }
  return text;
}

void TCustomEdit::SetText(const std::string& v) {
  std::string text = Normalize(v);
  if (text != Text()) SetAllText(text);
}

void TCustomEdit::SetAllText(std::string_view text) {
  Replace({}, TextEnd(), text, false);
  FCaret = FAnchor = {};
  FScrollX = 0;
  SetTopRow(0);
  Invalidate();
}

std::string TCustomEdit::Normalize(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      // CR LF, CR and LF are each one line break; a single line has none.
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (MultiLine()) out += '\n';
      continue;
    }
    out += FCharCase == ecUpperCase ? UpperChar(c) : FCharCase == ecLowerCase ? LowerChar(c) : c;
  }
  return out;
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
  if (v == FCharCase) return;
  FCharCase = v;
  if (v == ecNormal) return;
  // ASCII case keeps every character where it was, so the selection stays.
  int32_t start = SelStart(), length = SelLength();
  SetText(Text());
  SetSelStart(start);
  SetSelLength(length);
}

TTextPos TCustomEdit::TextEnd() const {
  return {LineCount() - 1, FLines.back().size()};
}

TTextPos TCustomEdit::Clamp(TTextPos p) const {
  p.Line = std::clamp(p.Line, 0, LineCount() - 1);
  p.Byte = std::min(p.Byte, Line(p.Line).size());
  return p;
}

TTextPos TCustomEdit::PosOfChar(int64_t offset) const {
  offset = std::clamp<int64_t>(offset, 0, TextLength());
  int32_t line = std::min(FChars.Find(offset), LineCount() - 1);
  int64_t inLine = offset - FChars.Prefix(line);
  return {line, ByteOfChar(Line(line), static_cast<size_t>(inLine))};
}

int64_t TCustomEdit::CharOf(TTextPos p) const {
  p = Clamp(p);
  return FChars.Prefix(p.Line) +
         static_cast<int64_t>(CharCount(std::string_view(Line(p.Line)).substr(0, p.Byte)));
}

int32_t TCustomEdit::SelStart() const {
  return ToInt32(CharOf(std::min(FCaret, FAnchor)));
}

void TCustomEdit::SetSelStart(int32_t v) {
  FCaret = FAnchor = PosOfChar(v);
  FCaretX = -1;
  ScrollToCaret();
  Invalidate();
}

int32_t TCustomEdit::SelLength() const {
  return ToInt32(CharOf(std::max(FCaret, FAnchor)) - CharOf(std::min(FCaret, FAnchor)));
}

void TCustomEdit::SetSelLength(int32_t v) {
  FAnchor = std::min(FCaret, FAnchor);
  FCaret = PosOfChar(CharOf(FAnchor) + v);
  FCaretX = -1;
  ScrollToCaret();
  Invalidate();
}

std::string TCustomEdit::SelText() const {
  TTextPos from = std::min(FCaret, FAnchor), to = std::max(FCaret, FAnchor);
  if (from.Line == to.Line) return Line(from.Line).substr(from.Byte, to.Byte - from.Byte);
  std::string text = Line(from.Line).substr(from.Byte);
  for (int32_t i = from.Line + 1; i < to.Line; ++i) (text += '\n') += Line(i);
  (text += '\n') += Line(to.Line).substr(0, to.Byte);
  return text;
}

void TCustomEdit::SetSelText(const std::string& v) {
  Replace(std::min(FCaret, FAnchor), std::max(FCaret, FAnchor), Normalize(v), true);
}

void TCustomEdit::SelectAll() {
  FAnchor = {};
  FCaret = TextEnd();
  FCaretX = -1;
  ScrollToCaret();
  Invalidate();
}

// =============================================================================================
// Changes

void TCustomEdit::Replace(TTextPos from, TTextPos to, std::string_view text, bool moveCaret) {
  from = Clamp(from);
  to = Clamp(to);
  if (to < from) std::swap(from, to);

  // The new lines: the head of the first line, the text's lines, the tail of the last line.
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    size_t brk = text.find('\n', start);
    parts.emplace_back(text.substr(start, brk == std::string_view::npos ? brk : brk - start));
    if (brk == std::string_view::npos) break;
    start = brk + 1;
  }
  const int32_t removed = to.Line - from.Line + 1;
  const auto inserted = static_cast<int32_t>(parts.size());
  const TTextPos end{from.Line + inserted - 1,
                     (inserted == 1 ? from.Byte : 0) + parts.back().size()};

  if (removed == 1 && inserted == 1) {
    // Typing: one line changes, its character count by what went and what came.
    std::string& line = FLines[static_cast<size_t>(from.Line)];
    int32_t gone = CharsOf(std::string_view(line).substr(from.Byte, to.Byte - from.Byte));
    line.replace(from.Byte, to.Byte - from.Byte, parts[0]);
    FChars.Set(from.Line, FChars.Value(from.Line) - gone + CharsOf(parts[0]));
  } else {
    parts.front().insert(0, Line(from.Line), 0, from.Byte);
    parts.back() += std::string_view(Line(to.Line)).substr(to.Byte);
    std::vector<int32_t> counts;
    counts.reserve(parts.size());
    for (const std::string& p : parts) counts.push_back(CharsOf(p) + 1);
    const int32_t kept = std::min(removed, inserted);
    for (int32_t i = 0; i < kept; ++i) {
      FLines[static_cast<size_t>(from.Line + i)] = std::move(parts[static_cast<size_t>(i)]);
      FChars.Set(from.Line + i, counts[static_cast<size_t>(i)]);
    }
    const auto at = FLines.begin() + from.Line + kept;
    if (removed > kept) {
      FLines.erase(at, at + (removed - kept));
      FChars.Erase(from.Line + kept, removed - kept);
    } else if (inserted > kept) {
      FLines.insert(at, std::make_move_iterator(parts.begin() + kept),
                    std::make_move_iterator(parts.end()));
      FChars.Insert(from.Line + kept, std::vector<int32_t>(counts.begin() + kept, counts.end()));
    }
  }
  LinesReplaced(from.Line, removed, inserted);

  if (moveCaret) {
    FCaret = FAnchor = end;
    FCaretX = -1;
    ScrollToCaret();
  } else {
    // Text changed elsewhere by code: the caret keeps its place in the text around it.
    auto follow = [&](TTextPos p) -> TTextPos {
      if (p <= from) return p;
      if (p < to) return from;
      if (p.Line == to.Line) return {end.Line, end.Byte + (p.Byte - to.Byte)};
      return {p.Line + end.Line - to.Line, p.Byte};
    };
    FCaret = Clamp(follow(FCaret));
    FAnchor = Clamp(follow(FAnchor));
  }
  Invalidate();
  Change();
}

void TCustomEdit::Change() {
  // A form file being read is not the user changing the text.
  if (IsLoading() || IsReading()) return;
  if (OnChange) OnChange(this);
  NotifyInputChanged();
}

bool TCustomEdit::InputSatisfied() const {
  return std::any_of(FLines.begin(), FLines.end(),
                     [](const std::string& line) { return !IsBlank(line); });
}

void TCustomEdit::UserInsert(std::string_view text) {
  if (FReadOnly) return;
  std::string t = Normalize(text);
  if (FMaxLength > 0) {
    int64_t room = int64_t{FMaxLength} - (TextLength() - SelLength());
    t.resize(room > 0 ? ByteOfChar(t, static_cast<size_t>(room)) : 0);
  }
  if (t.empty()) return;
  Replace(std::min(FCaret, FAnchor), std::max(FCaret, FAnchor), t, true);
}

void TCustomEdit::DeleteSelection() {
  if (FReadOnly || !HasSelection()) return;
  Replace(FCaret, FAnchor, {}, true);
}

void TCustomEdit::DeleteBack() {
  if (FReadOnly) return;
  if (HasSelection()) return DeleteSelection();
  if (FCaret != TTextPos{}) Replace(CharLeft(FCaret), FCaret, {}, true);
}

void TCustomEdit::DeleteForward() {
  if (FReadOnly) return;
  if (HasSelection()) return DeleteSelection();
  if (FCaret != TextEnd()) Replace(FCaret, CharRight(FCaret), {}, true);
}

void TCustomEdit::CopyToClipboard() {
  // A password is never copied out.
  if (MaskChar() != 0 || !HasSelection()) return;
  Clipboard().SetAsText(SelText());
}

void TCustomEdit::CutToClipboard() {
  if (FReadOnly || MaskChar() != 0 || !HasSelection()) return;
  CopyToClipboard();
  DeleteSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (!FReadOnly && Clipboard().HasText()) UserInsert(Clipboard().AsText());
}

// =============================================================================================
// Positions and scrolling

TCustomEdit::TRow TCustomEdit::Row(int32_t) const {
  return {0, 0, FLines[0].size()};
}

int32_t TCustomEdit::RowOf(TTextPos) const {
  return 0;
}

TRect TCustomEdit::TextRect() const {
  return TextRectIn(Shrink(GetClientRect(), kBorder));
}

TRect TCustomEdit::TextRectIn(TRect r) {
  r.Left += kMargin;
  r.Top += kMargin;
  r.Right -= kMargin;
  return r.Empty() ? TRect{r.Left, r.Top, r.Left, r.Top} : r;
}

TTextMeasure& TCustomEdit::Measure() const {
  FMeasure.SetFont(*Font());
  return FMeasure;
}

int32_t TCustomEdit::VisibleRows() const {
  int32_t height = Measure().LineHeight();
  return std::max(1, TextRect().Height() / std::max(height, 1));
}

int32_t TCustomEdit::RowX(const TRow& row, size_t byte) {
  std::string_view part = std::string_view(Line(row.Line)).substr(row.Begin, byte - row.Begin);
  if (char mask = MaskChar())
    return ToInt32(int64_t{Measure().CharWidth(static_cast<char32_t>(mask))} *
                   static_cast<int64_t>(CharCount(part)));
  return Measure().Width(part);
}

size_t TCustomEdit::RowByteAt(const TRow& row, int32_t x) {
  std::string_view part = std::string_view(Line(row.Line)).substr(row.Begin, row.End - row.Begin);
  if (char mask = MaskChar()) {
    int64_t w = std::max(Measure().CharWidth(static_cast<char32_t>(mask)), 1);
    int64_t n = std::max<int64_t>(0, (x + w / 2) / w);
    return row.Begin + ByteOfChar(part, static_cast<size_t>(n));
  }
  return row.Begin + Measure().ByteAtX(part, x);
}

TTextPos TCustomEdit::PosAt(int32_t x, int32_t y) {
  TRect tr = TextRect();
  int32_t height = std::max(Measure().LineHeight(), 1);
  // Above the text is the row before the first shown, so dragging there scrolls up.
  int32_t dy = y - tr.Top;
  int32_t row = TopRow() + (dy < 0 ? -1 : dy / height);
  row = std::clamp(row, 0, RowCount() - 1);
  TRow r = Row(row);
  return {r.Line, RowByteAt(r, x - tr.Left + FScrollX)};
}

TRect TCustomEdit::CharRect(int64_t offset) {
  // The inverse of PosAt.
  const TTextPos p = PosOfChar(offset);
  const TRect tr = TextRect();
  const int32_t height = std::max(Measure().LineHeight(), 1);
  const int32_t row = RowOf(p);
  const TRow r = Row(row);
  const int32_t left = tr.Left - FScrollX + RowX(r, p.Byte);
  const int32_t right =
      p.Byte < r.End ? tr.Left - FScrollX + RowX(r, NextCharBoundary(Line(p.Line), p.Byte)) : left;
  const int32_t top = tr.Top + (row - TopRow()) * height;
  return {left, top, right, top + height};
}

void TCustomEdit::ScrollToCaret() {
  int32_t row = RowOf(FCaret);
  if (MultiLine()) {
    int32_t visible = VisibleRows();
    if (row < TopRow())
      SetTopRow(row);
    else if (row >= TopRow() + visible)
      SetTopRow(row - visible + 1);
  }
  if (!ScrollsHorizontally()) {
    FScrollX = 0;
    return;
  }
  const int32_t width = std::max(TextRect().Width(), 1);
  TRow r = Row(row);
  int32_t x = RowX(r, FCaret.Byte);
  if (x < FScrollX)
    FScrollX = x;
  else if (x > FScrollX + width - 1)
    FScrollX = x - (width - 1);
  // A single line shows as much text as fits: no blank space after its end.
  if (!MultiLine()) FScrollX = std::min(FScrollX, std::max(0, RowX(r, r.End) - (width - 1)));
}

void TCustomEdit::MoveCaret(TTextPos to, bool extend) {
  FCaret = Clamp(to);
  if (!extend) FAnchor = FCaret;
  FCaretX = -1;
  ScrollToCaret();
  Invalidate();
}

TTextPos TCustomEdit::CharLeft(TTextPos p) const {
  if (p.Byte > 0) return {p.Line, PrevCharBoundary(Line(p.Line), p.Byte)};
  if (p.Line > 0) return {p.Line - 1, Line(p.Line - 1).size()};
  return p;
}

TTextPos TCustomEdit::CharRight(TTextPos p) const {
  if (p.Byte < Line(p.Line).size()) return {p.Line, NextCharBoundary(Line(p.Line), p.Byte)};
  if (p.Line + 1 < LineCount()) return {p.Line + 1, 0};
  return p;
}

TTextPos TCustomEdit::WordLeft(TTextPos p) const {
  if (p.Byte == 0) return CharLeft(p);
  return {p.Line, PrevWordStop(Line(p.Line), p.Byte)};
}

TTextPos TCustomEdit::WordRight(TTextPos p) const {
  if (p.Byte == Line(p.Line).size()) return CharRight(p);
  return {p.Line, NextWordStop(Line(p.Line), p.Byte)};
}

TTextPos TCustomEdit::RowEnd(int32_t row) const {
  TRow r = Row(row);
  const std::string& line = Line(r.Line);
  // A wrapped row ends where the next begins: stop before its last character (the blank it
  // broke after, mostly), so the caret stays on this row.
  if (r.End < line.size() && r.End > r.Begin) return {r.Line, PrevCharBoundary(line, r.End)};
  return {r.Line, r.End};
}

// =============================================================================================
// Keys and mouse

void TCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0 || shift.Contains(ssAlt)) return;
  const bool ctrl = shift.Contains(ssCtrl), extend = shift.Contains(ssShift);
  const TTextPos from = std::min(FCaret, FAnchor), to = std::max(FCaret, FAnchor);
  switch (key) {
    case VK_LEFT:
      // Without Shift a selection collapses to its start.
      MoveCaret(ctrl                        ? WordLeft(FCaret)
                : extend || !HasSelection() ? CharLeft(FCaret)
                                            : from,
                extend);
      break;
    case VK_RIGHT:
      MoveCaret(ctrl                        ? WordRight(FCaret)
                : extend || !HasSelection() ? CharRight(FCaret)
                                            : to,
                extend);
      break;
    case VK_HOME:
      MoveCaret(ctrl ? TTextPos{} : TTextPos{FCaret.Line, Row(RowOf(FCaret)).Begin}, extend);
      break;
    case VK_END:
      MoveCaret(ctrl ? TextEnd() : RowEnd(RowOf(FCaret)), extend);
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      if (!MoveVertically(key, shift)) return;
      break;
    case VK_DELETE:
      if (extend)
        CutToClipboard();
      else if (!ctrl)
        DeleteForward();
      break;
    case VK_INSERT:
      if (ctrl)
        CopyToClipboard();
      else if (extend)
        PasteFromClipboard();
      else
        return;
      break;
    case 'A':
    case 'C':
    case 'V':
    case 'X':
      if (!ctrl) return;
      if (key == 'A') SelectAll();
      if (key == 'C') CopyToClipboard();
      if (key == 'V') PasteFromClipboard();
      if (key == 'X') CutToClipboard();
      break;
    default:
      return;
  }
  key = 0;
}

void TCustomEdit::KeyPress(char32_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  if (key == 0) return;
  switch (key) {
    case '\b':
      return DeleteBack();
    case '\r':
      // Enter reaches a memo only when it wants returns.
      if (MultiLine()) UserInsert("\n");
      return;
    case '\t':
      if (MultiLine()) UserInsert("\t");
      return;
    default:
      break;
  }
  // Other control characters type nothing; a handler may have put anything in key.
  if (key < 32 || key == 127 || key > 0x10FFFF || (key >= 0xD800 && key <= 0xDFFF)) return;
  std::string utf8;
  AppendUtf8(utf8, key);
  UserInsert(utf8);
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  if (!Focused() && CanFocus()) SetFocus();
  if (ClaimPress(x, y)) return;
  TTextPos at = PosAt(x, y);
  if (shift.Contains(ssDouble)) {
    TByteRange word = WordAt(Line(at.Line), at.Byte);
    FAnchor = {at.Line, word.First};
    MoveCaret({at.Line, word.Last}, true);
    FSelecting = false;
    return;
  }
  MoveCaret(at, shift.Contains(ssShift));
  FSelecting = true;
}

void TCustomEdit::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FSelecting) MoveCaret(PosAt(x, y), true);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) FSelecting = false;
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::WMSetFocus() {
  // Tabbing into a field selects what it holds, ready to be typed over; a click then places
  // the caret where it lands.
  if (FAutoSelect && !MultiLine()) SelectAll();
  TCustomControl::WMSetFocus();
}

void TCustomEdit::WMKillFocus() {
  FSelecting = false;
  TCustomControl::WMKillFocus();
}

// =============================================================================================
// Painting

void TCustomEdit::Paint() {
  TCanvas& c = *Canvas();
  const TRect client = GetClientRect();
  c.Brush()->SetStyle(bsSolid);
  // The classic sunken field: two pixels of edge, darker along the top and left.
  Frame3D(c, client, clBtnShadow, clBtnHighlight);
  Frame3D(c, Shrink(client, 1), cl3DDkShadow, cl3DLight);
  const TRect inner = Shrink(client, kBorder);
  if (inner.Empty()) return;
  c.Brush()->SetColor(EnabledInTree() ? Color() : clBtnFace);
  c.FillRect(inner);

  const TRect tr = TextRect();
  if (tr.Empty()) return;
  const TPoint origin = c.Origin();
  const TRect deviceClip = Offset(c.ClipRect(), origin);
  c.SetDeviceClip(Intersect(deviceClip, Offset(tr, origin)));
  const bool focused = Focused();
  // The selection shows only while the field has the focus, as the classic field hides it.
  TTextPos selFrom = std::min(FCaret, FAnchor), selTo = std::max(FCaret, FAnchor);
  if (!focused) selFrom = selTo;
  const int32_t height = Measure().LineHeight();
  const int32_t last = std::min(RowCount(), TopRow() + VisibleRows() + 1);
  for (int32_t row = TopRow(); row < last; ++row)
    PaintRow(c, Row(row), tr.Left - FScrollX, tr.Top + (row - TopRow()) * height, selFrom, selTo);
  if (focused) {
    int32_t row = RowOf(FCaret);
    if (row >= TopRow() && row < last) {
      int32_t x = tr.Left - FScrollX + RowX(Row(row), FCaret.Byte);
      int32_t y = tr.Top + (row - TopRow()) * height;
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(Font()->Color());
      c.FillRect({x, y, x + 1, y + height});
    }
  }
  c.SetDeviceClip(deviceClip);
}

void TCustomEdit::PaintRow(TCanvas& c, const TRow& row, int32_t x, int32_t y, TTextPos selFrom,
                           TTextPos selTo) {
  const std::string& line = Line(row.Line);
  const TRect tr = TextRect();
  // The row's selected bytes, clipped to the row.
  auto clampTo = [&](TTextPos p) {
    if (p.Line < row.Line) return row.Begin;
    if (p.Line > row.Line) return row.End;
    return std::clamp(p.Byte, row.Begin, row.End);
  };
  const size_t a = clampTo(selFrom), b = clampTo(selTo);
  const TColor text = EnabledInTree() ? Font()->Color() : clGrayText;
  c.Brush()->SetStyle(bsClear);
  c.Font()->SetColor(text);
  PaintText(c, line, row.Begin, a, x, y, tr.Left, tr.Right);
  if (b > a) {
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clHighlight);
    c.Font()->SetColor(clHighlightText);
    PaintText(c, line, a, b, x, y, tr.Left, tr.Right);
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(text);
  }
  PaintText(c, line, b, row.End, x, y, tr.Left, tr.Right);
}

void TCustomEdit::PaintText(TCanvas& c, std::string_view line, size_t begin, size_t end, int32_t& x,
                            int32_t y, int32_t left, int32_t right) {
  TTextMeasure& m = Measure();
  const char mask = MaskChar();
  auto widthAt = [&](size_t i, size_t& next) {
    TUtf8Char ch = DecodeUtf8Char(line, i);
    next = i + ch.Length;
    return m.CharWidth(mask ? static_cast<char32_t>(mask) : ch.Code);
  };
  // Only what shows is drawn: a long line scrolled sideways costs its visible part.
  size_t i = begin, next = 0;
  for (int32_t w; i < end && x + (w = widthAt(i, next)) <= left; i = next) x += w;
  std::string shown;
  int32_t start = x;
  while (i < end && x < right) {
    x += widthAt(i, next);
    if (mask)
      shown += mask;
    else if (line[i] == '\t')
      shown.append(4, ' ');  // as wide as TTextMeasure counts a tab
    else
      shown.append(line.substr(i, next - i));
    i = next;
  }
  // Past the right edge x stays there, so what follows on the row draws nothing either.
  if (!shown.empty()) c.TextOut(start, y, shown);
}

// =============================================================================================
// TEdit

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {
  SetBounds(0, 0, 121, 21);
}

void TEdit::SetPasswordChar(char v) {
  if (static_cast<unsigned char>(v) >= 0x80)
    throw EConvertError("PasswordChar takes one ASCII character");
  if (v == FPasswordChar) return;
  FPasswordChar = v;
  ScrollToCaret();
  Invalidate();
}

// =============================================================================================
// What a screen reader learns of it

void TCustomEdit::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arText;
  // A field is named by its label, not by a caption it has none of.
  d.Name.clear();
  d.HasText = true;
  d.States.Include(astSelectable);
  if (!FReadOnly && d.States.Contains(astEnabled)) d.States.Include(astEditable);
  if (MultiLine()) d.States.Include(astMultiLine);
}

}  // namespace zelvar

#include "platform/controls/TextEditing.h"

#include <algorithm>
#include <bit>

#include "platform/core/Text.h"
#include "platform/graphics/Canvas.h"

namespace zelvar {

// =============================================================================================
// Characters and words

size_t CharCount(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); i = NextCharBoundary(s, i)) ++n;
  return n;
}

size_t ByteOfChar(std::string_view s, size_t n) {
  size_t i = 0;
  for (; n > 0 && i < s.size(); --n) i = NextCharBoundary(s, i);
  return i;
}

// The scripts that need more than ASCII are letters for this purpose; punctuation runs are
// words of their own to the caret keys.
bool IsWordChar(char32_t c) {
  return c >= 0x80 || c == '_' || (c >= '0' && c <= '9') ||
         ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

namespace {

enum class TCharClass { Blank, Word, Other };

TCharClass ClassOf(char32_t c) {
  if (c == ' ' || c == '\t') return TCharClass::Blank;
  return IsWordChar(c) ? TCharClass::Word : TCharClass::Other;
}

TCharClass ClassAt(std::string_view s, size_t i) {
  return ClassOf(DecodeUtf8Char(s, i).Code);
}

size_t SkipForward(std::string_view s, size_t i, TCharClass cls) {
  while (i < s.size() && ClassAt(s, i) == cls) i = NextCharBoundary(s, i);
  return i;
}

size_t SkipBack(std::string_view s, size_t i, TCharClass cls) {
  while (i > 0) {
    size_t prev = PrevCharBoundary(s, i);
    if (ClassAt(s, prev) != cls) break;
    i = prev;
  }
  return i;
}

}  // namespace

size_t NextWordStop(std::string_view s, size_t i) {
  if (i >= s.size()) return s.size();
  TCharClass cls = ClassAt(s, i);
  if (cls != TCharClass::Blank) i = SkipForward(s, i, cls);
  return SkipForward(s, i, TCharClass::Blank);
}

size_t PrevWordStop(std::string_view s, size_t i) {
  i = SkipBack(s, std::min(i, s.size()), TCharClass::Blank);
  if (i == 0) return 0;
  return SkipBack(s, i, ClassAt(s, PrevCharBoundary(s, i)));
}

TByteRange WordAt(std::string_view s, size_t i) {
  if (s.empty()) return {};
  i = std::min(i, s.size());
  if (i == s.size()) i = PrevCharBoundary(s, i);
  TCharClass cls = ClassAt(s, i);
  return {SkipBack(s, i, cls), SkipForward(s, i, cls)};
}

// =============================================================================================
// TLineIndex

void TLineIndex::Build() const {
  const size_t n = FValues.size();
  FTree.assign(n + 1, 0);
  for (size_t k = 1; k <= n; ++k) {
    FTree[k] += FValues[k - 1];
    size_t parent = k + (k & (~k + 1));
    if (parent <= n) FTree[parent] += FTree[k];
  }
  FDirty = false;
}

void TLineIndex::Set(int32_t i, int32_t value) {
  int64_t delta = int64_t{value} - FValues[static_cast<size_t>(i)];
  FValues[static_cast<size_t>(i)] = value;
  if (FDirty || delta == 0) return;
  for (size_t k = static_cast<size_t>(i) + 1; k < FTree.size(); k += k & (~k + 1))
    FTree[k] += delta;
}

void TLineIndex::Insert(int32_t at, const std::vector<int32_t>& values) {
  if (at == Count() && !FDirty && FTree.size() == FValues.size() + 1) {
    // Appending: each new node sums its own range, found from prefixes already in the tree.
    for (int32_t v : values) {
      FValues.push_back(v);
      size_t k = FValues.size();
      size_t low = k & (~k + 1);
      FTree.push_back(0);
      FTree[k] = v + Prefix(static_cast<int32_t>(k - 1)) - Prefix(static_cast<int32_t>(k - low));
    }
    return;
  }
  FValues.insert(FValues.begin() + at, values.begin(), values.end());
  FDirty = true;
}

void TLineIndex::Erase(int32_t at, int32_t count) {
  if (count <= 0) return;
  FValues.erase(FValues.begin() + at, FValues.begin() + at + count);
  FDirty = true;
}

void TLineIndex::Assign(std::vector<int32_t> values) {
  FValues = std::move(values);
  FDirty = true;
}

int64_t TLineIndex::Prefix(int32_t i) const {
  if (FDirty || FTree.size() != FValues.size() + 1) Build();
  int64_t sum = 0;
  for (size_t k = static_cast<size_t>(std::clamp(i, 0, Count())); k > 0; k &= k - 1)
    sum += FTree[k];
  return sum;
}

int32_t TLineIndex::Find(int64_t target) const {
  if (FDirty || FTree.size() != FValues.size() + 1) Build();
  if (target < 0) return 0;
  // Descends the tree: pos ends as the longest prefix whose sum is at most target.
  const size_t n = FValues.size();
  size_t pos = 0;
  for (size_t step = n ? std::bit_floor(n) : 0; step > 0; step >>= 1) {
    if (pos + step <= n && FTree[pos + step] <= target) {
      pos += step;
      target -= FTree[pos];
    }
  }
  return static_cast<int32_t>(pos);
}

// =============================================================================================
// TTextMeasure

TTextMeasure::TTextMeasure() : FCanvas(std::make_unique<TCanvas>(nullptr)) {
  std::fill(std::begin(FAscii), std::end(FAscii), -1);
}

TTextMeasure::~TTextMeasure() = default;

bool TTextMeasure::SetFont(const TFont& font) {
  if (FLineHeight >= 0 && FCanvas->Font()->SameFace(font)) return false;
  FCanvas->Font()->Assign(&font);
  std::fill(std::begin(FAscii), std::end(FAscii), -1);
  FOther.clear();
  FLineHeight = FCanvas->TextHeight("Xy");
  return true;
}

int32_t TTextMeasure::LineHeight() {
  if (FLineHeight < 0) FLineHeight = FCanvas->TextHeight("Xy");
  return FLineHeight;
}

int32_t TTextMeasure::CharWidth(char32_t c) {
  // A tab is as wide as four blanks wherever it stands: the edits draw it as blanks.
  if (c == '\t') return 4 * CharWidth(' ');
  if (c < 128) {
    int32_t& w = FAscii[c];
    if (w < 0) w = FCanvas->TextWidth(std::string(1, static_cast<char>(c)));
    return w;
  }
  auto [it, added] = FOther.try_emplace(c, 0);
  if (added) {
    std::string utf8;
    AppendUtf8(utf8, c);
    it->second = FCanvas->TextWidth(utf8);
  }
  return it->second;
}

int32_t TTextMeasure::Width(std::string_view s) {
  int64_t w = 0;
  for (size_t i = 0; i < s.size();) {
    TUtf8Char ch = DecodeUtf8Char(s, i);
    w += CharWidth(ch.Code);
    i += ch.Length;
  }
  return static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX));
}

size_t TTextMeasure::ByteAtX(std::string_view s, int32_t x) {
  int64_t left = 0;
  for (size_t i = 0; i < s.size();) {
    TUtf8Char ch = DecodeUtf8Char(s, i);
    int32_t w = CharWidth(ch.Code);
    // Past the middle of a character the caret goes after it.
    if (x < left + (w + 1) / 2) return i;
    left += w;
    i += ch.Length;
  }
  return s.size();
}

void TTextMeasure::Wrap(std::string_view s, int32_t width, std::vector<size_t>& rowStarts) {
  rowStarts.assign(1, 0);
  size_t rowStart = 0;
  size_t breakAt = 0;  // after the last blank of the row; 0: none yet
  int64_t x = 0, xAtBreak = 0;
  for (size_t i = 0; i < s.size();) {
    TUtf8Char ch = DecodeUtf8Char(s, i);
    size_t next = i + ch.Length;
    int32_t w = CharWidth(ch.Code);
    bool blank = ch.Code == ' ' || ch.Code == '\t';
    if (!blank && x + w > width && i > rowStart) {
      size_t start = breakAt > rowStart ? breakAt : i;
      x -= start == breakAt ? xAtBreak : x;
      rowStarts.push_back(start);
      rowStart = start;
    }
    x += w;
    if (blank) {
      breakAt = next;
      xAtBreak = x;
    }
    i = next;
  }
}

int32_t TTextMeasure::RowCount(std::string_view s, int32_t width) {
  thread_local std::vector<size_t> starts;
  Wrap(s, width, starts);
  return static_cast<int32_t>(starts.size());
}

}  // namespace zelvar

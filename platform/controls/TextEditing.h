#pragma once
// What the edit controls share about text that is not a control: counting characters and
// stepping over words in UTF-8 lines, character advances of one font cached for caret
// positions, hit tests and word wrap, and prefix sums over the lines of a long text.
//
// Sections: characters and words, TLineIndex, TTextMeasure.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/Assert.h"
#include "platform/graphics/Graphics.h"

namespace zelvar {

class TCanvas;

// ---------------------------------------------------------------------------------------------
// Characters and words
//
// Carets stand on character boundaries as Text.h splits the text, so a malformed sequence is
// one character here too.

// Characters in s.
size_t CharCount(std::string_view s);
// Letters, digits, '_' and everything past ASCII: what words are made of.
bool IsWordChar(char32_t c);
// The byte at which character n of s starts; s.size() when s has n characters or fewer.
size_t ByteOfChar(std::string_view s, size_t n);

// Ctrl+Right: past the run of word (or punctuation) characters at byte i, then past blanks.
size_t NextWordStop(std::string_view s, size_t i);
// Ctrl+Left: back over blanks before byte i, then to the start of the run before them.
size_t PrevWordStop(std::string_view s, size_t i);
// What a double click at byte i selects: the run of word characters, blanks or punctuation
// that holds the character at i (the one before i at the end of s), as [first, last).
struct TByteRange {
  size_t First = 0, Last = 0;
};
TByteRange WordAt(std::string_view s, size_t i);

// ---------------------------------------------------------------------------------------------
// TLineIndex
//
// One non-negative count per line (wrapped rows, characters) with prefix sums in a Fenwick
// tree, so the row or character at which a line starts, and the line that holds a row, are
// O(log n) however long the text. Changing one line's count keeps the tree; inserting or
// erasing lines in the middle marks it for one O(n) rebuild at the next query, appending keeps
// it (a form file fills a memo line by line).

class TLineIndex {
 public:
  int32_t Count() const { return static_cast<int32_t>(FValues.size()); }
  int32_t Value(int32_t i) const {
    ZELVAR_ASSERT(i >= 0 && i < Count());
    return FValues[static_cast<size_t>(i)];
  }
  void Set(int32_t i, int32_t value);
  void Insert(int32_t at, const std::vector<int32_t>& values);
  void Erase(int32_t at, int32_t count);
  void Assign(std::vector<int32_t> values);
  // The sum of the counts of lines 0 to i - 1.
  int64_t Prefix(int32_t i) const;
  int64_t Total() const { return Prefix(Count()); }
  // The line i with Prefix(i) <= target < Prefix(i + 1); Count() when target >= Total().
  int32_t Find(int64_t target) const;

 private:
  void Build() const;
  std::vector<int32_t> FValues;
  mutable std::vector<int64_t> FTree;  // 1-based Fenwick tree over FValues
  mutable bool FDirty = false;
};

// ---------------------------------------------------------------------------------------------
// TTextMeasure
//
// Text width is the sum of whole-pixel glyph advances (no kerning), so a character's advance
// measured once serves every text in the same face.

class TTextMeasure {
 public:
  TTextMeasure();
  ~TTextMeasure();
  // Measures in font's face from now on; false when that face is already in use.
  bool SetFont(const TFont& font);
  int32_t LineHeight();
  int32_t CharWidth(char32_t c);
  int32_t Width(std::string_view s);
  // The character boundary of s nearest to x pixels from its start.
  size_t ByteAtX(std::string_view s, int32_t x);
  // The bytes at which the rows of s start when it is wrapped at width pixels: after the
  // last blank that fits, or inside a word too long for a row; blanks at a row's end hang
  // past the edge. The first row starts at 0; every row holds at least one character.
  void Wrap(std::string_view s, int32_t width, std::vector<size_t>& rowStarts);
  int32_t RowCount(std::string_view s, int32_t width);

 private:
  std::unique_ptr<TCanvas> FCanvas;
  int32_t FAscii[128];
  std::unordered_map<char32_t, int32_t> FOther;
  int32_t FLineHeight = -1;
};

}  // namespace zelvar

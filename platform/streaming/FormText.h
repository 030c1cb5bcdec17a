#pragma once
// The text form-file format and its conversion to and from the binary format. Conversion works
// on the format alone: no class needs to be registered.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/streaming/Streams.h"

namespace zelvar {

// Where a property of the binary output came from in the text, so that a reader's error at a
// binary offset can name the text's line and column.
struct TTextMark {
  size_t Offset;  // in the binary output
  int Line, Column;
};
class TTextMap {
 public:
  void Add(size_t offset, int line, int column) { FMarks.push_back({offset, line, column}); }
  // "line L:C" of the last mark at or before the offset.
  std::string Describe(size_t offset) const;

 private:
  std::vector<TTextMark> FMarks;
};

// Raises EParserError naming the line and column.
void ObjectTextToBinary(TStream& input, TStream& output);
std::string ObjectTextToBinary(std::string_view text, TTextMap* map = nullptr);

// Raises EReadError naming the offset.
void ObjectBinaryToText(TStream& input, TStream& output);
std::string ObjectBinaryToText(std::string_view binary);

}  // namespace zelvar

#pragma once
// Values in the text form-file syntax: a tokenizer that the text form reader builds on, the
// parser for one value, and the one-line writer used by scripts and the text form writer.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Value.h"

namespace zelvar {

enum class TTokenKind { EndOfInput, Symbol, Identifier, Integer, Float, String };

// Splits text into tokens; the first token is read by the constructor. Errors raise
// EParserError with the message ending in " at line L:C" (1-based, columns in bytes).
class TParser {
 public:
  explicit TParser(std::string text);
  // Reads text the caller keeps alive for the parser's lifetime, without copying it.
  struct TBorrow {};
  TParser(TBorrow, std::string_view text);
  TParser(const TParser&) = delete;  // FText may view FOwned
  TParser& operator=(const TParser&) = delete;

  // Moves to the next token and returns its kind.
  TTokenKind Next();

  TTokenKind Token() const { return FKind; }
  int Line() const { return FLine; }
  int Column() const { return FColumn; }
  // The token as written in the input (for a string, its whole source including quotes).
  std::string_view TokenText() const;
  // The character of a Symbol token, '\0' for any other kind.
  char Symbol() const { return FKind == TTokenKind::Symbol ? FText[FStart] : '\0'; }
  int64_t TokenInt() const { return FInt; }
  long double TokenFloat() const { return FFloat; }
  // 's', 'c' or 'd' when a Float token carried that suffix (single, currency, date); else 0.
  char FloatSuffix() const { return FFloatSuffix; }
  // A String token as bytes (valid when not wide).
  const std::string& TokenString() const { return FString; }
  // The token as UTF-16 whether or not it is wide, for joining it to a wide string.
  std::u16string TokenAsWide() const;
  // True when a #n piece above 127 makes the string a wide string.
  bool TokenIsWide() const { return FIsWide; }

  bool IsSymbol(char c) const { return FKind == TTokenKind::Symbol && Symbol() == c; }
  // An identifier equal to word in any case (keywords such as `object`, `end`, `nil`).
  bool IsIdentifier(std::string_view word) const;

  // Checks the current token without moving; raises "X expected but Y found".
  void CheckSymbol(char c) const;
  void CheckIdentifier() const;
  void CheckToken(TTokenKind kind) const;

  // With the current token `{`: reads hex pairs up to `}` and moves to the token after it.
  std::vector<uint8_t> ReadBinary();
  void ReadBinaryInto(std::string& out);  // the same, appended to out

  // A short description of the current token for messages ("identifier 'Foo'", "'='").
  std::string Describe() const;

  [[noreturn]] void Error(std::string_view message) const;
  [[noreturn]] void ErrorAt(std::string_view message, int line, int column) const;

 private:
  void SkipBlanks();
  void ScanNumber();
  void ScanString();
  uint32_t ScanCharCode();
  void WidenString();
  void Advance();  // one byte, keeping line and column

  std::string FOwned;
  std::string_view FText;
  size_t FPos = 0;  // the first byte after the current token
  int FPosLine = 1;
  int FPosColumn = 1;

  TTokenKind FKind = TTokenKind::EndOfInput;
  size_t FStart = 0;  // the current token's first byte
  int FLine = 1;
  int FColumn = 1;
  int64_t FInt = 0;
  long double FFloat = 0;
  char FFloatSuffix = '\0';
  std::string FString;
  std::u16string FWide;
  bool FIsWide = false;
};

// Lists deeper than this raise EParserError, so no input can exhaust the stack.
inline constexpr int kMaxValueNesting = 64;

// Reads one value starting at the current token and leaves the parser on the token after it.
TValue ParseValue(TParser& parser);
// Reads text that holds exactly one value.
TValue ParseValue(std::string_view text);

// The shortest text that reads back as the same value, always with '.' or 'E'.
std::string FormatFloat(long double v);
std::string FormatFloat(double v);
std::string FormatFloat(float v);

// The value on one line, as scripts print it and ParseValue reads it back.
std::string FormatValue(const TValue& value);

// Strings as the text format writes them: printable ASCII runs quoted with ' doubled, every
// other byte (or UTF-16 unit) as #n; the empty string as ''. A byte string that is valid UTF-8
// keeps its characters above ASCII raw inside the quotes: read back they are the same bytes,
// where a #n above 127 would make a wide string of them. ASCII control bytes stay #n.
std::string QuoteString(std::string_view bytes);
void AppendQuotedString(std::string& out, std::string_view bytes);
void AppendQuotedString(std::string& out, std::u16string_view units);
std::string QuoteString(std::u16string_view units);

}  // namespace zelvar

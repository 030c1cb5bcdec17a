#pragma once
// INI files with the Windows profile API's rules: sections and keys are case-insensitive, the
// first of duplicate keys wins, a value wholly inside matching quotes loses them, and anything
// missing or unreadable gives the caller's default. Reading parses the file once; writing
// replaces one section of a file as a whole, keeping the others as they stand.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvar {

class TIniFile {
 public:
  // Keyed by lower-case section, then lower-case key.
  using TKeys = std::map<std::string, std::string, std::less<>>;
  using TSections = std::map<std::string, TKeys, std::less<>>;

  // Reads the file once; a missing or unreadable file, or a folder, is an empty one. One that
  // is no regular file (a device, a pipe) or is larger than kMaxIniFileSize raises
  // EFilerError naming it: it would never end, or cost more than any settings file.
  explicit TIniFile(std::string fileName);
  static constexpr size_t kMaxIniFileSize = size_t{4} << 20;

  // Parses text as a file's contents; FileName() is name.
  static TIniFile FromText(std::string_view text, std::string name = {});

  const std::string& FileName() const { return FFileName; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // Decimal, $hex or 0x hex; anything else gives `def`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  // An integer, non-zero being true; "true" and the like are not integers and give `def`.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // A section exists only if it has a key, as with Delphi's TIniFile.
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

 private:
  TIniFile() = default;
  void Parse(std::string_view text);
  const std::string* Find(std::string_view section, std::string_view key) const;

  std::string FFileName;
  TSections FSections;
};

// The keys of one section in the order they are written.
using TIniPairs = std::vector<std::pair<std::string, std::string>>;

// text with section's lines (its header, keys, comments and blank lines up to the next
// header, for every header of that name) replaced by pairs at the place of the first, or at
// the end; no pairs removes the section. Keys and values go as they are: a value that must
// keep blanks at its ends is quoted by the caller.
std::string ReplaceIniSection(std::string_view text, std::string_view section,
                              const TIniPairs& pairs);

// ReplaceIniSection on a file, written to a file beside it and renamed over it, so a reader
// sees the old file or the new one, never half of one. A file that does not exist is an empty
// one; removing a section from it creates nothing, and removing the last section of a file
// removes the file. EFilerError names the file when it cannot
// be read or written.
void WriteIniSection(const std::string& fileName, std::string_view section, const TIniPairs& pairs);

}  // namespace zelvar

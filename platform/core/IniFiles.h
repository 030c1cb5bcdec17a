#pragma once
// Read-only INI files with the Windows profile API's rules: sections and keys are
// case-insensitive, the first of duplicate keys wins, a value wholly inside matching quotes
// loses them, and anything missing or unreadable gives the caller's default.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

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
  const std::string* Find(std::string_view section, std::string_view key) const;

  std::string FFileName;
  TSections FSections;
};

}  // namespace zelvar

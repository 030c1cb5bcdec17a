#include "platform/core/IniFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>

#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/core/SysUtils.h"

namespace zelvar {

// inih departs from the profile API in three ways, all undone here through its reader hook:
// a line starting with blanks continues the previous value (so an indented "Key=Value" would
// be lost), " ;" starts a comment inside a value, and a line longer than its buffer is split
// with the rest read as a new line. The reader therefore hands inih each line without leading
// blanks and cut to its buffer, and keeps the whole line; the handler takes the value from
// that whole line, after the first '=' or ':' (where inih split it, the name being free of
// both).

namespace {

struct TParse {
  std::string_view Text;  // the file's bytes, and how far inih has read them
  size_t Pos;
  TIniFile::TSections* Sections;
  std::string Line;  // the physical line inih is working on, in full
  // An exception must not unwind through inih's C frames: it waits here until inih returns.
  std::exception_ptr Error;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char* ReadLine(char* str, int num, void* stream) {
  auto* parse = static_cast<TParse*>(stream);
  std::string& line = parse->Line;
  line.clear();
  bool any = false;
  try {
    while (parse->Pos < parse->Text.size()) {
      char c = parse->Text[parse->Pos++];
      any = true;
      if (c == '\n') break;
      if (line.empty() && IsBlank(c)) continue;
      line += c;
    }
  } catch (...) {
    parse->Error = std::current_exception();
    return nullptr;
  }
  if (!any || num < 1) return nullptr;
  const size_t n = std::min(line.size(), static_cast<size_t>(num) - 1);
  std::memcpy(str, line.data(), n);
  str[n] = '\0';
  return str;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

int Handler(void* user, const char* section, const char* name, const char* value) {
  auto* parse = static_cast<TParse*>(user);
  if (!section || !name || !value) return 1;
  std::string_view raw = parse->Line;
  const size_t sep = raw.find_first_of("=:");
  // Always found when inih reports a pair; its own value is the fallback all the same.
  raw = sep == std::string_view::npos ? std::string_view(value) : Trim(raw.substr(sep + 1));
  try {
    // emplace keeps an existing entry: the first of duplicate keys wins.
    (*parse->Sections)[LowerCase(section)].emplace(LowerCase(name), Unquote(raw));
  } catch (...) {
    parse->Error = std::current_exception();
    return 0;
  }
  return 1;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {
  if (FFileName.find('\0') != std::string::npos) return;
  // Missing, unreadable or a folder: as good as no file at all.
  struct stat st {};
  if (::stat(FFileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode) ||
      ::access(FFileName.c_str(), R_OK) != 0)
    return;
  Parse(ReadRegularFile(FFileName, kMaxIniFileSize));
}

TIniFile TIniFile::FromText(std::string_view text, std::string name) {
  TIniFile ini;
  ini.FFileName = std::move(name);
  ini.Parse(text);
  return ini;
}

void TIniFile::Parse(std::string_view text) {
  TParse parse{text, 0, &FSections, {}, nullptr};
  // Parse errors are skipped lines; the rest of the file still counts.
  ini_parse_stream(&ReadLine, &parse, &Handler, &parse);
  if (parse.Error) std::rethrow_exception(parse.Error);
}

const std::string* TIniFile::Find(std::string_view section, std::string_view key) const {
  const auto s = FSections.find(LowerCase(section));
  if (s == FSections.end()) return nullptr;
  const auto k = s->second.find(LowerCase(key));
  return k == s->second.end() ? nullptr : &k->second;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
  const std::string* v = Find(section, key);
  return v ? *v : std::string(def);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const std::string* v = Find(section, key);
  return v ? StrToIntDef(*v, def) : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(std::string_view section) const {
  const auto s = FSections.find(LowerCase(section));
  return s != FSections.end() && !s->second.empty();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

namespace {

// The section a header line names, or nullopt for a line that is no header.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

}  // namespace

std::string ReplaceIniSection(std::string_view text, std::string_view section,
                              const TIniPairs& pairs) {
  std::string block;
  if (!pairs.empty()) {
    block = "[" + std::string(section) + "]\n";
    for (const auto& [key, value] : pairs) block += key + "=" + value + "\n";
  }
  const std::string wanted = LowerCase(section);
  std::string out;
  out.reserve(text.size() + block.size());
  bool inSection = false, placed = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line =
        text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
    text.remove_prefix(line.size());
    if (auto name = HeaderName(line)) {
      inSection = LowerCase(*name) == wanted;
      if (inSection && !placed) {
        out += block;
        placed = true;
      }
    }
    if (inSection) continue;
    out += line;
    if (line.back() != '\n') out += '\n';
  }
  if (!placed && !block.empty()) {
    // A blank line parts the new section from the last one, as editors write them.
    if (!out.empty() && out.back() == '\n' && out.size() >= 2 && out[out.size() - 2] != '\n')
      out += '\n';
    out += block;
  }
  return out;
}

void WriteIniSection(const std::string& fileName, std::string_view section,
                     const TIniPairs& pairs) {
  const bool exists = FileExists(fileName);
  if (!exists && pairs.empty()) return;
  const std::string text = ReplaceIniSection(
      exists ? ReadRegularFile(fileName, TIniFile::kMaxIniFileSize) : "", section, pairs);
  // A file whose last section went is removed, as the profile API leaves no empty files.
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    if (std::remove(fileName.c_str()) != 0)
      throw EFilerError("Cannot remove file \"" + fileName + "\": " + std::strerror(errno));
    return;
  }
  WriteFileAtomically(fileName, text);
}

}  // namespace zelvar

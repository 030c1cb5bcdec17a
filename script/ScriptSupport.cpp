#include "script/ScriptSupport.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "platform/controls/Controls.h"
#include "platform/core/Text.h"
#include "platform/forms/KeyNames.h"
#include "script/Script.h"

namespace zelvar::script {

std::string ModalResultText(int32_t result) {
  static const char* const names[] = {"mrNone",   "mrOk",  "mrCancel", "mrAbort", "mrRetry",
                                      "mrIgnore", "mrYes", "mrNo",     "mrAll"};
  if (result >= 0 && result <= mrAll) return names[result];
  return std::to_string(result);
}

int32_t ParseInt(const std::string& word) {
  int32_t v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v);
  if (word.empty() || ec != std::errc() || p != end)
    throw EScriptUsage("'" + word + "' is not an integer");
  return v;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  size_t dot = path.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == path.size())
    throw EScriptUsage("'" + path + "' names no property: write NAME.PROPERTY");
  return {path.substr(0, dot), path.substr(dot + 1)};
}

uint16_t ParseModifier(const std::string& name) {
  if (std::optional<uint16_t> vk = ModifierKey(name)) return *vk;
  throw EScriptUsage("'" + name + "' is not Shift, Ctrl or Alt");
}

std::string CurrentErrorMessage() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::length_error&) {
    // A size past what a container can hold: the standard library's text names only the
    // container's function.
    return "out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

std::string ColourText(uint32_t rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return buf;
}

uint32_t ParseColour(const std::string& word) {
  uint32_t v = 0;
  const char* end = word.data() + word.size();
  if (word.size() == 7 && word[0] == '#') {
    auto [p, ec] = std::from_chars(word.data() + 1, end, v, 16);
    if (ec == std::errc() && p == end) return v;
  }
  throw EScriptUsage("'" + word + "' is not a colour: write #RRGGBB");
}

}  // namespace zelvar::script

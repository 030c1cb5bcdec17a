// Any text that parses as a value must survive FormatValue and a second parse unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/ValueText.h"

namespace {

using zelvar::TValue;

// A byte string with bytes above 127 that are not UTF-8 is written with #n escapes and so
// reads back wide, by the format's own rule; it is the same text when every unit equals the
// byte it came from. (UTF-8 text stays raw inside the quotes and reads back as the same bytes.)
bool SameUnits(const std::string& bytes, const std::u16string& units) {
  if (bytes.size() != units.size()) return false;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (static_cast<unsigned char>(bytes[i]) != units[i]) return false;
  return true;
}

bool Same(const TValue& a, const TValue& b) {
  if (a.Is<std::string>() && b.Is<std::u16string>())
    return SameUnits(a.As<std::string>(), b.As<std::u16string>());
  if (a.Is<zelvar::TValueList>() && b.Is<zelvar::TValueList>()) {
    const auto& x = a.As<zelvar::TValueList>();
    const auto& y = b.As<zelvar::TValueList>();
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i)
      if (!Same(x[i], y[i])) return false;
    return true;
  }
  return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TValue first;
  try {
    first = zelvar::ParseValue(text);
  } catch (const zelvar::Exception&) {
    return 0;
  }
  std::string written = zelvar::FormatValue(first);
  TValue second;
  try {
    second = zelvar::ParseValue(written);
  } catch (const zelvar::Exception&) {
    abort();  // our own output must always read back
  }
  if (!Same(first, second)) abort();
  // Once written, the text is canonical.
  if (zelvar::FormatValue(second) != written) abort();
  return 0;
}

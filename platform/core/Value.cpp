#include "platform/core/Value.h"

#include "platform/core/Text.h"

namespace zelvar {

std::string TValue::AsString() const {
  if (const auto* s = std::get_if<std::string>(&V)) return *s;
  if (const auto* w = std::get_if<std::u16string>(&V)) return Utf16ToUtf8(*w);
  return {};
}

const char* TValue::KindName() const {
  static const char* const names[] = {"integer", "float", "string", "string", "identifier",
                                      "boolean", "nil",   "set",    "list",   "binary"};
  return names[V.index()];
}

}  // namespace zelvar

#pragma once
// A property value as form files and scripts spell it: the value kinds of the text form-file
// syntax, independent of any class. Property access by name, the form reader and writer and
// the script runner all pass values in this one shape.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zelvar {

struct TIdent {
  std::string Name;
  bool operator==(const TIdent&) const = default;
};
struct TNil {
  bool operator==(const TNil&) const = default;
};
struct TSetValue {
  std::vector<std::string> Members;
  bool operator==(const TSetValue&) const = default;
};
struct TBinary {
  std::vector<uint8_t> Bytes;
  bool operator==(const TBinary&) const = default;
};

struct TValue;
using TValueList = std::vector<TValue>;

// Kinds: integer, extended float, byte string, UTF-16 string, identifier (enumeration
// member, component or method name), boolean, nil, set, list, binary block.
struct TValue {
  using Variant = std::variant<int64_t, long double, std::string, std::u16string, TIdent, bool,
                               TNil, TSetValue, TValueList, TBinary>;
  Variant V;

  TValue() : V(TNil{}) {}
  template <class T>
  requires std::is_constructible_v<Variant, T> TValue(T&& v) : V(std::forward<T>(v)) {}
  TValue(int v) : V(int64_t{v}) {}
  TValue(const char* s) : V(std::string(s)) {}

  template <class T>
  bool Is() const {
    return std::holds_alternative<T>(V);
  }
  template <class T>
  const T& As() const {
    return std::get<T>(V);
  }
  bool IsString() const { return Is<std::string>() || Is<std::u16string>(); }
  // Either kind of string as the toolkit keeps strings: UTF-8. A wide string is characters
  // (as text form files spell them with #n), so it is encoded, not narrowed.
  std::string AsString() const;
  // A short name of the kind, for error messages ("integer", "string", ...).
  const char* KindName() const;

  bool operator==(const TValue&) const = default;
};

}  // namespace zelvar

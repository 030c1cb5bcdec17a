#pragma once
// Delphi's Format: "%" [index ":"] ["-"] [width] ["." prec] type, with the types d u x s f n e g.
// Format strings come from language files, so a bad one must never be more than an
// EConvertError: every mismatch between the string and the arguments is reported, none is
// undefined.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace zelvar {

// One argument of Format, like Delphi's array of const: an integer, a float or a string.
// bool and plain char are left out on purpose: Format("%d", {true}) or {'a'} would say
// something the caller almost certainly did not mean.
struct TVarRec {
  using Variant = std::variant<int64_t, uint64_t, long double, std::string>;
  Variant V;

  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, wchar_t> &&
           !std::same_as<T, char8_t> && !std::same_as<T, char16_t> && !std::same_as<T, char32_t>)
      TVarRec(T v) {
    if constexpr (std::is_signed_v<T>) {
      V = static_cast<int64_t>(v);
    } else {
      V = static_cast<uint64_t>(v);
    }
  }
  template <std::floating_point T>
  TVarRec(T v) : V(static_cast<long double>(v)) {}
  TVarRec(std::string s) : V(std::move(s)) {}
  TVarRec(std::string_view s) : V(std::string(s)) {}
  // A null pointer formats as an empty string, as a nil PChar does.
  TVarRec(const char* s) : V(std::string(s ? s : "")) {}

  bool IsInteger() const { return V.index() <= 1; }
  bool IsFloat() const { return std::holds_alternative<long double>(V); }
  bool IsString() const { return std::holds_alternative<std::string>(V); }
};

// Raises EConvertError "Format '<fmt>' invalid or incompatible with argument" when the format
// is malformed, an argument is missing or has the wrong kind for its conversion. Arguments
// left over are ignored. Widths above kMaxFormatWidth (and integer precisions above it) are
// rejected the same way: a hostile format string must not be able to ask for gigabytes.
std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args);
std::string Format(std::string_view fmt, const std::vector<TVarRec>& args);
std::string Format(std::string_view fmt, std::span<const TVarRec> args);

inline constexpr int kMaxFormatWidth = 65535;

}  // namespace zelvar

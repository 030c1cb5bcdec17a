#include "platform/streaming/BinaryEncoder.h"

#include <type_traits>
#include <variant>

#include "platform/core/Exceptions.h"
#include "platform/core/Text.h"

namespace zelvar {

void TBinaryEncoder::RaiseNameTooLong(std::string_view s) {
  throw EWriteError("Name too long to write (" + std::to_string(s.size()) +
                    " bytes): " + std::string(s.substr(0, 40)) + "...");
}

void TBinaryEncoder::WriteU32(uint32_t v) {
  char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
               static_cast<char>(v >> 24)};
  FOut.append(b, 4);
}

void TBinaryEncoder::WriteWiderInteger(int64_t value) {
  auto v = static_cast<uint64_t>(value);
  char b[9];
  size_t n;
  if (value >= INT16_MIN && value <= INT16_MAX) {
    b[0] = static_cast<char>(vaInt16);
    n = 2;
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    b[0] = static_cast<char>(vaInt32);
    n = 4;
  } else {
    b[0] = static_cast<char>(vaInt64);
    n = 8;
  }
  for (size_t i = 0; i < n; ++i) b[1 + i] = static_cast<char>(v >> (8 * i));
  FOut.append(b, 1 + n);
}

void TBinaryEncoder::WritePrefix(uint8_t flags, int64_t childPos) {
  if (!flags) return;
  WriteByte(0xF0 | flags);
  if (flags & ffChildPos) WriteInteger(childPos);
}

// Floating-point values go as the host holds them: the format is the x87 and IEEE layouts in
// little-endian order.
template <class T>
void TBinaryEncoder::WriteRaw(TValueType type, const T& value, size_t n) {
  char b[sizeof(T) > 16 ? sizeof(T) : 16] = {};
  std::memcpy(b, &value, sizeof value);
  WriteByte(type);
  FOut.append(b, n);
}

void TBinaryEncoder::WriteFloat(long double value) {
  WriteRaw(vaExtended, value, 10);
}
void TBinaryEncoder::WriteSingle(float value) {
  WriteRaw(vaSingle, value, 4);
}
void TBinaryEncoder::WriteDate(double value) {
  WriteRaw(vaDate, value, 8);
}
void TBinaryEncoder::WriteCurrency(int64_t units) {
  WriteRaw(vaCurrency, units, 8);
}

void TBinaryEncoder::WriteIdent(std::string_view ident) {
  if (SameText(ident, "False")) {
    WriteByte(vaFalse);
  } else if (SameText(ident, "True")) {
    WriteByte(vaTrue);
  } else if (SameText(ident, "nil")) {
    WriteByte(vaNil);
  } else {
    WriteByte(vaIdent);
    WriteStr(ident);
  }
}

void TBinaryEncoder::WriteString(std::string_view value) {
  bool ascii = std::all_of(value.begin(), value.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    WriteAnsiString(value);
    return;
  }
  if (value.size() > UINT32_MAX) throw EWriteError("String too long to write");
  WriteByte(vaUTF8String);
  WriteU32(static_cast<uint32_t>(value.size()));
  FOut.append(value);
}

void TBinaryEncoder::WriteAnsiString(std::string_view bytes) {
  if (bytes.size() <= 255) {
    WriteByte(vaString);
    WriteByte(static_cast<uint8_t>(bytes.size()));
  } else {
    if (bytes.size() > UINT32_MAX) throw EWriteError("String too long to write");
    WriteByte(vaLString);
    WriteU32(static_cast<uint32_t>(bytes.size()));
  }
  FOut.append(bytes);
}

void TBinaryEncoder::WriteWideString(std::u16string_view units) {
  if (units.size() > UINT32_MAX / 2) throw EWriteError("String too long to write");
  WriteByte(vaWString);
  WriteU32(static_cast<uint32_t>(units.size()));
  for (char16_t u : units) {
    WriteByte(static_cast<uint8_t>(u));
    WriteByte(static_cast<uint8_t>(u >> 8));
  }
}

void TBinaryEncoder::WriteSet(const std::vector<std::string>& members) {
  BeginSet();
  for (const auto& m : members) WriteStr(m);
  EndSet();
}

void TBinaryEncoder::WriteBinary(std::string_view bytes) {
  if (bytes.size() > UINT32_MAX) throw EWriteError("Binary value too long to write");
  WriteByte(vaBinary);
  WriteU32(static_cast<uint32_t>(bytes.size()));
  FOut.append(bytes);
}

size_t TBinaryEncoder::BeginBinary() {
  WriteByte(vaBinary);
  size_t lengthAt = FOut.size();
  WriteU32(0);
  return lengthAt;
}

void TBinaryEncoder::EndBinary(size_t lengthAt) {
  size_t n = FOut.size() - lengthAt - 4;
  if (n > UINT32_MAX) throw EWriteError("Binary value too long to write");
  for (size_t i = 0; i < 4; ++i) FOut[lengthAt + i] = static_cast<char>(n >> (8 * i));
}

void TBinaryEncoder::WriteTValue(const TValue& value) {
  std::visit(
      [this](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, int64_t>)
          WriteInteger(v);
        else if constexpr (std::is_same_v<T, long double>)
          WriteFloat(v);
        else if constexpr (std::is_same_v<T, std::string>)
          WriteString(v);
        else if constexpr (std::is_same_v<T, std::u16string>)
          WriteWideString(v);
        else if constexpr (std::is_same_v<T, TIdent>)
          WriteIdent(v.Name);
        else if constexpr (std::is_same_v<T, bool>)
          WriteBoolean(v);
        else if constexpr (std::is_same_v<T, TNil>)
          WriteNil();
        else if constexpr (std::is_same_v<T, TSetValue>)
          WriteSet(v.Members);
        else if constexpr (std::is_same_v<T, TValueList>) {
          WriteListBegin();
          for (const TValue& item : v) WriteTValue(item);
          WriteListEnd();
        } else if constexpr (std::is_same_v<T, TBinary>) {
          WriteBinary(
              std::string_view(reinterpret_cast<const char*>(v.Bytes.data()), v.Bytes.size()));
        }
      },
      value.V);
}

}  // namespace zelvar

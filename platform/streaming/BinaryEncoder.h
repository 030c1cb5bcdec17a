#pragma once
// The binary form format's codes and the one encoder of its values. TWriter writes components
// through it and the text converter writes what it parses through it, so both give the same
// bytes for the same value.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Value.h"

namespace zelvar {

// Type codes of the binary format.
enum TValueType : uint8_t {
  vaNull = 0x00,
  vaList = 0x01,
  vaInt8 = 0x02,
  vaInt16 = 0x03,
  vaInt32 = 0x04,
  vaExtended = 0x05,
  vaString = 0x06,
  vaIdent = 0x07,
  vaFalse = 0x08,
  vaTrue = 0x09,
  vaBinary = 0x0A,
  vaSet = 0x0B,
  vaLString = 0x0C,
  vaNil = 0x0D,
  vaCollection = 0x0E,
  vaSingle = 0x0F,
  vaCurrency = 0x10,
  vaDate = 0x11,
  vaWString = 0x12,
  vaInt64 = 0x13,
  vaUTF8String = 0x14,
};
inline constexpr uint8_t kMaxValueType = vaUTF8String;

// Flags of a component header.
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

inline constexpr std::string_view kFormSignature = "TPF0";

// A growable byte buffer whose appends stay inline: writing a form is mostly appending a few
// bytes at a time, where std::string's general-purpose appends cost more than the bytes.
class TByteBuffer {
 public:
  void push_back(char c) {
    if (FSize == FStore.size()) Grow(1);
    FStore[FSize++] = c;
  }
  void append(const char* p, size_t n) {
    if (FStore.size() - FSize < n) Grow(n);
    char* out = FStore.data() + FSize;
    if (n <= 16) {
      for (size_t i = 0; i < n; ++i) out[i] = p[i];  // names and small values: no call
    } else {
      std::memcpy(out, p, n);
    }
    FSize += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  void reserve(size_t n) {
    if (n > FStore.size()) FStore.resize(n);
  }
  size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }
  void clear() { FSize = 0; }
  char& operator[](size_t i) { return FStore[i]; }
  std::string_view View() const { return std::string_view(FStore.data(), FSize); }
  // The bytes as a string; the buffer is empty afterwards.
  std::string Take() {
    FStore.resize(FSize);
    FSize = 0;
    return std::move(FStore);
  }

 private:
  [[gnu::noinline]] void Grow(size_t n) {
    FStore.resize(std::max(FStore.size() * 2, FSize + n + 256));
  }
  std::string FStore;  // sized to the capacity; bytes past FSize are not content
  size_t FSize = 0;
};

// Appends values in the binary format to a buffer of its own. Lengths that do not fit the
// format raise EWriteError.
class TBinaryEncoder {
 public:
  TBinaryEncoder() = default;
  TBinaryEncoder(const TBinaryEncoder&) = delete;
  TBinaryEncoder& operator=(const TBinaryEncoder&) = delete;

  size_t Size() const { return FOut.size(); }
  void Reserve(size_t n) { FOut.reserve(n); }
  // The bytes written; the encoder is empty afterwards.
  std::string Take() { return FOut.Take(); }

  void WriteSignature() { FOut.append(kFormSignature); }
  // What comes before a component's class name: nothing without flags, else F0 | flags and,
  // with ffChildPos, the position.
  void WritePrefix(uint8_t flags, int64_t childPos);
  void WriteListBegin() { WriteByte(vaList); }
  void WriteListEnd() { WriteByte(vaNull); }

  // The smallest type that holds the value.
  void WriteInteger(int64_t value) {
    if (value >= INT8_MIN && value <= INT8_MAX) {
      char b[2] = {static_cast<char>(vaInt8), static_cast<char>(value)};
      FOut.append(b, 2);
    } else {
      WriteWiderInteger(value);
    }
  }
  void WriteBoolean(bool value) { WriteByte(value ? vaTrue : vaFalse); }
  void WriteNil() { WriteByte(vaNil); }
  void WriteFloat(long double value);  // extended: the 10 bytes of the x87 format
  void WriteSingle(float value);
  void WriteDate(double value);
  void WriteCurrency(int64_t units);  // ten-thousandths

  // A short string: one length byte and the bytes. Raises above 255 bytes.
  void WriteStr(std::string_view s) {
    if (s.size() > 255) RaiseNameTooLong(s);
    WriteByte(static_cast<uint8_t>(s.size()));
    FOut.append(s);
  }
  void WriteIdent(std::string_view ident);  // False/True/nil get their own codes
  // ASCII as 06, or 0C from 256 bytes on; anything else is UTF-8 text and written as 14, so
  // other readers see its characters.
  void WriteString(std::string_view value);
  // Bytes as they are, as 06 or, from 256 bytes on, 0C.
  void WriteAnsiString(std::string_view bytes);
  void WriteWideString(std::u16string_view units);

  // A set is its member names, each a short string, and an empty name.
  void BeginSet() { WriteByte(vaSet); }
  void EndSet() { WriteByte(vaNull); }
  void WriteSet(const std::vector<std::string>& members);
  // A collection is a list of items, each an optional order integer and a property list.
  void BeginCollection() { WriteByte(vaCollection); }

  void WriteBinary(std::string_view bytes);
  // A block written in place: BeginBinary gives the offset of its length, which EndBinary
  // fills in from what was appended since.
  size_t BeginBinary();
  void EndBinary(size_t lengthAt);

  void WriteTValue(const TValue& value);

 protected:
  void WriteByte(uint8_t b) { FOut.push_back(static_cast<char>(b)); }
  TByteBuffer FOut;

 private:
  void WriteWiderInteger(int64_t value);
  void WriteU32(uint32_t v);
  template <class T>
  void WriteRaw(TValueType type, const T& value, size_t n);
  [[noreturn]] static void RaiseNameTooLong(std::string_view s);
};

}  // namespace zelvar

#include "platform/streaming/BinaryEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "platform/core/Exceptions.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

std::string Hex(std::string_view bytes) {
  std::string s;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    s += buf;
  }
  if (!s.empty()) s.pop_back();
  return s;
}

// The bytes that write puts into a fresh encoder, in hex.
std::string BytesOf(const std::function<void(TBinaryEncoder&)>& write) {
  TBinaryEncoder e;
  write(e);
  return Hex(e.Take());
}

TEST(BinaryEncoder, IntegersTakeTheSmallestType) {
  auto bytesOf = [](int64_t v) { return BytesOf([v](TBinaryEncoder& e) { e.WriteInteger(v); }); };
  EXPECT_EQ(bytesOf(0), "02 00");
  EXPECT_EQ(bytesOf(127), "02 7F");
  EXPECT_EQ(bytesOf(128), "03 80 00");
  EXPECT_EQ(bytesOf(-129), "03 7F FF");
  EXPECT_EQ(bytesOf(32768), "04 00 80 00 00");
  EXPECT_EQ(bytesOf(2147483648), "13 00 00 00 80 00 00 00 00");
  EXPECT_EQ(bytesOf(INT32_MIN), "04 00 00 00 80");
  EXPECT_EQ(bytesOf(INT64_MIN), "13 00 00 00 00 00 00 00 80");
}

TEST(BinaryEncoder, StringsChooseTheirCodeByContentAndLength) {
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteString("Ab"); }), "06 02 41 62");
  // UTF-8 text is written as such; the same bytes as plain bytes keep the short code.
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteString("\xC3\xA4"); }), "14 02 00 00 00 C3 A4");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteAnsiString("\xC3\xA4"); }), "06 02 C3 A4");
  EXPECT_EQ(
      BytesOf([](TBinaryEncoder& e) { e.WriteAnsiString(std::string(256, 'x')); }).substr(0, 14),
      "0C 00 01 00 00");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteWideString(u"\u00E4z"); }),
            "12 02 00 00 00 E4 00 7A 00");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteAnsiString(""); }), "06 00");
}

TEST(BinaryEncoder, IdentifiersSetsAndNames) {
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) {
              e.WriteIdent("TRUE");
              e.WriteIdent("false");
              e.WriteIdent("Nil");
              e.WriteIdent("alClient");
            }),
            "09 08 0D 07 08 61 6C 43 6C 69 65 6E 74");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteSet({"a", "bc"}); }), "0B 01 61 02 62 63 00");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteSet({}); }), "0B 00");
  EXPECT_EQ(MessageOf<EWriteError>([] { TBinaryEncoder().WriteStr(std::string(256, 'n')); }),
            "Name too long to write (256 bytes): " + std::string(40, 'n') + "...");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteStr(std::string(255, 'n')); }).substr(0, 5),
            "FF 6E");
}

TEST(BinaryEncoder, HeadersFloatsAndBlocks) {
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WritePrefix(0, 5); }), "");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WritePrefix(ffInherited | ffChildPos, 300); }),
            "F3 03 2C 01");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WritePrefix(ffInline, 300); }), "F4");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteFloat(1.0L); }),
            "05 00 00 00 00 00 00 00 80 FF 3F");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteSingle(1.0f); }), "0F 00 00 80 3F");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteDate(2.0); }), "11 00 00 00 00 00 00 00 40");
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) { e.WriteCurrency(-1); }), "10 FF FF FF FF FF FF FF FF");
  // A block written in place gets its length once it is complete.
  EXPECT_EQ(BytesOf([](TBinaryEncoder& e) {
              size_t at = e.BeginBinary();
              e.WriteListEnd();  // any bytes
              e.WriteListEnd();
              e.EndBinary(at);
            }),
            BytesOf([](TBinaryEncoder& e) { e.WriteBinary(std::string(2, '\0')); }));
}

TEST(BinaryEncoder, ValuesAsTheTextSyntaxHoldsThem) {
  const TValue list = TValueList{int64_t{1}, std::string("a"), TIdent{"x"},
                                 TNil{},     TBinary{{0xAB}},  TSetValue{{"s"}}};
  EXPECT_EQ(BytesOf([&](TBinaryEncoder& e) { e.WriteTValue(list); }),
            "01 02 01 06 01 61 07 01 78 0D 0A 01 00 00 00 AB 0B 01 73 00 00");
}

}  // namespace
}  // namespace zelvar::test

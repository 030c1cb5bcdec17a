// Our form-file converters held against Free Pascal's (tests/reference/fpconv.pas) over the
// corpus in tests/data/forms. Where Free Pascal departs from our format rules the file's entry
// below says so and the test checks our bytes against the rules instead; the departures are
// listed in tests/data/forms/README.md.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/streaming/FormText.h"
#include "platform/streaming/Streams.h"

namespace zelvar::test {
namespace {

using namespace std::string_literals;

const std::string kFormsDir = std::string(ZELVAR_TEST_DATA) + "/forms/";

struct TCorpusFile {
  const char* Name;
  // Free Pascal reads the text file into the bytes our rules give.
  bool FpcReads;
  // Free Pascal writes the file's binary as our rules do, once its known stray blanks and its
  // one-line empty lists are put right (NormaliseFpcText).
  bool FpcWrites;
  // The text file is exactly what the writing rules produce from its binary.
  bool Canonical;
  // binary -> text -> binary gives the same bytes.
  bool RoundTrips;
};

const TCorpusFile kCorpus[] = {
    {"integers.txt", true, true, true, true},
    // Free Pascal writes floats in its own fixed 21-digit form; we write the shortest that
    // reads back, so the text is compared by reading it back instead.
    {"floats.txt", true, false, false, true},
    {"strings.txt", true, true, true, true},
    {"longstring.txt", true, true, true, true},
    {"idents.txt", true, true, true, true},
    {"lists.txt", true, true, true, true},
    {"binary.txt", true, true, true, true},
    {"collections.txt", true, true, true, true},
    // Free Pascal reads no item[n], and writes one without its 01 (then fails on its own output).
    {"collections-order.txt", false, false, true, true},
    {"headers.txt", true, true, true, true},
    // Free Pascal writes a child position without a name but cannot read it back.
    {"childpos-unnamed.txt", false, true, true, true},
    {"wizard.txt", true, true, true, true},
    {"syntax-crlf.txt", true, true, false, true},
    // UTF-8 bytes are written back as the characters they spell, where Free Pascal writes #n
    // per byte (which reads back as a wide string); Free Pascal reads our text to the same bytes.
    {"raw-bytes.txt", true, false, false, true},
    {"utf8-text.txt", true, false, true, true},
    // Bytes that are not UTF-8 are written as Free Pascal does, #n per byte: checked below.
    {"latin1-bytes.txt", true, true, false, false},
    // Free Pascal cannot write these types as text at all.
    {"single.bin", false, false, false, true},
    {"currency.bin", false, false, false, true},
    {"date.bin", false, false, false, true},
    // No text form keeps the UTF-8 type; checked on its own below.
    {"utf8.bin", false, false, false, false},
};

// Malformed binaries that Free Pascal converts into garbage; ours must refuse them.
const char* const kMalformed[] = {"bad-binary-length.bin", "bad-value-type.bin"};

void PrintTo(const TCorpusFile& f, std::ostream* os) {
  *os << f.Name;
}

bool IsText(const TCorpusFile& f) {
  return std::string_view(f.Name).ends_with(".txt");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string ToBinary(const std::string& text) {
  TMemoryStream in(text), out;
  ObjectTextToBinary(in, out);
  return out.Data();
}

std::string ToText(const std::string& binary) {
  TMemoryStream in(binary), out;
  ObjectBinaryToText(in, out);
  return out.Data();
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}
std::string Short(std::string_view s) {
  return static_cast<char>(s.size()) + std::string(s);
}

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// The first difference, in hex, so that a failure names the bytes rather than dumping both.
std::string FirstDifference(const std::string& got, const std::string& want) {
  auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
  size_t at = static_cast<size_t>(g - got.begin());
  size_t from = at < 8 ? 0 : at - 8;
  std::ostringstream s;
  s << "sizes " << got.size() << " (got) and " << want.size() << " (want); first difference at "
    << at << "\n  got:  " << Hex(std::string_view(got).substr(from, 24))
    << "\n  want: " << Hex(std::string_view(want).substr(from, 24));
  return s.str();
}

::testing::AssertionResult SameBytes(const std::string& got, const std::string& want) {
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << FirstDifference(got, want);
}

// Free Pascal's fpconv, or "" when fpc was not found at configure time.
std::string Fpconv() {
  std::string path = ZELVAR_FPCONV;
  return !path.empty() && std::filesystem::exists(path) ? path : std::string();
}

// Runs `fpconv t2b|b2t` on the bytes; nullopt (and the message in *error) when it fails.
std::optional<std::string> RunFpconv(const std::string& direction, const std::string& input,
                                     const std::string& tag, std::string* error = nullptr) {
  const std::string base = ::testing::TempDir() + "zelvar_fpconv_" + std::to_string(getpid()) +
                           "_" + tag + "_" + direction;
  const std::string in = base + ".in", out = base + ".out", err = base + ".err";
  WriteFile(in, input);
  std::filesystem::remove(out);
  const std::string command =
      "'" + Fpconv() + "' " + direction + " '" + in + "' '" + out + "' 2>'" + err + "'";
  const int rc = std::system(command.c_str());
  std::optional<std::string> result;
  if (rc == 0)
    result = ReadFile(out);
  else if (error)
    *error = ReadFile(err);
  for (const std::string& f : {in, out, err}) std::filesystem::remove(f);
  return result;
}

// Free Pascal's text with its two known layout slips put right: it leaves the indent as
// trailing blanks after a collection's '<' and each item's 'end', and it writes an empty list
// as "(" indent ")" on one line where our rules put ")" on its own line.
std::string NormaliseFpcText(const std::string& text) {
  std::string out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    const size_t indent = line.find_first_not_of(' ');
    const size_t open = line.rfind('(');
    if (line.ends_with(')') && open != std::string::npos && indent != std::string::npos &&
        line.size() - open - 2 == indent &&
        line.find_first_not_of(' ', open + 1) == line.size() - 1) {
      out += line.substr(0, open + 1) + "\n" + std::string(indent, ' ') + ")\n";
      continue;
    }
    out += line + "\n";
  }
  return out;
}

std::string NameOf(const TCorpusFile& f) {
  std::string name = f.Name;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
  return name;
}
std::string TestName(const ::testing::TestParamInfo<TCorpusFile>& info) {
  return NameOf(info.param);
}

template <class Pred>
std::vector<TCorpusFile> CorpusWhere(Pred pred) {
  std::vector<TCorpusFile> files;
  std::copy_if(std::begin(kCorpus), std::end(kCorpus), std::back_inserter(files), pred);
  return files;
}

// The binary a corpus file stands for: the file itself, or our conversion of the text.
std::string BinaryOf(const TCorpusFile& f) {
  const std::string bytes = ReadFile(kFormsDir + f.Name);
  return IsText(f) ? ToBinary(bytes) : bytes;
}

// ---------------------------------------------------------------------------------------------

class ReferenceFpc : public ::testing::TestWithParam<TCorpusFile> {};

TEST_P(ReferenceFpc, AgreesWithFreePascal) {
  if (Fpconv().empty()) GTEST_SKIP() << "fpc was not found when the build was configured";
  const TCorpusFile& f = GetParam();
  const std::string tag = NameOf(f);
  const std::string original = ReadFile(kFormsDir + f.Name);
  const std::string binary = IsText(f) ? ToBinary(original) : original;

  if (f.FpcReads) {
    std::string error;
    std::optional<std::string> fpc = RunFpconv("t2b", original, tag, &error);
    ASSERT_TRUE(fpc) << "fpconv t2b failed: " << error;
    EXPECT_TRUE(SameBytes(binary, *fpc));
  }
  const std::string text = ToText(binary);
  if (f.FpcWrites) {
    std::string error;
    std::optional<std::string> fpc = RunFpconv("b2t", binary, tag, &error);
    ASSERT_TRUE(fpc) << "fpconv b2t failed: " << error;
    EXPECT_EQ(text, NormaliseFpcText(*fpc));
  }
  // Text we write differently from the file must still read back, in another reader, into the
  // same bytes (this is what checks our float digits).
  if (f.FpcReads && f.RoundTrips && text != original) {
    std::string error;
    std::optional<std::string> fpc = RunFpconv("t2b", text, tag + "_ours", &error);
    ASSERT_TRUE(fpc) << "fpconv t2b cannot read our text: " << error << "\n" << text;
    EXPECT_TRUE(SameBytes(*fpc, binary));
  }
}

INSTANTIATE_TEST_SUITE_P(, ReferenceFpc, ::testing::ValuesIn(CorpusWhere([](const TCorpusFile& f) {
                           return f.FpcReads || f.FpcWrites;
                         })),
                         TestName);

class ReferenceRoundTrip : public ::testing::TestWithParam<TCorpusFile> {};

TEST_P(ReferenceRoundTrip, BinaryToTextToBinaryIsIdentical) {
  const std::string binary = BinaryOf(GetParam());
  const std::string text = ToText(binary);
  EXPECT_TRUE(SameBytes(ToBinary(text), binary)) << "\nvia text:\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    , ReferenceRoundTrip,
    ::testing::ValuesIn(CorpusWhere([](const TCorpusFile& f) { return f.RoundTrips; })), TestName);

class ReferenceCanonical : public ::testing::TestWithParam<TCorpusFile> {};

TEST_P(ReferenceCanonical, WritesTheFileBack) {
  const std::string original = ReadFile(kFormsDir + GetParam().Name);
  EXPECT_EQ(ToText(ToBinary(original)), original);
}

INSTANTIATE_TEST_SUITE_P(
    , ReferenceCanonical,
    ::testing::ValuesIn(CorpusWhere([](const TCorpusFile& f) { return f.Canonical; })), TestName);

// ---------------------------------------------------------------------------------------------

// A file added to the corpus but not to the table above would be silently left out.
TEST(ReferenceCorpus, EveryFileIsListed) {
  std::vector<std::string> listed;
  for (const TCorpusFile& f : kCorpus) listed.push_back(f.Name);
  for (const char* name : kMalformed) listed.push_back(name);
  for (const auto& entry : std::filesystem::directory_iterator(kFormsDir)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".txt") && !name.ends_with(".bin")) continue;
    EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end())
        << name << " is not in kCorpus";
  }
  for (const std::string& name : listed)
    EXPECT_TRUE(std::filesystem::exists(kFormsDir + name)) << name;
}

// Free Pascal cannot read these two; the bytes are the format's own.
TEST(ReferenceCorpus, CollectionOrderIndexes) {
  std::string want = "TPF0"s + Short("TForm1") + Short("Form1") + Short("Columns");
  want += Bytes({0x0E});
  want += Bytes({0x02, 0x00, 0x01}) + Short("Width") + Bytes({0x02, 0x01, 0x00});  // item[0]
  want += Bytes({0x01}) + Short("Width") + Bytes({0x02, 0x02, 0x00});              // item
  want += Bytes({0x03, 0x2C, 0x01, 0x01, 0x00});                                   // item[300]
  want += Bytes({0x02, 0xFF, 0x01}) + Short("Caption") + Bytes({0x06}) + Short("last") +
          Bytes({0x00});        // item[-1]
  want += Bytes({0x00});        // end of the collection
  want += Bytes({0x00, 0x00});  // end of Form1's properties, of its children
  EXPECT_TRUE(SameBytes(ToBinary(ReadFile(kFormsDir + "collections-order.txt")), want));
}

TEST(ReferenceCorpus, ChildPositionWithoutName) {
  std::string want = "TPF0"s + Short("TForm1") + Short("Form1") + Bytes({0x00});
  want += Bytes({0xF2, 0x02, 0x03}) + Short("TButton") + Short("") + Bytes({0x00, 0x00});
  want += Bytes({0xF3, 0x02, 0x00}) + Short("TEdit") + Short("") + Short("Text") + Bytes({0x06}) +
          Short("x") + Bytes({0x00, 0x00});
  want += Bytes({0x00});  // end of Form1's children
  EXPECT_TRUE(SameBytes(ToBinary(ReadFile(kFormsDir + "childpos-unnamed.txt")), want));
}

// Raw bytes above 127 inside quotes stay a byte string (as in Free Pascal). When they spell
// UTF-8 they are written back as those characters, so the byte string survives the round trip.
TEST(ReferenceCorpus, Utf8BytesKeepTheirCharacters) {
  const std::string binary = ToBinary(ReadFile(kFormsDir + "raw-bytes.txt"));
  EXPECT_NE(binary.find(Short("Caption") + Bytes({0x06, 5}) + "Caf\xC3\xA9"), std::string::npos);
  EXPECT_NE(binary.find(Short("Long") + Bytes({0x0C, 0x2C, 0x01, 0, 0, 0xC3, 0xA9})),
            std::string::npos);
  const std::string text = ToText(binary);
  EXPECT_NE(text.find("  Caption = 'Caf\xC3\xA9'\n"), std::string::npos) << text;
  EXPECT_TRUE(SameBytes(ToBinary(text), binary));
}

// Bytes that are not UTF-8 become #n escapes, which read as a wide string of the same units.
// From there it is stable.
TEST(ReferenceCorpus, OtherRawBytesBecomeWideOnce) {
  const std::string binary = ToBinary(ReadFile(kFormsDir + "latin1-bytes.txt"));
  EXPECT_NE(binary.find(Short("Caption") + Bytes({0x06, 4}) + "Caf\xE9"), std::string::npos);
  const std::string text = ToText(binary);
  EXPECT_NE(text.find("  Caption = 'Caf'#233\n"), std::string::npos) << text;
  const std::string again = ToBinary(text);
  EXPECT_NE(
      again.find(Short("Caption") + Bytes({0x12, 4, 0, 0, 0, 'C', 0, 'a', 0, 'f', 0, 0xE9, 0})),
      std::string::npos)
      << Hex(again);
  EXPECT_TRUE(SameBytes(ToBinary(ToText(again)), again));
}

// A UTF-8 string (14) has no text form of its own: written out, it must keep its characters,
// so it comes back as the UTF-16 string of the same text (or a byte string when all ASCII).
TEST(ReferenceCorpus, Utf8StringKeepsItsCharacters) {
  const std::string text = ToText(ReadFile(kFormsDir + "utf8.bin"));
  const std::string binary = ToBinary(text);
  EXPECT_NE(binary.find(Short("Ascii") + Bytes({0x06}) + Short("abc")), std::string::npos) << text;
  // "Café€😀": é and € one unit each, the emoji a surrogate pair.
  EXPECT_NE(binary.find(Short("Accents") + Bytes({0x12, 7, 0, 0, 0, 'C', 0, 'a', 0, 'f', 0, 0xE9,
                                                  0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE})),
            std::string::npos)
      << text;
  EXPECT_NE(binary.find(Short("Empty") + Bytes({0x06, 0x00})), std::string::npos) << text;
}

// Free Pascal reads a binary length of FFFFFFFF as 0 and reads on into the block's bytes, and
// reads 0x15 as a UTF-16 string; both must fail here instead.
TEST(ReferenceCorpus, MalformedBinariesAreRefused) {
  for (const char* name : kMalformed) {
    SCOPED_TRACE(name);
    EXPECT_THROW(ToText(ReadFile(kFormsDir + name)), EReadError);
  }
}

// Free Pascal cuts a name longer than 255 bytes to 255; the format has no room for it.
TEST(ReferenceCorpus, OverlongNameIsRefused) {
  const std::string text = "object Form1: TForm1\n  " + std::string(256, 'P') + " = 1\nend\n";
  EXPECT_THROW(ToBinary(text), EReadError);
  const std::string fits = "object Form1: TForm1\n  " + std::string(255, 'P') + " = 1\nend\n";
  EXPECT_NO_THROW(ToBinary(fits));
}

}  // namespace
}  // namespace zelvar::test

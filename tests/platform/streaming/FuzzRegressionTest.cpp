// Inputs the fuzzers once found wrong, held to the fuzzers' own rules: every input either
// fails with the toolkit's error, or its text is stable after one trip through binary.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/streaming/FormText.h"
#include "platform/streaming/Streams.h"

namespace zelvar {
namespace {

namespace fs = std::filesystem;

TEST(FuzzRegression, TextIsStableAfterOneTrip) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(ZELVAR_TEST_DATA) / "fuzz")) {
    SCOPED_TRACE(entry.path().filename().string());
    TMemoryStream file;
    file.LoadFromFile(entry.path().string());
    const std::string& bytes = file.Data();
    ++files;
    std::string text;
    try {
      text = bytes.starts_with("TPF0") ? ObjectBinaryToText(bytes)
                                       : ObjectBinaryToText(ObjectTextToBinary(bytes));
    } catch (const Exception&) {
      continue;  // refused: that is a proper answer
    }
    std::string binary = ObjectTextToBinary(text);
    EXPECT_EQ(ObjectBinaryToText(binary), text);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
  }
  EXPECT_GE(files, 3);
}

TEST(FuzzRegression, NamesThatTextCannotSpellAreRefused) {
  TMemoryStream file;
  file.LoadFromFile(
      (fs::path(ZELVAR_TEST_DATA) / "fuzz" / "binary-control-char-name.bin").string());
  EXPECT_THROW(ObjectBinaryToText(file.Data()), EReadError);
}

}  // namespace
}  // namespace zelvar

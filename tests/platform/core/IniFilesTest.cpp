#include "platform/core/IniFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/Exceptions.h"
#include "tests/TestSupport.h"

namespace zelvar {
namespace {

// Writes `text` to a file of its own under the test temp directory, removed afterwards.
class TTempIni {
 public:
  explicit TTempIni(const std::string& text) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FPath = ::testing::TempDir() + "zelvar_ini_" + info->name() + "_" + std::to_string(getpid()) +
            "_" + std::to_string(FCounter++) + ".ini";
    std::ofstream(FPath, std::ios::binary) << text;
  }
  ~TTempIni() { std::remove(FPath.c_str()); }
  const std::string& Path() const { return FPath; }

 private:
  static inline int FCounter = 0;
  std::string FPath;
};

TEST(IniFiles, MissingFileSectionOrKeyGivesDefault) {
  const TIniFile missing(::testing::TempDir() + "zelvar_no_such_file.ini");
  EXPECT_EQ(missing.FileName(), ::testing::TempDir() + "zelvar_no_such_file.ini");
  EXPECT_EQ(missing.ReadString("S", "K", "def"), "def");
  EXPECT_EQ(missing.ReadInteger("S", "K", 7), 7);
  EXPECT_TRUE(missing.ReadBool("S", "K", true));
  EXPECT_FALSE(missing.SectionExists("S"));

  // A directory cannot be read as a file; it is as good as missing.
  EXPECT_EQ(TIniFile(::testing::TempDir()).ReadString("S", "K", "def"), "def");

  const TTempIni file("[Present]\nKey=value\n[Empty]\n");
  const TIniFile ini(file.Path());
  EXPECT_EQ(ini.ReadString("Absent", "Key", "def"), "def");
  EXPECT_EQ(ini.ReadString("Present", "Other", "def"), "def");
  EXPECT_FALSE(ini.ValueExists("Present", "Other"));
  EXPECT_FALSE(ini.ValueExists("Absent", "Key"));
  // Like Delphi's TIniFile, a section without keys does not count.
  EXPECT_FALSE(ini.SectionExists("Empty"));
}

TEST(IniFiles, CaseAndDuplicates) {
  // Sections and keys ignore case, and the first of duplicates wins even across repeated
  // sections.
  const TTempIni file(
      "[Wizard]\nCaption=Setup\ncaption=second\n[wizard]\nCAPTION=third\n"
      "Later=added\n");
  const TIniFile ini(file.Path());
  EXPECT_EQ(ini.ReadString("WIZARD", "CapTion", ""), "Setup");
  EXPECT_EQ(ini.ReadString("Wizard", "LATER", ""), "added");
  EXPECT_TRUE(ini.SectionExists("wIzArD"));
  EXPECT_TRUE(ini.ValueExists("wizard", "caption"));
}

TEST(IniFiles, NumbersAndBooleans) {
  const TTempIni file(
      "[N]\nDec=-42\nHex=$1F\nCHex=0x10\nBad=12abc\nBig=99999999999\nOff=0\n"
      "Word=true\n");
  const TIniFile ini(file.Path());
  EXPECT_EQ(ini.ReadInteger("N", "Dec", 0), -42);
  EXPECT_EQ(ini.ReadInteger("N", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "CHex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("N", "Bad", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "Big", 5), 5);
  EXPECT_TRUE(ini.ReadBool("N", "Hex", false));
  EXPECT_FALSE(ini.ReadBool("N", "Off", true));
  // Not an integer: the default, whichever it is.
  EXPECT_TRUE(ini.ReadBool("N", "Word", true));
  EXPECT_FALSE(ini.ReadBool("N", "Word", false));
}

TEST(IniFiles, ValuesAsTheProfileApiReadsThem) {
  const TTempIni file(
      "[S]\n"
      "Double=\"  padded  \"\n"
      "Single='quoted'\n"
      "Mixed=\"half'\n"
      "Lone=\"\n"
      "Inner=a \"b\" c\n"
      "  Indented = yes  \n"
      "Semi=Next ; then finish\n"
      "Quoted=\"a ; b\"\n"
      "; Commented=1\n"
      "Crlf=v\r\n");
  const TIniFile ini(file.Path());
  EXPECT_EQ(ini.ReadString("S", "Double", ""), "  padded  ");
  EXPECT_EQ(ini.ReadString("S", "Single", ""), "quoted");
  EXPECT_EQ(ini.ReadString("S", "Mixed", ""), "\"half'");
  EXPECT_EQ(ini.ReadString("S", "Lone", ""), "\"");
  EXPECT_EQ(ini.ReadString("S", "Inner", ""), "a \"b\" c");
  EXPECT_EQ(ini.ReadString("S", "Indented", ""), "yes");
  EXPECT_EQ(ini.ReadString("S", "Semi", ""), "Next ; then finish");
  EXPECT_EQ(ini.ReadString("S", "Quoted", ""), "a ; b");
  EXPECT_FALSE(ini.ValueExists("S", "Commented"));
  EXPECT_EQ(ini.ReadString("S", "Crlf", ""), "v");
}

TEST(IniFiles, BadLinesLoseNothingElse) {
  const std::string longValue(1000, 'v');
  const TTempIni file(
      "\xEF\xBB\xBF[S]\n"
      "A=1\n"
      "this line has no equals sign\n"
      "[unterminated\n"
      "B=2\n"
      "Long=" +
      longValue +
      "=x\n"
      "C=3\n"
      "[T]\n"
      "D=4");  // no final newline
  const TIniFile ini(file.Path());
  EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
  EXPECT_EQ(ini.ReadString("S", "B", ""), "2");
  EXPECT_EQ(ini.ReadString("S", "Long", ""), longValue + "=x");
  EXPECT_EQ(ini.ReadString("S", "C", ""), "3");
  EXPECT_EQ(ini.ReadString("T", "D", ""), "4");
  EXPECT_FALSE(ini.ValueExists("S", "vvvvvvvvvv"));
}

TEST(IniFiles, DevicesAndOversizedFilesAreRefusedByName) {
  // /dev/zero would be read without end; /dev/urandom too, and never as a line.
  for (const char* device : {"/dev/zero", "/dev/urandom"}) {
    EXPECT_EQ(test::MessageOf<EFilerError>([&] { TIniFile ini(device); }),
              std::string("Cannot read file \"") + device + "\": not a regular file");
  }
  const TTempIni file("[S]\nA=1\n");
  std::filesystem::resize_file(file.Path(), TIniFile::kMaxIniFileSize + 1);  // sparse
  EXPECT_EQ(test::MessageOf<EFilerError>([&] { TIniFile ini(file.Path()); }),
            "Cannot read file \"" + file.Path() + "\": larger than 4 MB");
  std::filesystem::resize_file(file.Path(), TIniFile::kMaxIniFileSize);
  EXPECT_EQ(TIniFile(file.Path()).ReadString("S", "A", ""), "1");
}

TEST(IniFiles, ReplacingASectionKeepsTheOthersAndTheirOrder) {
  const std::string text =
      "; settings\n[A]\nx=1\n\n[State]\nold=1\n; note\n[B]\ny=2\n[state]\nold=2";
  EXPECT_EQ(ReplaceIniSection(text, "STATE", {{"Page", "3"}, {"Text", "\" a \""}}),
            "; settings\n[A]\nx=1\n\n[STATE]\nPage=3\nText=\" a \"\n[B]\ny=2\n");
  // Read back, the quoted value keeps its blanks; the other sections are as they were.
  const TIniFile ini = TIniFile::FromText(ReplaceIniSection(text, "State", {{"Text", "\" a \""}}));
  EXPECT_EQ(ini.ReadString("State", "Text", ""), " a ");
  EXPECT_FALSE(ini.ValueExists("State", "old"));
  EXPECT_EQ(ini.ReadString("B", "y", ""), "2");
  // No pairs remove the section; a new one goes at the end after a blank line.
  EXPECT_EQ(ReplaceIniSection(text, "state", {}), "; settings\n[A]\nx=1\n\n[B]\ny=2\n");
  EXPECT_EQ(ReplaceIniSection("[A]\nx=1", "N", {{"k", "v"}}), "[A]\nx=1\n\n[N]\nk=v\n");
  EXPECT_EQ(ReplaceIniSection("", "N", {{"k", "v"}}), "[N]\nk=v\n");
}

TEST(IniFiles, WritingASectionReplacesTheFileWhole) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("zelvar_ini_write_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string file = (dir / "state.ini").string();
  // Removing from a file that is not there makes none.
  WriteIniSection(file, "S", {});
  EXPECT_FALSE(fs::exists(file));
  WriteIniSection(file, "S", {{"a", "1"}});
  WriteIniSection(file, "T", {{"b", "2"}});
  WriteIniSection(file, "S", {{"a", "3"}});
  EXPECT_EQ(TIniFile(file).ReadString("S", "a", ""), "3");
  EXPECT_EQ(TIniFile(file).ReadString("T", "b", ""), "2");
  // Nothing of the writing is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  // A folder where the file should be is refused by name, and leaves nothing either.
  fs::create_directory(dir / "sub.ini");
  EXPECT_THROW(WriteIniSection((dir / "sub.ini").string(), "S", {{"a", "1"}}), EFilerError);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  // Without its last section, the file goes.
  WriteIniSection(file, "S", {});
  WriteIniSection(file, "T", {});
  EXPECT_FALSE(fs::exists(file));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelvar

#include "platform/core/Paths.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zelvar {
namespace {

TEST(Paths, ProgramDirMovesParamStrZeroUntilCleared) {
  const std::string exe = ParamStr(0);
  ASSERT_EQ(exe.substr(0, 1), "/");
  EXPECT_TRUE(FileExists(exe));
  const std::string dir = ::testing::TempDir() + "zelvar_progdir";
  SetProgramDir(dir);
  const std::string moved = ParamStr(0);
  SetProgramDir("");
  EXPECT_EQ(ExtractFilePath(moved), dir + "/");
  EXPECT_EQ(ExtractFileName(moved), ExtractFileName(exe));
  EXPECT_EQ(ParamStr(0), exe);
}

TEST(Paths, CommandLineArguments) {
  // Put back what the test runner was started with, for whatever runs next.
  std::vector<std::string> saved{"saved-argv0"};
  for (int i = 1; i <= ParamCount(); ++i) saved.push_back(ParamStr(i));

  const std::string exe = ParamStr(0);
  std::string args[] = {"not-the-program", "first", "", "third"};
  char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data()};
  SetCommandLine(4, argv);
  EXPECT_EQ(ParamCount(), 3);
  EXPECT_EQ(ParamStr(0), exe);
  EXPECT_EQ(ParamStr(1), "first");
  EXPECT_EQ(ParamStr(2), "");
  EXPECT_EQ(ParamStr(3), "third");
  EXPECT_EQ(ParamStr(4), "");
  EXPECT_EQ(ParamStr(-1), "");

  SetCommandLine(0, nullptr);
  EXPECT_EQ(ParamCount(), 0);
  EXPECT_EQ(ParamStr(1), "");

  std::vector<char*> restore;
  for (std::string& s : saved) restore.push_back(s.data());
  SetCommandLine(static_cast<int>(restore.size()), restore.data());
  EXPECT_EQ(ParamCount(), static_cast<int>(saved.size()) - 1);
}

TEST(Paths, FileNameParts) {
  EXPECT_EQ(ExtractFilePath("/usr/lib/app.so"), "/usr/lib/");
  EXPECT_EQ(ExtractFilePath("app"), "");
  EXPECT_EQ(ExtractFilePath("/"), "/");
  EXPECT_EQ(ExtractFileName("/usr/lib/app.so"), "app.so");
  EXPECT_EQ(ExtractFileName("/usr/lib/"), "");
  EXPECT_EQ(ExtractFileExt("/a/b.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("/a.d/noext"), "");  // a dot in a folder name is no extension
  EXPECT_EQ(ExtractFileExt(".bashrc"), ".bashrc");
  EXPECT_EQ(ChangeFileExt("/x/wizard.exe", ".ini"), "/x/wizard.ini");
  EXPECT_EQ(ChangeFileExt("/x.d/wizard", ".ini"), "/x.d/wizard.ini");
  EXPECT_EQ(ChangeFileExt("wizard.ini", ""), "wizard");
}

TEST(Paths, FileExistsOnlyForFiles) {
  const std::string file =
      ::testing::TempDir() + "zelvar_exists_" + std::to_string(getpid()) + ".txt";
  std::ofstream(file) << "x";
  EXPECT_TRUE(FileExists(file));
  std::remove(file.c_str());
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(FileExists(::testing::TempDir()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(std::string_view("/etc/passwd\0x", 13)));
}

}  // namespace
TEST(Paths, AFileWrittenWholeKeepsItsPermissionsAndALinkStays) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("zelvar_atomic_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "form.txt", link = dir / "link.txt";
  WriteFileAtomically(file.string(), "one");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(file, link);
  WriteFileAtomically(link.string(), "two");
  EXPECT_TRUE(fs::is_symlink(link));
  std::ifstream in(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "two");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  fs::remove_all(dir);
}

}  // namespace zelvar

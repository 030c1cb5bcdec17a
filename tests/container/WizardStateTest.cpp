// A wizard's state between runs: written as INI keys, read back, and refused by name when the
// file was damaged; the container saves it, restores what still matches, and Execute resumes
// from it.

#include "container/WizardState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/backends/Headless.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Memo.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/Streams.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TWizardState Sample() {
  TWizardState s;
  s.Page = 3;
  s.LastWizardPage = 2;
  s.History = {1, 2};
  s.WizardWidth = 520;
  s.WizardHeight = 340;
  s.DialogWidth = 0;  // never recorded
  s.DialogHeight = 0;
  // Texts the file's own rules would spoil unescaped: blanks at the ends, quotes, lines,
  // a comment sign, a backslash, control characters and UTF-8.
  s.Values["Memo1"] = {ikText, "  first line\r\n\"second\" ; not a comment\\\t\x01 \xc3\xa4  "};
  s.Values["Host.DetailsForm.Check"] = {ikCheck, "1"};
  s.Values["Empty"] = {ikText, ""};
  return s;
}

TIniFile AsIni(const TIniPairs& pairs) {
  return TIniFile::FromText(ReplaceIniSection("", "S", pairs), "state.ini");
}

TEST(WizardState, WrittenAndReadBackUnchanged) {
  const TWizardState s = Sample();
  EXPECT_EQ(ReadWizardState(AsIni(WizardStatePairs(s)), "S"), s);
  TWizardState none;
  EXPECT_EQ(ReadWizardState(AsIni(WizardStatePairs(none)), "S"), none);
}

TEST(WizardState, ADamagedStateIsRefusedNamingTheKey) {
  auto damaged = [](const std::string& key, const std::string& value) {
    TIniPairs pairs = WizardStatePairs(Sample());
    bool found = false;
    for (auto& [k, v] : pairs)
      if (k == key) {
        v = value;
        found = true;
      }
    if (!found) pairs.emplace_back(key, value);
    return MessageOf<EReadError>([&] { ReadWizardState(AsIni(pairs), "S"); });
  };
  EXPECT_THAT(damaged("Version", "2"), HasSubstr("Version is not 1"));
  EXPECT_THAT(damaged("Page", "three"), HasSubstr("Page is not an integer"));
  EXPECT_THAT(damaged("History", "1,x"), HasSubstr("History holds an entry that is no integer"));
  EXPECT_THAT(damaged("WizardSize", "-5,10"), HasSubstr("WizardSize is no width and height"));
  EXPECT_THAT(damaged("DialogSize", "10"), HasSubstr("DialogSize is no width and height"));
  EXPECT_THAT(damaged("Values", "99999999"), HasSubstr("Values is out of range"));
  EXPECT_THAT(damaged("Values", "4"), HasSubstr("Value4 is missing"));
  EXPECT_THAT(damaged("Value1", "Edit1"), HasSubstr("Value1 is not NAME KIND"));
  EXPECT_THAT(damaged("Value1", "Edit1 ikColour \"x\""), HasSubstr("names no control and kind"));
  EXPECT_THAT(damaged("Value1", "Edit1 ikText x"), HasSubstr("not one quoted text"));
  EXPECT_THAT(damaged("Value1", "Edit1 ikText \"a\\q\""), HasSubstr("not one quoted text"));
  EXPECT_THAT(damaged("Value1", "Edit1 ikText \"\\x4\""), HasSubstr("not one quoted text"));
  EXPECT_THAT(damaged("Value2", "Empty ikText \"\""), HasSubstr("names Empty twice"));
  EXPECT_THAT(MessageOf<EReadError>([] { ReadWizardState(AsIni({}), "S"); }),
              HasSubstr("holds no wizard state [S]"));
}

// A four-page wizard with an edit on the form and a check box and a memo.
class WizardResume : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Z->SetNumPages(4);
    Z->UseDefaultButtons();
    Edit = Add<TEdit>("FolderEdit");
    Check = Add<TCheckBox>("DocsPart");
    Memo = Add<TMemo>("Notes");
    Z->setPage(1);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Dir = std::filesystem::path(::testing::TempDir()) /
          ("zelvar_resume_" + std::string(info->name()) + "_" + std::to_string(getpid()));
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    File = (Dir / "wizard.ini").string();
  }
  void TearDown() override {
    Application().SetBackend(nullptr);
    ContainerTest::TearDown();
    std::filesystem::remove_all(Dir);
  }
  template <class T>
  T* Add(const char* name) {
    T* c = New<T>(Form.get());
    c->SetName(name);
    c->SetParent(Z);
    return c;
  }
  THeadlessSteps& Steps() { return Application().Headless(); }

  TEdit* Edit = nullptr;
  TCheckBox* Check = nullptr;
  TMemo* Memo = nullptr;
  std::filesystem::path Dir;
  std::string File;
};

TEST_F(WizardResume, AStateSavedToAStreamComesBackWhole) {
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  Edit->SetText("/usr/local/zelvar");
  Check->SetChecked(true);
  Memo->SetText("two\nlines");
  TMemoryStream stream;
  Z->SaveState(stream);
  EXPECT_EQ(stream.Data().rfind("[State]\nVersion=1\nPage=3\nLastWizardPage=1\nHistory=1,2\n", 0),
            0u)
      << stream.Data();

  // Everything moved away, then the state read back.
  Z->setPage(1);
  Z->ClearHistory();
  Edit->SetText("");
  Check->SetChecked(false);
  Memo->SetText("");
  stream.SetPosition(0);
  Z->LoadState(stream);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(Z->History().Items(), ElementsAre(1, 2));
  EXPECT_TRUE(Z->BtnBack()->Enabled());
  EXPECT_EQ(Edit->Text(), "/usr/local/zelvar");
  EXPECT_TRUE(Check->Checked());
  EXPECT_EQ(Memo->Text(), "two\nlines");
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 2);
}

TEST_F(WizardResume, AStaleStateRestoresWhatStillMatches) {
  TWizardState s = Z->State();
  s.Page = 4;
  s.History = {1, 9, 3};                                  // page 9 is gone
  s.Values["Removed"] = {ikText, "x"};                    // renamed or removed since
  s.Values["DocsPart"] = {ikText, "now an edit's text"};  // another kind now
  s.Values["FolderEdit"] = {ikText, "/srv"};
  Z->ApplyState(s);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_THAT(Z->History().Items(), ElementsAre(1, 3));
  EXPECT_EQ(Edit->Text(), "/srv");
  EXPECT_FALSE(Check->Checked());
  // A position that no longer exists leaves the page where it is.
  s.Page = 7;
  Z->ApplyState(s);
  EXPECT_EQ(Z->Page(), 4);
  // A value its control cannot hold puts back every value already changed.
  s.Values["FolderEdit"] = {ikText, "/changed"};
  s.Values["DocsPart"] = {ikCheck, "yes"};
  EXPECT_THROW(Z->ApplyState(s), EConvertError);
  EXPECT_EQ(Edit->Text(), "/srv");
}

TEST_F(WizardResume, ClosingKeepsTheStateAndTheNextRunResumes) {
  std::vector<std::string> errors;
  Z->OnStateError = TStateErrorEvent([&](TZelvar*, const std::string& m) { errors.push_back(m); });
  Steps().Click("NextButton").Click("NextButton").Type("FolderEdit", "/opt/z");
  Steps().Do([&] { Form->Close(); });
  EXPECT_EQ(Z->Execute(1, File), mrCancel);
  EXPECT_TRUE(TIniFile(File).SectionExists("Form1"));

  // A fresh wizard: the edit empty, on page 1.
  Edit->SetText("");
  Z->setPage(1);
  Steps().Do([&] {
    EXPECT_EQ(Z->Page(), 3);
    EXPECT_EQ(Edit->Text(), "/opt/z");
    EXPECT_TRUE(Z->BackButton()->Enabled());
  });
  Steps().Click("BackButton").Do([&] { EXPECT_EQ(Z->Page(), 2); }).Click("NextButton");
  Steps().Click("NextButton").Click("NextButton");  // Finish
  EXPECT_EQ(Z->Execute(1, File), mrOk);
  // Finished: the next run starts afresh.
  EXPECT_FALSE(TIniFile(File).SectionExists("Form1"));
  EXPECT_THAT(errors, IsEmpty());
}

TEST_F(WizardResume, CancelDiscardsTheStateAndClosingDoesNotAsk) {
  Z->SetConfirmCancel(ccIfModified);
  // Closing with something typed: nothing is lost, so nothing is asked.
  Steps().Click("NextButton").Type("FolderEdit", "x").Do([&] { Form->Close(); });
  EXPECT_EQ(Z->Execute(1, File), mrCancel);
  ASSERT_TRUE(TIniFile(File).SectionExists("Form1"));
  // Resumed, Cancel asks (the resumed values would go), and Yes removes the state.
  Edit->SetText("");
  std::string asked;
  Steps().Click("CancelButton").Do([&] { asked = Application().ActiveForm()->Caption(); });
  Steps().Click("Yes");
  EXPECT_EQ(Z->Execute(1, File), mrCancel);
  EXPECT_EQ(asked, "Confirm");
  EXPECT_FALSE(TIniFile(File).SectionExists("Form1"));
}

TEST_F(WizardResume, ADamagedOrStaleFileNeverStopsTheWizard) {
  std::vector<std::string> errors;
  Z->OnStateError = TStateErrorEvent([&](TZelvar*, const std::string& m) { errors.push_back(m); });
  std::ofstream(File) << "[Other]\nkept=1\n[Form1]\nVersion=1\nPage=banana\n";
  Steps().Do([&] { EXPECT_EQ(Z->Page(), 2); }).Do([&] { Form->Close(); });
  EXPECT_EQ(Z->Execute(2, File), mrCancel);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_THAT(errors[0], HasSubstr("Page is not an integer"));
  // The damaged section was replaced on closing; the file's other sections stay.
  EXPECT_EQ(TIniFile(File).ReadString("Form1", "Page", ""), "2");
  EXPECT_EQ(TIniFile(File).ReadString("Other", "kept", ""), "1");

  // Pages removed since: the wizard opens on the page asked for, with the values.
  std::ofstream(File) << "[Form1]\nVersion=1\nPage=12\nLastWizardPage=1\nHistory=1,11\n"
                         "WizardSize=0,0\nDialogSize=0,0\nValues=1\n"
                         "Value1=FolderEdit ikText \"/kept\"\n";
  Steps().Do([&] {
    EXPECT_EQ(Z->Page(), 1);
    EXPECT_EQ(Edit->Text(), "/kept");
  });
  Steps().Do([&] { Form->Close(); });
  EXPECT_EQ(Z->Execute(1, File), mrCancel);
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(WizardResume, ResumeStateNamesTheFileAndARelativeOneGoesToTheStateFolder) {
  // Kept in the form file only when set.
  const TPropInfo* prop = TZelvar::StaticClassInfo().FindProp("ResumeState");
  ASSERT_NE(prop, nullptr);
  EXPECT_FALSE(prop->IsStored(Z));
  const std::string old = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
  ::setenv("XDG_STATE_HOME", Dir.c_str(), 1);
  Z->SetResumeState("setup.ini");
  EXPECT_TRUE(prop->IsStored(Z));
  Steps().Click("NextButton").Do([&] { Form->Close(); });
  EXPECT_EQ(Z->RunForm(), mrCancel);
  EXPECT_TRUE(TIniFile((Dir / "zelvar" / "setup.ini").string()).SectionExists("Form1"));
  Z->setPage(1);
  Steps().Do([&] { EXPECT_EQ(Z->Page(), 2); }).Do([&] { Form->Close(); });
  EXPECT_EQ(Z->RunForm(), mrCancel);
  // Without a place for the state the wizard runs all the same, and says so.
  ::setenv("XDG_STATE_HOME", "", 1);
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::unsetenv("HOME");
  std::vector<std::string> errors;
  Z->OnStateError = TStateErrorEvent([&](TZelvar*, const std::string& m) { errors.push_back(m); });
  Steps().Do([&] { Form->Close(); });
  EXPECT_EQ(Z->Execute(1), mrCancel);
  ::setenv("HOME", home.c_str(), 1);
  if (old.empty())
    ::unsetenv("XDG_STATE_HOME");
  else
    ::setenv("XDG_STATE_HOME", old.c_str(), 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_THAT(errors[0], HasSubstr("neither XDG_STATE_HOME nor HOME is set"));
}

}  // namespace
}  // namespace zelvar::test

#include "zelvar/zelvar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "tests/TestSupport.h"
#include "zelvar/script.h"

namespace zelvar::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kExamples = std::string(ZELVAR_TEST_DATA) + "/../../examples/";

// How a failure at a line of a test's script (test.zs in its folder) is reported.
class TestScriptFolder : public ScriptFolderTest {
 protected:
  using ScriptFolderTest::ScriptFolderTest;
  std::string At(int line) const {
    return "zelvar: " + (Dir / "test.zs").string() + ":" + std::to_string(line) + ": ";
  }
};

TEST(Initialize, TheOptionsDialogLoadsWithNoOtherCall) {
  Initialize();
  std::unique_ptr<TComponent> form(ReadComponentFile(kExamples + "options.txt"));
  EXPECT_EQ(As<TForm>(form.get())->Name(), "OptionsForm");
}

TEST(Initialize, TheSetupWizardLoadsWithTheHandlersItNames) {
  Initialize();
  TForm* details = nullptr;
  std::vector<int32_t> pages;
  auto makeDetails = [&] {
    details = New<TForm>(nullptr);
    details->SetName("MyDetails");
    return details;
  };
  TFormHandlers handlers{{"Details", makeDetails},
                         {"PageShown", [&](TZelvar*, int32_t page) { pages.push_back(page); }},
                         {"InstallTick", [](TObject*) {}},
                         {"CheckTick", [] {}}};
  std::unique_ptr<TComponent> root(ReadComponentFile(kExamples + "setup.txt", handlers));
  SetPropText(Find<TZelvar>(root.get(), "Zelvar1"), "Page", "5");
  EXPECT_THAT(pages, Contains(5));
  // The page asked its host for the program's form; the host frees it with the wizard.
  EXPECT_EQ(Find<TAForm>(root.get(), "DetailsHost")->HostedForm(), details);

  // Its other handlers are the program's to give too: a name none gives fails the read.
  EXPECT_THAT(
      MessageOf<EReadError>([&] {
        delete ReadComponentFile(kExamples + "setup.txt", TFormHandlers{{"Details", makeDetails}});
      }),
      HasSubstr("Method 'PageShown' not found for property TZelvar.OnPageChange "
                "(handlers given: Details)"));
}

// ---------------------------------------------------------------------------------------------
// RunScript: a program's own form under a script

class RunScriptTest : public TestScriptFolder {
 protected:
  RunScriptTest() : TestScriptFolder("run-script", {"program.txt"}) {}
  void SetUp() override {
    TestScriptFolder::SetUp();
    Initialize();
    Root.reset(ReadComponentFile((Dir / "program.txt").string(), Handlers));
  }
  TRun Run(const std::string& text) {
    std::ofstream(Dir / "test.zs") << text;
    std::ostringstream out, err;
    int status =
        zelvar::RunScript(*As<TForm>(Root.get()), (Dir / "test.zs").string(), Handlers, out, err);
    return {status, out.str(), err.str()};
  }

  std::vector<std::string> Calls;
  TFormHandlers Handlers{
      {"Hello", [this](TButton* sender) { Calls.push_back("Hello " + sender->Name()); }},
      {"Clicked", [this](TComponent* sender) { Calls.push_back("Clicked " + sender->Name()); }},
      {"Answer", [](TObject*, bool&) {}}};
  std::unique_ptr<TComponent> Root;
};

TEST_F(RunScriptTest, DrivesTheProgramsFormAsTheToolDoes) {
  TRun r =
      Run("expect ProgramForm.Caption 'Program'\n"
          "handle OkButton.OnClick handler Clicked\n"
          "show\n"
          "click HelloButton\n"
          "click OkButton\n"
          "expect-result mrOk\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "result = mrOk\n");
  EXPECT_THAT(Calls, ElementsAre("Hello HelloButton", "Clicked OkButton"));

  r = Run("show\nexpect ProgramForm.Caption 'Other'\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, At(2) + "ProgramForm.Caption is 'Program', expected 'Other'\n");
}

TEST_F(RunScriptTest, ScriptsNameTheProgramsHandlersCheckedAgainstTheEvent) {
  std::ofstream(Dir / "greet.txt") << "object GreetForm: TForm\n"
                                      "  object Greeter: TButton\n"
                                      "    OnClick = Greet\n"
                                      "  end\n"
                                      "end\n";
  TRun r =
      Run("fails handle OkButton.OnClick handler Nobody\n"
          "fails handle OkButton.OnClick handler Answer\n"
          "method Greet handler Hello\n"
          "load greet.txt\n"
          "click Greeter\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out,
            "no handler 'Nobody' among the program's (Hello, Clicked, Answer)\n"
            "Handler 'Answer' does not fit TButton.OnClick: it takes 2 parameters, the event "
            "passes 1 parameter\n");
  EXPECT_THAT(Calls, ElementsAre("Hello Greeter"));
}

// ---------------------------------------------------------------------------------------------
// A program under ZELVAR_SCRIPT (tests/programs/scripted.cpp: reads a form with its handler
// Hello, shows it modally, prints "closed with N")

class ProgramUnderScript : public TestScriptFolder {
 protected:
  ProgramUnderScript() : TestScriptFolder("under-script", {"program.txt"}) {}
  TRun Run(const std::string& text, const std::string& options = "") {
    std::ofstream(Dir / "test.zs") << text;
    return RunProgram(ZELVAR_SCRIPTED_PROGRAM, (Dir / "program.txt").string() + options, Dir, "",
                      "ZELVAR_SCRIPT=" + (Dir / "test.zs").string());
  }
};

TEST_F(ProgramUnderScript, LinesRunWhileItsModalLoopWaits) {
  TRun r =
      Run("click HelloButton\n"
          "expect ProgramForm.Caption 'Program'\n"
          "print HelloButton.Caption\n"
          "handle OkButton.OnClick handler Hello  # the handlers the program gave the reader\n"
          "click OkButton\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "Hello from HelloButton\n"
            "HelloButton.Caption = 'Hello'\n"
            "Hello from OkButton\n"
            "closed with 1\n");
}

TEST_F(ProgramUnderScript, AFailedLineEndsItWithStatusOneEvenIfItCatchesEverything) {
  const std::string script =
      "click HelloButton\nexpect ProgramForm.Caption 'Other'\nclick OkButton\n";
  for (const char* options : {"", " --catch"}) {
    TRun r = Run(script, options);
    EXPECT_EQ(r.Status, 1) << options;
    EXPECT_EQ(r.Out, "Hello from HelloButton\n") << options;
    EXPECT_EQ(r.Err, At(2) + "ProgramForm.Caption is 'Program', expected 'Other'\n") << options;
  }
}

TEST_F(ProgramUnderScript, AScriptTooShortOrTooLongFails) {
  TRun r = Run("click HelloButton\n\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, At(1) + "script ended inside a modal loop of ProgramForm\n");

  r = Run("click OkButton\n# done?\nprint ProgramForm.Caption\nclick OkButton\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "closed with 1\n");
  EXPECT_EQ(r.Err, At(3) + "not run: the program ended first\n");

  r = RunProgram(ZELVAR_SCRIPTED_PROGRAM, (Dir / "program.txt").string(), Dir, "",
                 "ZELVAR_SCRIPT=" + (Dir / "missing.zs").string());
  EXPECT_EQ(r.Status, 1);
  EXPECT_THAT(r.Err, HasSubstr("zelvar: " + (Dir / "missing.zs").string() + ": "));
  EXPECT_EQ(r.Out, "");
}

}  // namespace
}  // namespace zelvar::test

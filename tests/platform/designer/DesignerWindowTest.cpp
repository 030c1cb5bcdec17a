// The designer's window: its title, and closing with unsaved changes, answered as a user
// answers the question.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/backends/Headless.h"
#include "platform/controls/Register.h"
#include "platform/controls/StdCtrls.h"
#include "platform/designer/DesignerWindow.h"
#include "platform/designer/Palette.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

class DesignerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControls();
    RegisterStandardPalette();
    Application().UseHeadless();
    Window = std::make_unique<TDesignerWindow>(nullptr);
  }
  void TearDown() override {
    Window.reset();
    Application().SetBackend(nullptr);
  }
  // Closes the window the way its close box does, inside a modal loop of its own, answering
  // the question (if one is expected); a window that stays open is then ended with mrAbort.
  TModalResult CloseAnswering(const std::string& answer, bool staysOpen = false) {
    Application().Headless().Do([this] { Window->Close(); });
    if (!answer.empty()) Application().Headless().Click(answer);
    if (staysOpen) Application().Headless().Do([this] { Window->SetModalResult(mrAbort); });
    return Window->ShowModal();
  }
  std::unique_ptr<TDesignerWindow> Window;
};

TEST_F(DesignerWindowTest, TheTitleShowsTheFileAndUnsavedChanges) {
  EXPECT_EQ(Window->Caption(), "Zelvar designer - Untitled");
  Window->Session().Editor().CreateComponent(TButton::StaticClassInfo(), &Window->Session().Form(),
                                             {});
  EXPECT_EQ(Window->Caption(), "Zelvar designer - Untitled *");
  auto file = std::filesystem::temp_directory_path() / "zelvar-designer-title.txt";
  Window->Session().SaveAs(file.string(), TFormFormat::Text);
  EXPECT_EQ(Window->Caption(), "Zelvar designer - zelvar-designer-title.txt");
  Window->Undo();
  EXPECT_EQ(Window->Caption(), "Zelvar designer - zelvar-designer-title.txt *");
  std::filesystem::remove(file);
}

TEST_F(DesignerWindowTest, ClosingWithUnsavedChangesAsksFirst) {
  EXPECT_EQ(CloseAnswering(""), mrCancel);  // nothing to save: no question
  Window->Session().Editor().CreateComponent(TButton::StaticClassInfo(), &Window->Session().Form(),
                                             {});
  EXPECT_EQ(CloseAnswering("Cancel", true), mrAbort);  // stays open
  EXPECT_EQ(CloseAnswering("No"), mrCancel);           // closes, the changes dropped
  EXPECT_TRUE(Window->Session().IsModified());
}

}  // namespace
}  // namespace zelvar::test

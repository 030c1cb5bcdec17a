// A wizard read on a finer screen: its own sizes and its page-bound controls' places scale
// with the form, and it is written back as designed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "container/WizardState.h"
#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "platform/controls/Register.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/FormText.h"
#include "tests/TestSupport.h"

namespace zelvar {
namespace {

class WizardScaling : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControls();
    RegisterClasses<TForm>();
    RegisterZelvarA();
    RegisterZelvarC();
    // The tabbed options dialog, scaled as a form is unless it says otherwise.
    const std::string text =
        test::Slurp(std::string(ZELVAR_TEST_DATA) + "/../../examples/options.txt");
    ASSERT_EQ(text.find("Scaled"), std::string::npos);
    Bytes = ObjectTextToBinary(text);
  }

  std::unique_ptr<TForm> ReadAt(const char* dpi) {
    test::TEnvVar screen("ZELVAR_DPI", dpi);
    return std::unique_ptr<TForm>(As<TForm>(ReadComponent(Bytes)));
  }

  std::string Bytes;
};

TEST_F(WizardScaling, SizesAndPlacesPerPageDoubleAndTheFormIsWrittenAsDesigned) {
  std::unique_ptr<TForm> designed = ReadAt("96");
  const std::string written = WriteComponent(designed.get());
  auto& z0 = *As<TZelvar>(designed->FindComponent("Tabs"));
  auto& group0 = *As<TAGroupBox>(designed->FindComponent("General"));

  std::unique_ptr<TForm> form = ReadAt("192");
  auto& z = *As<TZelvar>(form->FindComponent("Tabs"));
  EXPECT_EQ(z.ButtonWidth(), 2 * z0.ButtonWidth());
  EXPECT_EQ(z.ButtonHeight(), 2 * z0.ButtonHeight());
  EXPECT_EQ(z.TabSpaceX(), 32);
  EXPECT_EQ(z.TabSpaceY(), 16);
  EXPECT_EQ(z.Font()->Height(), 2 * z0.Font()->Height());
  // The sizes per mode are outer sizes: the client part doubles, the frame stays.
  const int32_t frameX = form->Width() - form->ClientWidth();
  EXPECT_EQ(z.DialogWidth() - frameX, 2 * (z0.DialogWidth() - frameX));
  EXPECT_EQ(form->ClientWidth(), 2 * designed->ClientWidth());
  EXPECT_EQ(z.CancelButton()->Width(), 2 * z0.CancelButton()->Width());

  auto& group = *As<TAGroupBox>(form->FindComponent("General"));
  EXPECT_EQ(group.Left(), 2 * group0.Left());
  EXPECT_EQ(group.Width(), 2 * group0.Width());
  ASSERT_EQ(group.ShowContainer()->RecordCount(), group0.ShowContainer()->RecordCount());
  for (int i = 0; i < group.ShowContainer()->RecordCount(); ++i) {
    EXPECT_EQ(group.ShowContainer()->Record(i).Left, 2 * group0.ShowContainer()->Record(i).Left);
    EXPECT_EQ(group.ShowContainer()->Record(i).Top, 2 * group0.ShowContainer()->Record(i).Top);
  }
  // A control parked off the page stays parked.
  EXPECT_EQ(As<TAPanel>(form->FindComponent("View"))->Left(), kParkedLeft);

  EXPECT_EQ(WriteComponent(form.get()), written);

  // Another page places the controls at their scaled places.
  z.setPage(2);
  auto& view = *As<TAPanel>(form->FindComponent("View"));
  auto& view0 = *As<TAPanel>(designed->FindComponent("View"));
  z0.setPage(2);
  EXPECT_EQ(view.Left(), 2 * view0.Left());
  EXPECT_EQ(view.Top(), 2 * view0.Top());
  EXPECT_EQ(WriteComponent(form.get()), WriteComponent(designed.get()));
}

TEST_F(WizardScaling, AStateKeepsTheDesignedSizesSoItResumesAsLargeOnAnotherScreen) {
  std::unique_ptr<TForm> coarse = ReadAt("96");
  std::unique_ptr<TForm> fine = ReadAt("192");
  auto& z0 = *As<TZelvar>(coarse->FindComponent("Tabs"));
  auto& z = *As<TZelvar>(fine->FindComponent("Tabs"));
  // Saved on the fine screen, the sizes are the designed ones.
  const TWizardState state = z.State();
  EXPECT_EQ(state.WizardWidth, z0.WizardWidth());
  EXPECT_EQ(state.DialogHeight, z0.DialogHeight());
  // Put back there, they are the fine screen's again; on the coarse one, the coarse one's.
  const int32_t width = z.WizardWidth();
  z.ApplyState(state);
  EXPECT_EQ(z.WizardWidth(), width);
  z0.ApplyState(state);
  EXPECT_EQ(z0.WizardWidth(), state.WizardWidth);
}

}  // namespace
}  // namespace zelvar

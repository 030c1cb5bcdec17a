// The visual designer's editing of a form: creating from the palette, selecting, moving and
// sizing on the grid, keys, deleting, the clipboard, and the history of a design session.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Register.h"
#include "platform/controls/StdCtrls.h"
#include "platform/designer/DesignSession.h"
#include "platform/designer/DesignSurface.h"
#include "platform/designer/FormEditor.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class FormEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControls();
    Form = std::unique_ptr<TForm>(New<TForm>(nullptr));
    Form->SetName("Form1");
    Form->SetBounds(0, 0, 408, 327);  // a 400 x 300 client area
    Editor = std::make_unique<TFormEditor>(*Form);
    Editor->CreationClass = [this] { return Creating; };
    Editor->OnCreated = [this](TComponent*) { Creating = nullptr; };
    Editor->OnModified = [this] { ++Changes; };
  }
  void TearDown() override {
    Editor.reset();
    Form.reset();
  }
  void Down(int x, int y, TShiftState shift = {}, TMouseButton b = mbLeft) {
    Form->DispatchMouse(TMessage::MouseDown, b, shift, x, y);
  }
  void Move(int x, int y, TShiftState shift = {}) {
    Form->DispatchMouse(TMessage::MouseMove, mbLeft, shift, x, y);
  }
  void Up(int x, int y, TShiftState shift = {}, TMouseButton b = mbLeft) {
    Form->DispatchMouse(TMessage::MouseUp, b, shift, x, y);
  }
  void DragTo(int x1, int y1, int x2, int y2, TShiftState shift = {}) {
    Down(x1, y1, shift);
    Move((x1 + x2) / 2, (y1 + y2) / 2, shift);
    Move(x2, y2, shift);
    Up(x2, y2, shift);
  }
  TControl* Make(const TClassInfo& cls, int x, int y) {
    Creating = &cls;
    Down(x, y);
    Up(x, y);
    return dynamic_cast<TControl*>(Editor->Selection().front());
  }

  std::unique_ptr<TForm> Form;
  std::unique_ptr<TFormEditor> Editor;
  const TClassInfo* Creating = nullptr;
  int Changes = 0;
};

TEST_F(FormEditorTest, PaletteClassesAreCreatedWhereClickedOrDraggedWithClassicNames) {
  TControl* b1 = Make(TButton::StaticClassInfo(), 21, 18);
  EXPECT_EQ(b1->Name(), "Button1");
  EXPECT_EQ(b1->BoundsRect(), (TRect{24, 16, 24 + 75, 16 + 25}));  // snapped, its own size
  EXPECT_EQ(Creating, nullptr);  // the palette goes back to the arrow
  Creating = &TPanel::StaticClassInfo();
  DragTo(200, 100, 331, 205);
  auto* panel = dynamic_cast<TPanel*>(Editor->Selection().front());
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Name(), "Panel1");
  EXPECT_EQ(panel->BoundsRect(), (TRect{200, 104, 328, 208}));
  // A press on a control that takes children puts the new one inside it.
  TControl* b2 = Make(TButton::StaticClassInfo(), 220, 130);
  EXPECT_EQ(b2->Name(), "Button2");
  EXPECT_EQ(b2->Parent(), panel);
  EXPECT_EQ(b2->BoundsRect(), (TRect{24, 24, 99, 49}));
  // A name taken by hand is skipped.
  b1->SetName("Button3");
  EXPECT_EQ(Editor->UniqueName("TButton"), "Button1");
  EXPECT_EQ(Editor->UniqueName("TButton"), "Button1");
  EXPECT_EQ(Changes, 3);
}

TEST_F(FormEditorTest, DragsMoveOnTheGridAndHandlesSize) {
  TControl* b = Make(TButton::StaticClassInfo(), 16, 16);
  Changes = 0;
  DragTo(30, 30, 52, 41);  // by 22, 11: the button lands on the grid
  EXPECT_EQ(b->BoundsRect(), (TRect{40, 24, 115, 49}));
  EXPECT_EQ(Changes, 1);            // one drag, one change
  DragTo(45, 40, 48, 43, {ssAlt});  // Alt: no snapping
  EXPECT_EQ(b->BoundsRect(), (TRect{43, 27, 118, 52}));
  // The bottom-right handle sits on the last pixel of the control.
  std::vector<TFormEditor::THandle> h = Editor->Handles();
  ASSERT_EQ(h.size(), 8u);
  EXPECT_TRUE(h[4].Rect.Contains(117, 51));
  DragTo(117, 51, 150, 80);  // the moving edges land on the grid
  EXPECT_EQ(b->BoundsRect(), (TRect{43, 27, 152, 80}));
  // A press that does not travel far is a click: nothing moves, nothing changes.
  Changes = 0;
  Down(60, 50);
  Move(61, 51);
  Up(61, 51);
  EXPECT_EQ(b->BoundsRect(), (TRect{43, 27, 152, 80}));
  EXPECT_EQ(Changes, 0);
}

TEST_F(FormEditorTest, ShiftAddsToTheSelectionAndTheSelectionMovesTogether) {
  TControl* a = Make(TButton::StaticClassInfo(), 16, 16);
  TControl* b = Make(TButton::StaticClassInfo(), 16, 80);
  Down(20, 20, {ssShift});
  Up(20, 20, {ssShift});
  EXPECT_THAT(Editor->Selection(), ElementsAre(b, a));
  for (const auto& handle : Editor->Handles()) EXPECT_FALSE(handle.Filled);
  DragTo(20, 20, 36, 20);
  EXPECT_EQ(a->Left(), 32);
  EXPECT_EQ(b->Left(), 32);
  Down(200, 200);  // the form
  EXPECT_TRUE(Editor->Selection().empty());
}

TEST_F(FormEditorTest, ABandSelectsWhatItTouchesAndTheFrameSizesTheForm) {
  TControl* a = Make(TButton::StaticClassInfo(), 16, 16);
  TControl* b = Make(TButton::StaticClassInfo(), 16, 80);
  Creating = &TPanel::StaticClassInfo();
  DragTo(200, 16, 360, 200);
  TControl* inner = Make(TButton::StaticClassInfo(), 216, 32);
  DragTo(120, 8, 80, 90);  // from the empty face, up and left, over a and b
  EXPECT_THAT(Editor->Selection(), ElementsAre(a, b));
  // Ctrl: a band inside the panel, whose children it selects.
  DragTo(208, 24, 230, 40, {ssCtrl});
  EXPECT_THAT(Editor->Selection(), ElementsAre(inner));
  // The strip right of the client area is the frame: dragging it sizes the form, as one change.
  Changes = 0;
  const TRect client = Form->GetClientRect();
  DragTo(client.Right + 2, 100, client.Right + 42, 130);
  EXPECT_EQ(Form->Width(), 408 + 40);
  EXPECT_EQ(Form->Height(), 327 + 30);
  EXPECT_EQ(Changes, 1);
}

TEST_F(FormEditorTest, KeysMoveSizeDeleteAndClimbToTheParent) {
  Creating = &TPanel::StaticClassInfo();
  DragTo(16, 16, 200, 160);
  auto* panel = Editor->Selection().front();
  TControl* b = Make(TButton::StaticClassInfo(), 40, 40);
  EXPECT_TRUE(Editor->DesignKey(VK_RIGHT, {}));
  EXPECT_TRUE(Editor->DesignKey(VK_DOWN, {ssCtrl}));
  EXPECT_EQ(b->BoundsRect().Left, 25);
  EXPECT_EQ(b->BoundsRect().Top, 32);
  EXPECT_TRUE(Editor->DesignKey(VK_LEFT, {ssShift}));
  EXPECT_EQ(b->Width(), 74);
  EXPECT_FALSE(Editor->DesignKey('Q', {}));
  EXPECT_TRUE(Editor->DesignKey(VK_ESCAPE, {}));
  EXPECT_THAT(Editor->Selection(), ElementsAre(panel));
  // Deleting the panel takes its button too; nothing stays selected that is gone.
  Editor->SetSelection({b, panel});
  EXPECT_TRUE(Editor->DesignKey(VK_DELETE, {}));
  EXPECT_TRUE(Editor->Selection().empty());
  EXPECT_EQ(Form->GetComponentCount(), 0);
}

TEST_F(FormEditorTest, CopyAndPasteCarryChildrenAndRenameWhatIsTaken) {
  Creating = &TPanel::StaticClassInfo();
  DragTo(16, 16, 200, 160);
  TControl* b = Make(TButton::StaticClassInfo(), 40, 40);
  b->SetCaption("Go");
  Editor->SelectComponent(b->Parent());
  std::string text = Editor->CopySelection();
  EXPECT_THAT(text, HasSubstr("object Panel1: TPanel"));
  EXPECT_THAT(text, HasSubstr("object Button1: TButton"));
  Editor->SelectComponent(nullptr);
  Editor->Paste(text);
  ASSERT_EQ(Editor->Selection().size(), 1u);
  auto* copy = dynamic_cast<TPanel*>(Editor->Selection().front());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Name(), "Panel2");
  EXPECT_EQ(copy->Parent(), Form.get());
  ASSERT_EQ(copy->ControlCount(), 1);
  EXPECT_EQ(copy->Controls(0)->Name(), "Button2");
  EXPECT_EQ(copy->Controls(0)->Caption(), "Go");
  EXPECT_EQ(copy->Controls(0)->Owner(), Form.get());
  EXPECT_TRUE(copy->Controls(0)->IsDesigning());
  EXPECT_THROW(Editor->Paste("object : nonsense"), Exception);
  EXPECT_EQ(Form->GetComponentCount(), 4);
}

TEST_F(FormEditorTest, ComponentsWithoutBoundsShowAsIconsThatMoveAndAreStored) {
  Creating = &TTimer::StaticClassInfo();
  Down(41, 43);
  Up(41, 43);
  ASSERT_EQ(Editor->Selection().size(), 1u);
  auto* timer = dynamic_cast<TTimer*>(Editor->Selection().front());
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Name(), "Timer1");
  EXPECT_EQ(TFormEditor::IconRect(*timer), (TRect{40, 40, 68, 68}));
  EXPECT_EQ(Editor->IconComponents(), std::vector<TComponent*>{timer});
  DragTo(50, 50, 75, 50);  // by 25: onto the grid
  EXPECT_EQ(timer->DesignLeft(), 64);
  Editor->MoveSelection(0, 1);
  EXPECT_EQ(timer->DesignTop(), 41);
  // A form file keeps the place as Left and Top, and reads it back.
  std::string text = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_THAT(text, HasSubstr("object Timer1: TTimer\n    Left = 64\n    Top = 41\n"));
  std::unique_ptr<TComponent> back(ReadComponent(text, DesignReadOptions()));
  auto* read = dynamic_cast<TTimer*>(back->FindComponent("Timer1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->DesignLeft(), 64);
  EXPECT_EQ(read->DesignTop(), 41);
  EXPECT_THROW(ReadComponent("object F: TForm1\n  object T: TTimer\n    Left = 70000\n  end\nend\n",
                             DesignReadOptions()),
               EReadError);
}

TEST(DesignSession, UndoAndRedoGiveBackTheBytesOfEachStateAndTrackSaving) {
  RegisterControls();
  TDesignSession session;
  const std::string empty = session.State();
  EXPECT_FALSE(session.IsModified());
  int replaced = 0;
  session.OnFormChanged = [&] { ++replaced; };
  session.Editor().CreateComponent(TButton::StaticClassInfo(), &session.Form(), {8, 8, 83, 33});
  const std::string one = session.State();
  EXPECT_TRUE(session.IsModified());
  session.Editor().MoveSelection(8, 0);
  const std::string two = session.State();
  EXPECT_NE(one, two);
  session.Undo();
  EXPECT_EQ(WriteComponent(&session.Form()), one);
  // The selection follows the new form by name.
  ASSERT_EQ(session.Editor().Selection().size(), 1u);
  EXPECT_EQ(dynamic_cast<TComponent*>(session.Editor().Selection().front())->Name(), "Button1");
  session.Undo();
  EXPECT_EQ(WriteComponent(&session.Form()), empty);
  EXPECT_FALSE(session.CanUndo());
  session.Redo();
  EXPECT_EQ(WriteComponent(&session.Form()), one);
  session.Redo();
  EXPECT_EQ(WriteComponent(&session.Form()), two);
  EXPECT_EQ(replaced, 4);

  auto file = std::filesystem::temp_directory_path() / "zelvar-session-test.txt";
  session.SaveAs(file.string(), TFormFormat::Text);
  EXPECT_FALSE(session.IsModified());
  EXPECT_THAT(Slurp(file), HasSubstr("object Button1: TButton"));
  session.Undo();
  EXPECT_TRUE(session.IsModified());
  session.Redo();
  EXPECT_FALSE(session.IsModified());
  // A change after an undo drops the redo states, the saved one among them.
  session.Undo();
  session.Editor().SelectComponent(session.Form().FindComponent("Button1"));
  session.Editor().MoveSelection(0, 8);
  EXPECT_FALSE(session.CanRedo());
  EXPECT_TRUE(session.IsModified());

  // A file that cannot be read leaves the session as it was.
  std::filesystem::path bad = std::filesystem::temp_directory_path() / "zelvar-session-bad.txt";
  { std::ofstream(bad) << "object Form1: TForm1\n  Nonsense = 1\nend\n"; }
  std::string before = session.State();
  EXPECT_THAT(MessageOf<Exception>([&] { session.Open(bad.string()); }),
              HasSubstr("zelvar-session-bad.txt"));
  EXPECT_EQ(session.State(), before);
  EXPECT_EQ(session.FileName(), file.string());
  std::filesystem::remove(file);
  std::filesystem::remove(bad);
}

}  // namespace
}  // namespace zelvar::test

namespace zelvar::test {
namespace {

// The surface shows a form at the margin whatever its own Left and Top say, and presses reach
// its controls there; the form's position stays what its file says.
TEST(DesignSurface, ShowsTheFormAtTheMarginAndPassesPressesToItsControls) {
  RegisterControls();
  TForm window(nullptr);
  window.SetBounds(0, 0, 700, 500);
  auto* surface = new TDesignSurface(&window);
  surface->SetParent(&window);
  surface->SetAlign(alClient);
  auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
  form->SetBounds(-40, -20, 300, 200);
  form->SetColor(clRed);
  auto* panel = New<TPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 50, 40);
  panel->SetColor(clLime);
  TFormEditor editor(*form);
  surface->SetForm(form.get(), &editor);
  const TPoint at = surface->FormClientOrigin();
  EXPECT_EQ(at.X, TDesignSurface::kMargin + form->FrameWidth());
  EXPECT_EQ(form->Left(), -40);
  EXPECT_EQ(panel->FormOrigin().X, at.X + 10);
  EXPECT_EQ(panel->FormOrigin().Y, at.Y + 10);
  const TImageData& image = window.Snapshot().Image();
  auto pixel = [&](int x, int y) { return image.Pixels[static_cast<size_t>(y * image.Width + x)]; };
  EXPECT_EQ(pixel(at.X + 2, at.Y + 2) & 0xFFFFFF, 0xFF0000u);    // the form's face
  EXPECT_EQ(pixel(at.X + 30, at.Y + 30) & 0xFFFFFF, 0x00FF00u);  // the panel
  EXPECT_EQ(window.ControlAt(at.X + 30, at.Y + 30), panel);
  window.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, at.X + 30, at.Y + 30);
  window.DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X + 30, at.Y + 30);
  EXPECT_THAT(editor.Selection(), ElementsAre(panel));
  surface->SetForm(nullptr, nullptr);
  EXPECT_EQ(form->Parent(), nullptr);
}

}  // namespace
}  // namespace zelvar::test

// The designer's property grid over a designed form: its rows, in-place editing through the
// property editors (those the wizard package binds too), events, several selected components,
// and what it paints.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "container/ZelvarA.h"
#include "design/Zelvar32.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/Register.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Text.h"
#include "platform/designer/PropertyGrid.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"
#include "tests/platform/controls/ControlsSupport.h"
#include "tests/platform/designer/DesignerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// A step that reads the message box's text into message and presses OK.
TStep ReadBox(std::string& message) {
  return [&message](TForm& box) {
    message = As<TLabel>(box.FindComponent("Message"))->Caption();
    Press("OK")(box);
  };
}

// A designer that reloads the property grid on every change, as the designer window does: the
// reload comes from inside the property editor's SetValue.
class TReloadingDesigner : public IDesigner {
 public:
  TPropertyGrid* PropertyGrid = nullptr;
  int Count = 0;
  void Modified() override {
    ++Count;
    if (PropertyGrid) PropertyGrid->Reload();
  }
  void SelectComponent(TPersistent*) override {}
};

class PropertyGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControls();
    RegisterClass(TForm::StaticClassInfo());
    Application().UseHeadless();  // a message box nobody expects fails instead of waiting
    Designed.reset(New<TForm>(nullptr));
    Designed->SetName("Form1");
    Designed->SetBounds(0, 0, 400, 300);
    Button = Make<TButton>(Designed.get(), 10, 10);
    Button->SetName("Button1");
    Label = Make<TLabel>(Designed.get(), 10, 50);
    Label->SetName("Label1");
    Edit = Make<TEdit>(Designed.get(), 10, 80);
    Edit->SetName("Edit1");
    List = Make<TListBox>(Designed.get(), 10, 110);
    List->SetName("ListBox1");
    Designed->SetDesigning(true);

    Window.reset(New<TForm>(nullptr));
    Window->SetBounds(0, 0, 300, 400);
    Window->SetVisible(true);  // focusable without a modal loop
    View = New<TPropertyGrid>(Window.get());
    View->SetParent(Window.get());
    View->SetAlign(alLeft);
    View->SetWidth(240);
    View->SetDesigner(&Designer);
    Designer.PropertyGrid = View;
  }
  void TearDown() override {
    Application().SetBackend(nullptr);
    Designer.PropertyGrid = nullptr;
    Window.reset();
    Designed.reset();
  }

  void Answering(std::vector<TStep> steps, const std::function<void()>& f) {
    RunWithSteps(std::move(steps), f);
    Application().UseHeadless();
  }

  // Types text into the current row's editor and presses Enter, through the window's keys.
  void TypeAndEnter(const std::string& text) {
    TWinControl* edit = View->ValueEdit();
    ASSERT_NE(edit, nullptr);
    edit->SetFocus();
    if (auto* e = dynamic_cast<TEdit*>(edit))
      e->SetText(text);
    else
      As<TComboBox>(edit)->SetText(text);
    Window->DispatchKey(TMessage::KeyDown, VK_RETURN, {}, '\r');
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < View->RowCount(); ++i) names.push_back(View->RowName(i));
    return names;
  }
  int Row(const std::string& path) const {
    for (int i = 0; i < View->RowCount(); ++i)
      if (View->RowPath(i) == path) return i;
    return -1;
  }
  std::vector<std::string> Items() const {
    return As<TComboBox>(View->ValueEdit())->Items()->ToVector();
  }

  std::unique_ptr<TForm> Designed, Window;
  TButton* Button = nullptr;
  TLabel* Label = nullptr;
  TEdit* Edit = nullptr;
  TListBox* List = nullptr;
  TPropertyGrid* View = nullptr;
  TReloadingDesigner Designer;
};

TEST_F(PropertyGrid, RowsAreSortedAndNestedObjectsAndSetsExpandIntoTheirOwnRows) {
  View->SetSelection({Button});
  std::vector<std::string> names = Names();
  ASSERT_FALSE(names.empty());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                             [](const auto& a, const auto& b) { return CompareText(a, b) < 0; }));
  EXPECT_THAT(names, Contains("Caption"));
  EXPECT_THAT(names, Not(Contains("OnClick")));  // events have their own tab
  EXPECT_THAT(names, Not(Contains("Size")));     // a property of the font, not of the button

  int font = Row("Font");
  ASSERT_GE(font, 0);
  EXPECT_EQ(View->RowValue(font), "(TFont)");
  EXPECT_TRUE(View->RowExpandable(font));
  ASSERT_TRUE(View->SetExpanded("Font", true));
  EXPECT_EQ(View->RowPath(font + 1).rfind("Font.", 0), 0u);
  EXPECT_EQ(View->RowLevel(font + 1), 1);
  EXPECT_EQ(View->RowValue(Row("Font.Style")), "[]");

  // Selecting a flag opens its set; the flag's drop-down sets it, and the set row follows.
  ASSERT_TRUE(View->SelectRow("Font.Style.fsBold"));
  EXPECT_EQ(View->RowValue(View->CurrentRow()), "False");
  EXPECT_THAT(Items(), ElementsAre("False", "True"));
  As<TComboBox>(View->ValueEdit())->Pick(1);
  EXPECT_TRUE(Button->Font()->Style().Contains(fsBold));
  EXPECT_EQ(View->RowValue(Row("Font.Style")), "[fsBold]");
  EXPECT_EQ(View->RowPath(View->CurrentRow()), "Font.Style.fsBold");

  // Left on the set closes it and the current row falls back to it; another selection keeps
  // what was opened.
  ASSERT_TRUE(View->SelectRow("Font.Style"));
  uint16_t key = VK_LEFT;
  View->KeyDown(key, {});
  EXPECT_EQ(Row("Font.Style.fsBold"), -1);
  View->SetSelection({Label});
  EXPECT_GE(Row("Font.Size"), 0);
  EXPECT_FALSE(View->SelectRow("Font.Nothing"));
  EXPECT_FALSE(View->SelectRow("Caption.Size"));
}

TEST_F(PropertyGrid, TypingIntoCaptionAppliesOnEnterAndEscapeReverts) {
  View->SetSelection({Button});
  ASSERT_TRUE(View->SelectRow("Caption"));
  ASSERT_NE(dynamic_cast<TEdit*>(View->ValueEdit()), nullptr);
  TypeAndEnter("Next >");
  EXPECT_EQ(Button->Caption(), "Next >");
  EXPECT_EQ(Designer.Count, 1);
  EXPECT_EQ(View->RowValue(View->CurrentRow()), "Next >");

  auto* edit = As<TEdit>(View->ValueEdit());
  edit->SetText("Wrong");
  Window->DispatchKey(TMessage::KeyDown, VK_ESCAPE, {}, 27);
  EXPECT_EQ(edit->Text(), "Next >");
  EXPECT_EQ(Button->Caption(), "Next >");

  // Moving to another row applies what was typed.
  edit->SetText("Moved");
  Window->DispatchKey(TMessage::KeyDown, VK_DOWN, {}, 0);
  EXPECT_EQ(Button->Caption(), "Moved");
  EXPECT_EQ(View->RowName(View->CurrentRow()), View->RowName(Row("Caption") + 1));
  EXPECT_EQ(Designer.Count, 2);

  // From the grid: Up goes back, typing replaces the value, Enter applies it.
  View->SetFocus();
  Window->DispatchKey(TMessage::KeyDown, VK_UP, {}, 0);
  EXPECT_EQ(View->RowPath(View->CurrentRow()), "Caption");
  Window->DispatchText("Go");
  EXPECT_EQ(Window->ActiveControl(), View->ValueEdit());
  Window->DispatchKey(TMessage::KeyDown, VK_RETURN, {}, '\r');
  EXPECT_EQ(Button->Caption(), "Go");
  // Tab from the grid moves into the value editor.
  View->SetFocus();
  Window->DispatchKey(TMessage::KeyDown, VK_TAB, {}, '\t');
  EXPECT_EQ(Window->ActiveControl(), View->ValueEdit());
}

TEST_F(PropertyGrid, EnumerationsAndComponentReferencesOfferTheirValues) {
  View->SetSelection({Label});
  ASSERT_TRUE(View->SelectRow("Align"));
  auto* combo = As<TComboBox>(View->ValueEdit());
  ASSERT_THAT(Items(), Contains("alClient"));
  combo->Pick(combo->Items()->IndexOf("alRight"));
  EXPECT_EQ(Label->Align(), alRight);
  // A double click steps on to the next identifier.
  As<TComboBox>(View->ValueEdit())->DblClick();
  EXPECT_EQ(Label->Align(), alClient);

  // FocusControl takes windowed controls only: not the labels, not the form itself.
  ASSERT_TRUE(View->SelectRow("FocusControl"));
  EXPECT_THAT(Items(), ElementsAre("", "Button1", "Edit1", "ListBox1"));
  TypeAndEnter("Edit1");
  EXPECT_EQ(Label->FocusControl(), Edit);
  TypeAndEnter("");
  EXPECT_EQ(Label->FocusControl(), nullptr);

  // Colours by name or in hex.
  View->SetSelection({Edit});
  ASSERT_TRUE(View->SelectRow("Color"));
  EXPECT_THAT(Items(), Contains("clBtnFace"));
  TypeAndEnter("clRed");
  EXPECT_EQ(Edit->Color(), clRed);
  TypeAndEnter("$00FF0000");
  EXPECT_EQ(Edit->Color(), clBlue);
  EXPECT_EQ(View->RowValue(View->CurrentRow()), "clBlue");
}

TEST_F(PropertyGrid, ARefusedValueShowsTheErrorAndKeepsTheOldOne) {
  View->SetSelection({Button});
  Button->SetLeft(10);
  ASSERT_TRUE(View->SelectRow("Left"));
  std::string message;
  Answering({ReadBox(message)}, [&] { TypeAndEnter("abc"); });
  EXPECT_THAT(message, HasSubstr("abc"));
  EXPECT_EQ(Button->Left(), 10);
  EXPECT_EQ(As<TEdit>(View->ValueEdit())->Text(), "10");
  EXPECT_EQ(Designer.Count, 0);
}

TEST_F(PropertyGrid, StringsListsOpenTheStringsEditor) {
  List->Items()->Add("one");
  View->SetSelection({List});
  ASSERT_TRUE(View->SelectRow("Items"));
  EXPECT_EQ(View->RowValue(View->CurrentRow()), "(TStrings)");
  TControl* ellipsis = View->EllipsisButton();
  ASSERT_NE(ellipsis, nullptr);
  Answering({[](TForm& dialog) {
              As<TMemo>(dialog.FindComponent("Memo"))->Lines()->SetText("one\ntwo\n");
              Press("OKButton")(dialog);
            }},
            [&] { ClickOn(*Window, *ellipsis); });
  EXPECT_THAT(List->Items()->ToVector(), ElementsAre("one", "two"));
  EXPECT_EQ(Designer.Count, 1);
}

TEST_F(PropertyGrid, EventNamesAreWrittenAndSurviveADesignTimeReload) {
  View->SetSelection({Button});
  ASSERT_TRUE(View->SelectRow("OnClick"));
  EXPECT_TRUE(View->ShowingEvents());
  EXPECT_THAT(Names(), Contains("OnClick"));
  EXPECT_THAT(Names(), Not(Contains("Caption")));
  TypeAndEnter("Button1Click");
  EXPECT_EQ(Designer.Count, 1);
  EXPECT_FALSE(static_cast<bool>(Button->OnClick));  // nothing to call at design time
  std::string text = WriteComponent(Designed.get(), TFormFormat::Text);
  EXPECT_THAT(text, HasSubstr("OnClick = Button1Click"));

  TFormReadOptions options;
  options.Designing = true;
  std::unique_ptr<TComponent> again(ReadComponent(text, options));
  auto* button = As<TButton>(again->FindComponent("Button1"));
  EXPECT_EQ(button->OnClick.MethodName(), "Button1Click");
  EXPECT_EQ(WriteComponent(again.get(), TFormFormat::Text), text);
  // Outside the designer a name that nothing binds still fails the read.
  EXPECT_THROW(std::unique_ptr<TComponent>(ReadComponent(text)), EReadError);

  std::string message;
  Answering({ReadBox(message)}, [&] { TypeAndEnter("1 click"); });
  EXPECT_THAT(message, HasSubstr("not a valid method name"));
  EXPECT_EQ(Button->OnClick.MethodName(), "Button1Click");
  TypeAndEnter("");
  EXPECT_THAT(WriteComponent(Designed.get(), TFormFormat::Text), Not(HasSubstr("OnClick")));
}

TEST_F(PropertyGrid, SeveralComponentsShowWhatTheyShareAndSetItOnAll) {
  View->SetSelection({Button, Label});
  std::vector<std::string> names = Names();
  EXPECT_THAT(names, Contains("Caption"));
  EXPECT_THAT(names, Contains("Left"));
  EXPECT_THAT(names, Not(Contains("ModalResult")));   // the button's own
  EXPECT_THAT(names, Not(Contains("FocusControl")));  // the label's own
  ASSERT_TRUE(View->SelectRow("Left"));
  TypeAndEnter("77");
  EXPECT_EQ(Button->Left(), 77);
  EXPECT_EQ(Label->Left(), 77);

  // A selected component freed leaves the others shown.
  delete Button;
  Button = nullptr;
  EXPECT_THAT(Names(), Contains("FocusControl"));
  View->SetSelection({});
  EXPECT_EQ(View->RowCount(), 0);
  EXPECT_EQ(View->ValueEdit(), nullptr);
}

TEST_F(PropertyGrid, TheCurrentRowsNameIsHighlightedAndOthersAreNot) {
  View->SetSelection({Button});
  ASSERT_TRUE(View->SelectRow("Caption"));
  int current = View->CurrentRow();
  TRect r = View->RowRect(current);
  TRect other = View->RowRect(current == 0 ? 1 : 0);
  ASSERT_FALSE(r.Empty());
  TShot shot(*Window, *View);
  EXPECT_EQ(shot(r.Left + 2, r.Top + 1), Sys(clHighlight));
  EXPECT_EQ(shot(other.Left + 2, other.Top + 1), Sys(clBtnFace));
  EXPECT_EQ(shot(View->SplitterPos(), r.Top + 1), Sys(clBtnShadow));
  // The editor lies over the value, right of the splitter.
  EXPECT_GT(View->ValueEdit()->Left(), View->SplitterPos());
  EXPECT_EQ(View->ValueEdit()->Top(), r.Top);

  // A click on another row makes it current; the wheel scrolls.
  Window->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, other.Left + 20, other.Top + 2);
  Window->DispatchMouse(TMessage::MouseUp, mbLeft, {}, other.Left + 20, other.Top + 2);
  EXPECT_EQ(View->CurrentRow(), View->RowAt(other.Top + 2));
  Window->SetHeight(150);
  ASSERT_EQ(View->TopRow(), 0);
  Window->DispatchWheel({}, -WHEEL_DELTA, 50, 100);
  EXPECT_EQ(View->TopRow(), kWheelScrollLines);
}

class PropertyGridOnWizard : public PropertyGrid {
 protected:
  void SetUp() override {
    PropertyGrid::SetUp();
    Register();
    Z = New<TZelvar>(Designed.get());
    Z->SetName("Zelvar1");
    Z->SetParent(Designed.get());
    Z->SetNumPages(3);
    View->SetSelection({Z});
  }
  TZelvar* Z = nullptr;
};

TEST_F(PropertyGridOnWizard, RegisteredEditorsShowTheirTextsAndDialogs) {
  ASSERT_TRUE(View->SelectRow("PageNames"));
  EXPECT_EQ(View->RowValue(View->CurrentRow()), "[PageNames]");
  ASSERT_NE(View->EllipsisButton(), nullptr);
  bool shown = false;
  Answering({[&](TForm& dialog) {
              shown = dialog.FindComponent("PageList") != nullptr;
              Press("Button7")(dialog);
            }},
            [&] { View->EditDialog(); });
  EXPECT_TRUE(shown);
  // Nested objects of the wizard open like any other.
  ASSERT_TRUE(View->SelectRow("BtnNext.Text"));
  EXPECT_EQ(View->RowLevel(View->CurrentRow()), 1);
}

TEST_F(PropertyGridOnWizard, ReducingThePageCountAsksFirst) {
  ASSERT_TRUE(View->SelectRow("NumPages"));
  Answering({Press("Cancel")}, [&] { TypeAndEnter("2"); });
  EXPECT_EQ(Z->NumPages(), 3);
  EXPECT_EQ(As<TEdit>(View->ValueEdit())->Text(), "3");
  Answering({Press("Yes")}, [&] { TypeAndEnter("2"); });
  EXPECT_EQ(Z->NumPages(), 2);
  EXPECT_EQ(View->RowValue(View->CurrentRow()), "2");
}

}  // namespace
}  // namespace zelvar::test

#include "platform/backends/Headless.h"
#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/controls/StdCtrls.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Captions.h"
#include "platform/graphics/Codecs.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"

namespace zelvar {
namespace {

using test::MessageOf;

// A focusable control that logs what reaches it and can act as a default or cancel button.
class TProbeControl : public TCustomControl {
  ZELVAR_CLASS(TProbeControl, TCustomControl)

 public:
  explicit TProbeControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  std::vector<std::string>* Log = nullptr;
  bool IsDefault = false, IsCancel = false, WantsArrows = false, ClaimsDesignPress = false;
  void KeyDown(uint16_t& key, TShiftState) override { Say("key " + std::to_string(key)); }
  void MouseDown(TMouseButton, TShiftState, int32_t x, int32_t y) override {
    Say("down " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseUp(TMouseButton, TShiftState, int32_t x, int32_t y) override {
    Say("up " + std::to_string(x) + "," + std::to_string(y));
  }
  bool CMDialogKey(uint16_t key, TShiftState) override {
    if ((key == VK_RETURN && IsDefault) || (key == VK_ESCAPE && IsCancel)) {
      Say("dialog " + std::to_string(key));
      return true;
    }
    return false;
  }
  bool CMDialogChar(char letter) override {
    if (!IsAccel(letter, Caption())) return false;
    Say("accel");
    return true;
  }
  int32_t WMGetDlgCode() override { return WantsArrows ? DLGC_WANTARROWS : 0; }
  void KeyPress(char32_t& key) override {
    Say("char " + std::to_string(static_cast<uint32_t>(key)));
    if (MovesOnAfter == key) FindNextControlFrom();
  }
  void DblClick() override { Say("double"); }
  bool DoMouseWheel(TShiftState, int32_t delta, TPoint at) override {
    if (!TakesWheel) return false;
    Say("wheel " + std::to_string(delta) + " at " + std::to_string(at.X) + "," +
        std::to_string(at.Y));
    return true;
  }
  bool TakesWheel = false;
  char32_t MovesOnAfter = 0;
  int32_t CMDesignHitTest(int32_t, int32_t, TShiftState) override { return ClaimsDesignPress; }

 private:
  // Moves the focus on, as a handler that tabs on after a character does.
  void FindNextControlFrom() {
    if (TWinControl* next = Parent()->FindNextControl(this, true, true)) next->SetFocus();
  }
  void Say(const std::string& s) {
    if (Log) Log->push_back(Name() + " " + s);
  }
};

const TClassInfo& TProbeControl::StaticClassInfo() {
  static const auto info = TClassBuilder<TProbeControl>("TProbeControl").Build();
  return *info;
}

class FormsTest : public ::testing::Test {
 protected:
  FormsTest() : Form(New<TForm>(nullptr)) {
    Form->SetName("Form1");
    Form->SetBorderStyle(bsDialog);
    Form->SetClientWidth(200);
    Form->SetClientHeight(100);
    A = Probe("A", 10, 10);
    B = Probe("B", 100, 10);
  }
  ~FormsTest() override {
    delete Form;
    Application().SetBackend(nullptr);
  }
  TProbeControl* Probe(const char* name, int x, int y) {
    auto* p = New<TProbeControl>(Form);
    p->SetName(name);
    p->SetBounds(x, y, 50, 20);
    p->SetParent(Form);
    p->Log = &Log;
    return p;
  }
  void Key(uint16_t key, TShiftState shift = {}) {
    Application().PostMessage({TMessage::KeyDown, Form, mbLeft, shift, 0, 0, key});
    Application().ProcessMessages();
  }
  TForm* Form;
  TProbeControl *A, *B;
  std::vector<std::string> Log;
};

TEST_F(FormsTest, AFormStoresItsFontEvenUnchanged) {
  const TPropInfo* font = TForm::StaticClassInfo().FindProp("Font");
  EXPECT_TRUE(IsDefaultFont(*Form->Font()));
  EXPECT_TRUE(font->IsStored(Form));
  EXPECT_NE(WriteComponent(Form, TFormFormat::Text).find("Font.Name = "), std::string::npos);
}

TEST_F(FormsTest, ClientAreaSitsInsideTheFrame) {
  EXPECT_EQ(Form->Width(), 200 + 2 * Form->FrameWidth());
  EXPECT_EQ(Form->Height(), 100 + 2 * Form->FrameWidth() + Form->CaptionHeight());
  EXPECT_EQ(Form->Snapshot().Width(), 200);
  EXPECT_EQ(Form->Snapshot().Height(), 100);
  EXPECT_EQ(PixelToColor(Form->Snapshot().Image().At(0, 0)), ColorToRGB(clBtnFace));
}

TEST_F(FormsTest, TabMovesTheFocusAndDialogKeysFindTheirButtons) {
  Form->Show();
  EXPECT_TRUE(A->Focused());  // the first in tab order when shown
  Key(VK_TAB);
  EXPECT_TRUE(B->Focused());
  Key(VK_TAB);
  EXPECT_TRUE(A->Focused());
  Key(VK_TAB, {ssShift});
  EXPECT_TRUE(B->Focused());
  B->IsCancel = true;
  A->IsDefault = true;
  A->SetCaption("&Next");
  Key(VK_RETURN);  // B has the focus and is no default: A takes Enter
  Key(VK_ESCAPE);  // B is the cancel button
  Key('N', {ssAlt});
  Key('X');  // an ordinary key reaches the focused control
  EXPECT_EQ(Log, (std::vector<std::string>{"A dialog 13", "B dialog 27", "A accel", "B key 88"}));
  Log.clear();
  A->SetEnabled(false);
  Key(VK_RETURN);  // a disabled default button takes no input: the key goes to the focus
  EXPECT_EQ(Log, (std::vector<std::string>{"B key 13"}));
  Form->Hide();
}

TEST_F(FormsTest, ArrowsReachAControlThatAsksForThem) {
  Form->Show();
  A->WantsArrows = true;
  Key(VK_RIGHT);
  EXPECT_EQ(Log, (std::vector<std::string>{"A key 39"}));
  Form->Hide();
}

TEST_F(FormsTest, MouseGoesToTheControlUnderItAndTheReleaseToTheSame) {
  Form->Show();
  auto post = [](TMessage::TKind k, int x, int y) {
    Application().PostMessage({k, nullptr, mbLeft, {}, x, y});
    Application().ProcessMessages();
  };
  post(TMessage::MouseDown, 105, 15);
  post(TMessage::MouseUp, 20, 15);  // released over A: still B's release
  EXPECT_EQ(Log, (std::vector<std::string>{"B down 5,5", "B up -80,5"}));
  EXPECT_TRUE(B->Focused());
  Form->Hide();
}

TEST_F(FormsTest, TypedTextReachesTheFocusOneCharacterAtATime) {
  Form->Show();
  TMessage text;
  text.Kind = TMessage::TextInput;
  // Two-, three- and four-byte characters; a stray byte is one replacement character; a
  // control character in text input is not typed (it comes with its key).
  text.Text = "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\x01";
  Application().PostMessage(text);
  Application().ProcessMessages();
  EXPECT_EQ(Log, (std::vector<std::string>{"A char 97", "A char 252", "A char 8364",
                                           "A char 128512", "A char 65533"}));
  // The focus may move while text is typed: the rest goes to the new focus.
  Log.clear();
  A->MovesOnAfter = 'x';
  Form->DispatchText("xy");
  EXPECT_EQ(Log, (std::vector<std::string>{"A char 120", "B char 121"}));
  Form->Hide();
}

TEST_F(FormsTest, TheWheelGoesToTheControlUnderThePointerThenItsParents) {
  auto* inner = New<TProbeControl>(Form);
  inner->SetName("Inner");
  inner->SetParent(B);
  inner->SetBounds(5, 5, 10, 10);
  inner->Log = &Log;
  Form->Show();
  Form->DispatchWheel({}, -WHEEL_DELTA, 107, 17);  // over Inner, which passes it on
  B->TakesWheel = true;
  Form->DispatchWheel({}, -WHEEL_DELTA, 107, 17);
  Form->DispatchWheel({ssShift}, 2 * WHEEL_DELTA, 20, 15);  // over A, which does not take it
  EXPECT_EQ(Log, (std::vector<std::string>{"B wheel -120 at 7,7"}));
  B->SetEnabled(false);  // a disabled control and what it holds take no input
  Form->DispatchWheel({}, -WHEEL_DELTA, 107, 17);
  EXPECT_EQ(Log.size(), 1u);
  Form->Hide();
}

TEST_F(FormsTest, ADoubleClickReachesOnlyControlsThatAskForIt) {
  Form->Show();
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft, ssDouble}, 15, 15);
  A->IncludeStyle(csDoubleClicks);
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft, ssDouble}, 15, 15);
  Form->DispatchMouse(TMessage::MouseDown, mbRight, {ssRight, ssDouble}, 15, 15);
  EXPECT_EQ(Log, (std::vector<std::string>{"A down 5,5", "A down 5,5", "A double", "A down 5,5"}));
  Form->Hide();
}

// Records the cursors a form asks its backend for.
class TCursorBackend : public THeadlessBackend {
 public:
  std::vector<TCursor> Shown;
  void ShowCursor(TCursor c) override { Shown.push_back(c); }
};

TEST_F(FormsTest, ThePointerTakesTheShapeOfTheControlUnderIt) {
  auto* backend = new TCursorBackend;
  Application().SetBackend(std::unique_ptr<TBackend>(backend));
  auto* inner = New<TProbeControl>(Form);
  inner->SetParent(B);
  inner->SetBounds(5, 5, 10, 10);
  B->SetCursor(crIBeam);
  Form->Show();
  Form->DispatchMouse(TMessage::MouseMove, mbLeft, {}, 107, 17);  // Inner has crDefault: B's
  Form->DispatchMouse(TMessage::MouseMove, mbLeft, {}, 102, 12);  // B itself: no change
  Form->DispatchMouse(TMessage::MouseMove, mbLeft, {}, 15, 15);
  Form->SetDesigning(true);  // the designer moves and sizes controls: always the arrow
  Form->DispatchMouse(TMessage::MouseMove, mbLeft, {}, 107, 17);
  EXPECT_EQ(backend->Shown, (std::vector<TCursor>{crIBeam, crArrow}));
  Form->Hide();
}

TEST_F(FormsTest, InTheDesignerPressesGoToTheDesignerUnlessClaimed) {
  Form->SetDesigning(true);
  std::vector<std::string> designer;
  Form->OnDesignMouse = [&](TMessage::TKind kind, TControl* c, TMouseButton, TShiftState, int32_t x,
                            int32_t y) {
    if (kind == TMessage::MouseDown)
      designer.push_back((c ? c->Name() : "form") + " " + std::to_string(x) + "," +
                         std::to_string(y));
  };
  Form->Show();
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {}, 15, 15);
  B->ClaimsDesignPress = true;
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {}, 105, 15);
  A->SetDesigning(false);  // taken out of the design state: input as at run time
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {}, 15, 15);
  EXPECT_EQ(designer, (std::vector<std::string>{"A 15,15"}));
  EXPECT_EQ(Log, (std::vector<std::string>{"B down 5,5", "A down 5,5"}));
  Form->Hide();
}

TEST_F(FormsTest, ModalLoopsEndNestAndNeverHang) {
  auto* backend = new THeadlessBackend;
  Application().SetBackend(std::unique_ptr<TBackend>(backend));
  std::unique_ptr<TForm> inner(New<TForm>(nullptr));
  inner->SetName("Inner");
  int step = 0;
  backend->OnIdle = [&] {
    switch (step++) {
      case 0:  // inside the outer loop: open a nested one
        EXPECT_EQ(inner->ShowModal(), mrYes);
        EXPECT_EQ(Application().ActiveForm(), Form);
        Form->SetModalResult(mrOk);
        return true;
      case 1:  // inside the nested loop
        EXPECT_EQ(Application().ActiveForm(), inner.get());
        inner->SetModalResult(mrYes);
        return true;
      default:
        return false;
    }
  };
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_FALSE(Form->IsShown());
  // No input left: the loop says so instead of waiting.
  try {
    Form->ShowModal();
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "No input left for the modal loop of Form1");
  }
  EXPECT_FALSE(Form->IsShown());
}

// The window backend a program registers, replaced for the length of a test.
class TRegisteredWindow {
 public:
  explicit TRegisteredWindow(TBackendOpener open) : FSaved(RegisteredWindowBackend()) {
    RegisterWindowBackend(open);
  }
  ~TRegisteredWindow() { RegisterWindowBackend(FSaved); }
  TRegisteredWindow(const TRegisteredWindow&) = delete;
  TRegisteredWindow& operator=(const TRegisteredWindow&) = delete;

 private:
  TBackendOpener FSaved;
};

std::unique_ptr<TBackend> NoDisplay(std::string* why) {
  *why = "x11 not available";
  return nullptr;
}

// Stands in for a window backend: records the forms it is told of and answers OK.
class TFakeWindows : public THeadlessBackend {
 public:
  static inline std::vector<std::string> Shown;
  void FormShown(TForm* form) override { Shown.push_back(form->Name()); }
};

std::unique_ptr<TBackend> OpenFakeWindows(std::string*) {
  auto backend = std::make_unique<TFakeWindows>();
  backend->OnIdle = [] {
    Application().ActiveForm()->SetModalResult(mrOk);
    return true;
  };
  return backend;
}

TEST_F(FormsTest, AModalLoopWithNoBackendOpensTheWindowBackendOrSaysWhatToDo) {
  Application().SetBackend(nullptr);
  {
    TRegisteredWindow none(nullptr);
    EXPECT_EQ(MessageOf<ENoWindow>([&] { Form->ShowModal(); }),
              "No window backend: include <zelvar/window.h> and link Zelvar::window, or call "
              "Application().UseHeadless()");
    EXPECT_FALSE(Form->IsShown());
  }
  {
    TRegisteredWindow failing(NoDisplay);
    EXPECT_EQ(MessageOf<ENoWindow>([&] { Form->ShowModal(); }),
              "No window can be opened: x11 not available. Set DISPLAY, or call "
              "Application().UseHeadless() to run without windows");
    EXPECT_FALSE(Application().HasBackend());
  }
  TRegisteredWindow fake(OpenFakeWindows);
  TFakeWindows::Shown.clear();
  std::unique_ptr<TForm> before(New<TForm>(nullptr));
  before->SetName("Before");
  before->Show();  // shown with no backend: the one opened later hears of it
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_TRUE(dynamic_cast<TFakeWindows*>(&Application().Backend()));
  EXPECT_EQ(TFakeWindows::Shown, (std::vector<std::string>{"Before", "Form1"}));
  // Installed once, it stays: the next loop opens nothing new.
  TBackend* opened = &Application().Backend();
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(&Application().Backend(), opened);
}

TEST_F(FormsTest, RunShowsTheMainFormUntilItClosesAndForgetsItWhenFreed) {
  EXPECT_EQ(MessageOf<EInvalidOperation>([] { Application().Run(); }),
            "Run: no main form; call Application().SetMainForm(form) first, or Run(form)");
  Application().Headless().Do([&] { Form->SetModalResult(mrYes); });
  EXPECT_EQ(Application().Run(Form), mrYes);
  EXPECT_EQ(Application().MainForm(), Form);
  // Closing the window answers Cancel.
  Application().Headless().Do([&] { Form->Close(); });
  EXPECT_EQ(Application().Run(), mrCancel);
  EXPECT_FALSE(Form->IsShown());

  // A main form that was shown and hidden, then freed, leaves no reference behind.
  auto other = std::unique_ptr<TForm>(New<TForm>(nullptr));
  Application().SetMainForm(other.get());
  other->Show();
  other->Hide();
  other.reset();
  EXPECT_EQ(Application().MainForm(), nullptr);
}

TEST_F(FormsTest, FormsFindTheirOwnComponentsThenThoseOfEmbeddedForms) {
  auto embedded = std::unique_ptr<TForm>(New<TForm>(nullptr));
  embedded->SetName("Details");
  auto* inner = New<TProbeControl>(embedded.get());
  inner->SetName("Inner");
  auto* shadow = New<TProbeControl>(embedded.get());
  shadow->SetName("A");  // the host form's A comes first
  embedded->SetParent(B);
  EXPECT_EQ(FindOnForm(*Form, "form1"), Form);
  EXPECT_EQ(FindOnForm(*Form, "A"), A);
  EXPECT_EQ(FindOnForm(*Form, "details"), embedded.get());
  EXPECT_EQ(FindOnForm(*Form, "Inner"), inner);
  EXPECT_EQ(FindOnForm(*Form, "Missing"), nullptr);
  embedded->SetParent(nullptr);
}

TEST_F(FormsTest, AFormOfAnApplicationsOwnClassKeepsItsName) {
  Form->SetFormClassName("TForm1");
  EXPECT_EQ(Form->ClassName(), "TForm1");
  EXPECT_TRUE(Form->InheritsFrom(TForm::StaticClassInfo()));
  EXPECT_EQ(Form->ClassInfo().FindProp("ClientWidth"),
            TForm::StaticClassInfo().FindProp("ClientWidth"));
  Form->SetFormClassName("");
  EXPECT_EQ(Form->ClassName(), "TForm");
}

TEST_F(FormsTest, ReadFormGivesAFormAndRefusesAnyOtherRoot) {
  RegisterClasses<TForm, TButton>();
  const auto dir = std::filesystem::path(::testing::TempDir());
  const std::string formFile = (dir / "readform-form.txt").string();
  const std::string buttonFile = (dir / "readform-button.txt").string();
  std::ofstream(formFile) << "object Form7: TForm\n  Caption = 'Seven'\nend\n";
  std::ofstream(buttonFile) << "object Button1: TButton\n  Caption = 'OK'\nend\n";
  std::unique_ptr<TForm> form(ReadForm(formFile));
  EXPECT_EQ(form->Name(), "Form7");
  EXPECT_EQ(form->Caption(), "Seven");
  // The button read is freed again: the sanitizer build would see it leak.
  EXPECT_EQ(test::MessageOf<EReadError>([&] { ReadForm(buttonFile); }),
            buttonFile + ": its root Button1 is a TButton, not a form");
  std::filesystem::remove(formFile);
  std::filesystem::remove(buttonFile);
}

TEST_F(FormsTest, AsyncKeyStateComesFromTheBackend) {
  EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
  Application().Backend().SetKeyState(VK_SHIFT, true);
  EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
  Application().Backend().SetKeyState(VK_SHIFT, false);
  EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetAsyncKeyState(-1), 0);
}

TEST_F(FormsTest, ExtremeBoundsAndClientSizesLayOutPaintAndHitTest) {
  // Aligned controls of every kind, so that the layout adds their sizes up.
  std::vector<TProbeControl*> aligned;
  for (TAlign align :
       {alTop, alTop, alBottom, alBottom, alLeft, alLeft, alRight, alRight, alClient}) {
    TProbeControl* p = Probe(("P" + std::to_string(aligned.size())).c_str(), 0, 0);
    p->SetAlign(align);
    aligned.push_back(p);
  }
  for (int32_t v : {INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(v);
    A->SetBounds(v, v, v, v);
    B->SetClientWidth(v);
    B->SetClientHeight(v);
    for (TProbeControl* p : aligned) p->SetBounds(v, v, v, v);
    for (TControl* c : {static_cast<TControl*>(A), static_cast<TControl*>(B)}) {
      TRect r = c->BoundsRect();
      EXPECT_GE(r.Right, r.Left);
      EXPECT_GE(r.Bottom, r.Top);
    }
    for (TProbeControl* p : aligned) {
      EXPECT_GE(p->Width(), 0);
      EXPECT_GE(p->Height(), 0);
    }
    Form->Snapshot();
    for (int32_t x : {INT32_MIN, -1, 0, 50, INT32_MAX})
      for (int32_t y : {INT32_MIN, -1, 0, 50, INT32_MAX}) Form->ControlAt(x, y);
    A->FormOrigin();
    Form->SetClientWidth(v);
    Form->SetClientHeight(v);
    Form->Snapshot();
    Form->ControlAt(INT32_MAX, INT32_MAX);
  }
}

TEST_F(FormsTest, AFormFileCannotAskForAHugePicture) {
  // The form's picture is allocated at its client size: capped like an image from a file.
  RegisterClass(TForm::StaticClassInfo());
  std::unique_ptr<TComponent> read(
      ReadComponent("object Form2: TForm\n  ClientWidth = 16384\n  ClientHeight = 1000000\nend\n"));
  auto* form = As<TForm>(read.get());
  EXPECT_EQ(form->Width(), kMaxFormSide);
  EXPECT_EQ(form->Height(), kMaxFormSide);
  form->SetBounds(0, 0, 100, 60);  // a small picture is enough to paint
  const TBitmap& picture = form->Snapshot();
  EXPECT_EQ(picture.Width(), form->ClientWidth());
  form->SetWidth(INT32_MAX);
  EXPECT_EQ(form->Width(), kMaxFormSide);
  EXPECT_LE(int64_t{form->ClientWidth()} * form->ClientHeight(), kMaxImagePixels);
}

}  // namespace
}  // namespace zelvar

namespace zelvar::test {
namespace {

// A form file names the control to take the focus before anything can: it is kept, focused
// when the form shows, and written back.
TEST(FormActiveControl, NamedInAFileItIsKeptFocusedOnShowAndWrittenBack) {
  RegisterClasses<TForm, TButton>();
  const std::string text =
      "object Form1: TForm\n"
      "  ActiveControl = Second\n"
      "  object First: TButton\n"
      "    Left = 8\n"
      "    Top = 8\n"
      "    TabOrder = 0\n"
      "  end\n"
      "  object Second: TButton\n"
      "    Left = 8\n"
      "    Top = 40\n"
      "    TabOrder = 1\n"
      "  end\n"
      "end\n";
  std::unique_ptr<TComponent> root(ReadComponent(text));
  auto& form = dynamic_cast<TForm&>(*root);
  auto* second = dynamic_cast<TWinControl*>(form.FindComponent("Second"));
  EXPECT_EQ(form.ActiveControl(), second);
  EXPECT_NE(WriteComponent(&form, TFormFormat::Text).find("ActiveControl = Second"),
            std::string::npos);
  form.Show();
  EXPECT_TRUE(second->Focused());
  form.Hide();
  delete second;  // the name goes with the control
  EXPECT_EQ(form.ActiveControl(), nullptr);
}

}  // namespace
}  // namespace zelvar::test

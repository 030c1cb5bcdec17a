#pragma once
// Forms and the application: a form paints itself and its controls into its own bitmap (what
// a backend shows or a snapshot saves), routes mouse and key messages to its controls as a
// classic dialog does, and runs modal loops on the application's message queue.

#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {

class TForm;
class IDesigner;         // the form designer's interface (platform/designer)
class THeadlessBackend;  // platform/backends/Headless.h
class THeadlessSteps;    // platform/backends/Headless.h

ZELVAR_ENUM(TPosition, uint8_t, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly,
            poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
ZELVAR_ENUM(TWindowState, uint8_t, wsNormal, wsMinimized, wsMaximized)

// A modal loop waited for input that will never come (a headless run with nothing left to
// answer the form).
class ENoInput : public EInvalidOperation {
 public:
  using EInvalidOperation::EInvalidOperation;
};

// A modal loop started with no backend installed and none could be had: the window backend is
// not linked in, or it cannot open a window.
class ENoWindow : public EInvalidOperation {
 public:
  using EInvalidOperation::EInvalidOperation;
};

// One input event, in the form's client coordinates.
struct TMessage {
  enum TKind { MouseDown, MouseUp, MouseMove, MouseWheel, KeyDown, KeyUp, TextInput };
  TKind Kind = MouseMove;
  TForm* Form = nullptr;  // nullptr: the active (topmost shown) form
  TMouseButton Button = mbLeft;
  TShiftState Shift;
  int32_t X = 0, Y = 0;
  uint16_t Key = 0;
  // KeyDown: the control character the key types (Backspace, Tab, Enter, Escape), if any;
  // printable text comes as TextInput, in Text (UTF-8).
  char Char = 0;
  int32_t WheelDelta = 0;  // MouseWheel: WHEEL_DELTA a notch, positive away from the user
  std::string Text = {};
};

// Where input comes from and where shown forms go: headless (scripts, tests) or a window.
class TBackend {
 public:
  virtual ~TBackend() = default;
  // Waits for input and posts it to the application; false when there will be none.
  virtual bool WaitForInput() = 0;
  virtual void FormShown(TForm*) {}
  virtual void FormHidden(TForm*) {}
  virtual void FormPainted(TForm*) {}
  // The asynchronous state of a key (VK_SHIFT and the like).
  virtual bool KeyDown(uint16_t vk) const;
  // The pixels per inch of the display the forms show on.
  virtual int32_t PixelsPerInch() const { return TFont::kPixelsPerInch; }
  // The mouse pointer's shape changed (never crDefault).
  virtual void ShowCursor(TCursor) {}
  void SetKeyState(uint16_t vk, bool down);

 private:
  std::vector<uint16_t> FHeld;
};

// Opens a backend; nullptr when it cannot, with the reason in *why.
using TBackendOpener = std::unique_ptr<TBackend> (*)(std::string* why);

// Makes the window backend what a modal loop opens when the program installed no backend. The
// toolkit links no window system: <zelvar/window.h> registers it, so including that header is
// enough. Answers true, so that a variable's initializer can call it; nullptr unregisters.
bool RegisterWindowBackend(TBackendOpener open);
TBackendOpener RegisteredWindowBackend();

// Pixels per inch run from 1 to this, on a screen and in a form file.
inline constexpr int32_t kMaxPixelsPerInch = 4800;
// Asks the display that the window backend would open for its pixels per inch; 0 when there
// is none. Registered with the window backend, as forms are read (and scaled) before a modal
// loop opens it. Answers true, as RegisterWindowBackend does.
using TDisplayDpiProbe = int32_t (*)();
bool RegisterDisplayDpi(TDisplayDpiProbe probe);
// ZELVAR_DPI as a screen's pixels per inch: 0 when unset; a value that is no whole number in
// 1..kMaxPixelsPerInch is ignored (0) with a message on err.
int32_t DpiFromEnvironment(std::ostream& err);

// A component that runs its form's modal loop its own way (a wizard starts at its first
// page); Application().Run(form) lets the first one on the form do it.
class IFormRunner {
 public:
  virtual int32_t RunForm() = 0;

 protected:
  ~IFormRunner() = default;
};

// A component with a say in its form's modal loop, as a wizard that asks before throwing away
// what the user typed: told once the loop's form shows, asked before the form closes. The form
// asks the components it owns.
class IModalGuard {
 public:
  virtual void ModalStarted() = 0;
  virtual bool CanCloseForm() = 0;

 protected:
  ~IModalGuard() = default;
};

// A component that follows the values of its form's input controls, as a wizard holding Next
// back until the required input is given: told of each change at once (every keystroke), with
// the control that changed (nullptr: a required one was freed). The form tells its components.
class IInputWatcher {
 public:
  virtual void FormInputChanged(TControl* control) = 0;

 protected:
  ~IInputWatcher() = default;
};

class TApplication : public TComponent {
  ZELVAR_CLASS(TApplication, TComponent)

 public:
  explicit TApplication(TComponent* owner = nullptr);
  ~TApplication() override;

  TBackend& Backend() { return *FBackend; }
  // Installs a backend; it is told of the forms already shown. nullptr goes back to none
  // installed, as at the start.
  void SetBackend(std::unique_ptr<TBackend> backend);
  bool HasBackend() const { return FHasBackend; }
  // What a modal loop does first: with no backend installed, opens the registered window
  // backend; raises ENoWindow, saying what to do, when there is none or it cannot open one.
  void EnsureBackend();

  // Installs the headless backend, whose input is the steps of Headless(), and returns it; one
  // already installed stays as it is. These two are defined with the headless backend
  // (platform/backends/Headless.cpp), which this layer cannot include.
  THeadlessBackend& UseHeadless();
  // The steps a program queues for a headless run (Click, Type, Key, Wait), run one each time a
  // modal loop waits for input. The application owns them, so they outlive the code that
  // queued them. Installs the headless backend first unless it is in place.
  THeadlessSteps& Headless();

  // The form Run() shows; nil once that form is freed.
  TForm* MainForm() const { return FMainForm; }
  void SetMainForm(TForm* form);
  // Makes form the main form and shows it until it closes (its ModalResult is set, or its
  // window is closed: mrCancel), and returns how it closed. A form that holds a component
  // that runs it (a wizard) is run by that component, the first one depth first.
  int32_t Run(TForm* form);
  // Shows form until it closes, as Run does, without making it the main form (a form a
  // designer tries out).
  static int32_t RunModal(TForm& form);
  // The same for the main form set before; raises EInvalidOperation when there is none.
  int32_t Run();

  void PostMessage(const TMessage& m) { FQueue.push_back(m); }
  // Dispatches every pending message, then paints forms that asked for it.
  void ProcessMessages();
  // Dispatches pending messages, or waits for input; false when no input will come.
  bool HandleMessage();

  // Shown forms, bottom first; the last is the active one.
  const std::vector<TForm*>& ShownForms() const { return FShown; }
  TForm* ActiveForm() const { return FShown.empty() ? nullptr : FShown.back(); }

  // The screen's pixels per inch, which forms are scaled to as they are read: ZELVAR_DPI when
  // it holds a valid number, else the installed backend's (the headless one: 96), else the
  // display the window backend would open, else 96.
  int32_t PixelsPerInch() const;

 private:
  friend class TForm;
  void Dispatch(const TMessage& m);
  // Stops hearing of form's end unless it is still shown or the main form.
  void KeepNotified(TForm* form);
  void Notification(TComponent* component, TOperation operation) override;

  std::unique_ptr<TBackend> FBackend;
  bool FHasBackend = false;
  THeadlessBackend* FHeadless = nullptr;  // FBackend, while it is the one UseHeadless installed
  // Defined with the steps; the steps' type is complete there only.
  struct TStepsDeleter {
    void operator()(THeadlessSteps* steps) const;
  };
  std::unique_ptr<THeadlessSteps, TStepsDeleter> FSteps;
  TForm* FMainForm = nullptr;
  std::deque<TMessage> FQueue;
  std::vector<TForm*> FShown;
};

// The one application object. Until a backend is installed it has one without input; a modal
// loop then opens a window (EnsureBackend).
TApplication& Application();

// The asynchronous key state, as the backend sees it: the high bit is set while held.
int16_t GetAsyncKeyState(int32_t vk);

// The most a form measures either way. Its client area is painted into one picture, allocated
// at the form's size: capped like an image read from a file (kMaxImagePixels), so a few bytes
// of a form file cannot ask for gigabytes.
inline constexpr int32_t kMaxFormSide = 8192;

// A component by name as a user finds it on a form: the form itself, what it owns (depth
// first), then the forms embedded in its controls and what they own; nullptr when none.
TComponent* FindOnForm(const TForm& form, std::string_view name);

// For the constructors of components that live only on a form (the wizard and its page-bound
// controls): the owner when it is a form or none; any other owner raises EInvalidCast before
// anything is built.
TComponent* RequireFormOwner(TComponent* owner);

class TForm;
// Reads a form file whose root is a form (ReadComponentFile): the caller owns the form unless
// options name an owner. A file of another root raises EReadError naming it, and nothing of the
// read survives.
TForm* ReadForm(const std::string& fileName, const TFormReadOptions& options = {});

class TForm : public TWinControl {
 public:
  using inherited = TWinControl;
  static const TClassInfo& StaticClassInfo();
  // A form read from a file of an application's own class (TForm1) keeps that class name,
  // so that it is written back under it.
  const TClassInfo& ClassInfo() const override {
    return FOwnClass ? *FOwnClass : StaticClassInfo();
  }
  void SetFormClassName(const std::string& name);

  // A form shows when it is told to, not when it is made or read.
  static constexpr bool kDefaultVisible = false;

  explicit TForm(TComponent* owner);
  ~TForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState WindowState() const { return FWindowState; }
  // A maximized form inside another control fills its parent's client area.
  void SetWindowState(TWindowState v);
  bool FillsParent() const override { return Parent() && FWindowState == wsMaximized; }
  void SetParent(TWinControl* parent) override;
  // A scaled form (Scaled, the default) read at other pixels per inch than the screen's is
  // scaled to the screen's as it is loaded: its client size, its controls, their fonts and
  // the sizes they keep of their own; glyphs are magnified by a whole factor. It is written
  // back as it was designed: at its PixelsPerInch, with the sizes it was read with.
  bool Scaled() const { return FScaled; }
  void SetScaled(bool v) { FScaled = v; }
  // The pixels per inch the form was designed at; 1..kMaxPixelsPerInch, else EPropertyError.
  int32_t PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int32_t v);
  // The pixels per inch the form shows at now: PixelsPerInch unless it was scaled.
  int32_t ShownPixelsPerInch() const { return FShownPixelsPerInch; }
  void Loaded() override;
  // Scales the form to the screen once: as it is read, or, built in code, as it first shows.
  void ScaleToScreen();
  void Writing(bool begin) override;
  // The frame and the caption bar keep their size and the form its place; the client area
  // and what is in it scale.
  void ChangeScale(int32_t m, int32_t d) override;
  // An outer size of the form (frame included, as a wizard keeps one per mode) scaled by m/d
  // as ChangeScale scales the form: the frame keeps its size. A size no larger than the
  // frame is kept as it is.
  TPoint ScaleOuterSize(TPoint size, int32_t m, int32_t d) const;
  int32_t FormGlyphZoom() const override {
    return GlyphZoomFor(FShownPixelsPerInch, FPixelsPerInch);
  }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  // The focused control; before the form shows (read from a file, or designed), the control
  // named to take the focus first.
  TWinControl* ActiveControl() const {
    return FocusedControl() ? FocusedControl() : FActiveControl;
  }
  // The designer editing this form, or nullptr at run time; the form does not own it.
  IDesigner* Designer() const { return FDesigner; }
  void SetDesigner(IDesigner* designer) { FDesigner = designer; }
  void SetActiveControl(TWinControl* c);
  // A frame, or a dialog for a dialog's border.
  void DescribeAccessible(TAccessibleDescription& d) const override;

  // Wider or taller than kMaxFormSide is taken as kMaxFormSide.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  // The client area lies inside the frame and under the caption bar.
  TRect GetClientRect() const override;
  int32_t FrameWidth() const;
  int32_t CaptionHeight() const;

  void Show();
  void Hide();
  // Ends the form's modal loop (mrCancel unless a result is set) when CloseQuery agrees.
  void Close();
  // Whether the form may close now; a form with unsaved work asks here. The form's own
  // IModalGuard components have their say.
  virtual bool CloseQuery();
  bool IsShown() const { return FShowing; }
  // Shows the form and dispatches messages until ModalResult is set; then hides it and
  // returns the result. With no backend installed it opens a window first (see
  // TApplication::EnsureBackend). With no input left the loop raises ENoInput rather than
  // waiting forever.
  TModalResult ShowModal();

  // The form as painted now (painted first if anything asked for it).
  const TBitmap& Snapshot();
  void InvalidateForm() override { FDirty = true; }
  // Something asked for a repaint since the last one.
  bool NeedsRepaint() const { return FDirty; }
  void RepaintForm() override;
  // Tells the form's IInputWatcher components, then the parent.
  void InputChanged(TControl* control) override;

  // Input, in client coordinates, as a backend delivers it.
  void DispatchMouse(TMessage::TKind kind, TMouseButton button, TShiftState shift, int32_t x,
                     int32_t y);
  void DispatchKey(TMessage::TKind kind, uint16_t key, TShiftState shift, char ch);
  // Typed text (UTF-8) for the focused control, one KeyPress per character.
  void DispatchText(std::string_view text);
  // The wheel at a client point: the control under it, then its parents, until one takes it.
  void DispatchWheel(TShiftState shift, int32_t wheelDelta, int32_t x, int32_t y);
  // Whether keys and typed text for control reach it: it lies on this form, and it and the
  // controls between it and the form are visible and enabled.
  bool TakesKeys(const TControl& control) const;
  // The control under a client point (deepest first), or nullptr for the form itself.
  TControl* ControlAt(int32_t x, int32_t y) const;

  // While this form is designed, the mouse over its controls goes here: presses the controls
  // do not claim, and the moves and the release that follow such a press. target is the
  // control under the mouse (nullptr: the form); x, y are in this form's client coordinates.
  // The form may itself lie inside another (a designer's window): the routing is the same.
  std::function<void(TMessage::TKind, TControl* target, TMouseButton, TShiftState, int32_t x,
                     int32_t y)>
      OnDesignMouse;
  // The spacing of the dots drawn on the form's face while it is designed; 0 draws none.
  int32_t DesignGrid() const { return FDesignGrid; }
  void SetDesignGrid(int32_t v);

  // Hints. The pointer rests this long (the application's clock) over a control that shows
  // hints before its hint shows; once one showed, the next shows at once.
  static constexpr uint32_t kHintPause = 500;
  // The hint shown now; empty when none.
  std::string ShownHint() const { return FHintShown ? FHintText : std::string(); }
  // Where it shows, in client coordinates; empty when none.
  TRect HintRect() const { return FHintShown ? FHintRect : TRect{}; }
  // One pointer over the whole form, whatever each control names (crDefault: each its own):
  // what a form shows while it works on something.
  TCursor OverrideCursor() const { return FOverrideCursor; }
  void SetOverrideCursor(TCursor v);
  // The pointer the form shows now.
  TCursor ShownCursor() const { return FShownCursor; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TKeyEvent OnKeyDown;

 protected:
  void PaintWindow(TCanvas& canvas) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The designed form (this one, or one inside it) that receiver's mouse input belongs to.
  TForm* DesignedFormOf(TControl* receiver) const;
  void SetDesignCapture(TForm* form);
  bool HandleDialogKey(uint16_t key, TShiftState shift);
  void Broadcast(const std::function<bool(TControl*)>& f);
  void TrackCursor(const TControl* receiver);
  void ShowCursorNow();
  // Where keys and typed text go: the focused control while it can take them, else the form.
  TControl* KeyTarget();
  // Follows the pointer for hints: a move starts the pause over a new hint, a press hides it.
  void TrackHint(TMessage::TKind kind, int32_t x, int32_t y);
  void ShowHintNow();
  // Hides the hint and stops waiting; browsing (the next hint at once) ends too.
  void CancelHint();
  void PaintHint();

  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FScaled = true;
  bool FScaledToScreen = false;
  int32_t FPixelsPerInch = TFont::kPixelsPerInch;
  int32_t FShownPixelsPerInch = TFont::kPixelsPerInch;
  bool FKeyPreview = false;
  bool FShowing = false;
  bool FDirty = true;
  TModalResult FModalResult = mrNone;
  TBitmap FBitmap;
  TControl* FCapture = nullptr;           // the control that took the last press gets its release
  TForm* FDesignCapture = nullptr;        // the designed form whose designer took the last press
  TWinControl* FActiveControl = nullptr;  // named to take the focus when the form shows
  int32_t FDesignGrid = 0;
  TCursor FShownCursor = crArrow;
  TCursor FPointerCursor = crArrow;  // what the control under the pointer names
  TCursor FOverrideCursor = crDefault;
  std::unique_ptr<TClassInfo> FOwnClass;
  IDesigner* FDesigner = nullptr;
  // The control and hint under the pointer, the pause's timer, and what shows.
  TControl* FHintControl = nullptr;
  std::string FHintText;
  TPoint FHintPoint;
  TRect FHintRect;
  uint64_t FHintTimer = 0;
  bool FHintShown = false;
  bool FHintBrowsing = false;
};

}  // namespace zelvar

#include "platform/forms/Forms.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <utility>
#include <vector>

#include "platform/controls/Accessibility.h"
#include "platform/controls/Menus.h"
#include "platform/core/Assert.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Text.h"
#include "platform/core/TimerQueue.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Codecs.h"

namespace zelvar {

// =============================================================================================
// Backends and the application

bool TBackend::KeyDown(uint16_t vk) const {
  return std::find(FHeld.begin(), FHeld.end(), vk) != FHeld.end();
}

void TBackend::SetKeyState(uint16_t vk, bool down) {
  std::erase(FHeld, vk);
  if (down) FHeld.push_back(vk);
}

namespace {
// What the application has before a backend is installed: no input at all.
class TNoInputBackend : public TBackend {
 public:
  bool WaitForInput() override { return false; }
};
}  // namespace

const TClassInfo& TApplication::StaticClassInfo() {
  static const auto info = TClassBuilder<TApplication>("TApplication").Build();
  return *info;
}

TApplication::TApplication(TComponent* owner)
    : TComponent(owner), FBackend(std::make_unique<TNoInputBackend>()) {}

TApplication::~TApplication() {
  for (TForm* f : FShown) RemoveFreeNotification(f);
  if (FMainForm) RemoveFreeNotification(FMainForm);
}

void TApplication::SetBackend(std::unique_ptr<TBackend> backend) {
  FHasBackend = backend != nullptr;
  FHeadless = nullptr;
  FBackend = backend ? std::move(backend) : std::make_unique<TNoInputBackend>();
  // Forms shown before (without a modal loop) get their windows too.
  for (TForm* f : FShown) FBackend->FormShown(f);
}

namespace {
TBackendOpener& WindowOpener() {
  static TBackendOpener open = nullptr;
  return open;
}
}  // namespace

bool RegisterWindowBackend(TBackendOpener open) {
  WindowOpener() = open;
  return true;
}

TBackendOpener RegisteredWindowBackend() {
  return WindowOpener();
}

namespace {
TDisplayDpiProbe& DisplayDpi() {
  static TDisplayDpiProbe probe = nullptr;
  return probe;
}
}  // namespace

bool RegisterDisplayDpi(TDisplayDpiProbe probe) {
  DisplayDpi() = probe;
  return true;
}

int32_t DpiFromEnvironment(std::ostream& err) {
  const char* text = std::getenv("ZELVAR_DPI");
  if (!text || !*text) return 0;
  int32_t dpi = 0;
  if (TryStrToInt(text, dpi) && dpi >= 1 && dpi <= kMaxPixelsPerInch) return dpi;
  // Said once per value: every form read asks again.
  static std::string told;
  if (told != text) {
    told = text;
    err << "ZELVAR_DPI=" << text << " is ignored: it must be a whole number from 1 to "
        << kMaxPixelsPerInch << "\n";
  }
  return 0;
}

int32_t TApplication::PixelsPerInch() const {
  if (int32_t dpi = DpiFromEnvironment(std::cerr)) return dpi;
  if (FHasBackend) return FBackend->PixelsPerInch();
  if (TDisplayDpiProbe probe = DisplayDpi())
    if (int32_t dpi = probe(); dpi >= 1 && dpi <= kMaxPixelsPerInch) return dpi;
  return TFont::kPixelsPerInch;
}

void TApplication::EnsureBackend() {
  if (FHasBackend) return;
  TBackendOpener open = WindowOpener();
  if (!open)
    throw ENoWindow(
        "No window backend: include <zelvar/window.h> and link Zelvar::window, or call "
        "Application().UseHeadless()");
  std::string why;
  std::unique_ptr<TBackend> backend = open(&why);
  if (!backend)
    throw ENoWindow("No window can be opened: " + (why.empty() ? "no display" : why) +
                    ". Set DISPLAY, or call Application().UseHeadless() to run without windows");
  SetBackend(std::move(backend));
}

void TApplication::SetMainForm(TForm* form) {
  if (form == FMainForm) return;
  TForm* old = FMainForm;
  FMainForm = form;
  if (old) KeepNotified(old);
  if (form) FreeNotification(form);
}

// The application hears of a form's end while it lists it as shown or as the main form.
void TApplication::KeepNotified(TForm* form) {
  if (form != FMainForm && std::find(FShown.begin(), FShown.end(), form) == FShown.end())
    RemoveFreeNotification(form);
}

int32_t TApplication::Run(TForm* form) {
  if (!form) throw EInvalidOperation("Run: no form to run");
  SetMainForm(form);
  return RunModal(*form);
}

int32_t TApplication::RunModal(TForm& form) {
  auto runs = [](TComponent& c) { return dynamic_cast<IFormRunner*>(&c) != nullptr; };
  if (TComponent* runner = FindComponentWhere(&form, runs))
    return dynamic_cast<IFormRunner*>(runner)->RunForm();
  return form.ShowModal();
}

int32_t TApplication::Run() {
  if (!FMainForm)
    throw EInvalidOperation(
        "Run: no main form; call Application().SetMainForm(form) first, or Run(form)");
  return Run(FMainForm);
}

void TApplication::Dispatch(const TMessage& m) {
  TForm* form = m.Form ? m.Form : ActiveForm();
  if (!form) return;
  // A form under a modal one takes no input.
  if (form != ActiveForm()) return;
  switch (m.Kind) {
    case TMessage::MouseDown:
    case TMessage::MouseUp:
    case TMessage::MouseMove:
      form->DispatchMouse(m.Kind, m.Button, m.Shift, m.X, m.Y);
      break;
    case TMessage::MouseWheel:
      form->DispatchWheel(m.Shift, m.WheelDelta, m.X, m.Y);
      break;
    case TMessage::KeyDown:
    case TMessage::KeyUp:
      form->DispatchKey(m.Kind, m.Key, m.Shift, m.Char);
      break;
    case TMessage::TextInput:
      form->DispatchText(m.Text);
      break;
  }
}

void TApplication::ProcessMessages() {
  while (!FQueue.empty()) {
    TMessage m = FQueue.front();
    FQueue.pop_front();
    Dispatch(m);
  }
  for (TForm* f : std::vector<TForm*>(FShown)) f->Snapshot();
}

bool TApplication::HandleMessage() {
  if (FQueue.empty() && !FBackend->WaitForInput() && FQueue.empty()) return false;
  ProcessMessages();
  return true;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  std::erase_if(FShown, [component](TForm* f) { return static_cast<TComponent*>(f) == component; });
  if (static_cast<TComponent*>(FMainForm) == component) FMainForm = nullptr;
}

TApplication& Application() {
  static TApplication app;
  return app;
}

int16_t GetAsyncKeyState(int32_t vk) {
  if (vk < 0 || vk > 0xFFFF) return 0;
  return Application().Backend().KeyDown(static_cast<uint16_t>(vk)) ? static_cast<int16_t>(0x8000)
                                                                    : 0;
}

// =============================================================================================
// TForm

namespace {

// Forms shown inside controls of w (a wizard's embedded pages), which their hosts do not own.
TComponent* FindInEmbeddedForms(const TWinControl& w, std::string_view name) {
  for (int i = 0; i < w.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(w.Controls(i));
    if (!child) continue;
    if (auto* embedded = dynamic_cast<TForm*>(child)) {
      if (SameText(embedded->Name(), name)) return embedded;
      if (TComponent* c = FindComponentIn(embedded, name)) return c;
    }
    if (TComponent* c = FindInEmbeddedForms(*child, name)) return c;
  }
  return nullptr;
}

}  // namespace

TComponent* FindOnForm(const TForm& form, std::string_view name) {
  if (SameText(form.Name(), name)) return const_cast<TForm*>(&form);
  if (TComponent* c = FindComponentIn(&form, name)) return c;
  return FindInEmbeddedForms(form, name);
}

TForm* ReadForm(const std::string& fileName, const TFormReadOptions& options) {
  std::unique_ptr<TComponent> root(ReadComponentFile(fileName, options));
  auto* form = dynamic_cast<TForm*>(root.get());
  if (!form)
    throw EReadError(fileName + ": its root " + root->Name() + " is a " + root->ClassName() +
                     ", not a form");
  root.release();
  return form;
}

TComponent* RequireFormOwner(TComponent* owner) {
  As<TForm>(owner);
  return owner;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TForm>("TForm")
          // The client size stands for the form's size in form files.
          .Publish("Width")
          .Stored(false)
          .Publish("Height")
          .Stored(false)
          .Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
          .Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle)
          .Default(bsSizeable)
          .Publish("Caption", "ClientHeight", "ClientWidth", "Color")
          // A form writes its font even unchanged, as the classic form files do.
          .Publish("Font")
          .Stored(true)
          .Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview)
          .Default(false)
          .Publish("PopupMenu")
          .Property("Position", &TForm::Position, &TForm::SetPosition)
          .Default(poDesigned)
          .Property("Scaled", &TForm::Scaled, &TForm::SetScaled)
          .Default(true)
          .Publish("Visible")
          .Default(kDefaultVisible)
          .Property("WindowState", &TForm::WindowState, &TForm::SetWindowState)
          .Default(wsNormal)
          .Property("OnCreate", &TForm::OnCreate, &TForm::OnCreate)
          .Property("OnKeyDown", &TForm::OnKeyDown, &TForm::OnKeyDown)
          .Property("OnShow", &TForm::OnShow, &TForm::OnShow)
          // Last, after the events, where the classic form files keep it.
          .Property("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
          .Default(TFont::kPixelsPerInch)
          .Public("ModalResult", &TForm::ModalResult, &TForm::SetModalResult)
          // What the window's close box does: scripts close a form as its user would.
          .Method("Close", &TForm::Close)
          .Build();
  return *info;
}

void TForm::SetFormClassName(const std::string& name) {
  if (name.empty() || name == "TForm") {
    FOwnClass.reset();
    return;
  }
  auto info = std::make_unique<TClassInfo>();
  info->Name = name;
  info->Parent = &StaticClassInfo();
  info->Index();
  FOwnClass = std::move(info);
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(kDefaultVisible);
  SetBounds(0, 0, 320, 240);
  IncludeStyle(csAcceptsControls);
}

TForm::~TForm() {
  if (FShowing) Hide();
  CancelHint();
  // The components go while this is still a form, so their notifications find it whole; they
  // know the form goes, so none tells it of input that nobody will see.
  Destroying();
  DestroyComponents();
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == FBorderStyle) return;
  // The client area keeps its size; the frame around it changes.
  int32_t cw = ClientWidth(), ch = ClientHeight();
  FBorderStyle = v;
  SetBounds(Left(), Top(), cw + 2 * FrameWidth(), ch + 2 * FrameWidth() + CaptionHeight());
  Realign();
  InvalidateForm();
}

void TForm::SetPixelsPerInch(int32_t v) {
  if (v < 1 || v > kMaxPixelsPerInch)
    throw EPropertyError(Format("PixelsPerInch %d is out of range 1..%d", {v, kMaxPixelsPerInch}));
  FPixelsPerInch = v;
  FShownPixelsPerInch = v;
}

void TForm::Loaded() {
  TWinControl::Loaded();
  ScaleToScreen();
}

void TForm::ScaleToScreen() {
  if (FScaledToScreen) return;
  FScaledToScreen = true;
  // A designed form keeps its sizes, so that the designer writes back what it read; a form
  // inside another is scaled with it.
  if (!FScaled || IsDesigning() || Parent()) return;
  const int32_t screen = Application().PixelsPerInch();
  if (screen == FPixelsPerInch) return;
  // Shown first, so that what controls lay out by their glyphs' zoom (scroll bars, check
  // boxes, a wizard's pictures) is laid out at the new one.
  FShownPixelsPerInch = screen;
  ChangeScale(screen, FPixelsPerInch);
}

void TForm::Writing(bool begin) {
  if (FShownPixelsPerInch == FPixelsPerInch) return;
  // Scaled back for the write, then again for the screen. For a screen finer than the form
  // this gives every size back exactly, as MulDiv(MulDiv(x, m, d), d, m) is x for m > d; on a
  // coarser one a size may come back a pixel off.
  if (begin)
    ChangeScale(FPixelsPerInch, FShownPixelsPerInch);
  else
    ChangeScale(FShownPixelsPerInch, FPixelsPerInch);
}

TPoint TForm::ScaleOuterSize(TPoint size, int32_t m, int32_t d) const {
  auto scale = [m, d](int32_t v, int32_t frame) {
    return v > frame ? ClampExtent(int64_t{frame} + MulDiv(v - frame, m, d)) : v;
  };
  return {scale(size.X, Width() - ClientWidth()), scale(size.Y, Height() - ClientHeight())};
}

void TForm::ChangeScale(int32_t m, int32_t d) {
  // A designed form keeps the sizes it is written with, whatever shows it.
  if (IsDesigning()) return;
  const int32_t left = Left(), top = Top();
  const int32_t clientWidth = ScaleExtent(ClientWidth(), m, d);
  const int32_t clientHeight = ScaleExtent(ClientHeight(), m, d);
  TWinControl::ChangeScale(m, d);
  SetBounds(left, top, Width() - ClientWidth() + clientWidth,
            Height() - ClientHeight() + clientHeight);
}

void TForm::SetWindowState(TWindowState v) {
  if (v == FWindowState) return;
  FWindowState = v;
  if (Parent()) RequestAlign();
}

void TForm::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  if (FillsParent()) RequestAlign();
}

int32_t TForm::FrameWidth() const {
  switch (FBorderStyle) {
    case bsNone:
      return 0;
    case bsSizeable:
    case bsSizeToolWin:
      return 4;
    default:
      return 3;
  }
}

int32_t TForm::CaptionHeight() const {
  switch (FBorderStyle) {
    case bsNone:
      return 0;
    case bsToolWindow:
    case bsSizeToolWin:
      return 15;
    default:
      return 19;
  }
}

static_assert(int64_t{kMaxFormSide} * kMaxFormSide <= kMaxImagePixels);

void TForm::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TWinControl::SetBounds(left, top, std::min(width, kMaxFormSide), std::min(height, kMaxFormSide));
}

TRect TForm::GetClientRect() const {
  return {0, 0, std::max(Width() - 2 * FrameWidth(), 0),
          std::max(Height() - 2 * FrameWidth() - CaptionHeight(), 0)};
}

void TForm::SetActiveControl(TWinControl* c) {
  // Kept until the form shows: a form file names it before anything can take the focus.
  if (FActiveControl && FActiveControl != c) RemoveFreeNotification(FActiveControl);
  FActiveControl = c;
  if (c) FreeNotification(c);
  if (c && c->CanFocus())
    SetFocusedControl(c);
  else if (!c)
    SetFocusedControl(nullptr);
}

void TForm::Show() {
  if (!FShowing) {
    // A form built in code was never read: it meets the screen the first time it shows.
    ScaleToScreen();
    FShowing = true;
    SetVisible(true);
    auto& app = Application();
    app.FShown.push_back(this);
    app.FreeNotification(this);
    if (!FocusedControl() && FActiveControl && FActiveControl->CanFocus())
      SetFocusedControl(FActiveControl);
    if (!FocusedControl()) SelectFirst();
    if (OnShow) OnShow(this);
    app.Backend().FormShown(this);
  }
  InvalidateForm();
}

void TForm::Hide() {
  if (!FShowing) return;
  FShowing = false;
  CancelHint();
  SetVisible(false);
  auto& app = Application();
  const size_t listed = std::erase(app.FShown, this);
  ZELVAR_ASSERT(listed == 1);  // Show listed it once; a form leaves the list by hiding
  app.KeepNotified(this);
  app.Backend().FormHidden(this);
}

// The guards are gathered first: asking one may show a message form, whose components come and
// go while they are asked.
static std::vector<IModalGuard*> ModalGuards(const TForm& form) {
  std::vector<IModalGuard*> guards;
  for (TComponent* c : form.Components())
    if (auto* g = dynamic_cast<IModalGuard*>(c)) guards.push_back(g);
  return guards;
}

void TForm::InputChanged(TControl* control) {
  if (IsDestroying()) return;
  // Index by index: a watcher's handler may add or free components of the form meanwhile.
  const std::vector<TComponent*>& components = Components();
  for (size_t i = 0; i < components.size(); ++i)
    if (auto* w = dynamic_cast<IInputWatcher*>(components[i])) w->FormInputChanged(control);
  TWinControl::InputChanged(control);
}

bool TForm::CloseQuery() {
  for (IModalGuard* g : ModalGuards(*this))
    if (!g->CanCloseForm()) return false;
  return true;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  if (FModalResult == mrNone) FModalResult = mrCancel;
  if (!FShowing) return;
}

TModalResult TForm::ShowModal() {
  if (FShowing) throw EInvalidOperation("Cannot make a visible window modal");
  auto& app = Application();
  app.EnsureBackend();
  FModalResult = mrNone;
  Show();
  try {
    for (IModalGuard* g : ModalGuards(*this)) g->ModalStarted();
    app.ProcessMessages();
    while (FModalResult == mrNone) {
      if (!app.HandleMessage())
        throw ENoInput("No input left for the modal loop of " + FormName(*this));
    }
  } catch (...) {
    Hide();
    throw;
  }
  Hide();
  return FModalResult;
}

const TBitmap& TForm::Snapshot() {
  TRect client = GetClientRect();
  if (FBitmap.Width() != client.Width() || FBitmap.Height() != client.Height()) {
    FBitmap.SetSize(client.Width(), client.Height());
    FDirty = true;
  }
  if (FDirty) RepaintForm();
  return FBitmap;
}

void TForm::RepaintForm() {
  TRect client = GetClientRect();
  if (FBitmap.Width() != client.Width() || FBitmap.Height() != client.Height())
    FBitmap.SetSize(client.Width(), client.Height());
  FDirty = false;
  if (!FBitmap.Empty()) PaintControl(FBitmap, {0, 0}, client);
  if (FHintShown) PaintHint();
  if (FShowing) Application().Backend().FormPainted(this);
}

void TForm::PaintWindow(TCanvas& canvas) {
  const TRect client = GetClientRect();
  // A child that paints every pixel of its own and covers the whole client area leaves nothing
  // of the form's face to be seen: a wizard's container does, and the fill would be wasted.
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* c = Controls(i);
    const TRect r = c->BoundsRect();
    if (c->Visible() && c->ControlStyle().Contains(csOpaque) && r.Left <= client.Left &&
        r.Top <= client.Top && r.Right >= client.Right && r.Bottom >= client.Bottom)
      return;
  }
  canvas.Brush()->SetColor(Color());
  canvas.Brush()->SetStyle(bsSolid);
  canvas.FillRect(client);
  if (IsDesigning() && FDesignGrid > 0) {
    // The grid the designer snaps to, as dots on the form's face.
    for (int32_t y = 0; y < client.Bottom; y += FDesignGrid)
      for (int32_t x = 0; x < client.Right; x += FDesignGrid) canvas.SetPixel(x, y, clBlack);
  }
}

TControl* TForm::ControlAt(int32_t x, int32_t y) const {
  const TWinControl* parent = this;
  TControl* found = nullptr;
  int32_t px = x, py = y;
  while (parent) {
    TControl* hit = nullptr;
    const TPoint shift = parent->ChildOrigin();
    px -= shift.X;
    py -= shift.Y;
    // Topmost first: the last in z-order is painted last.
    for (int i = parent->ControlCount() - 1; i >= 0; --i) {
      TControl* c = parent->Controls(i);
      if (!c->Visible() && !c->IsDesigning()) continue;
      if (px >= c->Left() && py >= c->Top() && px < c->Left() + c->Width() &&
          py < c->Top() + c->Height()) {
        hit = c;
        break;
      }
    }
    if (!hit) break;
    found = hit;
    px -= hit->Left();
    py -= hit->Top();
    parent = dynamic_cast<TWinControl*>(hit);
  }
  return found;
}

void TForm::DispatchMouse(TMessage::TKind kind, TMouseButton button, TShiftState shift, int32_t x,
                          int32_t y) {
  // An open popup menu has the window's mouse first.
  const TMouseAction action = kind == TMessage::MouseDown ? TMouseAction::Down
                              : kind == TMessage::MouseUp ? TMouseAction::Up
                                                          : TMouseAction::Move;
  if (TPopupMenu::PreviewMouse(*this, action, button, x, y)) return;
  TrackHint(kind, x, y);
  TControl* target = nullptr;
  if (kind == TMessage::MouseDown || !FCapture) {
    target = ControlAt(x, y);
  } else {
    target = FCapture;
  }
  TControl* receiver = target ? target : this;
  TPoint origin = receiver == this ? TPoint{0, 0} : receiver->FormOrigin();
  int32_t cx = x - origin.X, cy = y - origin.Y;

  // In the designer the mouse belongs to the designer unless the control claims the press or
  // was taken out of the design state; a press the designer took keeps the mouse until the
  // release, so it can drag.
  // A release that never came (a popup menu took it) ends the designer's hold at the next press.
  if (kind == TMessage::MouseDown) SetDesignCapture(nullptr);
  if (TForm* designed = FDesignCapture ? FDesignCapture : DesignedFormOf(receiver)) {
    bool route = kind == TMessage::MouseDown ? !receiver->CMDesignHitTest(cx, cy, shift)
                                             : FDesignCapture || !FCapture;
    if (route) {
      TPoint at = designed == this ? TPoint{0, 0} : designed->FormOrigin();
      if (kind == TMessage::MouseDown) SetDesignCapture(designed);
      if (kind == TMessage::MouseUp) SetDesignCapture(nullptr);
      if (designed->OnDesignMouse)
        designed->OnDesignMouse(kind, target && target != designed ? target : nullptr, button,
                                shift, x - at.X, y - at.Y);
      return;
    }
  }
  if (!receiver->EnabledInTree()) return;
  switch (kind) {
    case TMessage::MouseDown:
      if (FCapture) RemoveFreeNotification(FCapture);
      FCapture = receiver == this ? nullptr : receiver;
      if (FCapture) FreeNotification(FCapture);
      if (auto* w = dynamic_cast<TWinControl*>(receiver);
          w && w != this && w->TabStop() && w->CanFocus())
        w->SetFocus();
      receiver->MouseDown(button, shift, cx, cy);
      if (shift.Contains(ssDouble) && button == mbLeft &&
          receiver->ControlStyle().Contains(csDoubleClicks))
        receiver->DblClick();
      break;
    case TMessage::MouseUp: {
      TControl* captured = FCapture;
      if (captured) RemoveFreeNotification(captured);
      FCapture = nullptr;
      receiver->MouseUp(button, shift, cx, cy);
      break;
    }
    default:
      TrackCursor(receiver);
      receiver->MouseMove(shift, cx, cy);
  }
}

TForm* TForm::DesignedFormOf(TControl* receiver) const {
  if (!receiver->IsDesigning()) return nullptr;
  for (TControl* c = receiver; c; c = c->Parent())
    if (auto* f = dynamic_cast<TForm*>(c); f && f->IsDesigning()) return f;
  return nullptr;
}

void TForm::SetDesignCapture(TForm* form) {
  if (FDesignCapture == form) return;
  if (FDesignCapture && FDesignCapture != this) RemoveFreeNotification(FDesignCapture);
  FDesignCapture = form;
  if (FDesignCapture && FDesignCapture != this) FreeNotification(FDesignCapture);
}

void TForm::SetDesignGrid(int32_t v) {
  v = std::clamp(v, 0, 128);
  if (v == FDesignGrid) return;
  FDesignGrid = v;
  Invalidate();
}

void TForm::TrackCursor(const TControl* receiver) {
  TCursor cursor = crDefault;
  if (!IsDesigning())
    for (const TControl* c = receiver; c && cursor == crDefault; c = c->Parent())
      cursor = c->Cursor();
  if (cursor == crDefault) cursor = crArrow;
  FPointerCursor = cursor;
  ShowCursorNow();
}

void TForm::SetOverrideCursor(TCursor v) {
  FOverrideCursor = v;
  ShowCursorNow();
}

void TForm::ShowCursorNow() {
  const TCursor cursor = FOverrideCursor != crDefault ? FOverrideCursor : FPointerCursor;
  if (cursor == FShownCursor) return;
  FShownCursor = cursor;
  if (FShowing) Application().Backend().ShowCursor(cursor);
}

void TForm::DispatchWheel(TShiftState shift, int32_t wheelDelta, int32_t x, int32_t y) {
  if (IsDesigning()) return;
  for (TControl* c = ControlAt(x, y); c; c = c->Parent()) {
    if (!c->EnabledInTree()) continue;
    TPoint origin = c->FormOrigin();
    if (c->DoMouseWheel(shift, wheelDelta, {x - origin.X, y - origin.Y})) return;
  }
}

void TForm::Broadcast(const std::function<bool(TControl*)>& f) {
  std::vector<TControl*> all;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* c = w->Controls(i);
      if (!c->Visible() || !c->Enabled()) continue;
      all.push_back(c);
      if (auto* cw = dynamic_cast<const TWinControl*>(c)) collect(cw);
    }
  };
  collect(this);
  for (TControl* c : all)
    if (f(c)) return;
}

bool TForm::HandleDialogKey(uint16_t key, TShiftState shift) {
  TWinControl* focused = FocusedControl();
  int32_t wants = focused ? focused->WMGetDlgCode() : 0;
  if (wants & DLGC_WANTALLKEYS) return false;
  if (key == VK_TAB && !(wants & DLGC_WANTTAB) && !shift.Contains(ssAlt) &&
      !shift.Contains(ssCtrl)) {
    if (TWinControl* next = FindNextControl(focused, !shift.Contains(ssShift), true))
      next->SetFocus();
    return true;
  }
  if (shift.Contains(ssAlt) && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
    char letter = static_cast<char>(key);
    bool handled = false;
    Broadcast([&](TControl* c) { return handled = c->CMDialogChar(letter); });
    return handled;
  }
  if (key == VK_RETURN || key == VK_ESCAPE) {
    // The focused control has the first say; then every control (default and cancel buttons).
    if (focused && focused->CMDialogKey(key, shift)) return true;
    bool handled = false;
    Broadcast([&](TControl* c) { return c != focused && (handled = c->CMDialogKey(key, shift)); });
    return handled;
  }
  return false;
}

bool TForm::TakesKeys(const TControl& control) const {
  if (&control == this) return false;
  // The form's own visibility does not count: a form takes input only while it is active.
  for (const TControl* c = &control; c != this; c = c->Parent())
    if (!c || !c->Visible() || !c->Enabled()) return false;
  return true;
}

TControl* TForm::KeyTarget() {
  TWinControl* focused = FocusedControl();
  return focused && TakesKeys(*focused) ? static_cast<TControl*>(focused) : this;
}

void TForm::DispatchKey(TMessage::TKind kind, uint16_t key, TShiftState shift, char ch) {
  if (TPopupMenu::PreviewKey(*this, kind == TMessage::KeyDown, key, shift)) return;
  if (kind == TMessage::KeyDown) CancelHint();
  TWinControl* focused = FocusedControl();
  TControl* target = KeyTarget();
  if (kind == TMessage::KeyUp) {
    target->KeyUp(key, shift);
    return;
  }
  if (FKeyPreview && OnKeyDown) {
    OnKeyDown(this, key, shift);
    if (key == 0) return;
  }
  // Arrows go to a control that asks for them; otherwise the dialog keys come first.
  bool arrow = key >= VK_LEFT && key <= VK_DOWN;
  if (!(arrow && focused && (focused->WMGetDlgCode() & DLGC_WANTARROWS)) &&
      HandleDialogKey(key, shift))
    return;
  target->KeyDown(key, shift);
  if (key != 0 && ch != 0) {
    char32_t typed = static_cast<unsigned char>(ch);
    target->KeyPress(typed);
  }
}

void TForm::DispatchText(std::string_view text) {
  if (TPopupMenu::PreviewText(*this, text)) return;
  for (size_t i = 0; i < text.size();) {
    TUtf8Char c = DecodeUtf8Char(text, i);
    i += c.Length;
    // Control characters come with their keys; text input carries only what is printed.
    if (c.Code < 32 || c.Code == 127) continue;
    // The focus may move while a character is handled (a handler that tabs on).
    char32_t typed = c.Code;
    TControl* target = KeyTarget();
    target->KeyPress(typed);
  }
}

// =============================================================================================
// Hints

namespace {

// The hint at a client point: the first non-empty answer from the control under it up to the
// form, shown when that control or one of its parents has ShowHint (classic ParentShowHint).
std::pair<TControl*, std::string> HintAt(TForm& form, int32_t x, int32_t y) {
  for (TControl* c = form.ControlAt(x, y); c; c = c->Parent()) {
    const TPoint origin = c == &form ? TPoint{0, 0} : c->FormOrigin();
    std::string text = c->GetHintAt(x - origin.X, y - origin.Y);
    if (text.empty()) continue;
    for (const TControl* p = c; p; p = p->Parent())
      if (p->ShowHint()) return {c, std::move(text)};
    return {};
  }
  if (std::string text = form.GetHintAt(x, y); !text.empty() && form.ShowHint())
    return {&form, std::move(text)};
  return {};
}

// Below the arrow pointer, as classic hints sit.
constexpr int32_t kHintBelowPointer = 20;

}  // namespace

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FCapture) FCapture = nullptr;
  if (component == FDesignCapture) FDesignCapture = nullptr;
  if (component == FActiveControl) FActiveControl = nullptr;
  if (component == FHintControl) {
    CancelHint();
    FHintControl = nullptr;
    FHintText.clear();
  }
}

void TForm::TrackHint(TMessage::TKind kind, int32_t x, int32_t y) {
  if (kind == TMessage::MouseDown) {
    // The control and text stay: the hint comes back only over another one.
    CancelHint();
    return;
  }
  if (kind != TMessage::MouseMove) return;
  FHintPoint = {x, y};
  // On a designed form presses and moves belong to the designer; its controls show no hints.
  auto [control, text] = IsDesigning() ? std::pair<TControl*, std::string>{} : HintAt(*this, x, y);
  if (control == FHintControl && text == FHintText) return;
  const bool browsing = FHintShown || FHintBrowsing;
  CancelHint();
  FHintControl = control;
  FHintText = std::move(text);
  // Never removed again: the focus and the capture may hold the same link, and a stale one only
  // brings a notification that matches nothing.
  if (control && control != this) FreeNotification(control);
  if (FHintText.empty()) {
    if (!browsing) return;
    // Crossing a gap between hinted controls keeps the next hint quick for one pause.
    FHintBrowsing = true;
    FHintTimer = Timers().Schedule(kHintPause, [this] {
      Timers().Cancel(FHintTimer);
      FHintTimer = 0;
      FHintBrowsing = false;
    });
  } else if (browsing) {
    ShowHintNow();
  } else {
    FHintTimer = Timers().Schedule(kHintPause, [this] {
      Timers().Cancel(FHintTimer);
      FHintTimer = 0;
      ShowHintNow();
    });
  }
}

void TForm::ShowHintNow() {
  if (FHintText.empty()) return;
  TCanvas measure(nullptr);
  measure.Font()->Assign(Font());
  // A 1-pixel frame and a margin inside it.
  const int32_t w = measure.TextWidth(FHintText) + 8, h = measure.TextHeight(FHintText) + 4;
  const TRect client = GetClientRect();
  int32_t left = FHintPoint.X, top = FHintPoint.Y + kHintBelowPointer;
  if (top + h > client.Bottom) top = FHintPoint.Y - h - 2;
  left = std::max(0, std::min(left, client.Right - w));
  top = std::max(0, std::min(top, client.Bottom - h));
  FHintRect = {left, top, left + w, top + h};
  FHintShown = true;
  FHintBrowsing = true;
  InvalidateForm();
}

void TForm::CancelHint() {
  Timers().Cancel(FHintTimer);
  FHintTimer = 0;
  FHintBrowsing = false;
  if (!FHintShown) return;
  FHintShown = false;
  InvalidateForm();
}

void TForm::PaintHint() {
  TCanvas canvas(&FBitmap);
  canvas.Font()->Assign(Font());
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clInfoBk);
  canvas.FillRect(FHintRect);
  canvas.Brush()->SetColor(clBlack);
  canvas.FrameRect(FHintRect);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(clInfoText);
  canvas.TextOut(FHintRect.Left + 4, FHintRect.Top + 2, FHintText);
}

void TForm::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = FBorderStyle == bsDialog ? arDialog : arFrame;
}

}  // namespace zelvar

#include "platform/backends/Window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/backends/AtSpi.h"
#include "platform/controls/Clipbrd.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TimerQueue.h"

namespace zelvar {

namespace {

// SDL is started once for all live backends and shut down with the last, so that it frees
// what it holds (X connection, hints) and a later backend starts afresh.
int gOpenBackends = 0;
// The accessibility bridge lives as long as SDL does: one application on the bus, whatever the
// number of backends. Null when there is no accessibility bus.
std::unique_ptr<TAtSpiBridge> gAtSpi;

// Xlib's own error handler prints the error and ends the process, which a stray request about
// a window that is gone must never do to a dialog program. This one notes the error, and the
// modal loop gets it as an exception (from WaitForInput). It is installed before SDL opens the
// display, so that SDL's handler passes errors on to it and SDL puts it back before it closes
// the display.
std::mutex gXErrorLock;
std::vector<std::string> gXErrors;
XErrorHandler gFormerXHandler = nullptr;

int NoteXError(Display* display, XErrorEvent* e) {
  char error[256] = {};
  XGetErrorText(display, e->error_code, error, sizeof error);
  std::string code = std::to_string(e->request_code);
  char request[256] = {};
  XGetErrorDatabaseText(display, "XRequest", code.c_str(), "", request, sizeof request);
  char resource[32];
  SDL_snprintf(resource, sizeof resource, "0x%lx", e->resourceid);
  std::string text = std::string("X error ") + error + " from request " +
                     (*request ? std::string(request) + " (" + code + ")" : code) +
                     " on resource " + resource;
  std::lock_guard lock(gXErrorLock);
  gXErrors.push_back(std::move(text));
  return 0;
}

// The errors noted since the last call, one a line.
std::string TakeXErrors() {
  std::lock_guard lock(gXErrorLock);
  std::string text;
  for (const std::string& e : gXErrors) text += (text.empty() ? "" : "\n") + e;
  gXErrors.clear();
  return text;
}

void ThrowXErrors() {
  if (std::string errors = TakeXErrors(); !errors.empty()) throw EInvalidOperation(errors);
}

constexpr uint16_t kVkNumpad0 = 0x60;

struct TKeyPair {
  SDL_Keycode Sdl;
  uint16_t Vk;
};

// Keys with a name; letters, digits and F1-F12 follow from their codes. The punctuation keys
// get the codes of their places on the US layout, so that what they type reaches the form.
constexpr TKeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},   {SDLK_TAB, VK_TAB},          {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},  {SDLK_ESCAPE, VK_ESCAPE},    {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},     {SDLK_PAGEDOWN, VK_NEXT},    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},        {SDLK_LEFT, VK_LEFT},        {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},      {SDLK_DOWN, VK_DOWN},        {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},    {SDLK_LSHIFT, VK_SHIFT},     {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},    {SDLK_RCTRL, VK_CONTROL},    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},        {SDLK_SEMICOLON, 0xBA},      {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC},          {SDLK_MINUS, 0xBD},          {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},          {SDLK_BACKQUOTE, 0xC0},      {SDLK_LEFTBRACKET, 0xDB},
    {SDLK_BACKSLASH, 0xDC},      {SDLK_RIGHTBRACKET, 0xDD},   {SDLK_QUOTE, 0xDE},
    {SDLK_KP_0, kVkNumpad0 + 0}, {SDLK_KP_1, kVkNumpad0 + 1}, {SDLK_KP_2, kVkNumpad0 + 2},
    {SDLK_KP_3, kVkNumpad0 + 3}, {SDLK_KP_4, kVkNumpad0 + 4}, {SDLK_KP_5, kVkNumpad0 + 5},
    {SDLK_KP_6, kVkNumpad0 + 6}, {SDLK_KP_7, kVkNumpad0 + 7}, {SDLK_KP_8, kVkNumpad0 + 8},
    {SDLK_KP_9, kVkNumpad0 + 9},
};

uint16_t VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint16_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint16_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<uint16_t>(VK_F1 + (key - SDLK_F1));
  for (const TKeyPair& p : kNamedKeys)
    if (p.Sdl == key) return p.Vk;
  return 0;
}

TShiftState ShiftOf(uint32_t mod) {
  TShiftState s;
  if (mod & KMOD_SHIFT) s.Include(ssShift);
  if (mod & KMOD_CTRL) s.Include(ssCtrl);
  if (mod & KMOD_ALT) s.Include(ssAlt);
  return s;
}

// Held mouse buttons belong to the shift state, as they do in a classic mouse message.
void AddButtons(TShiftState& s, uint32_t buttons) {
  if (buttons & SDL_BUTTON_LMASK) s.Include(ssLeft);
  if (buttons & SDL_BUTTON_RMASK) s.Include(ssRight);
  if (buttons & SDL_BUTTON_MMASK) s.Include(ssMiddle);
}

// SDL numbers buttons from 1; a mouse may report more than a mask has bits.
uint32_t ButtonMask(uint8_t button) {
  return button >= 1 && button <= 32 ? uint32_t{1} << (button - 1) : 0;
}

std::optional<TMouseButton> ButtonOf(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return mbLeft;
    case SDL_BUTTON_RIGHT:
      return mbRight;
    case SDL_BUTTON_MIDDLE:
      return mbMiddle;
    default:
      return std::nullopt;
  }
}

// The control character a key types, which a classic key message carries; SDL reports what
// a key prints as text input of its own.
char ControlChar(SDL_Keycode key) {
  switch (key) {
    case SDLK_BACKSPACE:
      return '\b';
    case SDLK_TAB:
      return '\t';
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return '\r';
    case SDLK_ESCAPE:
      return 27;
    default:
      return 0;
  }
}

// The system clipboard, for the toolkit's edits.
class TSdlClipboard : public TClipboardStore {
 public:
  std::string Text() override {
    char* text = SDL_GetClipboardText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
  }
  void SetText(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }
};

TSdlClipboard gSdlClipboard;

SDL_SystemCursor SystemCursor(TCursor cursor) {
  switch (cursor) {
    case crIBeam:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case crSizeWE:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case crSizeNS:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case crHandPoint:
      return SDL_SYSTEM_CURSOR_HAND;
    case crHourGlass:
      return SDL_SYSTEM_CURSOR_WAIT;
    case crAppStarting:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

}  // namespace

struct TWindowBackend::TWindow {
  TForm* Form = nullptr;
  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  uint32_t Id = 0;
  int32_t Width = 0, Height = 0;  // of the texture
  std::string Title;
  bool Uploading = false;  // inside FormPainted: a repaint it causes is shown by the outer call

  TWindow() = default;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  ~TWindow() {
    if (Texture) SDL_DestroyTexture(Texture);
    if (Renderer) SDL_DestroyRenderer(Renderer);
    if (Window) SDL_DestroyWindow(Window);
  }
};

namespace {

// Drivers that show nothing on a screen, or take a whole console: used only when asked for by
// name (SDL_VIDEODRIVER), so that a machine without a desktop reports that it has none.
bool OnRequestOnly(const char* driver) {
  for (const char* name : {"offscreen", "dummy", "evdev", "KMSDRM"})
    if (SDL_strcasecmp(driver, name) == 0) return true;
  return false;
}

bool InitVideo(std::string& why) {
  if (const char* chosen = SDL_getenv("SDL_VIDEODRIVER"); chosen && *chosen) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    why = SDL_GetError();
    return false;
  }
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* name = SDL_GetVideoDriver(i);
    if (!name || OnRequestOnly(name)) continue;
    // Probing Wayland with no compositor named makes libwayland complain on standard error.
    if (SDL_strcasecmp(name, "wayland") == 0 && !SDL_getenv("WAYLAND_DISPLAY")) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      if (!why.empty()) why += "; ";
      why += std::string(name) + ": " + SDL_GetError();
      continue;
    }
    // An SDL older than the hint picks by itself.
    const char* current = SDL_GetCurrentVideoDriver();
    if (current && !OnRequestOnly(current)) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  if (why.empty()) why = "no desktop video driver";
  return false;
}

}  // namespace

std::unique_ptr<TBackend> OpenWindowBackend(std::string* why) {
  if (gOpenBackends == 0) {
    gFormerXHandler = XSetErrorHandler(NoteXError);
    TakeXErrors();
  }
  // A dialog program: the screen saver may run, a compositor may keep compositing, and a
  // click on a window that is not yet active presses what it hits, as in a classic dialog.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The picture goes to the display as it is (X11 shared memory and the like): an OpenGL
  // texture in between gains nothing for one small image and loads a GL driver.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  std::string reason;
  if (!InitVideo(reason)) {
    if (why) *why = reason;
    if (gOpenBackends == 0) {
      SDL_Quit();
      XSetErrorHandler(gFormerXHandler);
    }
    return nullptr;
  }
  if (gOpenBackends++ == 0) {
    SetClipboardStore(&gSdlClipboard);
    gAtSpi = TAtSpiBridge::Open();
  }
  return std::unique_ptr<TBackend>(new TWindowBackend);
}

int32_t DisplayPixelsPerInch() {
  // Forms are read before a modal loop opens the backend: the display is opened for the
  // question alone.
  // Kept per display asked for: a program (or a test) may name another one later.
  static std::string asked;
  static int32_t dpi = 0;
  std::string display;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    const char* value = SDL_getenv(name);
    display += std::string(value ? value : "") + "\n";
  }
  if (dpi > 0 && display == asked) return dpi;
  std::unique_ptr<TBackend> backend = OpenWindowBackend();
  if (!backend) return 0;
  asked = display;
  dpi = backend->PixelsPerInch();
  return dpi;
}

int32_t TWindowBackend::PixelsPerInch() const {
  double dpi = 0;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && SDL_strcasecmp(driver, "x11") == 0) {
    // What the X server was told (-dpi, or the monitor's size): SDL asks RandR, which a
    // virtual server answers with a made-up size. Both ways averaged: the millimetres are
    // rounded to whole ones.
    if (::_XDisplay* x = XOpenDisplay(nullptr)) {
      const int screen = DefaultScreen(x);
      if (DisplayWidthMM(x, screen) > 0 && DisplayHeightMM(x, screen) > 0)
        dpi = (25.4 * DisplayWidth(x, screen) / DisplayWidthMM(x, screen) +
               25.4 * DisplayHeight(x, screen) / DisplayHeightMM(x, screen)) /
              2;
      XCloseDisplay(x);
    }
  } else {
    float diagonal = 0, horizontal = 0, vertical = 0;
    if (SDL_GetDisplayDPI(0, &diagonal, &horizontal, &vertical) == 0) dpi = horizontal;
  }
  if (!(dpi >= 1 && dpi <= kMaxPixelsPerInch)) return TFont::kPixelsPerInch;
  // A measured size is a little off (Xvfb says 100 by default): taken to the desktops' steps
  // of 24 (96, 120, 144, 192), so that forms are not scaled by a few per cent.
  constexpr int32_t kStep = 24;
  return std::max(kStep, static_cast<int32_t>(dpi / kStep + 0.5) * kStep);
}

TWindowBackend::TWindowBackend() : FTickBase(SDL_GetTicks64() - Timers().Now()) {}

TWindowBackend::~TWindowBackend() {
  FWindows.clear();
  for (SDL_Cursor* c : FCursors)
    if (c) SDL_FreeCursor(c);
  // What was copied stays for the program's next clipboard.
  if (gOpenBackends == 1) {
    std::string copied = gSdlClipboard.Text();
    SetClipboardStore(nullptr);
    Clipboard().SetAsText(copied);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (--gOpenBackends == 0) {
    gAtSpi.reset();
    SDL_Quit();
    // What closing the display turned up has no one left to report to.
    XSetErrorHandler(gFormerXHandler);
    TakeXErrors();
  }
}

TWindowBackend::TWindow* TWindowBackend::Find(const TForm* form) const {
  for (const auto& w : FWindows)
    if (w->Form == form) return w.get();
  return nullptr;
}

TWindowBackend::TWindow* TWindowBackend::Find(uint32_t id) const {
  for (const auto& w : FWindows)
    if (w->Id == id) return w.get();
  return nullptr;
}

uint32_t TWindowBackend::WindowID(const TForm* form) const {
  const TWindow* w = Find(form);
  return w ? w->Id : 0;
}

void TWindowBackend::FormShown(TForm* form) {
  // A form inside another control is painted by its host, not shown on its own.
  if (!form || form->Parent() || Find(form)) return;
  const TImageData& image = form->Snapshot().Image();
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  if (form->Position() == poDesigned) {
    x = form->Left();
    y = form->Top();
  } else if (form->Position() == poDefault || form->Position() == poDefaultPosOnly) {
    x = y = SDL_WINDOWPOS_UNDEFINED;
  }
  uint32_t flags = SDL_WINDOW_SHOWN;
  if (form->BorderStyle() == bsNone) flags |= SDL_WINDOW_BORDERLESS;

  auto w = std::make_unique<TWindow>();
  w->Form = form;
  w->Title = form->Caption();
  w->Window = SDL_CreateWindow(w->Title.c_str(), x, y, std::max(image.Width, 1),
                               std::max(image.Height, 1), flags);
  // Software rendering: the picture is one small image, and it works on every display.
  if (w->Window) w->Renderer = SDL_CreateRenderer(w->Window, -1, SDL_RENDERER_SOFTWARE);
  if (!w->Renderer)
    throw EInvalidOperation("Cannot open a window for " + FormName(*form) + ": " + SDL_GetError());
  w->Id = SDL_GetWindowID(w->Window);
  if (!FDisplay) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w->Window, &info) && info.subsystem == SDL_SYSWM_X11)
      FDisplay = info.info.x11.display;
  }
  // A form shown over others is their modal dialog; the window manager keeps it on top.
  const auto& shown = Application().ShownForms();
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    if (*it == form) continue;
    if (TWindow* owner = Find(*it)) {
      SDL_SetWindowModalFor(w->Window, owner->Window);
      break;
    }
  }
  FWindows.push_back(std::move(w));
  if (gAtSpi) gAtSpi->FormShown(form);
  FormPainted(form);
}

void TWindowBackend::FormHidden(TForm* form) {
  // Nothing sends to a window behind the backend's back (see WaitForEvent), so it can go now.
  if (std::erase_if(FWindows, [form](const auto& w) { return w->Form == form; }) && gAtSpi)
    gAtSpi->FormHidden(form);
}

void TWindowBackend::FormPainted(TForm* form) {
  TWindow* w = Find(form);
  if (!w || w->Uploading) return;
  w->Uploading = true;
  // Snapshot does not repaint unless the paint itself asked for another one.
  const TImageData& image = form->Snapshot().Image();
  w->Uploading = false;
  // Whatever that paint did, the window is looked up afresh.
  w = Find(form);
  if (!w) return;
  if (image.Width != w->Width || image.Height != w->Height) {
    if (w->Texture) SDL_DestroyTexture(w->Texture);
    w->Texture = nullptr;
    w->Width = image.Width;
    w->Height = image.Height;
    if (w->Width > 0 && w->Height > 0) {
      w->Texture = SDL_CreateTexture(w->Renderer, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, w->Width, w->Height);
      // The form's pixels are opaque whatever their alpha byte says.
      if (w->Texture) SDL_SetTextureBlendMode(w->Texture, SDL_BLENDMODE_NONE);
      SDL_SetWindowSize(w->Window, w->Width, w->Height);
      // Should a window manager size the window otherwise, the picture is scaled and mouse
      // positions are scaled back to client coordinates.
      SDL_RenderSetLogicalSize(w->Renderer, w->Width, w->Height);
    }
  }
  if (w->Texture)
    SDL_UpdateTexture(w->Texture, nullptr, image.Pixels.data(),
                      static_cast<int>(w->Width * sizeof(uint32_t)));
  SyncTitle(*w);
  Present(*w);
}

void TWindowBackend::Present(TWindow& w) {
  SDL_SetRenderDrawColor(w.Renderer, 0, 0, 0, 255);
  SDL_RenderClear(w.Renderer);
  if (w.Texture) SDL_RenderCopy(w.Renderer, w.Texture, nullptr, nullptr);
  SDL_RenderPresent(w.Renderer);
}

void TWindowBackend::SyncTitle(TWindow& w) {
  if (w.Form->Caption() == w.Title) return;
  w.Title = w.Form->Caption();
  SDL_SetWindowTitle(w.Window, w.Title.c_str());
}

bool TWindowBackend::WaitForInput() {
  ThrowXErrors();
  // A caption may change without a repaint.
  for (const auto& w : FWindows) SyncTitle(*w);
  SDL_Event e;
  if (WaitForEvent(e)) {
    do Handle(e);
    while (SDL_PollEvent(&e));
  }
  // A screen reader's requests are answered between messages too, without waiting.
  if (gAtSpi) gAtSpi->Dispatch();
  ThrowXErrors();
  // Timers fire from the loop, between messages, as classic timer messages do.
  Timers().AdvanceTo(Clock());
  return true;
}

uint64_t TWindowBackend::Clock() const {
  return SDL_GetTicks64() - FTickBase;
}

int TWindowBackend::WaitMilliseconds() const {
  std::optional<uint64_t> due = Timers().NextDue();
  if (!due) return kWaitMilliseconds;
  uint64_t now = Clock();
  return *due <= now ? 0 : static_cast<int>(std::min<uint64_t>(*due - now, kWaitMilliseconds));
}

void TWindowBackend::ShowCursor(TCursor cursor) {
  auto index = static_cast<size_t>(SystemCursor(cursor));
  if (index >= FCursors.size()) return;
  if (!FCursors[index])
    FCursors[index] = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(index));
  if (FCursors[index]) SDL_SetCursor(FCursors[index]);
}

bool TWindowBackend::WaitForEvent(SDL_Event& e) {
  if (SDL_PollEvent(&e)) return true;
  // SDL's own wait on X arms a wake-up that any new event sends to one of the windows over a
  // second connection to the server. That request can reach the server after the window was
  // destroyed on the first connection, and fail. So SDL is only ever polled, and the wait is
  // for the connection SDL reads its events from.
  int wait = WaitMilliseconds();
  if (!FDisplay) return SDL_WaitEventTimeout(&e, wait) != 0;
  if (XEventsQueued(FDisplay, QueuedAfterFlush) == 0) {
    // The accessibility bus wakes the loop as input does.
    pollfd p[2] = {{ConnectionNumber(FDisplay), POLLIN, 0},
                   {gAtSpi ? gAtSpi->FileDescriptor() : -1, POLLIN, 0}};
    ::poll(p, 2, wait);
  }
  return SDL_PollEvent(&e) != 0;
}

void TWindowBackend::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      // The session or a signal asks the program to end: every dialog answers Cancel.
      for (TForm* f : std::vector<TForm*>(Application().ShownForms())) f->Close();
      break;
    case SDL_WINDOWEVENT: {
      TWindow* w = Find(e.window.windowID);
      if (!w) break;
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
        Present(*w);
      } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        // Closing a window answers like Cancel; a form under a modal one takes no answer
        // until that one is done, so the modal one comes to the front instead.
        if (w->Form == Application().ActiveForm())
          w->Form->Close();
        else if (TWindow* top = Find(Application().ActiveForm()))
          SDL_RaiseWindow(top->Window);
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool down = e.type == SDL_MOUSEBUTTONDOWN;
      uint32_t mask = ButtonMask(e.button.button);
      FButtons = down ? FButtons | mask : FButtons & ~mask;
      TWindow* w = Find(e.button.windowID);
      std::optional<TMouseButton> button = ButtonOf(e.button.button);
      if (!w || !button) break;
      TMessage m;
      m.Kind = down ? TMessage::MouseDown : TMessage::MouseUp;
      m.Form = w->Form;
      m.Button = *button;
      m.Shift = ShiftOf(SDL_GetModState());
      AddButtons(m.Shift, FButtons);
      // Every second press of a quick series is a double click, as in a classic window.
      if (down && e.button.clicks >= 2 && e.button.clicks % 2 == 0) m.Shift.Include(ssDouble);
      m.X = e.button.x;
      m.Y = e.button.y;
      Application().PostMessage(m);
      break;
    }
    case SDL_MOUSEMOTION: {
      FButtons = e.motion.state;
      TWindow* w = Find(e.motion.windowID);
      if (!w) break;
      TMessage m;
      m.Kind = TMessage::MouseMove;
      m.Form = w->Form;
      m.Shift = ShiftOf(SDL_GetModState());
      AddButtons(m.Shift, FButtons);
      m.X = e.motion.x;
      m.Y = e.motion.y;
      Application().PostMessage(m);
      break;
    }
    case SDL_MOUSEWHEEL: {
      TWindow* w = Find(e.wheel.windowID);
      if (!w || e.wheel.y == 0) break;
      TMessage m;
      m.Kind = TMessage::MouseWheel;
      m.Form = w->Form;
      m.Shift = ShiftOf(SDL_GetModState());
      AddButtons(m.Shift, FButtons);
      int flip = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
      m.WheelDelta = ClampExtent(int64_t{e.wheel.y} * flip * WHEEL_DELTA);
#if SDL_VERSION_ATLEAST(2, 26, 0)
      m.X = e.wheel.mouseX;
      m.Y = e.wheel.mouseY;
#else
      // The pointer is over the window the wheel turned in, which has the mouse focus.
      SDL_GetMouseState(&m.X, &m.Y);
#endif
      Application().PostMessage(m);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(e);
      break;
    case SDL_TEXTINPUT: {
      // X reports the letter of a shortcut as text too (Alt+F types "f"); a shortcut types
      // nothing.
      if (FShortcutDown) {
        FShortcutDown = false;
        break;
      }
      TMessage m;
      m.Kind = TMessage::TextInput;
      if (e.text.windowID != 0) {
        TWindow* w = Find(e.text.windowID);
        if (!w) break;
        m.Form = w->Form;
      }
      m.Text = e.text.text;
      Application().PostMessage(m);
      break;
    }
    default:
      break;
  }
}

void TWindowBackend::HandleKey(const SDL_Event& e) {
  bool down = e.type == SDL_KEYDOWN;
  // Ctrl or the left Alt make a key a shortcut; the right Alt is AltGr on many layouts, which
  // types (€ on a German keyboard).
  if (down) FShortcutDown = (e.key.keysym.mod & (KMOD_CTRL | KMOD_LALT)) != 0;
  // Keys reach the window with the keyboard focus; with none, the active form.
  TForm* form = nullptr;
  if (e.key.windowID != 0) {
    TWindow* w = Find(e.key.windowID);
    if (!w) return;
    form = w->Form;
  }
  uint16_t vk = VirtualKey(e.key.keysym.sym);
  if (vk == 0) return;
  TMessage m;
  m.Kind = down ? TMessage::KeyDown : TMessage::KeyUp;
  m.Form = form;
  m.Key = vk;
  m.Shift = ShiftOf(e.key.keysym.mod);
  // With Ctrl or Alt a key is a shortcut (Alt+N presses "&Next") and types nothing. A held
  // key repeats as further key downs, each typing again.
  if (down && !m.Shift.Contains(ssCtrl) && !m.Shift.Contains(ssAlt))
    m.Char = ControlChar(e.key.keysym.sym);
  Application().PostMessage(m);
}

bool TWindowBackend::KeyDown(uint16_t vk) const {
  if (TBackend::KeyDown(vk)) return true;
  SDL_Keymod mod = SDL_GetModState();
  switch (vk) {
    case VK_SHIFT:
      return (mod & KMOD_SHIFT) != 0;
    case VK_CONTROL:
      return (mod & KMOD_CTRL) != 0;
    case VK_MENU:
      return (mod & KMOD_ALT) != 0;
    default:
      break;
  }
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  auto held = [&](SDL_Keycode key) {
    SDL_Scancode sc = SDL_GetScancodeFromKey(key);
    return sc > SDL_SCANCODE_UNKNOWN && static_cast<int>(sc) < count && state[sc] != 0;
  };
  if (vk >= 'A' && vk <= 'Z') return held(SDLK_a + (vk - 'A'));
  if (vk >= '0' && vk <= '9') return held(SDLK_0 + (vk - '0'));
  if (vk >= VK_F1 && vk < VK_F1 + 12) return held(SDLK_F1 + (vk - VK_F1));
  for (const TKeyPair& p : kNamedKeys)
    if (p.Vk == vk && held(p.Sdl)) return true;
  return false;
}

}  // namespace zelvar

#if defined(__SANITIZE_ADDRESS__)
#define ZELVAR_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELVAR_LEAK_CHECKED 1
#endif
#endif

#ifdef ZELVAR_LEAK_CHECKED
// D-Bus, which SDL starts for input methods, keeps a little global state for the life of the
// process: only dbus_shutdown frees it, and SDL leaves that to whoever owns the whole process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
// A suppression that matched is no news: the program's error output stays its own.
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif

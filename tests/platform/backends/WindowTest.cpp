// The window backend in this process on a virtual X server of the test's own: what it makes of
// SDL's events, and what the windows show.

#include "platform/backends/Window.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/backends/VirtualDisplay.h"
#include "tests/platform/backends/XlibProbe.h"
#include "zelvar/window.h"

namespace zelvar::test {
namespace {

// A focusable control that logs what reaches it.
class TWindowProbe : public TCustomControl {
  ZELVAR_CLASS(TWindowProbe, TCustomControl)

 public:
  explicit TWindowProbe(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  std::vector<std::string> Log;

  void KeyDown(uint16_t& key, TShiftState shift) override {
    Log.push_back("down " + std::to_string(key) + Text(shift));
  }
  void KeyUp(uint16_t& key, TShiftState shift) override {
    Log.push_back("up " + std::to_string(key) + Text(shift));
  }
  void KeyPress(char32_t& c) override {
    Log.push_back("char " + std::to_string(static_cast<uint32_t>(c)));
  }
  bool DoMouseWheel(TShiftState shift, int32_t delta, TPoint at) override {
    Log.push_back("wheel " + std::to_string(delta) + At(at.X, at.Y) + Text(shift));
    return true;
  }
  bool CMDialogChar(char letter) override {
    Log.push_back(std::string("accel ") + letter);
    return true;
  }
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    Log.push_back("press " + Text(button) + At(x, y) + Text(shift));
  }
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    Log.push_back("release " + Text(button) + At(x, y) + Text(shift));
  }
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override {
    Log.push_back("move" + At(x, y) + Text(shift));
  }

 private:
  static std::string At(int32_t x, int32_t y) {
    return " " + std::to_string(x) + "," + std::to_string(y);
  }
  static std::string Text(TMouseButton b) {
    return b == mbLeft ? "left" : b == mbRight ? "right" : "middle";
  }
  static std::string Text(TShiftState s) {
    static const std::pair<TShiftStateFlag, const char*> names[] = {
        {ssShift, "shift"}, {ssAlt, "alt"},       {ssCtrl, "ctrl"},    {ssLeft, "left"},
        {ssRight, "right"}, {ssMiddle, "middle"}, {ssDouble, "double"}};
    std::string r;
    for (const auto& [flag, name] : names)
      if (s.Contains(flag)) r += std::string(" +") + name;
    return r;
  }
};

const TClassInfo& TWindowProbe::StaticClassInfo() {
  static const auto info = TClassBuilder<TWindowProbe>("TWindowProbe").Build();
  return *info;
}

// Pushes an event once the patience has run out, unless it goes first: a modal loop that
// nothing else would end fails its test instead of hanging it.
class TWatchdog {
 public:
  explicit TWatchdog(SDL_Event e)
      : FThread([this, e]() mutable {
          std::unique_lock lock(FMutex);
          if (!FWake.wait_for(lock, kPatience, [this] { return FDone; })) SDL_PushEvent(&e);
        }) {}
  ~TWatchdog() {
    {
      std::lock_guard lock(FMutex);
      FDone = true;
    }
    FWake.notify_all();
    FThread.join();
  }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

 private:
  std::mutex FMutex;
  std::condition_variable FWake;
  bool FDone = false;
  std::thread FThread;  // last: it starts once the rest is ready
};

// The test's X server as the display SDL opens, and no backend installed before or after.
class WindowOnDisplay : public WindowTestBase {
 protected:
  void SetUp() override {
    WindowTestBase::SetUp();
    if (HasFatalFailure()) return;
    Display.emplace("DISPLAY", Server->Display().c_str());
    Wayland.emplace("WAYLAND_DISPLAY", nullptr);
    Driver.emplace("SDL_VIDEODRIVER", "x11");
    Application().SetBackend(nullptr);
  }
  void TearDown() override {
    Application().SetBackend(nullptr);
    Driver.reset();
    Wayland.reset();
    Display.reset();
    WindowTestBase::TearDown();
  }

  std::optional<TEnvVar> Display, Wayland, Driver;
};

class WindowBackend : public WindowOnDisplay {
 protected:
  void SetUp() override {
    WindowOnDisplay::SetUp();
    if (HasFatalFailure()) return;
    std::string why;
    std::unique_ptr<TBackend> backend = OpenWindowBackend(&why);
    ASSERT_TRUE(backend) << "no window backend on " << Server->Display() << ": " << why;
    Backend = dynamic_cast<TWindowBackend*>(backend.get());
    ASSERT_NE(Backend, nullptr);
    Application().SetBackend(std::move(backend));
  }
  void TearDown() override {
    for (auto it = Forms.rbegin(); it != Forms.rend(); ++it) delete *it;
    Forms.clear();
    WindowOnDisplay::TearDown();
  }

  TForm* MakeForm(const std::string& name, int w, int h) {
    TForm* f = New<TForm>(nullptr);
    Forms.push_back(f);
    f->SetName(name);
    f->SetCaption(name + " caption");
    f->SetBorderStyle(bsDialog);
    f->SetClientWidth(w);
    f->SetClientHeight(h);
    return f;
  }
  SDL_Window* WindowOf(const TForm* form) {
    uint32_t id = Backend->WindowID(form);
    return id ? SDL_GetWindowFromID(id) : nullptr;
  }
  // Lets the backend turn what SDL has into messages and the form handle them, until done()
  // or the patience runs out.
  template <class F>
  bool PumpUntil(F done) {
    auto deadline = Clock::now() + kPatience;
    while (!done()) {
      if (Clock::now() >= deadline) return false;
      Application().HandleMessage();
    }
    return true;
  }
  void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
  SDL_Event Key(uint32_t type, SDL_Keycode sym, uint16_t mod, uint32_t window) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = window;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    e.key.keysym.mod = mod;
    return e;
  }
  SDL_Event Button(uint32_t type, uint8_t button, int x, int y, uint8_t clicks, uint32_t window) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = window;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
  SDL_Event Close(uint32_t window) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = window;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    return e;
  }

  TWindowBackend* Backend = nullptr;
  std::vector<TForm*> Forms;
};

TEST_F(WindowBackend, WindowShowsTheClientAreaUnderTheCaption) {
  TForm* form = MakeForm("Shown", 200, 100);
  form->SetColor(RGB(255, 0, 0));
  form->Show();
  SDL_Window* window = WindowOf(form);
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Shown caption");
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 100);

  // What the window shows: the software renderer draws on the window's surface.
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  ASSERT_NE(surface, nullptr) << SDL_GetError();
  auto pixel = [&](int x, int y) {
    SDL_LockSurface(surface);
    Uint32 v = 0;
    std::memcpy(&v,
                static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                    x * surface->format->BytesPerPixel,
                surface->format->BytesPerPixel);
    SDL_UnlockSurface(surface);
    Uint8 r, g, b;
    SDL_GetRGB(v, surface->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
  };
  EXPECT_EQ(pixel(0, 0), 0xFF0000);
  EXPECT_EQ(pixel(199, 99), 0xFF0000);

  // The caption changes with a wizard's page: the title follows.
  form->SetCaption("Another caption");
  Application().HandleMessage();
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Another caption");

  form->Hide();
  EXPECT_EQ(Backend->WindowID(form), 0u);
}

TEST_F(WindowBackend, KeysAndMouseArriveAsMessages) {
  TForm* form = MakeForm("Input", 200, 100);
  auto* probe = New<TWindowProbe>(form);
  probe->SetBounds(10, 10, 100, 50);
  probe->SetParent(form);
  form->Show();
  ASSERT_EQ(form->ActiveControl(), probe);
  uint32_t id = Backend->WindowID(form);
  ASSERT_NE(id, 0u);

  // What a key prints comes as text input of its own, behind the key down.
  auto typed = [&](const char* utf8) {
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = id;
    std::strcpy(text.text.text, utf8);
    Push(text);
  };
  Push(Key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT, id));
  typed("A");
  Push(Key(SDL_KEYUP, SDLK_a, KMOD_LSHIFT, id));
  // Alt+N is an accelerator, and types nothing.
  Push(Key(SDL_KEYDOWN, SDLK_n, KMOD_LALT, id));
  Push(Key(SDL_KEYDOWN, SDLK_SEMICOLON, KMOD_LSHIFT, id));
  typed(":");
  // Text from an input method (or a dead key) needs no key of its own, and may be several
  // characters, each its own key press: "ü€".
  typed("\xC3\xBC\xE2\x82\xAC");
  Push(Key(SDL_KEYDOWN, SDLK_F5, KMOD_NONE, id));
  Push(Key(SDL_KEYDOWN, SDLK_LEFT, KMOD_NONE, id));
  Push(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LCTRL, id));
  Push(Key(SDL_KEYDOWN, SDLK_BACKSPACE, KMOD_NONE, id));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 25, 1, id));
  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 25, 1, id));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 25, 2, id));
  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 25, 2, id));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 11, 12, 1, id));
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.windowID = id;
  wheel.wheel.y = -2;  // two notches toward the user
  wheel.wheel.mouseX = 40;
  wheel.wheel.mouseY = 30;
  Push(wheel);

  auto notMoves = [&] {
    std::vector<std::string> r;
    for (const std::string& s : probe->Log)
      if (!s.starts_with("move")) r.push_back(s);
    return r;
  };
  const std::vector<std::string> want = {
      "down 65 +shift",
      "char 65",
      "up 65 +shift",
      "accel N",
      "down 186 +shift",
      "char 58",
      "char 252",
      "char 8364",
      "down 116",
      "down 37",
      "down 13 +ctrl",
      "down 8",
      "char 8",
      "press left 20,15 +left",
      "release left 20,15",
      "press left 20,15 +left +double",
      "release left 20,15",
      "press right 1,2 +right",
      "wheel -240 30,20 +right",
  };
  PumpUntil([&] { return notMoves().size() >= want.size(); });
  EXPECT_EQ(notMoves(), want);
}

TEST_F(WindowBackend, ClosingAWindowAnswersCancelForTheActiveFormOnly) {
  TForm* lower = MakeForm("Lower", 200, 100);
  TForm* upper = MakeForm("Upper", 120, 80);
  lower->Show();
  upper->Show();
  uint32_t lowerId = Backend->WindowID(lower), upperId = Backend->WindowID(upper);
  ASSERT_NE(lowerId, 0u);
  ASSERT_NE(upperId, 0u);

  // The form under the modal one takes no answer while that one is up.
  Push(Close(lowerId));
  Application().HandleMessage();
  EXPECT_EQ(lower->ModalResult(), mrNone);

  Push(Close(upperId));
  EXPECT_TRUE(PumpUntil([&] { return upper->ModalResult() != mrNone; }));
  EXPECT_EQ(upper->ModalResult(), mrCancel);
  EXPECT_EQ(lower->ModalResult(), mrNone);
}

TEST_F(WindowBackend, ModalLoopEndsWhenItsWindowIsClosed) {
  TForm* form = MakeForm("Modal", 160, 90);
  // The close request arrives while the loop waits: from a key the form sees first.
  form->SetKeyPreview(true);
  form->OnKeyDown = TKeyEvent([&](TObject*, uint16_t& key, TShiftState) {
    if (key == VK_F1 + 1) Push(Close(Backend->WindowID(form)));
    if (key == VK_F1 + 3) form->SetModalResult(mrAbort);
  });
  // Before the window exists: a key for no window goes to the active form.
  form->OnShow = TNotifyEvent([&](TObject*) { Push(Key(SDL_KEYDOWN, SDLK_F2, KMOD_NONE, 0)); });
  TWatchdog watchdog(Key(SDL_KEYDOWN, SDLK_F4, KMOD_NONE, 0));
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(Backend->WindowID(form), 0u);
}

// SDL's own wait on X has every event that comes meanwhile send a wake-up to one of the
// windows, over a second connection to the server; one that reaches the server after that
// window is gone fails. The backend waits without them.
TEST_F(WindowBackend, WaitingSendsNothingToTheWindows) {
  TForm* form = MakeForm("Quiet", 120, 80);
  form->Show();
  SDL_Window* window = WindowOf(form);
  ASSERT_NE(test::XWindowOf(window), 0u);
  test::TWakeupCounter wakeups(window);
  // Events from another thread while the loop waits, as a watchdog's come.
  std::atomic<bool> done = false;
  std::thread pusher([&] {
    for (int i = 0; i < 10; ++i) {
      std::this_thread::sleep_for(30ms);
      SDL_Event e{};
      e.type = SDL_USEREVENT;
      SDL_PushEvent(&e);
    }
    done = true;
  });
  auto deadline = Clock::now() + kPatience;
  while (!done && Clock::now() < deadline) Application().HandleMessage();
  pusher.join();
  for (int i = 0; i < 3; ++i) Application().HandleMessage();
  EXPECT_EQ(wakeups.Count(), 0);
}

// A request about a window that is gone fails on the server: the program hears of it as an
// exception from its loop, once, and goes on.
TEST_F(WindowBackend, XErrorIsAnExceptionNotTheEndOfTheProgram) {
  TForm* stays = MakeForm("Stays", 120, 80);
  TForm* gone = MakeForm("Gone", 100, 60);
  stays->Show();
  gone->Show();
  unsigned long xwindow = test::XWindowOf(WindowOf(gone));
  ASSERT_NE(xwindow, 0u);
  // A hidden form's window is destroyed with the hiding.
  gone->Hide();
  EXPECT_EQ(WindowOf(gone), nullptr);
  test::SendClientMessage(WindowOf(stays), xwindow);
  try {
    Application().HandleMessage();
    ADD_FAILURE() << "the X error was not reported";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(e.Message().find("BadWindow"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("X_SendEvent"), std::string::npos) << e.Message();
  }
  EXPECT_NO_THROW(Application().HandleMessage());
  EXPECT_NE(WindowOf(stays), nullptr);
}

TEST_F(WindowBackend, AsyncKeyStateFollowsTheKeyboard) {
  TForm* form = MakeForm("Keys", 200, 100);
  form->Show();
  ASSERT_NE(Backend->WindowID(form), 0u);
  // The window gets the keyboard, as a click on it would give it.
  std::string xid = WaitForWindow("^Keys caption$");
  ASSERT_FALSE(xid.empty()) << "the window is not on the X server";
  ASSERT_EQ(Xdo("windowfocus --sync " + xid).Status, 0);

  auto held = [](int32_t vk) { return GetAsyncKeyState(vk) < 0; };
  ASSERT_EQ(Xdo("keydown shift keydown a").Status, 0);
  EXPECT_TRUE(PumpUntil([&] { return held(VK_SHIFT) && held('A'); }));
  EXPECT_FALSE(held(VK_CONTROL));
  EXPECT_FALSE(held('B'));
  ASSERT_EQ(Xdo("keyup a keyup shift").Status, 0);
  EXPECT_TRUE(PumpUntil([&] { return !held(VK_SHIFT) && !held('A'); }));
}

// A program that includes <zelvar/window.h> and installs no backend: its first modal loop
// opens the window backend on the display it is given.
class WindowByDefault : public WindowOnDisplay {};

TEST_F(WindowByDefault, ShowModalOpensAWindowWithNoBackendInstalled) {
  EXPECT_EQ(RegisteredWindowBackend(), &OpenWindowBackend);
  std::unique_ptr<TForm> form(New<TForm>(nullptr));
  form->SetName("Plain");
  auto* timer = New<TTimer>(form.get());
  timer->SetInterval(10);
  uint32_t window = 0;
  timer->OnTimer = [&](TObject*) {
    if (auto* backend = dynamic_cast<TWindowBackend*>(&Application().Backend()))
      window = backend->WindowID(form.get());
    form->SetModalResult(mrOk);
  };
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  TWatchdog watchdog(quit);
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_NE(window, 0u);
}

// An X server started with -dpi 192, as on a fine screen.
class WindowOnFineDisplay : public WindowOnDisplay {
 protected:
  WindowOnFineDisplay() { XvfbOptions = {"-dpi", "192"}; }
};

TEST_F(WindowOnFineDisplay, FormsReadBeforeTheLoopScaleToTheDisplaysPixelsPerInch) {
  EXPECT_EQ(DisplayPixelsPerInch(), 192);
  // No backend is open yet: the display is asked, as <zelvar/window.h> registered it.
  EXPECT_EQ(Application().PixelsPerInch(), 192);
  {
    TEnvVar screen("ZELVAR_DPI", "120");
    EXPECT_EQ(Application().PixelsPerInch(), 120);
  }
  RegisterClasses<TForm, TPanel>();
  TForm designed(nullptr);
  designed.SetClientWidth(200);
  auto* panel = New<TPanel>(&designed);
  panel->SetParent(&designed);
  panel->SetBounds(10, 10, 50, 20);
  std::unique_ptr<TForm> form(As<TForm>(ReadComponent(WriteComponent(&designed))));
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(As<TPanel>(form->Controls(0))->BoundsRect(), Rect(20, 20, 120, 60));

  Application().EnsureBackend();
  EXPECT_EQ(Application().Backend().PixelsPerInch(), 192);
}

}  // namespace
}  // namespace zelvar::test

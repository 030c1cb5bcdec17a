// The window backend on a virtual X server of the test's own: `zelvar run FORM` driven with
// xdotool as a user drives it, and, in process, what the backend makes of SDL's events.

#include "platform/backends/Window.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "tests/TestSupport.h"
#include "tests/tools/XlibProbe.h"

extern char** environ;

namespace zelvar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::Slurp;

// How long anything on the X server may take; generous, as the sanitizer build is slow.
constexpr auto kPatience = 20s;

std::string Errno(const char* what, int error) {
  return std::string(what) + ": " + std::strerror(error);
}

// A process of the test's; killed if it still runs when this goes.
class TChild {
 public:
  TChild() = default;
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  ~TChild() { Stop(SIGKILL); }

  // Starts argv (looked up on PATH) with this environment, standard output to out and error to
  // err; closeFd is closed in the child. False with the reason in *why.
  bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
             const fs::path& out, const fs::path& err, std::string* why, int closeFd = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err == out)
      posix_spawn_file_actions_adddup2(&actions, 1, 2);
    else
      posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0644);
    if (closeFd >= 0) posix_spawn_file_actions_addclose(&actions, closeFd);
    std::vector<char*> args, vars;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& v : env) vars.push_back(const_cast<char*>(v.c_str()));
    vars.push_back(nullptr);
    int rc = posix_spawnp(&FPid, argv[0].c_str(), &actions, nullptr, args.data(), vars.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
      FPid = -1;
      *why = Errno(argv[0].c_str(), rc);
      return false;
    }
    return true;
  }

  // The status (as waitpid gives it) once the process ends within timeout; nullopt otherwise.
  std::optional<int> Wait(Clock::duration timeout) {
    if (FPid < 0) return FStatus;
    auto deadline = Clock::now() + timeout;
    for (;;) {
      int status = 0;
      pid_t r = ::waitpid(FPid, &status, WNOHANG);
      if (r == FPid || (r < 0 && errno != EINTR)) {
        FPid = -1;
        FStatus = status;
        return FStatus;
      }
      if (Clock::now() >= deadline) return std::nullopt;
      std::this_thread::sleep_for(20ms);
    }
  }

  void Stop(int signal) {
    if (FPid < 0) return;
    ::kill(FPid, signal);
    if (!Wait(5s)) {
      ::kill(FPid, SIGKILL);
      Wait(5s);
    }
  }

 private:
  pid_t FPid = -1;
  std::optional<int> FStatus;
};

// The environment minus the variables that would choose a display.
std::vector<std::string> EnvironmentFor(const std::string& display) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string_view v(*e);
    if (v.starts_with("DISPLAY=") || v.starts_with("WAYLAND_DISPLAY=") ||
        v.starts_with("SDL_VIDEODRIVER="))
      continue;
    env.emplace_back(v);
  }
  if (!display.empty()) {
    env.push_back("DISPLAY=" + display);
    env.push_back("SDL_VIDEODRIVER=x11");
  }
  return env;
}

// An Xvfb server on a display number that it picks itself (-displayfd), so that tests that
// run at the same time never share one, and that is ready once the number is known.
class TXvfb {
 public:
  explicit TXvfb(const fs::path& dir) {
    int fds[2];
    if (::pipe(fds) != 0) {
      FError = Errno("pipe", errno);
      return;
    }
    fs::path log = dir / "xvfb.log";
    bool started = FServer.Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                  "1024x768x24", "-nolisten", "tcp", "-noreset"},
                                 EnvironmentFor(""), log, log, &FError, fds[0]);
    ::close(fds[1]);
    if (started) ReadDisplay(fds[0], log);
    ::close(fds[0]);
    if (!FError.empty()) FError = "cannot start Xvfb (scripts/install-deps installs it): " + FError;
  }
  ~TXvfb() { FServer.Stop(SIGTERM); }

  const std::string& Error() const { return FError; }
  const std::string& Display() const { return FDisplay; }

 private:
  void ReadDisplay(int fd, const fs::path& log) {
    std::string number;
    auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
      pollfd p{fd, POLLIN, 0};
      int left = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
      if (::poll(&p, 1, std::max(left, 1)) <= 0) continue;
      char c = 0;
      ssize_t n = ::read(fd, &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        FError = "it ended before it was ready: " + Slurp(log);
        return;
      }
      if (c == '\n') {
        FDisplay = ":" + number;
        return;
      }
      number += c;
    }
    FError = "it did not report a display within " +
             std::to_string(std::chrono::seconds(kPatience).count()) + " s: " + Slurp(log);
  }

  TChild FServer;
  std::string FError;
  std::string FDisplay;
};

struct TOutput {
  int Status = -1;
  std::string Text;  // standard output and error, without a final newline
};

// Runs a shell command; stops it after the patience runs out.
TOutput Shell(const std::string& command) {
  std::string full = "timeout " + std::to_string(std::chrono::seconds(kPatience).count()) + " " +
                     command + " 2>&1";
  TOutput r;
  FILE* p = ::popen(full.c_str(), "r");
  if (!p) return {-1, Errno("popen", errno)};
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.Text.append(buf, n);
  int raw = ::pclose(p);
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  while (!r.Text.empty() && r.Text.back() == '\n') r.Text.pop_back();
  return r;
}

// Sets an environment variable for the life of this object.
class TEnvVar {
 public:
  TEnvVar(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~TEnvVar() {
    if (FOld)
      ::setenv(FName.c_str(), FOld->c_str(), 1);
    else
      ::unsetenv(FName.c_str());
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  std::string FName;
  std::optional<std::string> FOld;
};

// Each test has its own folder and its own X server.
class WindowTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) /
          ("window-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Server = std::make_unique<TXvfb>(Dir);
    ASSERT_TRUE(Server->Error().empty()) << Server->Error();
  }
  void TearDown() override {
    Server.reset();
    fs::remove_all(Dir);
  }

  TOutput Xdo(const std::string& args) {
    return Shell("env DISPLAY=" + Server->Display() + " xdotool " + args);
  }
  // The id of the first visible window whose title matches pattern, once there is one.
  std::string WaitForWindow(const std::string& pattern) {
    TOutput r = Xdo("search --sync --onlyvisible --name '" + pattern + "'");
    if (r.Status != 0) return "";
    return r.Text.substr(0, r.Text.find('\n'));
  }
  std::string Title(const std::string& id) { return Xdo("getwindowname " + id).Text; }
  // The title once it reads want, or the last one seen when the patience runs out.
  std::string WaitForTitle(const std::string& id, const std::string& want) {
    auto deadline = Clock::now() + kPatience;
    std::string seen;
    while (Clock::now() < deadline) {
      seen = Title(id);
      if (seen == want) break;
      std::this_thread::sleep_for(50ms);
    }
    return seen;
  }

  fs::path Dir;
  std::unique_ptr<TXvfb> Server;
};

// =============================================================================================
// `zelvar run FORM` in a window

class WindowRun : public WindowTestBase {
 protected:
  void SetUp() override {
    WindowTestBase::SetUp();
    if (HasFatalFailure()) return;
    fs::copy_file(std::string(ZELVAR_TEST_DATA) + "/scripts/wizard.txt", Dir / "wizard.txt");
  }
  void TearDown() override {
    Zelvar.Stop(SIGKILL);
    WindowTestBase::TearDown();
  }

  void StartZelvar(const std::string& form) {
    std::string why;
    ASSERT_TRUE(Zelvar.Start({ZELVAR_TOOL, "run", form}, EnvironmentFor(Server->Display()),
                             Dir / "out", Dir / "err", &why))
        << why;
  }
  // The exit status once zelvar has ended; fails the test when it does not.
  int WaitForZelvar() {
    std::optional<int> status = Zelvar.Wait(kPatience);
    if (!status) {
      ADD_FAILURE() << "zelvar still runs; it wrote: " << Slurp(Dir / "out") << Slurp(Dir / "err");
      return -1;
    }
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
  }

  struct TPlace {
    int ClientWidth = 0, ClientHeight = 0;  // of the form
    int X = 0, Y = 0;                       // the centre of Next, in client coordinates
  };
  // Where the wizard's Next button is on page 1, as the headless runner lays the wizard out:
  // the window must put it at the same place.
  TPlace NextButtonPlace() {
    std::ofstream(Dir / "place.zs") << "load wizard.txt\n"
                                       "execute Zelvar1 1\n"
                                       "print Form1.ClientWidth\n"
                                       "print Form1.ClientHeight\n"
                                       "print NextButton.Parent\n"
                                       "print Zelvar1.Parent\n"
                                       "print Zelvar1.Left\n"
                                       "print Zelvar1.Top\n"
                                       "print NextButton.Left\n"
                                       "print NextButton.Top\n"
                                       "print NextButton.Width\n"
                                       "print NextButton.Height\n"
                                       "key Escape\n";
    test::TRun r = test::RunZelvar("run --script " + (Dir / "place.zs").string(), Dir / "place");
    EXPECT_EQ(r.Status, 0) << r.Err;
    std::map<std::string, std::string> values;
    std::istringstream lines(r.Out);
    for (std::string line; std::getline(lines, line);)
      if (auto eq = line.find(" = "); eq != std::string::npos)
        values[line.substr(0, eq)] = line.substr(eq + 3);
    EXPECT_EQ(values["NextButton.Parent"], "Zelvar1") << r.Out;
    EXPECT_EQ(values["Zelvar1.Parent"], "Form1") << r.Out;
    auto get = [&](const char* name) { return std::atoi(values[name].c_str()); };
    return {get("Form1.ClientWidth"), get("Form1.ClientHeight"),
            get("Zelvar1.Left") + get("NextButton.Left") + get("NextButton.Width") / 2,
            get("Zelvar1.Top") + get("NextButton.Top") + get("NextButton.Height") / 2};
  }

  TChild Zelvar;
};

TEST_F(WindowRun, WizardFollowsClicksAndKeysUntilEscape) {
  TPlace next = NextButtonPlace();
  // Next is 90 x 25 at the bottom right: left = width - 94, top = height - 28.
  EXPECT_EQ(next.X, next.ClientWidth - 94 + 45);
  EXPECT_EQ(next.Y, next.ClientHeight - 28 + 12);

  StartZelvar((Dir / "wizard.txt").string());
  std::string id = WaitForWindow("^Wizard");
  ASSERT_FALSE(id.empty()) << "no wizard window appeared; zelvar wrote: " << Slurp(Dir / "err");
  EXPECT_EQ(Title(id), "Wizard - Page 1 of 3");
  TOutput geometry = Xdo("getwindowgeometry " + id);
  std::string size = std::to_string(next.ClientWidth) + "x" + std::to_string(next.ClientHeight);
  EXPECT_NE((geometry.Text + "\n").find("Geometry: " + size + "\n"), std::string::npos)
      << geometry.Text;

  TOutput click = Xdo("mousemove --sync --window " + id + " " + std::to_string(next.X) + " " +
                      std::to_string(next.Y) + " click 1");
  EXPECT_EQ(click.Status, 0) << click.Text;
  EXPECT_EQ(WaitForTitle(id, "Wizard - Page 2 of 3"), "Wizard - Page 2 of 3");

  // "&Next": Alt+N presses it.
  TOutput alt = Xdo("key --window " + id + " alt+n");
  EXPECT_EQ(alt.Status, 0) << alt.Text;
  EXPECT_EQ(WaitForTitle(id, "Wizard - Page 3 of 3"), "Wizard - Page 3 of 3");

  TOutput escape = Xdo("keydown --window " + id + " Escape");
  EXPECT_EQ(escape.Status, 0) << escape.Text;
  EXPECT_EQ(WaitForZelvar(), 0);
  EXPECT_EQ(Slurp(Dir / "out"), "result = mrCancel\n");
  EXPECT_EQ(Slurp(Dir / "err"), "");
}

TEST_F(WindowRun, BadFormFileIsReportedWithADisplay) {
  std::ofstream(Dir / "bad.txt") << "object Form1: TForm\n  Caption = \n";
  std::string bad = (Dir / "bad.txt").string();
  StartZelvar(bad);
  EXPECT_EQ(WaitForZelvar(), 1);
  std::string err = Slurp(Dir / "err");
  EXPECT_EQ(err.rfind("zelvar: " + bad + ": ", 0), 0u) << err;
  EXPECT_EQ(Slurp(Dir / "out"), "");
}

// =============================================================================================
// The backend in this process, fed SDL events

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
  void KeyPress(char& c) override { Log.push_back("char " + std::to_string(c)); }
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

class WindowBackend : public WindowTestBase {
 protected:
  void SetUp() override {
    WindowTestBase::SetUp();
    if (HasFatalFailure()) return;
    Display.emplace("DISPLAY", Server->Display().c_str());
    Wayland.emplace("WAYLAND_DISPLAY", nullptr);
    Driver.emplace("SDL_VIDEODRIVER", "x11");
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
    Application().SetBackend(nullptr);
    Driver.reset();
    Wayland.reset();
    Display.reset();
    WindowTestBase::TearDown();
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

  std::optional<TEnvVar> Display, Wayland, Driver;
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

  Push(Key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT, id));
  Push(Key(SDL_KEYUP, SDLK_a, KMOD_LSHIFT, id));
  // Alt+N is an accelerator, and types nothing.
  Push(Key(SDL_KEYDOWN, SDLK_n, KMOD_LALT, id));
  // The text SDL reports right behind its key travels with it.
  Push(Key(SDL_KEYDOWN, SDLK_SEMICOLON, KMOD_LSHIFT, id));
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  text.text.windowID = id;
  std::strcpy(text.text.text, ":");
  Push(text);
  Push(Key(SDL_KEYDOWN, SDLK_F5, KMOD_NONE, id));
  Push(Key(SDL_KEYDOWN, SDLK_LEFT, KMOD_NONE, id));
  Push(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LCTRL, id));
  Push(Key(SDL_KEYDOWN, SDLK_BACKSPACE, KMOD_NONE, id));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 25, 1, id));
  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 25, 1, id));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 25, 2, id));
  Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 25, 2, id));
  Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 11, 12, 1, id));

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

}  // namespace
}  // namespace zelvar

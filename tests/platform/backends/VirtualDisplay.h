#pragma once
// What the window tests share: processes of the test's own, an X server (Xvfb) for each test
// on a display of its own, and the fixture that gives every test a folder and a server.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/TestSupport.h"

namespace zelvar::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long anything on the X server may take; generous, as the sanitizer build is slow.
inline constexpr auto kPatience = 20s;

// The message of a failed system call: what failed and why.
std::string Errno(const char* what, int error);

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
std::vector<std::string> EnvironmentFor(const std::string& display);

// An Xvfb server on a display number that it picks itself (-displayfd), so that tests that
// run at the same time never share one, and that is ready once the number is known.
class TXvfb {
 public:
  explicit TXvfb(const fs::path& dir, const std::vector<std::string>& options = {}) {
    int fds[2];
    if (::pipe(fds) != 0) {
      FError = Errno("pipe", errno);
      return;
    }
    fs::path log = dir / "xvfb.log";
    std::vector<std::string> argv{"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                  "-screen",   "0",          "1024x768x24",
                                  "-nolisten", "tcp",        "-noreset"};
    argv.insert(argv.end(), options.begin(), options.end());
    bool started = FServer.Start(argv, EnvironmentFor(""), log, log, &FError, fds[0]);
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
TOutput Shell(const std::string& command);

// Each test has its own folder and its own X server.
class WindowTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) /
          ("window-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Server = std::make_unique<TXvfb>(Dir, XvfbOptions);
    ASSERT_TRUE(Server->Error().empty()) << Server->Error();
  }
  void TearDown() override {
    Server.reset();
    fs::remove_all(Dir);
  }
  // What the X server is started with besides the display and the screen (-dpi 192).
  std::vector<std::string> XvfbOptions;

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

}  // namespace zelvar::test

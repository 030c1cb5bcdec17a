#pragma once
// The bridge to AT-SPI2, the accessibility service of Linux desktops: a screen reader (Orca)
// or a test client (pyatspi) reaches the accessible tree (platform/controls/Accessibility.h)
// over D-Bus. Each node is an object at /org/a11y/atspi/accessible/<AccessibleId>, the
// application at /org/a11y/atspi/accessible/root, whose children are the shown forms; the
// hub's events go out as AT-SPI signals.
//
// The window backend starts it and dispatches it in each turn of its loop; nothing here
// waits. Without an accessibility bus the bridge is simply not there.

#include <cstdint>
#include <memory>
#include <string>

namespace zelvar {

class TForm;

class TAtSpiBridge {
 public:
  // Connects to the accessibility bus (AT_SPI_BUS_ADDRESS, or what org.a11y.Bus on the session
  // bus names) and registers the application; nullptr when there is no such bus, with the
  // reason in *why.
  static std::unique_ptr<TAtSpiBridge> Open(std::string* why = nullptr);
  ~TAtSpiBridge();
  TAtSpiBridge(const TAtSpiBridge&) = delete;
  TAtSpiBridge& operator=(const TAtSpiBridge&) = delete;

  // The connection's socket, for a loop to wait on alongside its own.
  int FileDescriptor() const;
  // Answers what has arrived, then runs the actions it asked for, and sends what is queued.
  // Never waits for the bus.
  void Dispatch();
  // A form's window opened or closed: the application's children change, and a screen reader
  // turns to the new window.
  void FormShown(TForm* form);
  void FormHidden(TForm* form);

  // How clients address the application's root and the nodes.
  static constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
  static std::string PathOfId(uint32_t id);
  // The id in a node's path; 0 for any other path.
  static uint32_t IdOfPath(const std::string& path);

  // The connection and what it serves (AtSpi.cpp).
  struct TState;

 private:
  explicit TAtSpiBridge(std::unique_ptr<TState> state);

  std::unique_ptr<TState> F;
};

}  // namespace zelvar

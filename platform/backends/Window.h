#pragma once
// The window backend: every shown form is a real window on SDL2 that shows the form's painted
// client area, titled with its caption. Mouse, wheel, keys and typed text on a window come
// back as messages in the form's client coordinates, with the toolkit's virtual key codes.
// It also gives the toolkit the system clipboard, the pointer's shapes and real time for
// timers.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"

union SDL_Event;
struct SDL_Cursor;
struct _XDisplay;  // Xlib's Display

namespace zelvar {

class TWindowBackend : public TBackend {
 public:
  ~TWindowBackend() override;
  TWindowBackend(const TWindowBackend&) = delete;
  TWindowBackend& operator=(const TWindowBackend&) = delete;

  // Waits a little for events, so that a modal loop sleeps instead of spinning, and posts
  // what they mean. Always true: a window may bring input later.
  bool WaitForInput() override;
  void FormShown(TForm* form) override;
  void FormHidden(TForm* form) override;
  void FormPainted(TForm* form) override;
  // The keyboard as SDL sees it, and keys held through SetKeyState.
  bool KeyDown(uint16_t vk) const override;
  void ShowCursor(TCursor cursor) override;
  // The display's pixels per inch: on X what the server reports (what it was started with,
  // as Xvfb's -dpi), elsewhere what SDL reads for the first display; taken to the nearest multiple
  // of 24, and 96 when it cannot tell.
  int32_t PixelsPerInch() const override;

  // The SDL window id of the window that shows form, or 0.
  uint32_t WindowID(const TForm* form) const;
  // How long WaitForInput waits for an event before it lets the loop look around.
  static constexpr int kWaitMilliseconds = 100;

 private:
  friend std::unique_ptr<TBackend> OpenWindowBackend(std::string* why);
  TWindowBackend();

  struct TWindow;
  TWindow* Find(const TForm* form) const;
  TWindow* Find(uint32_t id) const;
  void Present(TWindow& w);
  void SyncTitle(TWindow& w);
  // The next event, after waiting up to kWaitMilliseconds for one; false when none came.
  bool WaitForEvent(SDL_Event& e);
  void Handle(const SDL_Event& e);
  void HandleKey(const SDL_Event& e);
  // The timer queue's time: real milliseconds, continuing from where the queue's clock stood.
  uint64_t Clock() const;
  // How long to wait for an event: kWaitMilliseconds, or less when a timer falls due sooner.
  int WaitMilliseconds() const;

  std::vector<std::unique_ptr<TWindow>> FWindows;
  // The X display SDL draws on; null on another kind of display, or before the first window.
  ::_XDisplay* FDisplay = nullptr;
  uint32_t FButtons = 0;  // mouse buttons held, as SDL_BUTTON masks
  uint64_t FTickBase = 0;
  bool FShortcutDown = false;              // the last key down was a shortcut: its text is dropped
  std::array<SDL_Cursor*, 12> FCursors{};  // by SDL_SystemCursor, made when first shown
};

// A window backend on the display SDL finds (DISPLAY, WAYLAND_DISPLAY); nullptr when no
// display can be opened, with SDL's reason in *why.
std::unique_ptr<TBackend> OpenWindowBackend(std::string* why = nullptr);
// The pixels per inch of the display OpenWindowBackend would open, asked once per display
// and kept; 0 when no display can be opened.
int32_t DisplayPixelsPerInch();

}  // namespace zelvar

#pragma once
// What the window tests need to see of X under SDL, kept out of the tests themselves: Xlib's
// macros (Status, None, True...) would clash with ordinary names there.

#include <SDL2/SDL.h>

#include <atomic>

namespace zelvar::test {

// The X window under an SDL window; 0 when it is not on X.
unsigned long XWindowOf(SDL_Window* window);

// Sends a client message to xwindow on the X connection of via, and waits until the server has
// dealt with it (and any error it caused has been handled).
void SendClientMessage(SDL_Window* via, unsigned long xwindow);

// Counts, while it lives, SDL's wake-ups: the client messages SDL sends to its own windows to
// end a wait.
class TWakeupCounter {
 public:
  explicit TWakeupCounter(SDL_Window* any);
  ~TWakeupCounter();
  TWakeupCounter(const TWakeupCounter&) = delete;
  TWakeupCounter& operator=(const TWakeupCounter&) = delete;
  int Count() const { return FCount; }

 private:
  static int Watch(void* self, SDL_Event* e);
  unsigned long FAtom = 0;
  std::atomic<int> FCount = 0;
};

}  // namespace zelvar::test

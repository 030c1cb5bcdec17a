#include "tests/platform/backends/XlibProbe.h"

#include <SDL2/SDL_syswm.h>

namespace zelvar::test {

namespace {

Display* XDisplayOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return nullptr;
  return info.info.x11.display;
}

}  // namespace

unsigned long XWindowOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return info.info.x11.window;
}

void SendClientMessage(SDL_Window* via, unsigned long xwindow) {
  Display* display = XDisplayOf(via);
  if (!display) return;
  XClientMessageEvent e{};
  e.type = ClientMessage;
  e.window = xwindow;
  e.message_type = XInternAtom(display, "ZELVAR_PROBE", False);
  e.format = 32;
  XSendEvent(display, xwindow, False, NoEventMask, reinterpret_cast<XEvent*>(&e));
  XSync(display, False);
}

TWakeupCounter::TWakeupCounter(SDL_Window* any) {
  if (Display* display = XDisplayOf(any)) FAtom = XInternAtom(display, "_SDL_WAKEUP", False);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  SDL_AddEventWatch(&TWakeupCounter::Watch, this);
}

TWakeupCounter::~TWakeupCounter() {
  SDL_DelEventWatch(&TWakeupCounter::Watch, this);
  SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
}

int TWakeupCounter::Watch(void* self, SDL_Event* e) {
  auto* counter = static_cast<TWakeupCounter*>(self);
  if (e->type == SDL_SYSWMEVENT && e->syswm.msg && e->syswm.msg->subsystem == SDL_SYSWM_X11) {
    const XEvent& x = e->syswm.msg->msg.x11.event;
    if (x.type == ClientMessage && x.xclient.message_type == counter->FAtom) ++counter->FCount;
  }
  return 1;
}

}  // namespace zelvar::test

#pragma once
// Windows for an application. Including this header (and linking Zelvar::window) is all it
// takes: a modal loop (ShowModal, a wizard's Execute, Application().Run) of a program that has
// installed no backend then opens the window backend, one SDL2 window per shown form. Without
// it the toolkit links no window system, and such a loop fails saying so.
//
//   #include <zelvar/zelvar.h>
//   #include <zelvar/window.h>

#include "platform/backends/Window.h"
#include "platform/forms/Forms.h"

namespace zelvar::detail {

// Registers the window backend before main runs, in every program that includes this header.
inline const bool kWindowBackendRegistered = RegisterWindowBackend(&OpenWindowBackend);
// And how fine its display is, which forms are scaled to as they are read.
inline const bool kDisplayDpiRegistered = RegisterDisplayDpi(&DisplayPixelsPerInch);

}  // namespace zelvar::detail

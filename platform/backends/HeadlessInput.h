#pragma once
// Input that a program makes up instead of a user (a script's lines, an application's headless
// steps): the messages a window would deliver for a press, a key or typed text, so that made-up
// input takes the paths a user's does. Points are in the form's client coordinates; the form is
// the top one that holds the control (an embedded form's controls belong to their host's).

#include <cstdint>
#include <string_view>

#include "platform/forms/Forms.h"
#include "platform/forms/KeyNames.h"

namespace zelvar {

// Through the application's queue while any form is on screen; a form that nothing shows takes
// it directly, as it would if shown without a modal loop.
void DeliverInput(TForm& form, TMessage m);

// The point (x, y) in the control's own coordinates, in its form's client coordinates.
TPoint FormPoint(TForm& form, TControl& control, int32_t x, int32_t y);
// The centre of the control (of a form: of its client area), in its form's coordinates.
TPoint ControlCentre(TForm& form, TControl& control);

// Shift, Ctrl and Alt as the backend holds them.
TShiftState HeldShift();
// A mouse message's shift state as the window backend fills it: the held keys and the held
// buttons, the button a press presses included and the one a release releases left out.
TShiftState MouseShift(TMessage::TKind kind, TMouseButton button);

// A press and release at p; the press with ssDouble when it is the second of a double click.
void PressAt(TForm& form, TPoint p, TMouseButton button, bool second = false);
// Raises EComponentError, naming the control and the form, unless a press at the control's
// centre reaches it: it and its parents are visible and enabled, and nothing covers it there.
void RequireClickable(TForm& form, TControl& control);

// Key down, the text the key types, key up: what a window delivers for one key. A key of 0
// delivers the text alone.
void TypeKey(TForm& form, TMessage m, std::string_view text);
// Types UTF-8 text for the focused control, a key per character where a US keyboard has one
// (capitals with Shift); other characters come as text input alone, as from an input method.
void TypeChars(TForm& form, std::string_view text);
// Presses key with the modifiers (and those held): a control character travels on the key
// down, a printable one as text; with Ctrl or Alt nothing is typed, it is a shortcut.
void PressKey(TForm& form, TKeyName key, TShiftState modifiers);

}  // namespace zelvar

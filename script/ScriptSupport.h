#pragma once
// What the runner and its command tables share: the words of a line (integers, property
// paths, key names, colours) and the texts they print. Each is written once here, so every
// table reads and prints them alike; components by name are the toolkit's (FindComponentIn).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/core/Component.h"

namespace zelvar::script {

// The text of a modal result: mrOk, mrCancel, ... or the number.
std::string ModalResultText(int32_t result);

// A whole decimal integer; raises EScriptUsage for anything else.
int32_t ParseInt(const std::string& word);

// "Button1.Caption" into the component's name and the property path; raises EScriptUsage
// when either is missing.
std::pair<std::string, std::string> SplitPath(const std::string& path);

// Shift, Ctrl or Alt (any case) as its virtual key; raises EScriptUsage for anything else.
uint16_t ParseModifier(const std::string& name);

// The message of the exception being handled, to be called in a catch block: the toolkit's
// own, "out of memory" for an allocation that failed, or what any other exception says.
std::string CurrentErrorMessage();

// Colours as #RRGGBB: ColourText ignores the alpha byte; ParseColour raises EScriptUsage for
// anything but exactly six hex digits after the '#'.
std::string ColourText(uint32_t rgb);
uint32_t ParseColour(const std::string& word);

}  // namespace zelvar::script

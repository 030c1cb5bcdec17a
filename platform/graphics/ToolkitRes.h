#pragma once
// The toolkit's own images, in module "Toolkit", as Windows keeps its standard icons among the
// system's resources rather than an application's: the message box icons, 32 by 32, named as
// Windows names them: "IDI_WARNING", "IDI_ERROR", "IDI_INFORMATION" and "IDI_QUESTION". Their
// bottom-left pixel is the transparent colour.

#include "platform/graphics/Resources.h"

namespace zelvar {

// Registers the images on the first call; every call returns the same module.
HMODULE ToolkitModule();

}  // namespace zelvar

#pragma once
// The package's own images, in module "Zelvar": the bitmap-button glyphs of the wizard's button
// bar and the designer's palette images. Glyphs are two images side by side, the picture and
// its disabled look; the bottom-left pixel of each is the transparent colour.

#include "platform/graphics/Resources.h"

namespace zelvar {

// Registers the images on the first call; every call returns the same module.
HMODULE ZelvarModule();

}  // namespace zelvar

#pragma once
// Named bitmaps compiled into the program, looked up per module by name the way Windows'
// LoadBitmap finds a bitmap among a module's resources. A package registers its module and
// images once; controls then ask for them by the names their Windows counterparts used.

#include <string_view>

#include "platform/graphics/ImageData.h"

namespace zelvar {

struct TModule;
using HMODULE = const TModule*;
// Read-only and valid for the rest of the program, so holders never copy or free it.
using HBITMAP = const TImageData*;

// The module of that name, created on first use; names compare case-insensitively.
HMODULE RegisterModule(std::string_view name);

// Adds an image, or replaces the one of that name. Handles given out for a replaced image stay
// valid and keep showing the old picture. Raises EInvalidOperation for a null or unknown
// module, EInvalidGraphic when the pixels do not match the size.
void RegisterBitmapResource(HMODULE module, std::string_view name, TImageData image);

// nullptr for a null or unknown module or a name it does not hold; names compare
// case-insensitively, like Windows resource names.
HBITMAP LoadBitmapA(HMODULE module, std::string_view name);

}  // namespace zelvar

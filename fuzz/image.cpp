// Image files come from form files and disk: any bytes either fail with the toolkit's error or
// read into an image that writes out and reads back unchanged, as BMP and as PNG.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/graphics/Codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvar;
  TImageData image;
  try {
    image = ReadImage(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const Exception&) {
    return 0;
  }

  // A few bytes of RLE can describe megapixels; round trips of those only slow the search,
  // as nothing past the headers depends on the size.
  if (image.Pixels.size() > (1u << 20)) return 0;

  // What was read must write: an exception from here on escapes and counts as a crash.
  TImageData opaque = image;  // BMP keeps no alpha
  for (uint32_t& p : opaque.Pixels) p |= 0xFF000000;
  if (ReadBmp(WriteBmp(image)) != opaque) std::abort();
  if (!image.Pixels.empty() && ReadPng(WritePng(image)) != image) std::abort();
  return 0;
}

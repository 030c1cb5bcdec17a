#include "platform/graphics/Codecs.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/core/Text.h"

namespace zelvar {
namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dpi
constexpr uint32_t kOpaque = 0xFF000000;

const char kPngSignature[] = "\x89PNG\r\n\x1a\n";

[[noreturn]] void Fail(const std::string& message) {
  throw EInvalidGraphic(message);
}

void BmpCheck(bool ok, const char* problem) {
  if (!ok) Fail(std::string("BMP: ") + problem);
}

// Callers have checked that the bytes are there.
uint8_t Byte(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]);
}
uint16_t Le16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(Byte(b, at) | Byte(b, at + 1) << 8);
}
uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(Byte(b, at)) | static_cast<uint32_t>(Byte(b, at + 1)) << 8 |
         static_cast<uint32_t>(Byte(b, at + 2)) << 16 |
         static_cast<uint32_t>(Byte(b, at + 3)) << 24;
}

void PutLe16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void PutLe32(std::string& out, uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return kOpaque | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

// Before any pixel memory is taken for a size a file declares.
void CheckSize(const char* format, int64_t width, int64_t height) {
  if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide ||
      width * height > kMaxImagePixels)
    Fail(std::string(format) + ": image size " + std::to_string(width) + "x" +
         std::to_string(height) + " is out of range");
}

void CheckImage(const char* format, const TImageData& image) {
  CheckSize(format, image.Width, image.Height);
  if (image.Pixels.size() != static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
    Fail(std::string(format) + ": pixel count does not match the image size");
}

// One colour channel of a bit-field pixel, scaled to 8 bits.
class TChannel {
 public:
  explicit TChannel(uint32_t mask)
      : FMask(mask), FShift(mask ? std::countr_zero(mask) : 0), FMax(mask >> FShift) {}
  uint8_t Get(uint32_t pixel) const {
    if (FMax == 0) return 0;
    const uint64_t v = (pixel & FMask) >> FShift;  // at most FMax
    return static_cast<uint8_t>((v * 255 + FMax / 2) / FMax);
  }

 private:
  uint32_t FMask;
  int FShift;
  uint32_t FMax;
};

struct TBmpLayout {
  int64_t Width = 0;
  int64_t Height = 0;
  bool TopDown = false;
  uint32_t Bpp = 0;
  uint32_t Compression = kBiRgb;
  std::array<uint32_t, 3> Masks{};  // red, green, blue for 16 and 32 bits a pixel
  std::array<uint32_t, 256> Palette{};
  size_t PixelsAt = 0;
};

TBmpLayout ReadBmpHeaders(std::string_view b) {
  BmpCheck(b.size() >= 2 && b[0] == 'B' && b[1] == 'M', "not a BMP file");
  BmpCheck(b.size() >= kFileHeaderSize + 4, "file too short for its headers");
  const uint32_t offBits = Le32(b, 10);
  const uint32_t infoSize = Le32(b, 14);
  const bool core = infoSize == 12;
  if (!core && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
      infoSize != 124)
    Fail("BMP: unsupported header size " + std::to_string(infoSize));
  BmpCheck(b.size() >= kFileHeaderSize + infoSize, "file too short for its headers");

  TBmpLayout l;
  uint32_t clrUsed = 0;
  if (core) {
    l.Width = Le16(b, 18);
    l.Height = Le16(b, 20);
    l.Bpp = Le16(b, 24);
  } else {
    l.Width = static_cast<int32_t>(Le32(b, 18));
    l.Height = static_cast<int32_t>(Le32(b, 22));
    l.Bpp = Le16(b, 28);
    l.Compression = Le32(b, 30);
    clrUsed = Le32(b, 46);
  }
  l.TopDown = l.Height < 0;
  if (l.TopDown) l.Height = -l.Height;  // int64: INT32_MIN negates safely
  CheckSize("BMP", l.Width, l.Height);

  size_t paletteAt = kFileHeaderSize + infoSize;
  switch (l.Compression) {
    case kBiRgb:
      BmpCheck(l.Bpp == 1 || l.Bpp == 4 || l.Bpp == 8 || l.Bpp == 16 || l.Bpp == 24 || l.Bpp == 32,
               "unsupported bits per pixel");
      l.Masks = l.Bpp == 16 ? std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                            : std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
      break;
    case kBiRle8:
    case kBiRle4:
      BmpCheck(l.Bpp == (l.Compression == kBiRle8 ? 8u : 4u),
               "RLE compression does not match the bits per pixel");
      // Windows refuses these too: RLE streams run bottom-up by definition.
      BmpCheck(!l.TopDown, "top-down images cannot be RLE compressed");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields: {
      BmpCheck(l.Bpp == 16 || l.Bpp == 32, "bit fields need 16 or 32 bits per pixel");
      // The masks sit at offset 54 either way: inside the larger headers, or right after a
      // BITMAPINFOHEADER, where they push the colour table back.
      if (infoSize == kInfoHeaderSize) paletteAt += l.Compression == kBiAlphaBitfields ? 16 : 12;
      BmpCheck(b.size() >= kFileHeaderSize + kInfoHeaderSize + 12, "bit masks truncated");
      for (size_t i = 0; i < 3; ++i)
        l.Masks[i] = Le32(b, kFileHeaderSize + kInfoHeaderSize + 4 * i);
      break;
    }
    default:
      Fail("BMP: unsupported compression " + std::to_string(l.Compression));
  }

  // Indexes past the table read as black rather than failing: damaged glyphs still show.
  l.Palette.fill(kOpaque);
  if (l.Bpp <= 8) {
    const uint32_t full = 1u << l.Bpp;
    const uint32_t count = clrUsed == 0 || clrUsed > full ? full : clrUsed;
    const size_t entrySize = core ? 3 : 4;
    BmpCheck(b.size() >= paletteAt && (b.size() - paletteAt) / entrySize >= count,
             "colour table truncated");
    for (uint32_t i = 0; i < count; ++i) {
      const size_t at = paletteAt + i * entrySize;
      l.Palette[i] = Rgb(Byte(b, at + 2), Byte(b, at + 1), Byte(b, at));
    }
  }

  BmpCheck(offBits >= kFileHeaderSize + infoSize && offBits <= b.size(),
           "pixel data offset out of range");
  l.PixelsAt = offBits;
  return l;
}

TImageData ReadBmpRows(std::string_view b, const TBmpLayout& l) {
  const uint64_t stride = (static_cast<uint64_t>(l.Width) * l.Bpp + 31) / 32 * 4;
  BmpCheck(stride * static_cast<uint64_t>(l.Height) <= b.size() - l.PixelsAt,
           "pixel data truncated");

  TImageData image(static_cast<int32_t>(l.Width), static_cast<int32_t>(l.Height));
  if (image.Pixels.empty()) return image;  // a zero width still has rows, but no pixels
  const TChannel red(l.Masks[0]), green(l.Masks[1]), blue(l.Masks[2]);
  for (int32_t y = 0; y < image.Height; ++y) {
    const int64_t fileRow = l.TopDown ? y : l.Height - 1 - y;
    const size_t row = l.PixelsAt + static_cast<size_t>(stride * static_cast<uint64_t>(fileRow));
    uint32_t* out = &image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(image.Width)];
    for (int32_t x = 0; x < image.Width; ++x) {
      const size_t ux = static_cast<size_t>(x);
      uint32_t pixel = 0;
      switch (l.Bpp) {
        case 1:
          pixel = l.Palette[Byte(b, row + ux / 8) >> (7 - ux % 8) & 1];
          break;
        case 4:
          pixel = l.Palette[Byte(b, row + ux / 2) >> (ux % 2 ? 0 : 4) & 0xF];
          break;
        case 8:
          pixel = l.Palette[Byte(b, row + ux)];
          break;
        case 24:
          pixel = Rgb(Byte(b, row + 3 * ux + 2), Byte(b, row + 3 * ux + 1), Byte(b, row + 3 * ux));
          break;
        default: {
          const uint32_t v = l.Bpp == 16 ? Le16(b, row + 2 * ux) : Le32(b, row + 4 * ux);
          pixel = Rgb(red.Get(v), green.Get(v), blue.Get(v));
          break;
        }
      }
      out[x] = pixel;
    }
  }
  return image;
}

TImageData ReadBmpRle(std::string_view b, const TBmpLayout& l) {
  const bool rle4 = l.Compression == kBiRle4;
  TImageData image(static_cast<int32_t>(l.Width), static_cast<int32_t>(l.Height), l.Palette[0]);
  // x and y count from the bottom-left corner, as the stream does; y may pass the last row
  // through line ends, and only pixels are checked against the image.
  int64_t x = 0, y = 0;
  auto put = [&](uint32_t index) {
    BmpCheck(x < l.Width && y < l.Height, "RLE data overruns the image");
    image.At(static_cast<int32_t>(x), static_cast<int32_t>(l.Height - 1 - y)) = l.Palette[index];
    ++x;
  };
  size_t p = l.PixelsAt;
  for (;;) {
    BmpCheck(b.size() - p >= 2, "RLE data truncated");
    const uint8_t count = Byte(b, p), value = Byte(b, p + 1);
    p += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i) put(rle4 ? (i % 2 ? value & 0xF : value >> 4) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return image;
      case 2:  // move right and up
        BmpCheck(b.size() - p >= 2, "RLE data truncated");
        x += Byte(b, p);
        y += Byte(b, p + 1);
        p += 2;
        BmpCheck(x <= l.Width && y <= l.Height, "RLE delta moves outside the image");
        break;
      default: {  // literal pixels, padded to a 16-bit boundary
        const size_t bytes = rle4 ? (value + 1u) / 2 : value;
        const size_t padded = bytes + bytes % 2;
        BmpCheck(b.size() - p >= padded, "RLE data truncated");
        for (size_t i = 0; i < value; ++i)
          put(rle4 ? Byte(b, p + i / 2) >> (i % 2 ? 0 : 4) & 0xF : Byte(b, p + i));
        p += padded;
        break;
      }
    }
  }
}

// Colours by first appearance, top row first; empty when there are more than 256.
std::vector<uint32_t> Palette(const TImageData& image,
                              std::unordered_map<uint32_t, uint32_t>& index) {
  std::vector<uint32_t> colours;
  for (uint32_t pixel : image.Pixels) {
    const uint32_t rgb = pixel & 0xFFFFFF;
    if (index.contains(rgb)) continue;
    if (colours.size() == 256) {
      index.clear();
      return {};
    }
    index.emplace(rgb, static_cast<uint32_t>(colours.size()));
    colours.push_back(rgb);
  }
  if (colours.empty()) colours.push_back(0);  // an empty image still gets a valid table
  return colours;
}

// The simplified API's byte order that makes a uint32 read 0xAARRGGBB on this machine.
constexpr png_uint_32 kPngNative =
    std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;

// png_image_free is safe to repeat and a no-op once libpng has freed the image itself.
class TPngImage {
 public:
  TPngImage() {
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
  }
  ~TPngImage() { png_image_free(&Image); }
  TPngImage(const TPngImage&) = delete;
  TPngImage& operator=(const TPngImage&) = delete;

  bool Failed(int result) const { return result == 0 || PNG_IMAGE_FAILED(Image); }
  [[noreturn]] void Raise() const {
    // Warnings alone are not failures: libpng warns about harmless things such as sRGB
    // profiles it knows to be slightly off.
    const char* m = Image.message;
    Fail("PNG: " + std::string(m, strnlen(m, sizeof Image.message)));
  }

  png_image Image;
};

std::string ReadFile(const std::string& path) {
  // No image the codecs accept is larger than its pixels at four bytes each and its headers.
  constexpr size_t kMaxImageFileSize = static_cast<size_t>(kMaxImagePixels) * 4 + (size_t{1} << 20);
  try {
    return ReadRegularFile(path, kMaxImageFileSize);
  } catch (const EFilerError& e) {
    Fail(e.Message());
  }
}

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return LowerCase(std::string_view(path).substr(dot));
}

}  // namespace

TImageFormat DetectImageFormat(std::string_view bytes) {
  if (bytes.starts_with(std::string_view(kPngSignature, 8))) return TImageFormat::Png;
  if (bytes.starts_with("BM")) return TImageFormat::Bmp;
  return TImageFormat::Unknown;
}

TImageData ReadBmp(std::string_view bytes) {
  const TBmpLayout layout = ReadBmpHeaders(bytes);
  if (layout.Compression == kBiRle8 || layout.Compression == kBiRle4)
    return ReadBmpRle(bytes, layout);
  return ReadBmpRows(bytes, layout);
}

std::string WriteBmp(const TImageData& image) {
  CheckImage("BMP", image);
  std::unordered_map<uint32_t, uint32_t> index;
  const std::vector<uint32_t> colours = Palette(image, index);
  const uint32_t bpp = colours.empty() ? 24 : colours.size() <= 16 ? 4 : 8;

  // The size checks keep all of these far below 4 GB.
  const uint32_t width = static_cast<uint32_t>(image.Width);
  const uint32_t height = static_cast<uint32_t>(image.Height);
  const uint32_t stride = (width * bpp + 31) / 32 * 4;
  const uint32_t imageSize = stride * height;
  const uint32_t offBits =
      static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + 4 * colours.size());
  std::string out;
  out.reserve(offBits + imageSize);

  out += "BM";
  PutLe32(out, offBits + imageSize);
  PutLe32(out, 0);
  PutLe32(out, offBits);
  PutLe32(out, kInfoHeaderSize);
  PutLe32(out, width);
  PutLe32(out, height);  // positive: bottom-up, the form every reader takes
  PutLe16(out, 1);
  PutLe16(out, bpp);
  PutLe32(out, kBiRgb);
  PutLe32(out, imageSize);
  PutLe32(out, kPixelsPerMetre);
  PutLe32(out, kPixelsPerMetre);
  PutLe32(out, static_cast<uint32_t>(colours.size()));
  PutLe32(out, 0);
  for (uint32_t rgb : colours) PutLe32(out, rgb);  // B, G, R, 0 in file order

  std::string row(stride, '\0');
  for (int32_t y = image.Height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), '\0');
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint32_t rgb = image.At(x, y) & 0xFFFFFF;
      const size_t ux = static_cast<size_t>(x);
      if (bpp == 24) {
        row[3 * ux] = static_cast<char>(rgb & 0xFF);
        row[3 * ux + 1] = static_cast<char>(rgb >> 8 & 0xFF);
        row[3 * ux + 2] = static_cast<char>(rgb >> 16);
      } else if (bpp == 8) {
        row[ux] = static_cast<char>(index.at(rgb));
      } else {
        row[ux / 2] = static_cast<char>(row[ux / 2] | index.at(rgb) << (ux % 2 ? 0 : 4));
      }
    }
    out += row;
  }
  return out;
}

TImageData ReadPng(std::string_view bytes) {
  TPngImage png;
  if (png.Failed(png_image_begin_read_from_memory(&png.Image, bytes.data(), bytes.size())))
    png.Raise();
  const int64_t width = png.Image.width, height = png.Image.height;
  CheckSize("PNG", width, height);
  // Deflate expands at most 1032 to 1 and every row holds a filter byte and at least a bit a
  // pixel: a few bytes claiming a huge image are refused before its memory is taken.
  const uint64_t leastRaw = static_cast<uint64_t>(height) * (1 + (width + 7) / 8);
  if (leastRaw > static_cast<uint64_t>(bytes.size()) * 1032)
    Fail("PNG: image data too short for " + std::to_string(width) + "x" + std::to_string(height));

  png.Image.format = kPngNative;
  TImageData image(static_cast<int32_t>(width), static_cast<int32_t>(height));
  if (png.Failed(png_image_finish_read(&png.Image, nullptr, image.Pixels.data(), 0, nullptr)))
    png.Raise();
  return image;
}

std::string WritePng(const TImageData& image) {
  CheckImage("PNG", image);
  if (image.Pixels.empty()) Fail("PNG: cannot write an empty image");

  TPngImage png;
  png.Image.width = static_cast<png_uint_32>(image.Width);
  png.Image.height = static_cast<png_uint_32>(image.Height);
  const bool opaque = std::all_of(image.Pixels.begin(), image.Pixels.end(),
                                  [](uint32_t p) { return (p >> 24) == 0xFF; });
  std::vector<uint8_t> rgb;
  const void* buffer = image.Pixels.data();
  if (opaque) {
    rgb.reserve(image.Pixels.size() * 3);
    for (uint32_t p : image.Pixels) {
      rgb.push_back(static_cast<uint8_t>(p >> 16));
      rgb.push_back(static_cast<uint8_t>(p >> 8));
      rgb.push_back(static_cast<uint8_t>(p));
    }
    png.Image.format = PNG_FORMAT_RGB;
    buffer = rgb.data();
  } else {
    png.Image.format = kPngNative;
  }

  // The first call only measures; libpng frees its state after each call.
  png_alloc_size_t size = 0;
  if (png.Failed(png_image_write_to_memory(&png.Image, nullptr, &size, 0, buffer, 0, nullptr)))
    png.Raise();
  std::string out(size, '\0');
  if (png.Failed(png_image_write_to_memory(&png.Image, out.data(), &size, 0, buffer, 0, nullptr)))
    png.Raise();
  out.resize(size);
  return out;
}

TImageData ReadImage(std::string_view bytes) {
  switch (DetectImageFormat(bytes)) {
    case TImageFormat::Png:
      return ReadPng(bytes);
    case TImageFormat::Bmp:
      return ReadBmp(bytes);
    case TImageFormat::Unknown:
      break;
  }
  Fail("unknown image format");
}

TImageData LoadImageFile(const std::string& path) {
  const std::string bytes = ReadFile(path);
  try {
    return ReadImage(bytes);
  } catch (const EInvalidGraphic& e) {
    Fail(path + ": " + e.Message());
  }
}

void SaveImageFile(const std::string& path, const TImageData& image) {
  const std::string ext = LowerExtension(path);
  std::string bytes;
  if (ext == ".png")
    bytes = WritePng(image);
  else if (ext == ".bmp")
    bytes = WriteBmp(image);
  else
    Fail("unknown image file extension in '" + path + "'; use .png or .bmp");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) Fail("cannot create image file '" + path + "'");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) Fail("cannot write image file '" + path + "'");
}

}  // namespace zelvar

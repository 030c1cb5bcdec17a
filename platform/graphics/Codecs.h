#pragma once
// Image files: BMP, what Delphi form files hold for glyphs and pictures, and PNG. Readers take
// untrusted bytes; whatever is wrong with them is reported as EInvalidGraphic, never a crash.
// Images larger than kMaxImageSide on a side or kMaxImagePixels in all are refused before any
// pixel memory is taken, by the readers and the writers alike.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/graphics/ImageData.h"

namespace zelvar {

inline constexpr int32_t kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 26;  // 256 MB of pixels

enum class TImageFormat { Unknown, Bmp, Png };

// By the leading bytes only: the PNG signature or 'BM'.
TImageFormat DetectImageFormat(std::string_view bytes);

// A whole BMP file. Core, info, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits a pixel;
// uncompressed, bit fields, RLE8 and RLE4. Every pixel comes back opaque. Palette indexes
// beyond the colour table read as black; pixels an RLE stream skips take colour 0.
TImageData ReadBmp(std::string_view bytes);
// The smallest exact palette form: 4 bits a pixel for up to 16 colours, 8 for up to 256, else
// 24; bottom-up with a BITMAPINFOHEADER, which every BMP reader takes. Alpha is dropped.
// The palette lists colours in the order they first appear, top row first.
std::string WriteBmp(const TImageData& image);

TImageData ReadPng(std::string_view bytes);
// Opaque images are written without an alpha channel. An empty image cannot be written.
std::string WritePng(const TImageData& image);

// BMP or PNG, whichever the bytes are.
TImageData ReadImage(std::string_view bytes);

// Loading goes by the file's content; saving by its extension, .png or .bmp in any case.
TImageData LoadImageFile(const std::string& path);
void SaveImageFile(const std::string& path, const TImageData& image);

}  // namespace zelvar

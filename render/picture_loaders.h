#pragma once
// Picture file decoders. Each returns the decoded picture or an error that
// says what was wrong; none of them crashes on damaged input.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.h"
#include "render/picture.h"

namespace lum {

// The loader numbers used by callers: 0 to 3 name a decoder, 4 asks for the
// choice by file extension.
enum class PictureKind : int {
  Bitmap = 0,
  Tga = 1,
  Jpeg = 2,
  Png = 3,
  ByExtension = 4,
};

using ByteSpan = std::span<const uint8_t>;

// ".tga" -> Tga, ".jpg"/".jpeg" -> Jpeg, ".png" -> Png, anything else ->
// Bitmap; compared without regard to case.
PictureKind pictureKindForName(std::string_view fileName);

// Windows bitmap through SDL2. 8-bit (and 4-bit, RLE) bitmaps also give
// their raw palette indices.
Result<Picture> loadBitmapPicture(ByteSpan bytes);
// Uncompressed or run-length true-colour TGA of 24 or 32 bits only.
Result<Picture> loadTgaPicture(ByteSpan bytes);
Result<Picture> loadJpegPicture(ByteSpan bytes);
// Colour types with an alpha channel keep it; palette transparency is not
// applied.
Result<Picture> loadPngPicture(ByteSpan bytes);

// Decode bytes with the loader `kind` (Bitmap to Png; ByExtension is an error
// here because bytes have no name).
Result<Picture> loadPicture(ByteSpan bytes, PictureKind kind);
// Decode bytes, choosing the loader by the name's extension.
Result<Picture> loadPictureNamed(ByteSpan bytes, std::string_view fileName);
// Read a file from disk and decode it with `kind` (ByExtension allowed).
Result<Picture> loadPictureFile(const std::string& path, PictureKind kind);

}  // namespace lum

#pragma once
// Rasterises a TrueType font with FreeType into a font record: one glyph per
// 8-bit character code, white with alpha = coverage, in a glyph sheet cut
// into equal patterns.
#include <cstdint>
#include <span>
#include <string>

#include "platform/result.h"
#include "render/archive_records.h"

namespace lum {

struct TrueTypeRasterOptions {
  int pixelSize = 16;           // em height in pixels
  int firstChar = 32;           // 0 to 255
  int count = 224;              // glyphs from firstChar; firstChar + count <= 256
  std::string codepage = "1251";  // how 8-bit codes map to Unicode ("1252", "cp1250" ...)
};

Result<FontRecord> rasteriseTrueType(std::span<const uint8_t> fontFile,
                                     const TrueTypeRasterOptions& options);

}  // namespace lum

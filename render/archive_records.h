#pragma once
// The two payloads that archives carry for the renderer: image records (a
// stored texture set with its pattern layout) and font records (glyph
// metrics followed by an image record holding the glyph sheet). Decoding
// checks every size against the bytes present, so damaged records fail
// cleanly; uploading to textures is the texture code's job.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/result.h"
#include "render/pixel_format.h"

namespace lum {

struct SizeI {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const SizeI&) const = default;
};

inline constexpr size_t kArchiveImageHeaderSize = 33;
inline constexpr size_t kFontRecordHeaderSize = 16;

struct ArchiveImage {
  PixelFormat format = PixelFormat::A8R8G8B8;  // of the stored pixels
  SizeI patternSize;   // as stored; 0 or less means "the texture's"
  SizeI visibleSize;   // as stored; 0 or less means "the texture's"
  int32_t patternCount = 0;
  SizeI textureSize;   // always positive after decoding
  int32_t textureCount = 0;
  // textureCount textures, each textureSize.height rows of
  // textureSize.width pixels in `format`, rows top to bottom, no padding.
  std::vector<uint8_t> pixels;

  size_t rowBytes() const;
  size_t textureBytes() const;
  const uint8_t* textureRow(int texture, int y) const;
  uint8_t* textureRow(int texture, int y);
};

struct FontGlyph {
  int32_t advance = 0;
  int32_t height = 0;
  bool operator==(const FontGlyph&) const = default;
};

struct FontRecord {
  uint8_t firstChar = 32;  // only the low byte of the stored code is kept
  int32_t spacing = 0;
  std::vector<FontGlyph> glyphs;
  ArchiveImage sheet;  // one pattern per glyph
};

// The image record at the start of `bytes`; `consumed`, when given, receives
// the number of bytes it occupied.
Result<ArchiveImage> decodeArchiveImage(std::span<const uint8_t> bytes,
                                        size_t* consumed = nullptr);
// The whole unpacked body of a font record.
Result<FontRecord> decodeFontRecord(std::span<const uint8_t> bytes);

// Writers, for the authoring tools and tests. The image must be consistent
// (pixels exactly textureCount * textureBytes()).
std::vector<uint8_t> encodeArchiveImage(const ArchiveImage& image);
std::vector<uint8_t> encodeFontRecord(const FontRecord& font);

}  // namespace lum

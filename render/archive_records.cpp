#include "render/archive_records.h"

#include <cstring>

#include "render/picture.h"

namespace lum {
namespace {

// Reads little-endian fields from a byte span, remembering whether any read
// ran past the end.
class SpanReader {
 public:
  explicit SpanReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t position() const { return pos_; }
  size_t remaining() const { return bytes_.size() - pos_; }
  bool ok() const { return ok_; }

  uint8_t u8() {
    if (!take(1)) return 0;
    return bytes_[pos_ - 1];
  }
  int32_t i32() {
    if (!take(4)) return 0;
    const uint8_t* p = bytes_.data() + pos_ - 4;
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                   uint32_t(p[3]) << 24);
  }
  SizeI size() {
    SizeI s;
    s.width = i32();
    s.height = i32();
    return s;
  }

 private:
  bool take(size_t n) {
    if (!ok_ || n > remaining()) return ok_ = false;
    pos_ += n;
    return true;
  }
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void putI32(std::vector<uint8_t>& out, int32_t v) {
  const auto u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(u >> (8 * i)));
}

void putSize(std::vector<uint8_t>& out, SizeI s) {
  putI32(out, s.width);
  putI32(out, s.height);
}

}  // namespace

size_t ArchiveImage::rowBytes() const {
  return size_t(textureSize.width) * size_t(pixelBytes(format));
}

size_t ArchiveImage::textureBytes() const { return rowBytes() * size_t(textureSize.height); }

const uint8_t* ArchiveImage::textureRow(int texture, int y) const {
  return pixels.data() + size_t(texture) * textureBytes() + size_t(y) * rowBytes();
}

uint8_t* ArchiveImage::textureRow(int texture, int y) {
  return pixels.data() + size_t(texture) * textureBytes() + size_t(y) * rowBytes();
}

Result<ArchiveImage> decodeArchiveImage(std::span<const uint8_t> bytes, size_t* consumed) {
  SpanReader in(bytes);
  ArchiveImage image;
  const int formatIndex = in.u8();
  image.patternSize = in.size();
  image.visibleSize = in.size();
  image.patternCount = in.i32();
  image.textureSize = in.size();
  image.textureCount = in.i32();
  if (!in.ok()) return Error{"image record header is cut short", int64_t(in.position())};
  const auto format = pixelFormatFromIndex(formatIndex);
  if (!format) return Error{"image record has unknown pixel format " + std::to_string(formatIndex), 0};
  image.format = *format;
  if (!pictureSizeAllowed(image.textureSize.width, image.textureSize.height))
    return Error{"image record has an unusable texture size", 21};
  if (image.textureCount < 0) return Error{"image record has a negative texture count", 29};
  // Compare against what is present before allocating, so a huge count in a
  // small record cannot reserve memory.
  const uint64_t need = uint64_t(image.textureBytes()) * uint64_t(image.textureCount);
  if (need > in.remaining())
    return Error{"image record pixels are cut short", int64_t(bytes.size())};
  const uint8_t* start = bytes.data() + in.position();
  image.pixels.assign(start, start + need);
  if (consumed) *consumed = in.position() + size_t(need);
  return image;
}

Result<FontRecord> decodeFontRecord(std::span<const uint8_t> bytes) {
  SpanReader in(bytes);
  FontRecord font;
  font.firstChar = uint8_t(in.i32());
  font.spacing = in.i32();
  in.i32();  // unused field
  const int32_t count = in.i32();
  if (!in.ok()) return Error{"font record header is cut short", int64_t(in.position())};
  if (count < 0 || uint64_t(count) * 8 > in.remaining())
    return Error{"font record glyph table is cut short", 12};
  font.glyphs.resize(size_t(count));
  for (auto& glyph : font.glyphs) {
    glyph.advance = in.i32();
    glyph.height = in.i32();
  }
  auto sheet = decodeArchiveImage(bytes.subspan(in.position()));
  if (!sheet) {
    Error e = sheet.error();
    if (e.offset >= 0) e.offset += int64_t(in.position());
    e.message = "font glyph sheet: " + e.message;
    return e;
  }
  font.sheet = std::move(sheet.value());
  return font;
}

std::vector<uint8_t> encodeArchiveImage(const ArchiveImage& image) {
  std::vector<uint8_t> out;
  out.reserve(kArchiveImageHeaderSize + image.pixels.size());
  out.push_back(uint8_t(image.format));
  putSize(out, image.patternSize);
  putSize(out, image.visibleSize);
  putI32(out, image.patternCount);
  putSize(out, image.textureSize);
  putI32(out, image.textureCount);
  out.insert(out.end(), image.pixels.begin(), image.pixels.end());
  return out;
}

std::vector<uint8_t> encodeFontRecord(const FontRecord& font) {
  std::vector<uint8_t> out;
  putI32(out, font.firstChar);
  putI32(out, font.spacing);
  putI32(out, 0);
  putI32(out, int32_t(font.glyphs.size()));
  for (const auto& glyph : font.glyphs) {
    putI32(out, glyph.advance);
    putI32(out, glyph.height);
  }
  const auto sheet = encodeArchiveImage(font.sheet);
  out.insert(out.end(), sheet.begin(), sheet.end());
  return out;
}

}  // namespace lum

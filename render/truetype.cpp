#include "render/truetype.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/code_page.h"

namespace lum {
namespace {

constexpr int kMaxPixelSize = 512;
constexpr int kMaxTextureSide = 2048;
constexpr uint32_t kClearTexel = 0x00FFFFFF;  // white, fully transparent
constexpr int kMargin = 1;  // empty texels around each glyph against filter bleeding

struct FreeTypeLibrary {
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
  ~FreeTypeLibrary() {
    if (face) FT_Done_Face(face);
    if (lib) FT_Done_FreeType(lib);
  }
};

struct RenderedGlyph {
  int advance = 0;
  int left = 0, top = 0;  // bitmap origin relative to pen and baseline
  int width = 0, rows = 0;
  std::vector<uint8_t> coverage;
};

int nextPowerOfTwo(int v) {
  int p = 1;
  while (p < v) p *= 2;
  return p;
}

// Control characters (and the code page's undefined bytes, which decode to
// C1 controls) get an empty glyph without advance.
bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

Result<RenderedGlyph> renderGlyph(FT_Face face, char32_t unicode) {
  RenderedGlyph glyph;
  if (isControl(unicode)) return glyph;
  const FT_UInt index = FT_Get_Char_Index(face, unicode);
  if (index == 0) return glyph;  // the font lacks it: an empty glyph, no advance
  if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
    return Error{"glyph " + std::to_string(uint32_t(unicode)) + " cannot be rendered"};
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.rows > 0)
    return Error{"glyph " + std::to_string(uint32_t(unicode)) + " has no grey bitmap"};
  glyph.advance = int((slot->advance.x + 32) >> 6);
  glyph.left = std::max(0, slot->bitmap_left);
  glyph.top = slot->bitmap_top;
  glyph.width = int(bm.width);
  glyph.rows = int(bm.rows);
  glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.rows));
  for (int y = 0; y < glyph.rows; ++y)
    std::copy_n(bm.buffer + y * bm.pitch, glyph.width, glyph.coverage.begin() + y * glyph.width);
  return glyph;
}

}  // namespace

Result<FontRecord> rasteriseTrueType(std::span<const uint8_t> fontFile,
                                     const TrueTypeRasterOptions& options) {
  if (options.pixelSize < 1 || options.pixelSize > kMaxPixelSize)
    return Error{"font size must be 1 to " + std::to_string(kMaxPixelSize)};
  if (options.firstChar < 0 || options.firstChar > 255 || options.count < 1 ||
      options.firstChar + options.count > 256)
    return Error{"characters must lie within 0 to 255"};
  auto codepage = CodePage::create(options.codepage);
  if (!codepage) return Error{"unknown code page " + options.codepage};

  FreeTypeLibrary ft;
  if (FT_Init_FreeType(&ft.lib) != 0) return Error{"FreeType cannot start"};
  if (FT_New_Memory_Face(ft.lib, fontFile.data(), FT_Long(fontFile.size()), 0, &ft.face) != 0)
    return Error{"not a font FreeType can read"};
  if (FT_Set_Pixel_Sizes(ft.face, 0, FT_UInt(options.pixelSize)) != 0)
    return Error{"font cannot be set to " + std::to_string(options.pixelSize) + " pixels"};

  std::vector<RenderedGlyph> glyphs;
  for (int i = 0; i < options.count; ++i) {
    auto glyph = renderGlyph(ft.face, codepage->decode(uint8_t(options.firstChar + i)));
    if (!glyph) return glyph.error();
    glyphs.push_back(std::move(glyph.value()));
  }

  // One cell for every glyph: wide enough for the widest, tall enough for
  // the font's line and for any glyph reaching above or below it.
  const FT_Size_Metrics& m = ft.face->size->metrics;
  int baseline = int((m.ascender + 63) >> 6);
  int descent = int((-m.descender + 63) >> 6);
  int visibleWidth = 1;
  for (const auto& g : glyphs) {
    baseline = std::max(baseline, g.top);
    descent = std::max(descent, g.rows - g.top);
    visibleWidth = std::max({visibleWidth, g.advance, g.left + g.width});
  }
  const int visibleHeight = std::max(1, baseline + descent);
  const int patternW = visibleWidth + 2 * kMargin, patternH = visibleHeight + 2 * kMargin;
  if (patternW > kMaxTextureSide || patternH > kMaxTextureSide) return Error{"glyphs are too large"};

  const int textureW = std::clamp(nextPowerOfTwo(patternW * 16), 64, kMaxTextureSide);
  const int perRow = textureW / patternW;
  const int rowsNeeded = (options.count + perRow - 1) / perRow;
  const int textureH = std::min(nextPowerOfTwo(rowsNeeded * patternH), kMaxTextureSide);
  const int perTexture = perRow * (textureH / patternH);

  FontRecord font;
  font.firstChar = uint8_t(options.firstChar);
  font.spacing = 0;
  ArchiveImage& sheet = font.sheet;
  sheet.format = PixelFormat::A8R8G8B8;
  sheet.patternSize = {patternW, patternH};
  sheet.visibleSize = {visibleWidth, visibleHeight};
  sheet.patternCount = options.count;
  sheet.textureSize = {textureW, textureH};
  sheet.textureCount = (options.count + perTexture - 1) / perTexture;
  sheet.pixels.resize(sheet.textureBytes() * size_t(sheet.textureCount));
  for (size_t i = 0; i < sheet.pixels.size(); i += 4) writePixel(kClearTexel, &sheet.pixels[i], sheet.format);

  for (int i = 0; i < options.count; ++i) {
    const RenderedGlyph& g = glyphs[size_t(i)];
    font.glyphs.push_back({g.advance, visibleHeight});
    const int texture = i / perTexture, p = i % perTexture;
    const int cellX = (p % perRow) * patternW + kMargin;
    const int cellY = (p / perRow) * patternH + kMargin;
    for (int y = 0; y < g.rows; ++y) {
      const int ty = cellY + baseline - g.top + y;
      uint8_t* row = sheet.textureRow(texture, ty);
      for (int x = 0; x < g.width; ++x) {
        const uint8_t a = g.coverage[size_t(y) * size_t(g.width) + size_t(x)];
        writePixel(uint32_t(a) << 24 | 0x00FFFFFF, row + size_t(cellX + g.left + x) * 4, sheet.format);
      }
    }
  }
  return font;
}

}  // namespace lum

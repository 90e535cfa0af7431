#pragma once
// Bitmap fonts: a glyph sheet image with one pattern per character code and
// the glyphs' advances and heights, measured and drawn through the canvas,
// with colour codes in the text and four style effects.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "render/archive_records.h"
#include "render/image.h"

namespace lum {

class TAsphyreFonts;
class TASDb;

enum class TFontStyleFx : uint8_t { feBold = 1, feItalic = 2, feShadow = 4, feEmboss = 8 };

// What a font loads from a record: the glyph metrics and the glyph sheet.
// Fonts loaded from one archive record share a single face.
struct FontFace {
  int firstChar = 32;
  int32_t spacing = 0;
  std::vector<FontGlyph> glyphs;
  std::unique_ptr<TAsphyreImage> image;

  // Bytes of texels the sheet occupies.
  uint64_t textureBytes() const;
};

// Bytes of texels an archive image record becomes once uploaded.
uint64_t archiveImageTextureBytes(const ArchiveImage& image);

class TAsphyreFont {
 public:
  explicit TAsphyreFont(TAsphyreFonts* owner);
  ~TAsphyreFont();

  TAsphyreFonts* Owner() const { return owner_; }
  bool HasStyle(TFontStyleFx fx) const { return (styles_ & uint8_t(fx)) != 0; }
  void SetStyle(TFontStyleFx fx, bool on);
  void ClearStyles() { styles_ = 0; }

  double Scale = 1.0;
  bool Markup = true;
  double Interleave = 0.0;
  double SpaceFactor = 0.3;
  double ShadowOpacity = 0.5;
  uint32_t ShadowColor = 0;
  double EmbossOpacity = 0.8;
  uint32_t EmbossColor = 0;
  double ShadowDistance = 1.0;
  std::string Name;

  bool Loaded() const { return face_ != nullptr; }
  int32_t Spacing() const { return face_ ? face_->spacing : 0; }
  int FirstChar() const { return face_ ? face_->firstChar : 32; }
  int GlyphCount() const { return face_ ? int(face_->glyphs.size()) : 0; }
  TAsphyreImage* Image() const { return face_ ? face_->image.get() : nullptr; }
  const std::shared_ptr<FontFace>& Face() const { return face_; }

  // The unpacked body of a font record.
  bool LoadFromRecord(std::span<const uint8_t> body, TAsphyreQuality quality,
                      TAlphaLevel alphaLevel);
  bool LoadFromRecord(const FontRecord& record, TAsphyreQuality quality, TAlphaLevel alphaLevel);
  bool LoadFromASDb(TASDb& archive, std::string_view key, TAsphyreQuality quality,
                    TAlphaLevel alphaLevel);
  // Takes the face of a loaded font instead of loading one of its own.
  bool ShareFace(const TAsphyreFont& loaded);

  double TextWidth(std::string_view text) const;
  double TextHeight(std::string_view text) const;
  // Colours in the canvas's order: top for the upper corners, bottom for the
  // lower. Fails (drawing nothing) without an owner or a canvas to draw on.
  Status TextOut(std::string_view text, float x, float y, uint32_t top, uint32_t bottom,
                 uint32_t effect);

 private:
  double advanceOf(uint8_t c) const;
  int glyphIndex(uint8_t c) const;
  void drawGlyph(int glyph, float x, float y, uint32_t top, uint32_t bottom, uint32_t effect);

  TAsphyreFonts* owner_;
  uint8_t styles_ = 0;
  std::shared_ptr<FontFace> face_;  // none until loaded
};

// Walks text as the font sees it: with `markup`, colour codes ("#$AABBGGRR"
// top colour, "&$AABBGGRR" bottom colour, "0xAABBGGRR" both, canvas order)
// are taken out, each only with at least 11 more characters after its
// start; every other byte reaches `glyph` with the colours in force.
struct TextColors {
  uint32_t top, bottom;
};

// Eight hexadecimal digits; false (and `out` untouched) otherwise.
bool parseHex8(std::string_view digits, uint32_t& out);

template <typename GlyphFn>
void walkMarkedText(std::string_view text, bool markup, TextColors colors, GlyphFn&& glyph) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (markup) {
      // A code whose number does not parse is still taken out; the colour
      // stays as it was.
      const auto code = [&](char a, char b, bool top, bool bottom) {
        if (i + 11 >= text.size() || text[i] != a || text[i + 1] != b) return;
        uint32_t value = 0;
        if (parseHex8(text.substr(i + 2, 8), value)) {
          if (top) colors.top = value;
          if (bottom) colors.bottom = value;
        }
        i += 10;
      };
      code('#', '$', true, false);
      code('&', '$', false, true);
      code('0', 'x', true, true);
    }
    glyph(static_cast<uint8_t>(text[i]), colors);
  }
}

}  // namespace lum

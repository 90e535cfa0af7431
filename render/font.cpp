#include "render/font.h"

#include <algorithm>
#include <cmath>

#include "render/archive.h"
#include "render/canvas.h"
#include "render/fonts.h"

namespace lum {

bool parseHex8(std::string_view digits, uint32_t& out) {
  if (digits.size() != 8) return false;
  uint32_t v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = (v << 4) | uint32_t(d);
  }
  out = v;
  return true;
}

uint64_t archiveImageTextureBytes(const ArchiveImage& image) {
  return uint64_t(std::max(image.textureSize.width, 0)) *
         uint64_t(std::max(image.textureSize.height, 0)) * 4 *
         uint64_t(std::max(image.textureCount, 0));
}

uint64_t FontFace::textureBytes() const {
  if (!image) return 0;
  const SizeI size = image->TextureSize();
  return uint64_t(std::max(size.width, 0)) * uint64_t(std::max(size.height, 0)) * 4 *
         uint64_t(std::max(image->TextureCount(), 0));
}

TAsphyreFont::TAsphyreFont(TAsphyreFonts* owner) : owner_(owner) {}

TAsphyreFont::~TAsphyreFont() = default;

void TAsphyreFont::SetStyle(TFontStyleFx fx, bool on) {
  if (on) styles_ |= uint8_t(fx);
  else styles_ &= uint8_t(~uint8_t(fx));
}

bool TAsphyreFont::LoadFromRecord(std::span<const uint8_t> body, TAsphyreQuality quality,
                                  TAlphaLevel alphaLevel) {
  if (Loaded()) return false;
  const auto record = decodeFontRecord(body);
  if (!record.ok()) return false;
  return LoadFromRecord(record.value(), quality, alphaLevel);
}

bool TAsphyreFont::LoadFromRecord(const FontRecord& record, TAsphyreQuality quality,
                                  TAlphaLevel alphaLevel) {
  if (Loaded()) return false;
  auto face = std::make_shared<FontFace>();
  face->firstChar = record.firstChar;
  face->spacing = record.spacing;
  face->glyphs = record.glyphs;
  face->image = std::make_unique<TAsphyreImage>(owner_ ? owner_->Device() : nullptr);
  face->image->SetQuality(quality);
  face->image->SetAlphaLevel(alphaLevel);
  face->image->SetMipMapping(true);
  if (!face->image->UploadArchiveImage(record.sheet)) return false;
  face_ = std::move(face);
  return true;
}

bool TAsphyreFont::ShareFace(const TAsphyreFont& loaded) {
  if (Loaded() || !loaded.Loaded()) return false;
  face_ = loaded.face_;
  return true;
}

bool TAsphyreFont::LoadFromASDb(TASDb& archive, std::string_view key, TAsphyreQuality quality,
                                TAlphaLevel alphaLevel) {
  if (Loaded() || !archive.ensureOpen()) return false;
  const int index = archive.indexOf(key);
  if (index < 0 || archive.recordType(index) != kArchiveFontRecordType) return false;
  std::vector<uint8_t> body;
  if (!archive.readRecord(key, body)) return false;
  return LoadFromRecord(std::span<const uint8_t>(body), quality, alphaLevel);
}

int TAsphyreFont::glyphIndex(uint8_t c) const {
  const int g = int(c) - FirstChar();
  return g >= 0 && g < GlyphCount() ? g : -1;
}

double TAsphyreFont::advanceOf(uint8_t c) const {
  const int g = glyphIndex(c);
  if (g < 0) return face_ ? face_->image->VisibleSize().width * SpaceFactor : 0.0;
  return double(face_->glyphs[size_t(g)].advance) + face_->spacing;
}

double TAsphyreFont::TextWidth(std::string_view text) const {
  if (!Loaded()) return 0;
  double width = 0;
  walkMarkedText(text, Markup, TextColors{0, 0},
                 [&](uint8_t c, const TextColors&) { width += (advanceOf(c) + Interleave) * Scale; });
  return width;
}

double TAsphyreFont::TextHeight(std::string_view text) const {
  if (!Loaded()) return 0;
  double height = 0;
  walkMarkedText(text, Markup, TextColors{0, 0}, [&](uint8_t c, const TextColors&) {
    const int g = glyphIndex(c);
    if (g >= 0) height = std::max(height, face_->glyphs[size_t(g)].height * Scale);
  });
  return height;
}

Status TAsphyreFont::TextOut(std::string_view text, float x, float y, uint32_t top,
                             uint32_t bottom, uint32_t effect) {
  if (!Loaded()) return {};
  if (!owner_) return Error{"TAsphyreFont: Unassigned Owner property."};
  if (!owner_->Canvas) return Error{"TAsphyreFont: Unassigned Owner.Canvas property."};
  double pen = x;
  walkMarkedText(text, Markup, TextColors{top, bottom}, [&](uint8_t c, const TextColors& col) {
    const int g = glyphIndex(c);
    if (g >= 0) drawGlyph(g, float(pen), y, col.top, col.bottom, effect);
    pen += (advanceOf(c) + Interleave) * Scale;
  });
  return {};
}

void TAsphyreFont::drawGlyph(int glyph, float x, float y, uint32_t top, uint32_t bottom,
                             uint32_t effect) {
  TAsphyreCanvas& canvas = *owner_->Canvas;
  TAsphyreImage* image = face_->image.get();
  const SizeI visible = image->VisibleSize();
  const float w = float(std::nearbyint(Scale * visible.width));
  const float h = float(std::nearbyint(Scale * visible.height));
  Quad q = {Point2{x, y}, Point2{x + w, y}, Point2{x + w, y + h}, Point2{x, y + h}};
  if (HasStyle(TFontStyleFx::feItalic)) {
    const float slant = float(visible.width) / 8.0f;
    q[0].x += slant;
    q[1].x += slant;
    q[2].x -= slant;
    q[3].x -= slant;
  }
  const auto moved = [&q](float dx, float dy) {
    Quad m = q;
    for (Point2& p : m) p = Point2{p.x + dx, p.y + dy};
    return m;
  };
  const PatternDesc pattern{glyph};
  const bool bold = HasStyle(TFontStyleFx::feBold);
  if (HasStyle(TFontStyleFx::feShadow)) {
    const float dx = float((bold ? 3 : 2) * Scale * ShadowDistance);
    const float dy = float(2 * Scale * ShadowDistance);
    const uint32_t c = (uint32_t(std::lrint(ShadowOpacity * 255)) << 24) | (ShadowColor & 0xFFFFFF);
    canvas.TexturedQuad(image, moved(dx, dy), pattern, {c, c, c, c}, effect);
  }
  const bool emboss = HasStyle(TFontStyleFx::feEmboss);
  if (emboss) q = moved(-1, -1);
  const QuadColors colors{top, top, bottom, bottom};
  canvas.TexturedQuad(image, q, pattern, colors, effect);
  if (bold) {
    canvas.TexturedQuad(image, moved(-1, 0), pattern, colors, effect);
    canvas.TexturedQuad(image, moved(1, 0), pattern, colors, effect);
  }
  if (emboss) {
    const double alpha = EmbossOpacity * 255 * (bold ? 0.65 : 1.0);
    const uint32_t c = (uint32_t(std::lrint(alpha)) << 24) | (EmbossColor & 0xFFFFFF);
    canvas.TexturedQuad(image, moved(1, 1), pattern, {c, c, c, c}, effect);
    if (bold) {
      canvas.TexturedQuad(image, moved(0, 1), pattern, {c, c, c, c}, effect);
      canvas.TexturedQuad(image, moved(2, 1), pattern, {c, c, c, c}, effect);
    }
  }
}

}  // namespace lum

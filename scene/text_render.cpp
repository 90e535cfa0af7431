// Drawing a text element line by line in a bitmap font or the Unicode glyph
// sheet, aligned in its box (or, for the system-font path, as one picture),
// its width for scripts, and its hit test.
#include <cmath>

#include "media/image_cache.h"
#include "render/canvas.h"
#include "platform/wide_escape.h"
#include "render/font.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/anchor.h"
#include "scene/runtime.h"
#include "scene/text.h"

namespace lum {
namespace {

bool fractional(double v) { return v != std::floor(v); }

}  // namespace

void TLumText::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  if (layer == Order() && font_ && !layout_.empty()) {
    if (usesSystemFont()) {
      drawSystemText(ox + rX, oy + rY);
    } else {
      drawLines(ox + rX, oy + rY);
    }
  }
  drawChildren(layer, tint, ox, oy);
}

void TLumText::drawLines(double left, double top) {
  TAsphyreCanvas& canvas = runtime()->services.canvas;
  const bool unicode = root() && root()->unicodeMode();
  font_->Scale = scale_;
  std::string copy = layout_;
  if (copy.back() != '\0') copy.push_back('\0');

  const double lh0 = font_->TextHeight(copy);
  size_t lines = 0;
  for (char c : copy) lines += c == '\0' ? 1 : 0;
  const double blockHeight = lines * lh0 + (static_cast<double>(lines) - 1) * Interval;
  const double ay = anchorShift(PosVert, sizeY_ - blockHeight);

  font_->ClearStyles();
  font_->SetStyle(TFontStyleFx::feShadow, Shadow);
  font_->SetStyle(TFontStyleFx::feEmboss, Emboss);
  font_->ShadowColor = hxShadColor;
  double dy = 0;
  size_t start = 0;
  while (start < copy.size()) {
    size_t end = copy.find('\0', start);
    std::string_view line(copy.data() + start, end - start);
    const double lh = font_->TextHeight(line);
    const double lw = lineWidth(line);
    const double x = left + anchorShift(PosHor, sizeX_ - lw);
    const double y = top + ay + dy;
    canvas.SetAntialias(scale_ != 1.0 || fractional(x) || fractional(y));
    if (unicode) {
      drawGlyphLine(line, x, y);
    } else {
      font_->TextOut(line, static_cast<float>(x), static_cast<float>(y), colour1, colour2,
                     hxDrawFx);
    }
    dy += lh + Interval;
    start = end + 1;
  }
}

void TLumText::drawGlyphLine(std::string_view line, double x, double y) {
  Runtime* rt = runtime();
  TLumDB* db = root();
  TLumIm* sheetEntry = db->unicodeGlyphImage();
  TAsphyreImage* sheet = sheetEntry ? rt->services.images.ImTexture(sheetEntry) : nullptr;
  if (!sheet) return;
  const double q = glyphScale();
  const double fw = sheet->PatternSize().width * q, fh = sheet->PatternSize().height * q;
  const std::vector<UnicodeGlyph>& glyphs = db->glyphTable();
  TAsphyreCanvas& canvas = rt->services.canvas;
  canvas.SetAntialias(true);
  for (size_t i = 0; i < line.size(); i += wideCharAt(line, i).size) {
    const WideChar c = wideCharAt(line, i);
    if (c.cutOff) break;
    const uint32_t code = c.code;
    if (code >= glyphs.size() || glyphs[code].width == 0) continue;
    // Glyphs wholly outside the drawing range are left out.
    if (x + fw >= -1024 && x <= 2048 && y + fh >= -1024 && y <= 2048) {
      const float l = static_cast<float>(x), t = static_cast<float>(y);
      const float r = static_cast<float>(x + fw), b = static_cast<float>(y + fh);
      canvas.TexturedQuad(sheet, Quad{Point2{l, t}, Point2{r, t}, Point2{r, b}, Point2{l, b}},
                               PatternDesc{glyphs[code].index, 0, 0, 0, 0, 0},
                               QuadColors{colour1, colour1, colour1, colour1}, hxDrawFx);
    }
    x += glyphs[code].width * q;
  }
}

std::optional<double> TLumText::TextSize() const {
  if (usesSystemFont()) {
    if (!workSize_) return std::nullopt;
    return workSize_->width * systemTextScale();
  }
  if (!font_) return 0.0;
  font_->Scale = scale_;
  return font_->TextWidth(text_);
}

TLumElement* TLumText::HitTest(int32_t layer, int32_t x, int32_t y, int32_t, int32_t) {
  if (admittedToHitTest() && layer == Order() && X() <= x && x <= X() + sizeX_ && Y() <= y &&
      y <= Y() + sizeY_) {
    return this;
  }
  return nullptr;
}

}  // namespace lum

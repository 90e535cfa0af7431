// The system-font path of a text element: in Unicode mode the text being
// typed into, and every text marked Uni, is drawn in the game's system font
// instead of a bitmap font. The text is rendered once into a picture, white
// on black with black keyed out, and drawn centred on the box's anchor
// point, scaled to one and a half times the height of "W" in the element's
// font and tinted with colour 1.
#include "platform/code_page.h"
#include "platform/wide_escape.h"
#include "render/canvas.h"
#include "render/font.h"
#include "render/image.h"
#include "render/images.h"
#include "render/system_fonts.h"
#include "scene/anchor.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/text.h"

namespace lum {
namespace {

// The size the system font is drawn at, in points; the scale below makes
// up for it, so this sets only how fine the letters are.
constexpr int kSystemFontPoints = 30;
constexpr uint32_t kSystemTextEffect = 1284;

}  // namespace

TLumText::TLumText() = default;
TLumText::~TLumText() = default;

bool TLumText::usesSystemFont() const {
  const TLumDB* db = root();
  if (!db || !db->unicodeMode()) return false;
  const Runtime* rt = runtime();
  return Uni || (rt && rt->state.focusedText == this);
}

// Rebuilt only when the text changed since the last build: typing into a
// text rebuilds it once per key, drawing never does.
void TLumText::buildSystemText() {
  Runtime* rt = runtime();
  if (!rt) return;
  const Services& services = rt->services;
  workText_ = text_;
  work_.reset();
  workSize_ = SizeI{0, 0};

  const std::u16string wide = decodeWideEscape(text_, services.codePage);
  const std::string family = services.codePage.toUtf8(root()->systemFontName());
  Result<Picture> picture = services.systemFonts.renderText(wide, family, kSystemFontPoints);
  if (!picture) return;  // no font at all: nothing to draw, width 0
  const SizeI size{picture->width, picture->height};
  workSize_ = size;

  work_ = std::make_unique<TAsphyreImage>(services.textures.Device());
  work_->SetQuality(TAsphyreQuality::aqHigh);
  work_->SetAlphaLevel(TAlphaLevel::alFull);
  work_->SetMipMapping(services.textures.MipMappping());
  work_->SetPatternCount(1);
  work_->SetTextureCount(1);
  work_->SetVisibleSize(size);
  work_->SetPatternSize(size);
  work_->SetTextureSize(size);
  if (size.width > 0 && size.height > 0) work_->UploadBitmap(*picture, true, 0.0, 0);
}

double TLumText::systemTextScale() const {
  if (!font_ || !workSize_ || workSize_->height <= 0) return 0;
  font_->Scale = scale_;
  return font_->TextHeight("W") / workSize_->height * 1.5;
}

void TLumText::drawSystemText(double left, double top) {
  Runtime* rt = runtime();
  if (!rt) return;
  if (!workSize_ || text_ != workText_) buildSystemText();
  if (!work_ || workSize_->width <= 0 || workSize_->height <= 0) return;
  const double k = systemTextScale();
  const double w = workSize_->width * k, h = workSize_->height * k;
  const double x = left + anchorShift(PosHor, double(sizeX_)) - w / 2;
  const double y = top + anchorShift(PosVert, double(sizeY_)) - h / 2;
  const float l = static_cast<float>(x), t = static_cast<float>(y);
  const float r = static_cast<float>(x + w), b = static_cast<float>(y + h);
  TAsphyreCanvas& canvas = rt->services.canvas;
  canvas.SetAntialias(true);
  canvas.TexturedQuad(work_.get(), Quad{Point2{l, t}, Point2{r, t}, Point2{r, b}, Point2{l, b}},
                      PatternDesc{0, 0, 0, 0, 0, 0},
                      QuadColors{colour1, colour1, colour1, colour1}, kSystemTextEffect);
}

}  // namespace lum

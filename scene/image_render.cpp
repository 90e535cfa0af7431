// A picture element on screen: its picture from the image cache, its size,
// drawing with trimming and rotation, and the per-pixel hit test.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "media/image_cache.h"
#include "render/canvas.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/image.h"
#include "scene/anchor.h"
#include "scene/runtime.h"
#include "scene/sprite_quad.h"

namespace lum {

std::string TLumImage::imImage() const { return picture_ ? picture_->Name : imImage_; }

void TLumImage::SetimImage(const std::string& name) {
  imImage_ = name;
  Runtime* rt = runtime();
  if (rt) picture_ = rt->services.images.ImRequest(name, false);
}

void TLumImage::SetTextId(const std::string& id) {
  textId_ = id;
  if (root()) root()->LangText(id);  // looked up for its side effects only
}

TAsphyreImage* TLumImage::texture() {
  Runtime* rt = runtime();
  if (!rt || !picture_) return nullptr;
  ImageCache& images = rt->services.images;
  if (!picture_->Texture && !picture_->Failed) {
    bool& enabled = rt->state.frame.ImLoadEnabled;
    const bool saved = enabled;
    enabled = true;
    images.ImRequest(picture_->Name, false);
    enabled = saved;
  }
  return images.ImTexture(picture_);
}

int32_t TLumImage::SizeX() const {
  if (!picture_ || !picture_->Texture) return 0;
  return roundToInt32(picture_->Texture->PatternSize().width * Scale() * ScaleX);
}

int32_t TLumImage::SizeY() const {
  if (!picture_ || !picture_->Texture) return 0;
  return roundToInt32(picture_->Texture->PatternSize().height * Scale() * ScaleY);
}

int32_t TLumImage::AbsX() const {
  int32_t left = X() - anchorShift(PosHor, SizeX());
  return parent() ? parent()->AbsX() + left : left;
}

int32_t TLumImage::AbsY() const {
  int32_t top = Y() - anchorShift(PosVert, SizeY());
  return parent() ? parent()->AbsY() + top : top;
}

void TLumImage::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  TAsphyreImage* tex = texture();
  double childX = ox, childY = oy;
  if (tex) {
    const double fw = tex->PatternSize().width, fh = tex->PatternSize().height;
    const double w = Scale() * fw * ScaleX, h = Scale() * fh * ScaleY;
    const double cx = rX + w / 2 - anchorShift(PosHor, w);
    const double cy = rY + h / 2 - anchorShift(PosVert, h);
    if (layer == Order()) drawPicture(tex, ox + cx, oy + cy, w, h);
    childX = ox - anchorShift(PosHor, w);
    childY = oy - anchorShift(PosVert, h);
  }
  drawChildren(layer, tint, childX, childY);
}

void TLumImage::drawPicture(TAsphyreImage* tex, double qx, double qy, double w, double h) {
  SpriteQuad sprite;
  sprite.frame = Anim;
  sprite.cx = qx;
  sprite.cy = qy;
  sprite.width = w;
  sprite.height = h;
  sprite.factorX = ScaleX * Scale();
  sprite.factorY = ScaleY * Scale();
  sprite.angle = Angle();
  sprite.colour = colour;
  sprite.effect = hxDrawFx;
  drawSpriteQuad(runtime()->services.canvas, tex, sprite);
}

TLumElement* TLumImage::HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                                int32_t threshold) {
  TAsphyreImage* tex = picture_ ? picture_->Texture : nullptr;
  int32_t cx = x, cy = y;
  if (tex) {
    cx += anchorShift(PosHor, roundToInt32(tex->PatternSize().width * Scale() * ScaleX));
    cy += anchorShift(PosVert, roundToInt32(tex->PatternSize().height * Scale() * ScaleY));
  }
  if (admittedToHitTest()) {
    if (TLumElement* hit = hitTestChildren(layer, cx, cy, margin, threshold)) return hit;
  }
  if (layer == Order() && admittedToHitTest() && tex && PixelHit(x, y, margin, threshold)) {
    return this;
  }
  return nullptr;
}

bool TLumImage::PixelHit(int32_t x, int32_t y, int32_t m, int32_t threshold) {
  TAsphyreImage* tex = picture_ ? picture_->Texture : nullptr;
  if (!tex || scale_ == 0) return false;
  const int32_t fw = tex->PatternSize().width, fh = tex->PatternSize().height;
  const int32_t W = roundToInt32(fw * static_cast<double>(scale_) / 1000.0);
  const int32_t H = roundToInt32(fh * static_cast<double>(scale_) / 1000.0);
  if (W == 0 || H == 0) return false;
  const int64_t W2 = int64_t{W} + 2 * int64_t{m}, H2 = int64_t{H} + 2 * int64_t{m};
  const int64_t half = std::max(W2, H2) / 2;
  const int64_t cx = int64_t{X()} + W2 / 2 - anchorShift(PosHor, W2);
  const int64_t cy = int64_t{Y()} + H2 / 2 - anchorShift(PosVert, H2);
  const int64_t dx = x - cx, dy = y - cy;
  if (dx < -half || dx > half || dy < -half || dy > half) return false;
  const double d = std::sqrt(double(dx) * dx + double(dy) * dy);
  double phi;
  if (dx != 0) {
    phi = std::atan(double(dy) / double(dx)) + (dx < 0 ? std::numbers::pi : 0.0);
  } else {
    phi = dy >= 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  }
  phi -= Angle() * std::numbers::pi / 180.0;
  const double u = d * std::cos(phi) + double(W2 / 2), v = d * std::sin(phi) + double(H2 / 2);
  if (!(u >= 0 && u < double(W2) && v >= 0 && v < double(H2))) return false;
  if (tex->AlphaLevel() == TAlphaLevel::alNone) return true;
  const int32_t px = roundToInt32(u * 1000.0 / scale_), py = roundToInt32(v * 1000.0 / scale_);
  if (px < 0 || px >= fw || py < 0 || py >= fh) return false;
  std::optional<uint32_t> pixel = FramePixel(0, px, py);
  return pixel && static_cast<int32_t>(*pixel >> 24) > threshold;
}

std::optional<uint32_t> TLumImage::FramePixel(int32_t frame, int32_t x, int32_t y) const {
  TAsphyreImage* tex = picture_ ? picture_->Texture : nullptr;
  if (!tex) return std::nullopt;
  if (x < 0 || y < 0 || x >= tex->VisibleSize().width || y >= tex->VisibleSize().height) {
    return std::nullopt;
  }
  int index = 0;
  Quad uv;
  if (!tex->TextureCoordinates(PatternDesc{frame, 0, 0, 0, 0, 0}, index, uv)) return std::nullopt;
  const int left = roundToInt32(uv[0].x * tex->TextureSize().width);
  const int top = roundToInt32(uv[0].y * tex->TextureSize().height);
  return tex->GetPixel(index, left + x, top + y);
}

}  // namespace lum

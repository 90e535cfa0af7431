// Animations on screen: the background, the current frame's pictures, the
// keys drawn as elements, and animations shown elsewhere.
#include "media/image_cache.h"
#include "render/canvas.h"
#include "render/image.h"
#include "scene/anchor.h"
#include "scene/anim.h"
#include "scene/runtime.h"
#include "scene/sprite_quad.h"

namespace lum {

std::string TLumAnim::ImBack() const { return background_ ? background_->Name : imBack_; }

void TLumAnim::SetImBack(const std::string& name) {
  imBack_ = name;
  Runtime* rt = runtime();
  if (!rt) return;
  background_ = rt->services.images.ImRequest(name, false);
  if (background_->Texture) {
    sizeX_ = background_->Texture->PatternSize().width;
    sizeY_ = background_->Texture->PatternSize().height;
  }
}

void TLumAnim::drawBackground(double x, double y, uint32_t tint) {
  const Services& sv = runtime()->services;
  if (TAsphyreImage* tex = background_ ? sv.images.ImTexture(background_) : nullptr) {
    sv.canvas.DrawPattern(tex, static_cast<float>(x), static_cast<float>(y), 0, tint, hxDrawFx);
  }
}

void TLumAnim::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  if (ShowAn) {
    if (layer == Order()) DrawFrame(pos_, ox + rX, oy + rY, tint);
    return;
  }
  // Not playing on screen: the background and the keys' own pictures.
  if (layer == Order()) drawBackground(ox, oy, tint);
  for (size_t i = childCount(); i-- > 0;) {
    TLumElement* key = child(i);
    if (key->Vis()) key->Draw(layer, tint, ox + rX, oy + rY);
  }
}

void TLumAnim::DrawFrame(int32_t p, double x0, double y0, uint32_t tint) {
  if (!runtime() || p < 0 || p >= frames_.count()) return;
  drawBackground(x0, y0, tint);
  const Services& sv = runtime()->services;
  frames_.Spell(p, scratch_);
  const double turned = Angle - frames_.builtAngle();
  for (const AnimSprite& s : scratch_) {
    TAsphyreImage* tex = sv.images.ImTexture(s.picture);
    if (!tex) continue;
    SpriteQuad quad;
    quad.frame = s.frame;
    quad.cx = x0 + s.x;
    quad.cy = y0 + s.y;
    quad.factorX = s.scaleX * s.scale;
    quad.factorY = s.scaleY * s.scale;
    quad.width = tex->PatternSize().width * quad.factorX;
    quad.height = tex->PatternSize().height * quad.factorY;
    // A picture whose frame was chosen by direction already shows the
    // animation's angle of the build; only the remainder, and any turn of
    // the animation since, is drawn as rotation.
    quad.angle = s.directed ? s.angle + turned : Angle + s.angle;
    quad.colour = s.colour;
    quad.effect = s.effect;
    drawSpriteQuad(sv.canvas, tex, quad);
  }
}

int32_t TLumExAnim::SizeX() const { return shown() ? anim_->SizeX() : 0; }
int32_t TLumExAnim::SizeY() const { return shown() ? anim_->SizeY() : 0; }

int32_t TLumExAnim::AbsX() const {
  const int32_t left = X() - anchorShift(PosHor, SizeX());
  return parent() ? parent()->AbsX() + left : left;
}

int32_t TLumExAnim::AbsY() const {
  const int32_t top = Y() - anchorShift(PosVert, SizeY());
  return parent() ? parent()->AbsY() + top : top;
}

void TLumExAnim::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  TLumAnim* anim = shown();
  if (!anim || layer != Order()) return;  // its own children are never drawn
  settlePosition();
  const int32_t left = X() - anchorShift(PosHor, SizeX());
  const int32_t top = Y() - anchorShift(PosVert, SizeY());
  anim->DrawFrame(pos_, ox + left, oy + top, tint);
}

}  // namespace lum

// Screens and embedded screens on screen: backgrounds, hit tests with the
// screen's margin, and the embedding element's forwarding.
#include "media/image_cache.h"
#include "render/canvas.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/anchor.h"
#include "scene/runtime.h"
#include "scene/screen.h"

namespace lum {

std::string TLumScreen::ImBack() const { return background_ ? background_->Name : imBack_; }

void TLumScreen::SetImBack(const std::string& name) {
  imBack_ = name;
  Runtime* rt = runtime();
  if (!rt) return;
  background_ = rt->services.images.ImRequest(name, false);
  if (background_->Texture) {
    sizeX_ = background_->Texture->PatternSize().width;
    sizeY_ = background_->Texture->PatternSize().height;
  }
}

void TLumScreen::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  if (layer == Order()) {
    const Services& sv = runtime()->services;
    if (TAsphyreImage* tex = background_ ? sv.images.ImTexture(background_) : nullptr) {
      sv.canvas.DrawPattern(tex, static_cast<float>(ox), static_cast<float>(oy), 0, tint,
                            hxDrawFx);
    }
    RunEvent(event(EventSlot::Render), "Render");
  }
  drawChildren(layer, tint, ox, oy);
}

TLumElement* TLumScreen::HitTest(int32_t layer, int32_t x, int32_t y, int32_t, int32_t threshold) {
  if (TLumElement* hit = TLumElement::HitTest(layer, x, y, Agro, threshold)) return hit;
  if (layer == Order() && (Vis() || MousedNotVis) && Modal) return this;
  return nullptr;
}

bool TLumExScreen::isAncestor(const TLumElement* e) const {
  for (const TLumElement* p = parent(); p; p = p->parent()) {
    if (p == e) return true;
  }
  return false;
}

TLumScreen* TLumExScreen::embedded() {
  if (screen_ || !root()) return screen_;
  for (const auto& c : root()->children()) {
    if (c->className() == TLumScreen::info().name && c->Key == obScreen_ && !isAncestor(c.get())) {
      screen_ = static_cast<TLumScreen*>(c.get());
      break;
    }
  }
  if (screen_) {
    // Widen this element's layer range (and its ancestors') to the embedded
    // screen's, keeping its own layer.
    const int32_t own = Order();
    SetOrder(screen_->minOrder());
    SetOrder(screen_->maxOrder());
    restoreOrderField(own);
  }
  return screen_;
}

int32_t TLumExScreen::SizeX() const {
  return const_cast<TLumExScreen*>(this)->embedded() ? screen_->SizeX() : 0;
}

int32_t TLumExScreen::SizeY() const {
  return const_cast<TLumExScreen*>(this)->embedded() ? screen_->SizeY() : 0;
}

int32_t TLumExScreen::left() const {
  const int32_t w = SizeX();
  return X() - anchorShift(PosHor, w);
}

int32_t TLumExScreen::top() const {
  const int32_t h = SizeY();
  return Y() - anchorShift(PosVert, h);
}

int32_t TLumExScreen::AbsX() const { return parent() ? parent()->AbsX() + left() : left(); }
int32_t TLumExScreen::AbsY() const { return parent() ? parent()->AbsY() + top() : top(); }

void TLumExScreen::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  if (TLumScreen* s = forwardTarget()) {
    ForwardGuard guard(*this);
    s->Draw(layer, tint, ox + left(), oy + top());
  }
  drawChildren(layer, tint, ox, oy);
}

TLumElement* TLumExScreen::HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                                   int32_t threshold) {
  if (!Vis() && !MousedNotVis) return nullptr;
  if (TLumScreen* s = forwardTarget()) {
    ForwardGuard guard(*this);
    // Where the screen is drawn: at the anchored position, not at (X, Y).
    if (TLumElement* hit = s->HitTest(layer, x - left(), y - top(), margin, threshold)) return hit;
  }
  if (layer == Order() && Modal) return this;
  return nullptr;
}

}  // namespace lum

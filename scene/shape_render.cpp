// Shapes on screen: boxes, circle sectors, cropping children, hit tests.
#include <algorithm>
#include <numbers>

#include "render/canvas.h"
#include "render/images.h"
#include "scene/pie.h"
#include "scene/runtime.h"
#include "scene/shape.h"

namespace lum {

void TLumShape::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  TAsphyreCanvas* canvas = &runtime()->services.canvas;
  const double left = ox + rX, top = oy + rY;
  IntRect saved;
  if (Crop && canvas) {
    saved = canvas->GetClipRect();
    IntRect box{roundToInt32(left), roundToInt32(top), roundToInt32(left + SizeX()),
                roundToInt32(top + SizeY())};
    canvas->SetClipRect(IntRect{std::max(saved.left, box.left), std::max(saved.top, box.top),
                                std::min(saved.right, box.right),
                                std::min(saved.bottom, box.bottom)});
  }
  if (layer == Order() && canvas) {
    if (ShapeType == stCircle) {
      drawSector(left, top);
    } else {
      canvas->FillRect(roundToInt32(left), roundToInt32(top), SizeX(), SizeY(), colour, hxDrawFx);
    }
  }
  drawChildren(layer, tint, ox, oy);
  if (Crop && canvas) canvas->SetClipRect(saved);
}

void TLumShape::drawSector(double left, double top) {
  const Services& sv = runtime()->services;
  if (SizeX() <= 0 || SizeY() <= 0 || !pictureSizeAllowed(SizeX(), SizeY())) return;
  TAsphyreImages& list = sv.textures;
  // A device reset empties the texture list; then the sector is made again.
  if (sectorTexture_ && list.IndexOf(sectorTexture_) < 0) sectorTexture_ = nullptr;
  const SectorKey key{SizeX(), SizeY(), Par1, Par2};
  if (!sectorTexture_ || !(key == sectorKey_)) {
    if (sectorTexture_) list.RemoveAt(list.IndexOf(sectorTexture_));
    sectorTexture_ = paintSector(list, key);
    sectorKey_ = key;
  }
  if (!sectorTexture_) return;
  sv.canvas.DrawPatternScaled(sectorTexture_, static_cast<float>(roundToInt32(left)),
                              static_cast<float>(roundToInt32(top)), static_cast<float>(Par3), 0,
                              colour, 1284);
}

TAsphyreImage* TLumShape::paintSector(TAsphyreImages& list, const SectorKey& key) {
  TAsphyreImage* made = list.Add();
  TAsphyreImage& tex = *made;
  tex.SetQuality(TAsphyreQuality::aqHigh);
  tex.SetAlphaLevel(TAlphaLevel::alFull);
  tex.SetMipMapping(list.MipMappping());
  tex.SetPatternCount(1);
  tex.SetTextureCount(1);
  const double toRadians = std::numbers::pi / 180.0;
  Picture pie = paintPie(key.width, key.height, key.p1 * toRadians, key.p2 * toRadians);
  SizeI size{key.width, key.height};
  tex.SetVisibleSize(size);
  tex.SetPatternSize(size);
  tex.SetTextureSize(size);
  if (!tex.UploadBitmap(pie, true, 0.0, 0)) {
    list.RemoveAt(list.IndexOf(made));
    return nullptr;
  }
  return made;
}

TLumElement* TLumShape::HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                                int32_t threshold) {
  if (!admittedToHitTest()) return nullptr;
  if (TLumElement* hit = hitTestChildren(layer, x, y, margin, threshold)) {
    if (Crop && (x < X() || y < Y() || x > X() + SizeX() || y > Y() + SizeY())) return nullptr;
    return hit;
  }
  if (layer == Order() && X() <= x && x <= X() + SizeX() && Y() <= y && y <= Y() + SizeY()) {
    return this;
  }
  return nullptr;
}

}  // namespace lum

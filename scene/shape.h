#pragma once
// TLumShape: a filled box or circle sector.
#include "scene/element.h"

namespace lum {

class TAsphyreImage;
class TAsphyreImages;

class TLumShape : public TLumElement {
 public:
  static constexpr uint8_t stBox = 0;
  static constexpr uint8_t stCircle = 1;

  TLumShape() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override { sizeX_ = v; }
  void SetSizeY(int32_t v) override { sizeY_ = v; }

  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;

  uint32_t hxDrawFx = 1284;
  uint32_t colour = 0xFFFFFFFFu;
  bool Crop = false;
  uint8_t ShapeType = stBox;
  double Par1 = 0.0;
  double Par2 = 0.0;
  double Par3 = 0.0;

 private:
  void drawSector(double left, double top);

  int32_t sizeX_ = 100, sizeY_ = 100;
  TAsphyreImage* sectorTexture_ = nullptr;  // held in the texture list
  // What the sector texture was painted from, to paint again only on change.
  struct SectorKey {
    int32_t width = 0, height = 0;
    double p1 = 0, p2 = 0;
    bool operator==(const SectorKey&) const = default;
  } sectorKey_;
  TAsphyreImage* paintSector(TAsphyreImages& list, const SectorKey& key);
};

}  // namespace lum

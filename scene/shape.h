#pragma once
// TLumShape: a filled box or circle sector.
#include "scene/element.h"

namespace lum {

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

  uint32_t hxDrawFx = 1284;
  uint32_t colour = 0xFFFFFFFFu;
  bool Crop = false;
  uint8_t ShapeType = stBox;
  double Par1 = 0.0;
  double Par2 = 0.0;
  double Par3 = 0.0;

 private:
  int32_t sizeX_ = 100, sizeY_ = 100;
};

}  // namespace lum

#pragma once
// TLumImage: a picture placed on a screen, with scale, rotation and tint.
#include "scene/element.h"

namespace lum {

class TLumImage : public TLumElement {
 public:
  TLumImage() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  const std::string& imImage() const { return imImage_; }
  virtual void SetimImage(const std::string& name) { imImage_ = name; }
  const std::string& TextId() const { return textId_; }
  virtual void SetTextId(const std::string& id) { textId_ = id; }

  // Scale and angle are kept in thousandths (of a unit, of a degree).
  double Scale() const { return scale_ / 1000.0; }
  double Angle() const { return angle_ / 1000.0; }
  void SetScale(double v) { scale_ = roundToInt32(v * 1000.0); }
  void SetAngle(double v) { angle_ = roundToInt32(v * 1000.0); }

  uint32_t hxDrawFx = 1284;
  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  uint32_t colour = 0xFFFFFFFFu;
  int32_t Anim = 0;
  double ScaleX = 1.0;
  double ScaleY = 1.0;
  bool Interpol = true;
  bool InterpolSc = true;

 private:
  int32_t scale_ = 1000;
  int32_t angle_ = 0;
  std::string imImage_;
  std::string textId_;
};

}  // namespace lum

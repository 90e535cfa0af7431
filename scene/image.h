#pragma once
// TLumImage: a picture placed on a screen, with scale, rotation and tint.
#include <optional>

#include "scene/element.h"

namespace lum {

struct TLumIm;
class TAsphyreImage;

class TLumImage : public TLumElement {
 public:
  TLumImage() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  // The picture's cache key, or the name as given where there is no cache.
  std::string imImage() const;
  void SetimImage(const std::string& name);
  const std::string& TextId() const { return textId_; }
  void SetTextId(const std::string& id);
  TLumIm* picture() const { return picture_; }
  // The picture to draw now, loading it if it was only recorded.
  TAsphyreImage* texture();

  int32_t SizeX() const override;
  int32_t SizeY() const override;
  int32_t AbsX() const override;
  int32_t AbsY() const override;
  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;
  // The pixel test alone: whether (x, y) in the parent's coordinates lies on
  // an opaque enough pixel of the first frame, widened by the margin.
  bool PixelHit(int32_t x, int32_t y, int32_t margin, int32_t threshold);
  // The colour word of pixel (x, y) of a frame of the loaded picture; none
  // when the picture is not loaded or the point lies outside the frame.
  std::optional<uint32_t> FramePixel(int32_t frame, int32_t x, int32_t y) const;

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
  void drawPicture(TAsphyreImage* texture, double qx, double qy, double w, double h);

  std::string imImage_;
  std::string textId_;
  TLumIm* picture_ = nullptr;
};

}  // namespace lum

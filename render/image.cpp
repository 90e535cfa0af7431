#include "render/image.h"

#include <cmath>

namespace lum {

bool TAsphyreImage::SetQuality(TAsphyreQuality value) {
  if (state_ != TextureState::None) return false;
  quality_ = value;
  return true;
}

bool TAsphyreImage::SetAlphaLevel(TAlphaLevel value) {
  if (state_ != TextureState::None) return false;
  alphaLevel_ = value;
  return true;
}

bool TAsphyreImage::SetPatternSize(SizeI value) {
  if (state_ != TextureState::None) return false;
  patternSize_ = value;
  return true;
}

bool TAsphyreImage::SetVisibleSize(SizeI value) {
  if (state_ != TextureState::None) return false;
  visibleSize_ = value;
  return true;
}

bool TAsphyreImage::SetPatternCount(int32_t value) {
  if (state_ != TextureState::None) return false;
  patternCount_ = value;
  return true;
}

bool TAsphyreImage::computeLayout() {
  if (patternSize_.width <= 0) patternSize_.width = textureSize_.width;
  if (patternSize_.height <= 0) patternSize_.height = textureSize_.height;
  if (visibleSize_.width <= 0) visibleSize_.width = textureSize_.width;
  if (visibleSize_.height <= 0) visibleSize_.height = textureSize_.height;
  if (textureSize_.width <= 0 || textureSize_.height <= 0) return false;
  if (patternSize_.width > textureSize_.width || patternSize_.height > textureSize_.height)
    return false;
  if (visibleSize_.width > patternSize_.width || visibleSize_.height > patternSize_.height)
    return false;
  perRow_ = textureSize_.width / patternSize_.width;
  perColumn_ = textureSize_.height / patternSize_.height;
  perTexture_ = perRow_ * perColumn_;
  return true;
}

bool TAsphyreImage::prepareTextures() {
  if (!computeLayout()) return false;
  if (patternCount_ <= 0) {
    const int64_t count = int64_t(perTexture_) * textureCount_;
    patternCount_ = count > INT32_MAX ? INT32_MAX : int32_t(count);
  }
  return TDXMultiTexture::prepareTextures();
}

bool TAsphyreImage::TextureCoordinates(const PatternDesc& d, int& index, Quad& uv) const {
  if (state_ != TextureState::Ready || textures_.empty() || patternCount_ <= 0 ||
      perTexture_ <= 0)
    return false;
  int p = d.pattern < 0 ? 0 : d.pattern >= patternCount_ ? patternCount_ - 1 : d.pattern;
  index = p / perTexture_;
  p %= perTexture_;
  const int left = (patternSize_.width - visibleSize_.width) / 2 + int(std::nearbyint(float(d.x))) +
                   (p % perRow_) * patternSize_.width;
  const int top = int(std::nearbyint(float(d.y))) +
                  ((p / perRow_) % perColumn_) * patternSize_.height +
                  (patternSize_.height - visibleSize_.height) / 2;
  const int right = left + (d.width >= 1 ? d.width : visibleSize_.width);
  const int bottom = top + (d.height >= 1 ? d.height : visibleSize_.height);
  float u0 = float(left) / textureSize_.width, u1 = float(right) / textureSize_.width;
  float v0 = float(top) / textureSize_.height, v1 = float(bottom) / textureSize_.height;
  if ((d.mirror >> 8) & 0xFF) std::swap(u0, u1);
  if (d.mirror & 0xFF) std::swap(v0, v1);
  uv = {Point2{u0, v0}, Point2{u1, v0}, Point2{u1, v1}, Point2{u0, v1}};
  return true;
}

double colorKeyAlpha(double r, double g, double b, double keyR, double keyG, double keyB,
                     double tolerance) {
  const double threshold = std::fabs(tolerance) / 57.73502692 + 0.025;
  const double distance =
      std::sqrt((r - keyR) * (r - keyR) + (g - keyG) * (g - keyG) + (b - keyB) * (b - keyB));
  if (distance > threshold) return 1.0;
  return (1.0 - std::cos(M_PI * distance / threshold)) / 2.0;
}

}  // namespace lum

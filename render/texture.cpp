#include "render/texture.h"

#include "render/device.h"

namespace lum {

namespace {
// The texture formats the images ask for, best first: full alpha, high
// quality. Every image in the system uses this combination.
constexpr PixelFormat kFormatPreference[] = {PixelFormat::A8R8G8B8, PixelFormat::A4R4G4B4,
                                             PixelFormat::A8R3G3B2, PixelFormat::A1R5G5B5};
}  // namespace

TDXBaseTexture::TDXBaseTexture(TAsphyreDevice* device)
    : device_(device), serial_(device ? device->NewObjectSerial() : 0) {}

bool TDXBaseTexture::SetTextureSize(SizeI size) {
  if (state_ != TextureState::None) return false;
  textureSize_ = size;
  return true;
}

bool TDXBaseTexture::SetMipMapping(bool value) {
  if (state_ != TextureState::None) return false;
  mipMapping_ = value;
  return true;
}

GraphicsDevice* TDXBaseTexture::graphics() const {
  return device_ ? device_->Graphics() : nullptr;
}

PixelFormat TDXBaseTexture::chooseFormat() const {
  GraphicsDevice* g = graphics();
  if (!g) return PixelFormat::Unknown;
  for (PixelFormat f : kFormatPreference)
    if (g->supportsTextureFormat(f)) return f;
  return PixelFormat::Unknown;
}

bool TDXBaseTexture::prepareTextures() {
  if (textureSize_.width <= 0 || textureSize_.height <= 0) return false;
  format_ = chooseFormat();
  return format_ != PixelFormat::Unknown;
}

bool TDXBaseTexture::CreateTextures() {
  if (state_ != TextureState::None) return state_ == TextureState::Ready;
  if (!prepareTextures() || !createDeviceTextures()) {
    releaseDeviceTextures();
    return false;
  }
  state_ = TextureState::Ready;
  return true;
}

void TDXBaseTexture::ReleaseTextures() {
  releaseDeviceTextures();
  state_ = TextureState::None;
}

void TDXBaseTexture::HandleLoss() {
  if (state_ == TextureState::Ready && releaseOnLoss_) {
    releaseDeviceTextures();
    state_ = TextureState::Released;
  }
}

bool TDXBaseTexture::HandleRestore() {
  if (state_ != TextureState::Released && state_ != TextureState::Failed)
    return state_ != TextureState::Failed;
  if (createDeviceTextures()) {
    state_ = TextureState::Ready;
    return true;
  }
  releaseDeviceTextures();
  state_ = TextureState::Failed;
  return false;
}

uint32_t TDXBaseTexture::GetPixel(int index, int x, int y) {
  const TexelRect rect{x, y, x + 1, y + 1};
  const auto lock = Lock(index, &rect, true);
  if (!lock) return 0;
  const uint32_t argb = readPixel(lock->bits, lock->format);
  Unlock(index);
  return swapRedBlue(argb);
}

bool TDXBaseTexture::TextureCoordinates(const PatternDesc& d, int& index, Quad& uv) const {
  if (state_ != TextureState::Ready || textureSize_.width <= 0 || textureSize_.height <= 0)
    return false;
  index = 0;
  float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
  if (d.width > 0 && d.height > 0) {
    u0 = float(d.x) / textureSize_.width;
    v0 = float(d.y) / textureSize_.height;
    u1 = float(d.x + d.width) / textureSize_.width;
    v1 = float(d.y + d.height) / textureSize_.height;
  }
  uv = {Point2{u0, v0}, Point2{u1, v0}, Point2{u1, v1}, Point2{u0, v1}};
  return true;
}

bool TDXMultiTexture::SetTextureCount(int count) {
  if (state_ != TextureState::None) return false;
  textureCount_ = count < 0 ? 0 : count;
  return true;
}

GpuTexture* TDXMultiTexture::Texture(int index) const {
  if (index < 0 || index >= int(textures_.size())) return nullptr;
  return textures_[size_t(index)].get();
}

bool TDXMultiTexture::BindTexture(int index, int) {
  GpuTexture* t = Texture(index);
  GraphicsDevice* g = graphics();
  if (!t || !g) return false;
  g->bindTexture(t);
  return true;
}

std::optional<TextureLock> TDXMultiTexture::Lock(int index, const TexelRect* rect,
                                                 bool readOnly) {
  GpuTexture* t = Texture(index);
  if (!t) return std::nullopt;
  const auto lock = t->lock(rect, readOnly);
  if (!lock) return std::nullopt;
  return TextureLock{lock->bits, lock->pitch, t->format()};
}

void TDXMultiTexture::Unlock(int index) {
  if (GpuTexture* t = Texture(index)) t->unlock();
}

bool TDXMultiTexture::createDeviceTextures() {
  GraphicsDevice* g = graphics();
  if (!g) return false;
  textures_.clear();
  for (int i = 0; i < textureCount_; ++i) {
    auto t = g->createTexture(textureSize_.width, textureSize_.height, format_, mipMapping_);
    if (!t) return false;
    textures_.push_back(std::move(t));
  }
  return true;
}

void TDXMultiTexture::releaseDeviceTextures() { textures_.clear(); }

}  // namespace lum

#pragma once
// Texture objects: one or more device textures of one size and format that
// can be bound, locked and read, created from the device that owns them.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "render/archive_records.h"
#include "render/geometry.h"
#include "render/graphics_device.h"
#include "render/pixel_format.h"

namespace lum {

class TAsphyreDevice;

enum class TextureState { None, Ready, Released, Failed };

struct TextureLock {
  uint8_t* bits = nullptr;
  int pitch = 0;
  PixelFormat format = PixelFormat::Unknown;
};

class TDXBaseTexture {
 public:
  explicit TDXBaseTexture(TAsphyreDevice* device);
  TDXBaseTexture(const TDXBaseTexture&) = delete;
  TDXBaseTexture& operator=(const TDXBaseTexture&) = delete;
  virtual ~TDXBaseTexture() = default;

  SizeI TextureSize() const { return textureSize_; }
  bool SetTextureSize(SizeI size);  // only while no textures exist
  bool MipMapping() const { return mipMapping_; }
  bool SetMipMapping(bool value);
  TextureState State() const { return state_; }
  PixelFormat Format() const { return format_; }
  bool ReleaseOnLoss() const { return releaseOnLoss_; }
  uint64_t Serial() const { return serial_; }
  TAsphyreDevice* Device() const { return device_; }

  // The state changes: create from none, release, device loss and restore.
  bool CreateTextures();
  void ReleaseTextures();
  void HandleLoss();
  bool HandleRestore();

  virtual bool BindTexture(int index, int stage) = 0;
  virtual std::optional<TextureLock> Lock(int index, const TexelRect* rect, bool readOnly) = 0;
  virtual void Unlock(int index) = 0;
  // The texel at (x, y) in the canvas's colour order; 0 when it cannot be read.
  uint32_t GetPixel(int index, int x, int y);
  // Which texture and which coordinates a quad drawing `desc` uses. A plain
  // texture object shows the source rectangle of texture 0.
  virtual bool TextureCoordinates(const PatternDesc& desc, int& index, Quad& uv) const;

 protected:
  virtual bool prepareTextures();  // checks and the format choice
  virtual bool createDeviceTextures() = 0;
  virtual void releaseDeviceTextures() = 0;
  GraphicsDevice* graphics() const;
  PixelFormat chooseFormat() const;

  TAsphyreDevice* device_;
  SizeI textureSize_{256, 256};
  bool mipMapping_ = true;
  TextureState state_ = TextureState::None;
  PixelFormat format_ = PixelFormat::Unknown;
  bool releaseOnLoss_ = false;
  uint64_t serial_ = 0;
};

class TDXMultiTexture : public TDXBaseTexture {
 public:
  using TDXBaseTexture::TDXBaseTexture;
  int TextureCount() const { return textureCount_; }
  bool SetTextureCount(int count);  // only while no textures exist; below 0 is 0

  bool BindTexture(int index, int stage) override;
  std::optional<TextureLock> Lock(int index, const TexelRect* rect, bool readOnly) override;
  void Unlock(int index) override;
  GpuTexture* Texture(int index) const;

 protected:
  bool createDeviceTextures() override;
  void releaseDeviceTextures() override;
  int textureCount_ = 1;
  std::vector<std::unique_ptr<GpuTexture>> textures_;
};

}  // namespace lum

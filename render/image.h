#pragma once
// An image: textures cut into equal patterns (the frames of a picture), each
// with a visible part centred in its cell, filled from a picture or from an
// archive image record.
#include <cstdint>
#include <span>
#include <string>

#include "render/picture.h"
#include "render/texture.h"

namespace lum {

enum class TAsphyreQuality { aqLow, aqMedium, aqHigh };
enum class TAlphaLevel { alNone, alMask, alFull, alExclusive };

class TAsphyreImage : public TDXMultiTexture {
 public:
  using TDXMultiTexture::TDXMultiTexture;

  std::string Name = "[unnamed]";

  TAsphyreQuality Quality() const { return quality_; }
  bool SetQuality(TAsphyreQuality value);
  TAlphaLevel AlphaLevel() const { return alphaLevel_; }
  bool SetAlphaLevel(TAlphaLevel value);
  SizeI PatternSize() const { return patternSize_; }
  bool SetPatternSize(SizeI value);
  SizeI VisibleSize() const { return visibleSize_; }
  bool SetVisibleSize(SizeI value);
  int32_t PatternCount() const { return patternCount_; }
  bool SetPatternCount(int32_t value);
  int PatternsPerRow() const { return perRow_; }
  int PatternsPerColumn() const { return perColumn_; }
  int PatternsPerTexture() const { return perTexture_; }

  bool TextureCoordinates(const PatternDesc& desc, int& index, Quad& uv) const override;

  // Cuts `picture` into cells of PatternSize and lays them out into as many
  // textures as needed; with `colorKey`, texels near `keyColor` (canvas
  // order) fade to transparent.
  bool UploadBitmap(const Picture& picture, bool colorKey, double tolerance, uint32_t keyColor);
  // An archive image record: its header sets the layout, its rows the texels.
  bool UploadRecord(std::span<const uint8_t> record);
  bool UploadArchiveImage(const ArchiveImage& image);

 protected:
  bool prepareTextures() override;

 private:
  bool computeLayout();  // sizes and patterns per row, column and texture
  TAsphyreQuality quality_ = TAsphyreQuality::aqHigh;
  TAlphaLevel alphaLevel_ = TAlphaLevel::alFull;
  SizeI patternSize_, visibleSize_;
  int32_t patternCount_ = 0;
  int perRow_ = 0, perColumn_ = 0, perTexture_ = 0;
};

// The colour-key alpha of one pixel: 0 at the key, rising smoothly to 1 at
// the tolerance threshold. Channels in 0 ... 1.
double colorKeyAlpha(double r, double g, double b, double keyR, double keyG, double keyB,
                     double tolerance);

}  // namespace lum

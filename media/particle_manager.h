#pragma once
// Holds the sprite sheet that every particle system and the star table draw
// from: "particles.bmp" through the image cache. The texture behind the
// entry is made again after every display switch, so systems never keep it:
// they ask for the current one each time they draw.
#include <string>

namespace lum {

class ImageCache;
class TAsphyreImage;
struct TLumIm;

class TXParticleManager {
 public:
  explicit TXParticleManager(ImageCache& images) : images_(images) {}

  // Requests the sheet, kept across screen changes; the root does this
  // when the game loads and again after every display switch.
  void RequestSheet();
  // The sheet's texture as it is now, or null when there is none.
  TAsphyreImage* Sheet() const;
  TLumIm* entry() const { return sheet_; }

  static inline const std::string kSheetName = "particles.bmp";

 private:
  ImageCache& images_;
  TLumIm* sheet_ = nullptr;
};

}  // namespace lum

#pragma once
// Short-lived sprites drawn over the scene: each moves, turns and shrinks by
// fixed steps every logic tick and dies when its size is no longer above 0.
#include <array>
#include <cstdint>
#include "platform/random.h"
#include <string>

namespace lum {

class TAsphyreCanvas;
class TAsphyreImage;

struct Star {
  int32_t pattern = 0;
  int32_t layer = 0;  // 1000: above everything
  int32_t effect = 0;
  bool used = false;
  uint32_t colour = 0;
  double angle = 0, x = 0, y = 0, size = 0;
  double angleStep = 0, sizeStep = 0, xStep = 0, yStep = 0;
};

struct StarMotion {
  double angle = 0, x = 0, y = 0, size = 0;
  double angleStep = 0, sizeStep = 0, xStep = 0, yStep = 0;
};

class StarTable {
 public:
  static constexpr size_t kCapacity = 5001;

  // Takes the first free entry; a full table drops the star. The colour is
  // the decimal value of the text, random when the text is empty, and left
  // as the entry had it when the text is not a number.
  void AddStar(int32_t pattern, const std::string& colourText, int32_t effect, int32_t layer,
               const StarMotion& motion, Random& random);
  void UpdateStars();
  void Clear() { stars_ = {}; }
  // Every live star of the layer as its pattern of the sheet, with effect 260.
  void DrawStars(int32_t layer, TAsphyreCanvas& canvas, TAsphyreImage* sheet) const;

  const std::array<Star, kCapacity>& entries() const { return stars_; }
  size_t liveCount() const;

 private:
  std::array<Star, kCapacity> stars_{};
};

}  // namespace lum

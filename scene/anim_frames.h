#pragma once
// The frame table of a key-frame animation. Each key covers Count + 1
// frames in which every picture of the key moves towards the picture of the
// same Id in the next key, in a straight line or along a spline through all
// keys, cross-fading where the picture changes. The table keeps what the
// keys looked like when it was built (one pair of poses per picture and
// key, and the splines) and spells out one frame at a time, so that its
// memory follows the size of the keys and not the number of frames.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/cubic_spline.h"

namespace lum {

struct TLumIm;
class TLumAnim;

// One picture of a frame.
struct AnimSprite {
  TLumIm* picture = nullptr;
  int32_t frame = 0;       // frame of the picture
  double x = 0, y = 0;     // centre, relative to the animation's origin
  double scale = 1;
  double angle = 0;        // degrees
  double scaleX = 1, scaleY = 1;
  uint32_t colour = 0xFFFFFFFFu;
  uint32_t effect = 0;
  // The frame of the picture was chosen by direction (the picture had frame
  // -1): `angle` is only what is left over after that choice.
  bool directed = false;
};

using AnimFrame = std::vector<AnimSprite>;

// A key's picture as the table remembers it.
struct KeyPose {
  TLumIm* picture = nullptr;
  int32_t frame = 0;
  double left = 0, top = 0;            // relative to the animation
  double frameWidth = 0, frameHeight = 0;
  double scale = 1, angle = 0, scaleX = 1, scaleY = 1;
  uint32_t colour = 0xFFFFFFFFu;
  uint32_t effect = 0;
  bool scalesOnPath = false;  // InterpolSc: the spline also drives the scales
  int32_t path = -1;          // the spline path the picture follows, or none
};

class AnimFrames {
 public:
  // Builds the table from the animation's keys and images as they are now.
  void Build(const TLumAnim& anim);
  void Clear();

  bool built() const { return built_; }
  int32_t count() const { return count_; }
  // Frame f into `out` (emptied first); nothing when f is outside the table.
  void Spell(int32_t f, AnimFrame& out) const;
  // The animation's Angle when the table was built (directions use it).
  double builtAngle() const { return angle_; }

 private:
  struct Tween {
    KeyPose from, to;
  };
  struct KeySpan {
    int32_t first = 0;   // frame number of the key
    int32_t inBetween = 0;  // the key's Count
    bool morph = false;
    std::vector<Tween> tweens;
  };
  struct Path {
    CubicSpline x, y, scale, scaleX, scaleY, angle;
  };

  void tweenFrame(const KeySpan& span, const Tween& tween, int32_t f, AnimFrame& out) const;

  bool built_ = false;
  int32_t count_ = 0;
  double angle_ = 0;
  std::vector<KeySpan> spans_;
  std::vector<Path> paths_;
};

}  // namespace lum

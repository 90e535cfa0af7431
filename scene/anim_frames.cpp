// Building the frame table from the keys, and spelling out one frame.
#include "scene/anim_frames.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "media/image_cache.h"
#include "render/image.h"
#include "scene/anim.h"
#include "scene/image.h"

namespace lum {
namespace {

uint32_t withAlpha(uint32_t colour, int32_t alpha) {
  return (colour & 0xFFFFFFu) | (static_cast<uint32_t>(std::clamp(alpha, 0, 255)) << 24);
}

int32_t alphaOf(uint32_t colour) { return static_cast<int32_t>(colour >> 24); }

// Cross-fade of a key with c in-between frames, at in-between j. The
// outgoing picture goes from full through 223/255 at the middle to nothing;
// the incoming one rises the other way. A key of a single frame (c = 0)
// shows the first step of a fade: the outgoing picture in full, the
// incoming one not yet.
int32_t fadeOut(int32_t alpha, int32_t j, int32_t c) {
  if (c == 0) return alpha;
  const double h = c / 2.0;
  const double level = j <= c / 2 ? 255 - 32.0 * j / h : 223 - (j - h) * 223 / h;
  return roundToInt32(alpha * level / 255);
}

int32_t fadeIn(int32_t alpha, int32_t j, int32_t c) {
  if (c == 0) return 0;
  const double h = c / 2.0;
  const double level = j <= c / 2 ? j * 223.0 / h : (j - h) * 32 / h + 223;
  return roundToInt32(alpha * level / 255);
}

// A picture with frame -1 shows the frame of its direction: 16 frames, one
// per 22.5 degrees, the rest of the angle drawn as rotation.
void chooseDirection(AnimSprite& sprite, double animAngle) {
  if (sprite.frame != -1) return;
  double d = std::nearbyint((animAngle + sprite.angle) * 1000) / 1000;
  if (!(d >= -100000 && d <= 100000)) d = 0;
  while (d < 0) d += 360;
  while (d >= 360) d -= 360;
  const int32_t n = std::min(roundToInt32(d * 10) / 225, 15);
  sprite.frame = n;
  sprite.angle = d - n * 22.5;
  sprite.directed = true;
}

// The image's pose relative to the animation; false without a picture that
// has a texture.
bool poseOf(const TLumImage& image, const TLumAnim& anim, KeyPose& pose) {
  const TLumIm* entry = image.picture();
  const TAsphyreImage* tex = entry ? entry->Texture : nullptr;
  if (!tex) return false;
  pose.picture = image.picture();
  pose.frame = image.Anim;
  pose.left = static_cast<double>(image.AbsX()) - anim.AbsX();
  pose.top = static_cast<double>(image.AbsY()) - anim.AbsY();
  pose.frameWidth = tex->PatternSize().width;
  pose.frameHeight = tex->PatternSize().height;
  pose.scale = image.Scale();
  pose.angle = image.Angle();
  pose.scaleX = image.ScaleX;
  pose.scaleY = image.ScaleY;
  pose.colour = image.colour;
  pose.effect = image.hxDrawFx;
  pose.scalesOnPath = image.InterpolSc;
  return true;
}

std::vector<const TLumImage*> imagesOf(const TLumElement& key) {
  std::vector<const TLumImage*> images;
  for (const auto& c : key.children()) {
    if (auto* image = dynamic_cast<const TLumImage*>(c.get())) images.push_back(image);
  }
  return images;
}

// Where the pictures of one Id stand at each key, for their splines.
struct Samples {
  std::vector<double> time, x, y, scale, angle, scaleX, scaleY;
  size_t lastKey = std::numeric_limits<size_t>::max();
};

}  // namespace

void AnimFrames::Clear() {
  built_ = false;
  count_ = 0;
  angle_ = 0;
  spans_.clear();
  paths_.clear();
}

void AnimFrames::Build(const TLumAnim& anim) {
  Clear();
  built_ = true;
  angle_ = anim.Angle;

  // Keys and the frame each starts at. Keys that would take the table past
  // the largest frame number are left out.
  std::vector<const TLumAnKey*> keys;
  std::vector<int32_t> firsts;
  int64_t frames = 0;
  for (const auto& c : anim.children()) {
    auto* key = dynamic_cast<const TLumAnKey*>(c.get());
    if (!key) continue;
    const int64_t next = frames + key->Count() + 1;
    if (next > std::numeric_limits<int32_t>::max()) break;
    keys.push_back(key);
    firsts.push_back(static_cast<int32_t>(frames));
    frames = next;
  }

  // Spline paths: the pictures of each Id, sampled at the keys.
  std::unordered_map<std::string, int32_t> pathOf;
  if (anim.Interpol) {
    std::vector<Samples> samples;
    std::vector<std::string> ids;
    std::unordered_map<std::string, size_t> setOf;
    for (size_t k = 0; k < keys.size(); ++k) {
      for (const TLumImage* image : imagesOf(*keys[k])) {
        KeyPose pose;
        if (image->Id.empty() || !poseOf(*image, anim, pose)) continue;
        auto [it, added] = setOf.try_emplace(image->Id, samples.size());
        if (added) {
          samples.emplace_back();
          ids.push_back(image->Id);
        }
        Samples& s = samples[it->second];
        // One sample per key: a second picture of the same Id in a key
        // would repeat the time, and a spline needs distinct times.
        if (s.lastKey == k) continue;
        s.lastKey = k;
        s.time.push_back(firsts[k]);
        s.x.push_back(pose.left + pose.scale * pose.frameWidth / 2);
        s.y.push_back(pose.top + pose.scale * pose.frameHeight / 2);
        s.scale.push_back(pose.scale);
        s.angle.push_back(pose.angle);
        s.scaleX.push_back(pose.scaleX);
        s.scaleY.push_back(pose.scaleY);
      }
    }
    for (size_t i = 0; i < samples.size(); ++i) {
      const Samples& s = samples[i];
      if (s.time.size() < 2) continue;
      auto x = CubicSpline::Through(s.time, s.x), y = CubicSpline::Through(s.time, s.y);
      auto scale = CubicSpline::Through(s.time, s.scale);
      auto scaleX = CubicSpline::Through(s.time, s.scaleX);
      auto scaleY = CubicSpline::Through(s.time, s.scaleY);
      auto angle = CubicSpline::Through(s.time, s.angle);
      // A value that is not finite leaves the Id on straight lines.
      if (!x || !y || !scale || !scaleX || !scaleY || !angle) continue;
      pathOf[ids[i]] = static_cast<int32_t>(paths_.size());
      paths_.push_back(Path{*x, *y, *scale, *scaleX, *scaleY, *angle});
    }
  }

  // Each key's pictures, paired with their partners in the next key.
  for (size_t k = 0; k < keys.size(); ++k) {
    const TLumAnKey* next = k + 1 < keys.size() ? keys[k + 1] : anim.Rep ? keys[0] : nullptr;
    KeySpan span;
    span.first = firsts[k];
    span.inBetween = keys[k]->Count();
    span.morph = keys[k]->Morph;
    const std::vector<const TLumImage*> targets =
        next ? imagesOf(*next) : std::vector<const TLumImage*>{};
    for (const TLumImage* a : imagesOf(*keys[k])) {
      const std::string id = upperAscii(a->Id);
      const TLumImage* b = nullptr;
      if (next && !id.empty()) {
        for (const TLumImage* t : targets) {
          if (upperAscii(t->Id) == id) {
            b = t;
            break;
          }
        }
      }
      if (!b) {
        if (next && !id.empty()) continue;  // no partner: absent for this key
        b = a;                              // stands still
      }
      Tween tween;
      if (!poseOf(*a, anim, tween.from) || !poseOf(*b, anim, tween.to)) continue;
      if (anim.Interpol && a->Interpol && !a->Id.empty()) {
        if (auto it = pathOf.find(a->Id); it != pathOf.end()) tween.from.path = it->second;
      }
      span.tweens.push_back(tween);
    }
    spans_.push_back(std::move(span));
  }
  count_ = static_cast<int32_t>(frames);
}

void AnimFrames::Spell(int32_t f, AnimFrame& out) const {
  out.clear();
  if (f < 0 || f >= count_) return;
  auto after = std::upper_bound(spans_.begin(), spans_.end(), f,
                                [](int32_t frame, const KeySpan& s) { return frame < s.first; });
  const KeySpan& span = *(after - 1);
  for (const Tween& tween : span.tweens) tweenFrame(span, tween, f, out);
  for (AnimSprite& sprite : out) chooseDirection(sprite, angle_);
}

void AnimFrames::tweenFrame(const KeySpan& span, const Tween& tween, int32_t f,
                            AnimFrame& out) const {
  const KeyPose& a = tween.from;
  const KeyPose& b = tween.to;
  const int32_t j = f - span.first, c = span.inBetween;
  const double s = static_cast<double>(j) / (c + 1);

  AnimSprite sprite;
  sprite.picture = a.picture;
  sprite.frame = a.frame;
  sprite.x = a.left + (b.left - a.left) * s;
  sprite.y = a.top + (b.top - a.top) * s;
  sprite.scale = a.scale + (b.scale - a.scale) * s;
  sprite.scaleX = a.scaleX + (b.scaleX - a.scaleX) * s;
  sprite.scaleY = a.scaleY + (b.scaleY - a.scaleY) * s;
  sprite.angle = a.angle + (b.angle - a.angle) * s;
  sprite.x += a.frameWidth * 0.5 * sprite.scale;
  sprite.y += a.frameHeight * 0.5 * sprite.scale;
  sprite.colour =
      withAlpha(a.colour, roundToInt32((alphaOf(b.colour) - alphaOf(a.colour)) * s) + alphaOf(a.colour));
  sprite.effect = a.effect;

  if (a.path >= 0) {
    const Path& path = paths_[static_cast<size_t>(a.path)];
    sprite.x = path.x(f);
    sprite.y = path.y(f);
    if (a.scalesOnPath) {
      sprite.scale = path.scale(f);
      sprite.scaleX = path.scaleX(f);
      sprite.scaleY = path.scaleY(f);
    }
    sprite.angle = path.angle(f);
  }

  if (a.picture == b.picture && a.frame == b.frame) {
    out.push_back(sprite);
    return;
  }
  // The picture changes: it stays at rest for the whole key (the scales
  // keep their path).
  sprite.x = a.left + a.frameWidth * 0.5 * a.scale;
  sprite.y = a.top + a.frameHeight * 0.5 * a.scale;
  sprite.scale = a.scale;
  sprite.angle = a.angle;
  sprite.colour = a.colour;
  if (!span.morph) {
    out.push_back(sprite);
    return;
  }
  AnimSprite incoming = sprite;
  sprite.colour = withAlpha(a.colour, fadeOut(alphaOf(a.colour), j, c));
  incoming.picture = b.picture;
  incoming.frame = b.frame;
  incoming.x = b.left + b.frameWidth * 0.5 * b.scale;
  incoming.y = b.top + b.frameHeight * 0.5 * b.scale;
  incoming.scale = b.scale;
  incoming.angle = b.angle;
  incoming.colour = withAlpha(b.colour, fadeIn(alphaOf(b.colour), j, c));
  incoming.effect = b.effect;
  out.push_back(sprite);
  out.push_back(incoming);
}

}  // namespace lum

#include "media/particle_system.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

#include "platform/game_folder.h"
#include "platform/random.h"
#include "render/archive.h"
#include "render/canvas.h"
#include "render/device.h"
#include "render/image.h"

namespace lum {
namespace {

// All accelerations of a record are in tenths of what a particle feels.
constexpr float kG = 10.0f;

// A colour channel held to 0 ... 255; alpha that overflows stops at 254.
// NaN reads as 0.
float limitChannel(float v, bool alpha) {
  if (!(v >= 0)) return 0;
  if (v > 255) return alpha ? 254 : 255;
  return v;
}

// Channel c of a device colour word (blue lowest, alpha highest).
float channelOf(uint32_t word, int c) { return static_cast<float>((word >> (8 * c)) & 0xFFu); }

// How fast a value covers `delta` in `time` seconds. A phase that takes no
// time (a particle life or middle point of 0) gives no speed rather than a
// division by zero.
float speedOver(float delta, float time) { return time > 0 ? delta / time : 0.0f; }

// The frame number of a particle as an index; out-of-range values (also
// from corrupt records) are held inside the int32 range.
int32_t frameIndex(float frame) {
  if (!(frame == frame)) return 0;
  const float t = std::trunc(frame);
  if (t >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
  if (t <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(t);
}

uint32_t packColour(const std::array<float, 4>& colour) {
  uint32_t word = 0;
  for (int c = 0; c < 4; ++c) {
    word |= static_cast<uint32_t>(std::nearbyint(limitChannel(colour[c], c == kAlpha))) << (8 * c);
  }
  return word;
}

}  // namespace

TXParticleSystem::TXParticleSystem(int32_t capacity, Random& random)
    : random_(random), capacity_(std::max(0, capacity)) {}

bool TXParticleSystem::LoadFromFile(const GameFolder& folder, std::string_view name) {
  record_ = ParticleRecord{};
  if (!folder.exists(name)) return false;
  std::optional<std::filesystem::path> path = folder.resolve(name);
  if (!path) return false;
  std::ifstream in(*path, std::ios::binary);
  std::array<uint8_t, kParticleRecordSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const auto got = static_cast<size_t>(std::max<std::streamsize>(0, in.gcount()));
  record_ = ReadParticleRecord(std::span<const uint8_t>(bytes.data(), got));
  return got > 0;
}

bool TXParticleSystem::LoadFromArchive(TASDb& archive, std::string_view key) {
  record_ = ParticleRecord{};
  if (!archive.ensureOpen()) return false;
  Result<std::vector<uint8_t>> bytes = archive.readRecord(key);
  if (!bytes) return false;
  record_ = ReadParticleRecord(*bytes);
  return !bytes->empty();
}

void TXParticleSystem::Start() {
  if (spawnOffsets_.empty()) return;
  age_ = record_.Lifetime > 0 ? 0.0f : -1.0f;
}

void TXParticleSystem::Stop(bool kill) {
  age_ = -1;
  if (kill) particles_.clear();
}

void TXParticleSystem::FireAt(PointF target) {
  Stop(false);
  MoveTo(target, false);
  Start();
}

void TXParticleSystem::MoveTo(PointF target, bool moveParticles) {
  const float dx = target.x - position.x, dy = target.y - position.y;
  if (moveParticles) {
    for (Particle& p : particles_) {
      p.x += dx;
      p.y += dy;
    }
    previous_.x += dx;
    previous_.y += dy;
  } else if (age_ >= 0) {
    previous_ = position;
  } else {
    previous_ = PointF{position.x + dx, position.y + dy};
  }
  position.x += dx;
  position.y += dy;
}

void TXParticleSystem::Update(float dt) {
  if (age_ >= 0) {
    age_ += dt;
    if (age_ >= record_.Lifetime) age_ = -1;
  }
  // Survivors keep their order: each moves down over the removed ones.
  size_t kept = 0;
  for (Particle& p : particles_) {
    p.age += dt;
    if (!(p.age < p.life)) continue;
    const float cx = position.x + p.spawnX, cy = position.y + p.spawnY;
    float rx = p.x - cx, ry = p.y - cy;
    const float distance = std::sqrt(rx * rx + ry * ry);
    if (distance > 0) {
      rx /= distance;
      ry /= distance;
    } else {
      rx = ry = 0;
    }
    const float tx = -ry, ty = rx;
    p.vx += (rx * p.radial + tx * p.tangential) * kG * dt;
    p.vy += (ry * p.radial + ty * p.tangential) * kG * dt;
    p.vy += dt * p.gravity * kG;
    p.x += p.vx * dt;
    p.y += p.vy * dt;
    p.spin += dt * p.spinSpeed;
    p.size += dt * p.sizeSpeed;
    p.frame += dt * p.frameSpeed;
    if (p.age >= p.middle && p.age - dt < p.middle) {
      // Past the middle: head for the end values over the rest of the life
      // (which is above 0, as the particle still lives).
      const float rest = p.life - p.middle;
      p.spinSpeed = (record_.SpinEnd - p.spin) / rest;
      p.sizeSpeed = (record_.SizeEnd - p.size) / rest;
      for (int c = 0; c < 4; ++c) {
        p.colourSpeed[c] = (channelOf(record_.ColorEnd, c) - p.colour[c]) / rest;
      }
    }
    for (int c = 0; c < 4; ++c) {
      p.colour[c] = limitChannel(p.colour[c] + p.colourSpeed[c] * dt, c == kAlpha);
    }
    particles_[kept++] = p;
  }
  particles_.resize(kept);

  if (age_ >= 0) {
    const float c = dt * record_.EmissionRate + remainder_;
    const float n = std::nearbyint(c);  // halves to even
    remainder_ = c - n;
    const auto room = static_cast<float>(capacity_ - Count());
    const int32_t spawns = n >= room ? capacity_ - Count() : (n > 0 ? static_cast<int32_t>(n) : 0);
    for (int32_t i = 0; i < spawns; ++i) spawn();
  }
  previous_ = position;
}

float TXParticleSystem::between(float a, float b) {
  const float lo = std::min(a, b), hi = std::max(a, b);
  return lo + (hi - lo) * static_cast<float>(random_.Real());
}

void TXParticleSystem::spawn() {
  if (Count() >= capacity_ || spawnOffsets_.empty()) return;
  const ParticleRecord& r = record_;
  Particle p{};
  p.life = between(r.LifeMin, r.LifeMax);
  p.age = 0;
  p.middle = p.life * r.MidPoint;

  const auto k = static_cast<float>(random_.Real());
  const PointF offset =
      spawnOffsets_[random_.Below(static_cast<uint32_t>(spawnOffsets_.size()))];
  p.x = previous_.x + (position.x - previous_.x) * k + offset.x;
  p.y = previous_.y + (position.y - previous_.y) * k + offset.y;
  p.spawnX = position.x - p.x;
  p.spawnY = position.y - p.y;

  float a = static_cast<float>(random_.Real()) * r.Spread + r.Direction - r.Spread / 2;
  if (r.Relative) a += std::atan2(previous_.x - position.x, previous_.y - position.y);
  const float speed = between(r.SpeedMin, r.SpeedMax);
  p.vx = std::sin(a) * speed;
  p.vy = std::cos(a) * speed;
  p.gravity = between(r.GravityMin, r.GravityMax);
  p.radial = between(r.RadialMin, r.RadialMax);
  p.tangential = between(r.TangentialMin, r.TangentialMax);

  p.size = between(r.SizeStart, r.SizeStart + (r.SizeMid - r.SizeStart) * r.SizeVar);
  p.spin = between(r.SpinStart, r.SpinStart + (r.SpinMid - r.SpinStart) * r.SpinVar);
  p.frame = static_cast<float>(r.FrameStart);
  p.frameSpeed = r.FrameEnd < 0 || r.FrameEnd == r.FrameStart
                     ? 0.0f
                     : speedOver(static_cast<float>(r.FrameEnd) - p.frame, p.life);

  const float u = static_cast<float>(random_.Real()) * r.ColorVar;
  const float v = static_cast<float>(random_.Real()) * r.AlphaVar;
  for (int c = 0; c < 4; ++c) {
    const float start = channelOf(r.ColorStart, c), mid = channelOf(r.ColorMid, c);
    p.colour[c] = limitChannel(start + (c == kAlpha ? v : u) * (mid - start), c == kAlpha);
  }

  // The first phase heads for the middle values. A middle point at birth
  // (MidPoint 0, or a life of 0) has no first phase: the particle heads for
  // the end values over its whole life at once.
  const bool firstPhase = p.middle > 0;
  const float phase = firstPhase ? p.middle : p.life;
  const float sizeTarget = firstPhase ? r.SizeMid : r.SizeEnd;
  const float spinTarget = firstPhase ? r.SpinMid : r.SpinEnd;
  const uint32_t colourTarget = firstPhase ? r.ColorMid : r.ColorEnd;
  p.sizeSpeed = speedOver(sizeTarget - p.size, phase);
  p.spinSpeed = speedOver(spinTarget - p.spin, phase);
  for (int c = 0; c < 4; ++c) {
    p.colourSpeed[c] = speedOver(channelOf(colourTarget, c) - p.colour[c], phase);
  }
  particles_.push_back(p);
}

void TXParticleSystem::Render(TAsphyreCanvas& canvas, TAsphyreImage* sheet, int32_t x, int32_t y,
                              uint32_t mask, int32_t areaWidth, int32_t areaHeight) const {
  if (!sheet || particles_.empty()) return;
  const auto vw = static_cast<float>(sheet->VisibleSize().width);
  const auto vh = static_cast<float>(sheet->VisibleSize().height);
  const auto w = static_cast<float>(areaWidth), h = static_cast<float>(areaHeight);
  const size_t n = particles_.size();
  for (size_t i = 0; i < n; ++i) {
    const Particle& p = particles_[record_.ReverseOrder ? n - 1 - i : i];
    const float cx = static_cast<float>(x) + p.x, cy = static_cast<float>(y) + p.y;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(p.size) ||
        !std::isfinite(p.spin)) {
      continue;
    }
    if (cx + vw * p.size < 0 || cy + vh * p.size < 0 || cx - p.size * vw > w ||
        cy - p.size * vh > h) {
      continue;
    }
    // The mask works on the device word; the canvas takes red lowest.
    const uint32_t colour = swapRedBlue(packColour(p.colour) & mask);
    canvas.DrawPatternRotated(sheet, cx, cy, p.spin, p.size, frameIndex(p.frame), colour,
                              record_.BlendFx);
  }
}

}  // namespace lum

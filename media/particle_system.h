#pragma once
// A 2D particle emitter: spawns particles at a rate for a limited time,
// moves them under gravity and radial and tangential acceleration, carries
// their size, spin, colour and sprite frame from start to middle to end of
// their lives and draws them as turned, scaled, tinted frames of the shared
// sprite sheet. Its whole configuration is one effect record.
//
// Angles are radians; a direction a points along (sin a, cos a), so 0
// points down the screen. Times are seconds as given to Update. Every
// random draw comes from the generator given at creation, so a seeded run
// repeats exactly.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "media/particle_record.h"

namespace lum {

class GameFolder;
class Random;
class TASDb;
class TAsphyreCanvas;
class TAsphyreImage;

struct PointF {
  float x = 0, y = 0;
};

// Colour channels of a particle, each 0 to 255, in the byte order of a
// device colour word (alpha, red, green, blue from the top byte down).
enum ParticleChannel { kBlue, kGreen, kRed, kAlpha };

struct Particle {
  float frame, frameSpeed;
  float x, y;
  float spawnX, spawnY;  // emitter position minus particle position at birth
  float vx, vy;
  float gravity, radial, tangential;
  float spin, spinSpeed;
  float size, sizeSpeed;
  std::array<float, 4> colour, colourSpeed;
  float age, middle, life;
};

// What gives a system its place.
class TXObject {
 public:
  PointF position;
};

class TXParticleSystem : public TXObject {
 public:
  TXParticleSystem(int32_t capacity, Random& random);

  // The record from the first bytes of a file of the game folder, or of an
  // archive entry; true when bytes were read. A short source leaves the
  // rest of the record zero.
  bool LoadFromFile(const GameFolder& folder, std::string_view name);
  bool LoadFromArchive(TASDb& archive, std::string_view key);
  ParticleRecord& record() { return record_; }
  const ParticleRecord& record() const { return record_; }

  void AddSpawnOffset(PointF offset) { spawnOffsets_.push_back(offset); }
  void ClearSpawnOffsets() { spawnOffsets_.clear(); }

  // Emits for the record's Lifetime (never when it is not above 0).
  void Start();
  // Ends the emission; with kill every particle vanishes too.
  void Stop(bool kill);
  // Stops, moves without moving particles, and starts again.
  void FireAt(PointF target);
  // Moves the emitter; particles move along only with moveParticles. A
  // moving emitter spreads new particles along the path it moved.
  void MoveTo(PointF target, bool moveParticles);
  void Update(float dt);
  // Draws at (x, y) with frames of `sheet`; each particle's colour, packed
  // into a device colour word (alpha, red, green, blue), is combined with
  // `mask` by bitwise AND. Particles wholly outside `areaWidth` x
  // `areaHeight` are skipped.
  void Render(TAsphyreCanvas& canvas, TAsphyreImage* sheet, int32_t x, int32_t y, uint32_t mask,
              int32_t areaWidth, int32_t areaHeight) const;

  bool Emitting() const { return age_ >= 0; }
  float Age() const { return age_; }
  int32_t Capacity() const { return capacity_; }
  int32_t Count() const { return static_cast<int32_t>(particles_.size()); }
  const Particle& particle(int32_t index) const { return particles_[static_cast<size_t>(index)]; }

 private:
  void spawn();
  float between(float a, float b);

  Random& random_;
  int32_t capacity_;
  ParticleRecord record_;
  std::vector<Particle> particles_;
  std::vector<PointF> spawnOffsets_{PointF{}};
  float age_ = -1;
  float remainder_ = 0;
  PointF previous_;
};

}  // namespace lum

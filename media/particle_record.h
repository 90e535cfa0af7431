#pragma once
// The configuration of a particle emitter: one fixed 136-byte little-endian
// record, the start of an effect file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lum {

struct ParticleRecord {
  int32_t FrameStart = 0;
  int32_t FrameEnd = 0;  // negative or equal to FrameStart: the frame stays
  uint32_t BlendFx = 0;
  float EmissionRate = 0;  // particles per second while emitting
  float Lifetime = 0;      // seconds of emission after a start; <= 0: never
  float LifeMin = 0, LifeMax = 0;
  float Direction = 0, Spread = 0;  // radians; 0 points down the screen
  bool Relative = false;            // add the direction the emitter moves in
  float SpeedMin = 0, SpeedMax = 0;
  float GravityMin = 0, GravityMax = 0;
  float RadialMin = 0, RadialMax = 0;
  float TangentialMin = 0, TangentialMax = 0;
  float SizeStart = 0, SizeMid = 0, SizeEnd = 0, SizeVar = 0;
  float SpinStart = 0, SpinMid = 0, SpinEnd = 0, SpinVar = 0;
  uint32_t ColorStart = 0, ColorMid = 0, ColorEnd = 0;  // colour words
  float ColorVar = 0, AlphaVar = 0;
  float MidPoint = 0;  // share of a particle's life where the middle lies
  bool ReverseOrder = false;  // draw the newest particles first
};

constexpr size_t kParticleRecordSize = 136;

// The record from the start of `bytes`; bytes past their end read as zeros
// and bytes past the record are ignored.
ParticleRecord ReadParticleRecord(std::span<const uint8_t> bytes);
// The record's bytes as an effect file holds them (reserved bytes zero).
std::array<uint8_t, kParticleRecordSize> WriteParticleRecord(const ParticleRecord& record);

}  // namespace lum

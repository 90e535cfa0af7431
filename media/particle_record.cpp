#include "media/particle_record.h"

#include <algorithm>
#include <array>
#include <bit>
#include <type_traits>
#include <variant>

namespace lum {
namespace {

using R = ParticleRecord;

// The record's layout, field by field at its byte offset. Flags take one
// byte of a four-byte slot.
using FieldPtr = std::variant<int32_t R::*, uint32_t R::*, float R::*, bool R::*>;
struct Field {
  size_t offset;
  FieldPtr field;
};

constexpr std::array<Field, 33> kLayout{{
    {0, &R::FrameStart},      {4, &R::FrameEnd},       {12, &R::BlendFx},
    {16, &R::EmissionRate},   {20, &R::Lifetime},      {24, &R::LifeMin},
    {28, &R::LifeMax},        {32, &R::Direction},     {36, &R::Spread},
    {40, &R::Relative},       {44, &R::SpeedMin},      {48, &R::SpeedMax},
    {52, &R::GravityMin},     {56, &R::GravityMax},    {60, &R::RadialMin},
    {64, &R::RadialMax},      {68, &R::TangentialMin}, {72, &R::TangentialMax},
    {76, &R::SizeStart},      {80, &R::SizeMid},       {84, &R::SizeEnd},
    {88, &R::SizeVar},        {92, &R::SpinStart},     {96, &R::SpinMid},
    {100, &R::SpinEnd},       {104, &R::SpinVar},      {108, &R::ColorStart},
    {112, &R::ColorMid},      {116, &R::ColorEnd},     {120, &R::ColorVar},
    {124, &R::AlphaVar},      {128, &R::MidPoint},     {132, &R::ReverseOrder},
}};

uint32_t word(const std::array<uint8_t, kParticleRecordSize>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}

}  // namespace

ParticleRecord ReadParticleRecord(std::span<const uint8_t> bytes) {
  std::array<uint8_t, kParticleRecordSize> raw{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), raw.size()), raw.begin());
  ParticleRecord record;
  for (const Field& f : kLayout) {
    const uint32_t w = word(raw, f.offset);
    std::visit(
        [&](auto member) {
          using T = std::remove_cvref_t<decltype(record.*member)>;
          if constexpr (std::is_same_v<T, bool>) {
            record.*member = raw[f.offset] != 0;
          } else if constexpr (std::is_same_v<T, float>) {
            record.*member = std::bit_cast<float>(w);
          } else {
            record.*member = static_cast<T>(w);
          }
        },
        f.field);
  }
  return record;
}

std::array<uint8_t, kParticleRecordSize> WriteParticleRecord(const ParticleRecord& record) {
  std::array<uint8_t, kParticleRecordSize> raw{};
  for (const Field& f : kLayout) {
    std::visit(
        [&](auto member) {
          using T = std::remove_cvref_t<decltype(record.*member)>;
          uint32_t w = 0;
          if constexpr (std::is_same_v<T, bool>) {
            w = record.*member ? 1 : 0;
          } else if constexpr (std::is_same_v<T, float>) {
            w = std::bit_cast<uint32_t>(record.*member);
          } else {
            w = static_cast<uint32_t>(record.*member);
          }
          for (size_t i = 0; i < 4; ++i) raw[f.offset + i] = static_cast<uint8_t>(w >> (8 * i));
        },
        f.field);
  }
  return raw;
}

}  // namespace lum

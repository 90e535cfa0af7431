#pragma once
// Which point of a box its position names (PosHor: phLeft, phCenter,
// phRight; PosVert: pvTop, pvCenter, pvBottom), as one formula for images,
// texts and embedded screens.
#include <cstdint>

namespace lum {

inline constexpr uint8_t kAnchorStart = 0;   // phLeft, pvTop
inline constexpr uint8_t kAnchorCentre = 1;  // phCenter, pvCenter

// How far the box starts before its anchor point: nothing, half its extent
// (integer division for integer extents), or all of it.
template <typename T>
constexpr T anchorShift(uint8_t anchor, T extent) {
  if (anchor == kAnchorStart) return T{0};
  if (anchor == kAnchorCentre) return extent / 2;
  return extent;
}

}  // namespace lum

#pragma once
// Small value types of 2D drawing.
#include <array>
#include <cstdint>

namespace lum {

struct Point2 {
  float x = 0, y = 0;
  bool operator==(const Point2&) const = default;
};

// Corners in drawing order: top-left, top-right, bottom-right, bottom-left.
using Quad = std::array<Point2, 4>;
using QuadColors = std::array<uint32_t, 4>;

struct IntRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const IntRect&) const = default;
};

// Which part of a texture a quad shows: a pattern, optionally a sub-rectangle
// of it (width or height below 1 = the pattern's own size), and mirroring
// (second byte: left-right, lowest byte: top-bottom).
struct PatternDesc {
  int32_t pattern = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  uint32_t mirror = 0;
};

}  // namespace lum

#pragma once
// A filled ellipse sector painted white on black, as a picture, for circle
// shapes.
#include <cstdint>

#include "render/picture.h"

namespace lum {

// The sector of the ellipse inscribed in width x height that runs
// counter-clockwise from the radial through angle p1 to the radial through
// angle p2 (radians, clockwise from twelve o'clock). When the two radial end
// points coincide the whole ellipse is painted. Sizes must be positive and
// allowed for pictures.
Picture paintPie(int32_t width, int32_t height, double p1, double p2);

}  // namespace lum

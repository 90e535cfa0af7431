#pragma once
// Pictures whose transparency comes from a second file: a colour JPEG and an
// 8-bit bitmap whose pixel values are the alpha.
#include "render/picture.h"

namespace lum {

// The colour picture with each pixel's alpha taken from the mask at the same
// column and row (0 where the mask is smaller). An 8-bit mask gives its raw
// palette indices; any other mask gives its red channel.
Picture combineColourAndMask(const Picture& colour, const Picture& mask);

// Replaces every pixel by its alpha in all four channels, so the alpha
// channel can be looked at as a grey picture. Pictures whose file had no
// alpha count as alpha 0.
void alphaToGrey(Picture& picture);

}  // namespace lum

#pragma once
// Writing frames as PNG files, for screenshots, check images and tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/result.h"

namespace lum {

// pixels: width * height words 0xAARRGGBB, rows top first. With
// `keepAlpha` false the file is RGB (a back buffer's alpha means nothing
// on screen).
Status savePng(const std::string& path, const std::vector<uint32_t>& pixels, int width,
               int height, bool keepAlpha = false);

}  // namespace lum

#include "render/letterbox.h"

#include <cstdint>

namespace lum {

Letterbox fitLetterbox(int sceneWidth, int sceneHeight, int windowWidth, int windowHeight) {
  Letterbox box;
  if (sceneWidth <= 0 || sceneHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) return box;
  // Compare the aspect ratios in integers so that an exact fit has no bar.
  if (int64_t(windowWidth) * sceneHeight <= int64_t(windowHeight) * sceneWidth) {
    box.width = windowWidth;
    box.height = static_cast<int>(int64_t(windowWidth) * sceneHeight / sceneWidth);
  } else {
    box.height = windowHeight;
    box.width = static_cast<int>(int64_t(windowHeight) * sceneWidth / sceneHeight);
  }
  box.x = (windowWidth - box.width) / 2;
  box.y = (windowHeight - box.height) / 2;
  return box;
}

bool letterboxToScene(const Letterbox& box, int sceneWidth, int sceneHeight, int wx, int wy,
                      int& sx, int& sy) {
  if (box.width <= 0 || box.height <= 0) return false;
  const int64_t rx = wx - box.x, ry = wy - box.y;
  if (rx < 0 || ry < 0 || rx >= box.width || ry >= box.height) return false;
  sx = static_cast<int>(rx * sceneWidth / box.width);
  sy = static_cast<int>(ry * sceneHeight / box.height);
  return true;
}

}  // namespace lum

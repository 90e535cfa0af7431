#pragma once
// Where a back buffer lands when shown scaled into a window of another size:
// as large as fits with its aspect ratio kept, centred between black bars.
namespace lum {

struct Letterbox {
  int x = 0, y = 0, width = 0, height = 0;  // in window pixels
};

Letterbox fitLetterbox(int sceneWidth, int sceneHeight, int windowWidth, int windowHeight);

// Window pixel to scene pixel; false inside the bars or for an empty box.
bool letterboxToScene(const Letterbox& box, int sceneWidth, int sceneHeight, int wx, int wy,
                      int& sx, int& sy);

}  // namespace lum

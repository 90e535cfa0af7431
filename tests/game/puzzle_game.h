#pragma once
// Small puzzle games for the tests of the puzzle routines: element JSON,
// solid pictures, and calls of a routine from a script of the root.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "render/png_writer.h"
#include "scene/element.h"
#include "scene_harness.h"

namespace lum::testing {

// One element of the game tree as `lumf build` reads it.
inline std::string el(const std::string& cls, const std::string& properties,
                      const std::vector<std::string>& children = {}) {
  std::string out = R"({"class": ")" + cls + R"(", "properties": {)" + properties + "}";
  if (!children.empty()) {
    out += R"(, "children": [)";
    for (size_t i = 0; i < children.size(); ++i) out += (i ? ", " : "") + children[i];
    out += "]";
  }
  return out + "}";
}

// A root whose first screen (Key 1, Id "S") holds `screen`; `others`
// follow it under the root.
inline std::string gameOf(const std::vector<std::string>& screen,
                          const std::vector<std::string>& others = {},
                          const std::string& rootProperties = "") {
  std::vector<std::string> top{el("TLumScreen", R"("Key": 1, "Id": "S")", screen)};
  top.insert(top.end(), others.begin(), others.end());
  return el("TLumDB", R"("Key": 0, "Id": "Puzzles", "InitScreen": 1)" +
                          (rootProperties.empty() ? "" : ", " + rootProperties),
            top);
}

inline void writePicture(SceneHarness& game, const std::string& name, int w, int h,
                         const std::function<uint32_t(int, int)>& shade) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = shade(x, y);
  ASSERT_TRUE(savePng((game.gameFolder() / name).string(), pixels, w, h, true).ok());
}

inline void writeSolid(SceneHarness& game, const std::string& name, int w, int h,
                       uint32_t colour = 0xFF808080u) {
  writePicture(game, name, w, h, [colour](int, int) { return colour; });
}

// The names of every puzzle routine, in registration order.
inline const std::vector<std::string>& puzzleRoutineNames() {
  static const std::vector<std::string> names{
      "MagicLev6_1",   "MagicLev6_2",       "MagicLev6_3",      "MagicLev6Log_Rend",
      "MagicLev6Log_Upd", "MagicLev4In_3",  "MagicLev4InLog_Rend", "MagicLev4InLog_Upd",
      "MagicLev7Log",  "MagicLev15Log",     "MagicLev12Log",    "MagicGIProg",
      "MagicLevProg",  "MagicMapProg",      "MagicLev6InLog",   "MagicLev6InLogO",
      "StarsToUp",     "StarsTopToUp",      "StarsAll",         "StarsAll2",
      "BrambleShar_1", "BrambleGIListUpdate", "BrambleLevel2LogPr", "Bramble2Lev12Log"};
  return names;
}

}  // namespace lum::testing

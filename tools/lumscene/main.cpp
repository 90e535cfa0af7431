// lumscene: draws the check scene with a chosen renderer and writes a PNG.
//   lumscene [--renderer soft|gl] [--font FILE.ttf] [--window] -o OUT.png
#include <cstdio>
#include <cstring>
#include <string>

#include "render/check_scene.h"
#include "render/png_writer.h"

namespace {
int usage() {
  std::fprintf(stderr,
               "usage: lumscene [--renderer soft|gl] [--font FILE.ttf] [--window] -o OUT.png\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  std::string renderer = "soft", output, font = lum::kCheckSceneFont;
  bool headless = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--renderer" && hasValue) renderer = argv[++i];
    else if (arg == "--font" && hasValue) font = argv[++i];
    else if (arg == "-o" && hasValue) output = argv[++i];
    else if (arg == "--window") headless = false;
    else return usage();
  }
  if (output.empty()) return usage();
  auto pixels = lum::renderCheckScene(renderer, font, headless);
  if (!pixels.ok()) {
    std::fprintf(stderr, "lumscene: %s\n", pixels.error().text().c_str());
    return 1;
  }
  const lum::Status saved = lum::savePng(output, pixels.value(), 1024, 768);
  if (!saved.ok()) {
    std::fprintf(stderr, "lumscene: %s\n", saved.error().text().c_str());
    return 1;
  }
  return 0;
}

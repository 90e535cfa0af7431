#include "shell/startup_line.h"

namespace lum {

std::string startupLine(const StartupFacts& f) {
  std::string line = "lumrun: playing \"" + f.title + "\" from " + f.gameFile;
  line += "; renderer " + f.renderer;
  if (!f.rendererNotice.empty()) line += " (" + f.rendererNotice + ")";
  line += "; sound " + (f.sound == "null" ? std::string("off") : f.sound);
  if (!f.soundNotice.empty()) line += " (" + f.soundNotice + ")";
  line += f.saveFolder.empty() ? std::string("; no saves (the game keeps no settings or progress)")
                               : "; saves in " + f.saveFolder;
  line += "; error log " + (f.errorLog.empty() ? std::string("none") : f.errorLog);
  return line;
}

}  // namespace lum

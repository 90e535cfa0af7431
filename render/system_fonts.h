#pragma once
// Text drawn in an installed font as a platform's text output draws it: one
// line, white on black, as wide as the text and as tall as the font's line.
// Fonts are found by family name through fontconfig, once per name; a game
// may bring font files of its own, which serve a family whose name they
// carry. When the font of the family lacks characters of a text, the text is
// drawn in the first font of fontconfig's list for that family that has the
// most of them (Chinese in a Latin family, say).
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "render/picture.h"

namespace lum {

class SystemFonts {
 public:
  SystemFonts();
  ~SystemFonts();
  SystemFonts(const SystemFonts&) = delete;
  SystemFonts& operator=(const SystemFonts&) = delete;

  // A font file of the game; it serves the family it names. Files that are
  // not fonts are ignored.
  void addGameFont(const std::filesystem::path& file);

  // The text in `family` at `points` on a 96 dpi screen: an opaque picture,
  // white text on black, of the text's measured extent. An empty text gives
  // a picture of width 0 (and no pixels). Texts wider than the largest
  // picture are cut at its right edge. Fails when no font can be opened.
  Result<Picture> renderText(std::u16string_view text, const std::string& family, int points);

 private:
  struct Candidate;
  struct Family;
  struct OpenFont;
  const Family& family(const std::string& name);
  OpenFont* open(const Candidate& candidate, int points);
  bool start();

  bool started_ = false;
  bool startFailed_ = false;
  void* config_ = nullptr;  // the fontconfig configuration, made on first use
  std::vector<std::filesystem::path> gameFonts_;
  std::map<std::string, std::unique_ptr<Family>> families_;  // by lower-cased name
  std::map<std::string, std::unique_ptr<OpenFont>> open_;     // by file, face and size
};

}  // namespace lum

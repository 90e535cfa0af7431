#pragma once
// The state that the whole running program shares: one object, owned by the
// shell (or by a test), reached from the root element. Nothing here is a
// global; tests make as many runtimes as they like.
#include <cstdint>
#include <functional>
#include <string>

namespace lum {

class TLumElement;

struct Runtime {
  bool TestMode = false;
  // Clear while a game file or a screen is being read, so that picture
  // requests are recorded instead of decoded at once.
  bool ImLoadEnabled = true;
  bool LoadingPhase = false;
  uint32_t ProcessTick = 0;
  // Set while the game file's records are being read.
  bool readingData = false;

  // Turns an event script's text into its prepared form when it is set;
  // without it the text is kept as it is.
  std::function<std::string(TLumElement&, const std::string&)> prepareScript;
};

}  // namespace lum

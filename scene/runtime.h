#pragma once
// The state that the whole running program shares: one object, owned by the
// shell (or by a test), reached from the root element. Nothing here is a
// global; tests make as many runtimes as they like. Pointers to services are
// null where a program has none of them (the tools read game files without
// any device or cache).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "media/frame_state.h"
#include "platform/code_page.h"
#include "render/system_fonts.h"

namespace lum {

class GameFolder;
class InterpreterPool;
class Sound;
class ImageCache;
class TASDb;
class TAsphyreCanvas;
class TAsphyreFonts;
class TAsphyreImages;
class TLumElement;
class TLumText;

// Mouse and keyboard state as scripts read it.
struct InputState {
  int32_t mouseX = 0, mouseY = 0;
  int32_t mouseDX = 0, mouseDY = 0;
  TLumElement* underCursor = nullptr;  // the last hit-test's result
  TLumElement* pressed = nullptr;      // under the cursor when the button went down
  bool mouseHeld = false;
  int32_t lastKey = 0;
  TLumElement* cursorElement = nullptr;  // drawn at the mouse as the pointer
};

struct Runtime {
  bool TestMode = false;
  FrameState frame;
  // Set while the game file's records are being read.
  bool readingData = false;
  CodePage codePage;

  // The user's data folder, under which each game keeps a save folder;
  // none when it cannot be found.
  std::optional<std::filesystem::path> userDataFolder;
  // The generator behind every random choice, seeded by the runner.
  std::mt19937 random{0};

  // Services of the running program.
  GameFolder* folder = nullptr;  // the game's folder (the working directory)
  ImageCache* images = nullptr;
  TAsphyreCanvas* canvas = nullptr;
  TAsphyreFonts* fonts = nullptr;
  TAsphyreImages* textures = nullptr;
  TASDb* archive = nullptr;
  Sound* sound = nullptr;
  // Installed fonts for texts drawn in the game's system font; opened on
  // first use, so programs that draw no such text pay nothing.
  SystemFonts systemFonts;

  InputState input;
  TLumElement* currentScreen = nullptr;
  TLumText* focusedText = nullptr;  // the text typed characters go to
  int32_t musicVolume = 50;
  int32_t soundVolume = 100;
  bool fullScreenWanted = false;

  // Brings the display in line with fullScreenWanted (the shell's part of
  // reading the settings).
  std::function<void()> applyDisplayMode;

  // The shell's parts of screen changes and settings.
  std::function<void(bool present)> renderFrame;  // draw one frame, and show it
  std::function<void()> resetTimer;               // forget the time a long step took
  std::function<void()> fadeOutMusic;             // every music channel over 30 ticks
  std::function<void()> applyMusicVolume;         // to the music playing now
  // The screen a screen change goes to, kept until its loading ends.
  TLumElement* pendingScreen = nullptr;
  bool closeRequested = false;

  // The interpreters that prepare and run event scripts; without a pool
  // scripts are stored but neither prepared nor run.
  InterpreterPool* pool = nullptr;
};

}  // namespace lum

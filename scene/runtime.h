#pragma once
// What the whole running program shares, in three parts: the services (real
// objects in every running game; a program without a window or sound holds
// the headless device and the null audio device), the game state (each value
// held once), and the small port through which the scene asks the shell for
// what only the shell can do. The root element points to the one runtime;
// tests make as many as they like.
#include <cstdint>
#include <filesystem>
#include <optional>

#include "media/frame_state.h"

namespace lum {

// Logic ticks per second: the frame timer's speed. Effects turn it into
// seconds of effect time.
constexpr double kTicksPerSecond = 30.0;

class AudioDevice;
class Clock;
class CodePage;
class GameFolder;
class ImageCache;
class InterpreterPool;
class Random;
class Sound;
class SystemFonts;
class TASDb;
class TAsphyreCanvas;
class TAsphyreDevice;
class TAsphyreFonts;
class TAsphyreImages;
class TLumElement;
class TLumText;

struct Services {
  GameFolder& folder;          // the game's folder, where every game file is read
  const CodePage& codePage;    // the game's 8-bit code page
  TAsphyreDevice& device;
  TAsphyreCanvas& canvas;
  TAsphyreImages& textures;
  TAsphyreFonts& fonts;
  SystemFonts& systemFonts;    // installed fonts, for texts in the game's system font
  TASDb& archive;              // the font and picture archive (may name no file)
  ImageCache& images;
  AudioDevice& audio;
  Sound& sound;                // also holds the effects and music volumes
  Clock& clock;
  Random& random;              // every random choice of the game
  InterpreterPool& pool;       // also holds the event label and current element
};

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

struct GameState {
  TLumElement* currentScreen = nullptr;
  // The screen a screen change goes to, kept until its loading ends.
  TLumElement* pendingScreen = nullptr;
  InputState input;
  TLumText* focusedText = nullptr;  // the text typed characters go to
  FrameState frame;                 // tick counter and picture-loading flags
  // Set while the game file's records are being read.
  bool readingData = false;
  bool testMode = false;            // always windowed
  bool fullScreenWanted = false;    // the player's choice of display
  bool closeRequested = false;      // a script asked the game to end
  // False while the window is inactive: no logic ticks, no hit tests.
  bool active = true;
};

// What the scene asks of the program around it.
class ShellPort {
 public:
  virtual ~ShellPort() = default;
  // Draws one frame now (a progress frame of a long step), shown or not.
  virtual void drawFrameNow(bool present) = 0;
  // Forgets the time a long step took, so that it is not caught up.
  virtual void resetTimer() = 0;
  // Puts the display in full screen or in a window; true when it is full
  // screen afterwards.
  virtual bool setFullScreen(bool fullScreen) = 0;
};

// The three parts together; the owner (GameHost) keeps each part alive as
// long as the runtime.
struct Runtime {
  Runtime(const Services& s, GameState& game, ShellPort& port,
          std::optional<std::filesystem::path> dataFolder)
      : services(s), state(game), shell(port), userDataFolder(std::move(dataFolder)) {}
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  const Services services;
  GameState& state;
  ShellPort& shell;
  // The user's data folder, under which each game keeps its save folder;
  // none when it cannot be found.
  const std::optional<std::filesystem::path> userDataFolder;
};

}  // namespace lum

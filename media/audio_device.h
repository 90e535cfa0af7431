#pragma once
// The audio device: everything the sound module asks of an audio library.
//
// Effects are samples decoded once; each sample owns up to three playback
// channels, and asking for a channel when all three are busy takes over the
// one that has played longest. Music tracks are streams that loop and are
// their own channel. Volumes run from 0 (silent) to 100 (full gain).
//
// Handles are never reused within one device; 0 means "none" and every call
// accepts it (and unknown handles) and does nothing.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lum {

using AudioHandle = uint32_t;

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // "openal" or "null".
  virtual std::string_view backendName() const = 0;
  // The libraries behind the device, for start-up messages and --info.
  virtual std::string version() const = 0;

  // A sample handle, or 0 when the sound cannot be read. The bytes may be
  // freed after the call.
  virtual AudioHandle loadSample(const std::filesystem::path& file) = 0;
  virtual AudioHandle loadSample(std::span<const uint8_t> bytes) = 0;
  // A looping stream handle, or 0. The device keeps the bytes for as long
  // as it lives, since streams decode as they play.
  virtual AudioHandle loadStream(const std::filesystem::path& file) = 0;
  virtual AudioHandle loadStream(std::shared_ptr<const std::vector<uint8_t>> bytes) = 0;

  // A channel of the sample, rewound and ready to play: a free one, or the
  // one that has played longest when all are busy (that playback ends).
  virtual AudioHandle sampleChannel(AudioHandle sample) = 0;

  // restart false leaves a playing channel alone; restart true plays it
  // from the beginning.
  virtual void play(AudioHandle channel, bool restart) = 0;
  // The stream stays loaded and can be played again.
  virtual void stop(AudioHandle channel) = 0;
  // Playing in the channel's own right: a global pause does not change it.
  virtual bool isPlaying(AudioHandle channel) = 0;
  virtual int volume(AudioHandle channel) const = 0;
  // Clamped to 0..100; takes effect at once.
  virtual void setVolume(AudioHandle channel, int volume) = 0;

  // Stops and restarts all output together (window deactivation).
  virtual void pause() = 0;
  virtual void resume() = 0;
  virtual bool paused() const = 0;

  // Refills the music streams and notices effects that have ended; call
  // once per frame.
  virtual void update() = 0;
};

struct AudioDeviceChoice {
  std::unique_ptr<AudioDevice> device;  // never null
  // Empty when the requested backend opened; otherwise why it did not and
  // that the null device stands in (one line for standard error).
  std::string notice;
};

// Backends by name: "openal" (falls back to "null" when no output device
// opens) and "null" (silent, same bookkeeping).
AudioDeviceChoice openAudioDevice(std::string_view backend);

inline constexpr int kMaxSamplePlaybacks = 3;

}  // namespace lum

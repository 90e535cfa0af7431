#pragma once
// The bookkeeping every audio backend shares: handles, the three channels of
// each sample and which one a new playback takes, playing flags, volumes and
// the global pause. Backends only produce the sound, through the hooks, so
// the silent backend behaves exactly like the audible one.
#include <map>
#include <vector>

#include "media/audio_decoder.h"
#include "media/audio_device.h"

namespace lum {

class AudioDeviceBase : public AudioDevice {
 public:
  AudioHandle loadSample(const std::filesystem::path& file) final;
  AudioHandle loadSample(std::span<const uint8_t> bytes) final;
  AudioHandle loadStream(const std::filesystem::path& file) final;
  AudioHandle loadStream(std::shared_ptr<const std::vector<uint8_t>> bytes) final;

  AudioHandle sampleChannel(AudioHandle sample) final;
  void play(AudioHandle channel, bool restart) final;
  void stop(AudioHandle channel) final;
  bool isPlaying(AudioHandle channel) final;
  int volume(AudioHandle channel) const final;
  void setVolume(AudioHandle channel, int volume) final;

  void pause() final;
  void resume() final;
  bool paused() const final { return paused_; }

  void update() override;

 protected:
  // The backend takes over a decoded sample or an opened stream; false
  // when it cannot (the load then fails).
  virtual bool addSampleOutput(AudioHandle sample, const DecodedSound& sound) = 0;
  virtual bool addStreamOutput(AudioHandle stream, std::unique_ptr<SoundReader> reader) = 0;
  // `source` is the sample a channel belongs to, or the stream itself.
  virtual void startOutput(AudioHandle channel, AudioHandle source, bool fromStart) = 0;
  virtual void stopOutput(AudioHandle channel) = 0;
  // An effect channel that has run to its end by itself.
  virtual bool outputEnded(AudioHandle channel) = 0;
  virtual void volumeOutput(AudioHandle channel, int volume) = 0;
  virtual void pauseOutput() = 0;
  virtual void resumeOutput() = 0;

 private:
  struct Channel {
    AudioHandle source = 0;
    bool isStream = false;
    bool playing = false;
    int volume = 100;
    uint64_t startOrder = 0;  // later starts have played for less time
  };

  AudioHandle addSample(Result<DecodedSound> sound);
  AudioHandle addStream(Result<std::unique_ptr<SoundReader>> reader);
  Channel* findChannel(AudioHandle channel);
  void refreshEnded(AudioHandle handle, Channel& channel);

  std::map<AudioHandle, std::vector<AudioHandle>> sampleChannels_;
  std::map<AudioHandle, Channel> channels_;  // streams are channels too
  AudioHandle nextHandle_ = 1;
  uint64_t starts_ = 0;
  bool paused_ = false;
};

}  // namespace lum

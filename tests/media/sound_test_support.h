#pragma once
// Helpers for the sound tests: scratch folders, generated tones, and a fake
// audio device that records what the sound module asks of it.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "media/audio_device.h"

namespace lum::test {

// An empty folder of its own for the running test.
inline std::filesystem::path soundScratch() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto dir = std::filesystem::temp_directory_path() / "lumrun-media-tests" /
                   (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

enum class ToneShape { sine, constant };

struct Tone {
  int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  int channels = 1;
  int sampleRate = 44100;
  double seconds = 0.5;
  double amplitude = 0.5;
  ToneShape shape = ToneShape::sine;
  double frequency = 440.0;
};

inline constexpr int kOggVorbis = SF_FORMAT_OGG | SF_FORMAT_VORBIS;

inline bool writeTone(const std::filesystem::path& path, const Tone& tone) {
  std::filesystem::create_directories(path.parent_path());
  SF_INFO info{};
  info.channels = tone.channels;
  info.samplerate = tone.sampleRate;
  info.format = tone.format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  const auto frames = size_t(tone.seconds * tone.sampleRate);
  std::vector<float> data(frames * size_t(tone.channels));
  for (size_t i = 0; i < frames; ++i) {
    const double value = tone.shape == ToneShape::constant
                             ? tone.amplitude
                             : tone.amplitude * std::sin(2 * M_PI * tone.frequency * double(i) /
                                                         tone.sampleRate);
    for (int c = 0; c < tone.channels; ++c) data[i * size_t(tone.channels) + size_t(c)] = float(value);
  }
  const bool ok = sf_writef_float(file, data.data(), sf_count_t(frames)) == sf_count_t(frames);
  return sf_close(file) == 0 && ok;
}

inline std::vector<uint8_t> fileBytes(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Loads succeed for files and bytes that begin with "SND"; plays, stops and
// volumes are recorded per channel. Samples get up to three channels, used
// round-robin, which is all the sound module can observe.
class FakeAudioDevice final : public AudioDevice {
 public:
  struct Channel {
    bool playing = false;
    int volume = 100;
    int starts = 0;
    int restarts = 0;
    int stops = 0;
  };

  std::vector<std::string> loads;  // file names, or "memory" for bytes
  std::map<AudioHandle, Channel> channels;
  std::vector<AudioHandle> channelOrder;  // every sampleChannel() answer

  std::string_view backendName() const override { return "fake"; }
  std::string version() const override { return "fake"; }

  AudioHandle loadSample(const std::filesystem::path& file) override { return loadFile(file); }
  AudioHandle loadSample(std::span<const uint8_t> bytes) override { return loadBytes(bytes); }
  AudioHandle loadStream(const std::filesystem::path& file) override {
    const AudioHandle h = loadFile(file);
    if (h) channels[h];
    return h;
  }
  AudioHandle loadStream(std::shared_ptr<const std::vector<uint8_t>> bytes) override {
    const AudioHandle h = loadBytes(*bytes);
    if (h) channels[h];
    return h;
  }

  AudioHandle sampleChannel(AudioHandle sample) override {
    const AudioHandle channel = sample * 100 + AudioHandle(nextSlot_[sample]++ % kMaxSamplePlaybacks);
    channels[channel].playing = false;
    channelOrder.push_back(channel);
    return channel;
  }

  void play(AudioHandle handle, bool restart) override {
    Channel& c = channels[handle];
    if (c.playing && !restart) return;
    c.playing = true;
    ++c.starts;
    if (restart) ++c.restarts;
  }
  void stop(AudioHandle handle) override {
    channels[handle].playing = false;
    ++channels[handle].stops;
  }
  bool isPlaying(AudioHandle handle) override {
    auto it = channels.find(handle);
    return it != channels.end() && it->second.playing;
  }
  int volume(AudioHandle handle) const override {
    auto it = channels.find(handle);
    return it == channels.end() ? 0 : it->second.volume;
  }
  void setVolume(AudioHandle handle, int v) override { channels[handle].volume = v; }
  void pause() override { paused_ = true; }
  void resume() override { paused_ = false; }
  bool paused() const override { return paused_; }
  void update() override {}

 private:
  AudioHandle loadFile(const std::filesystem::path& file) {
    loads.push_back(file.filename().string());
    std::ifstream in(file, std::ios::binary);
    std::string head(3, '\0');
    in.read(head.data(), 3);
    return head == "SND" ? next_++ : 0;
  }
  AudioHandle loadBytes(std::span<const uint8_t> bytes) {
    loads.push_back("memory");
    const bool ok = bytes.size() >= 3 && bytes[0] == 'S' && bytes[1] == 'N' && bytes[2] == 'D';
    return ok ? next_++ : 0;
  }

  AudioHandle next_ = 1;
  std::map<AudioHandle, int> nextSlot_;
  bool paused_ = false;
};

}  // namespace lum::test

// Sound through OpenAL Soft's file-writing backend: the mix lands in a float
// WAV whose levels show what was heard. Test tones are constant levels, so a
// mix of copies reads as the sum of their gains.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "media/sound.h"
#include "platform/game_folder.h"
#include "sound_test_support.h"

namespace lum {
namespace {

using namespace std::chrono_literals;

// OpenAL Soft reads its configuration once per process, so every device of
// this process writes to the same file; each test reads it after closing its
// device, which finishes the file.
const std::filesystem::path& waveOutput() {
  static const std::filesystem::path output = [] {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("lumrun-media-wave-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto conf = dir / "alsoft.conf";
    test::writeText(conf, "[general]\ndrivers=wave\n[wave]\nfile=" + (dir / "mix.wav").string() + "\n");
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    return dir / "mix.wav";
  }();
  return output;
}

// The left channel of the written mix.
std::vector<float> readMix() {
  SF_INFO info{};
  SNDFILE* file = sf_open(waveOutput().c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<float> all(size_t(info.frames) * size_t(info.channels));
  sf_readf_float(file, all.data(), info.frames);
  sf_close(file);
  std::vector<float> left;
  for (size_t i = 0; i < all.size(); i += size_t(info.channels)) left.push_back(all[i]);
  return left;
}

float median(std::vector<float> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
  return v[v.size() / 2];
}

// Stretches of sound separated by at least a tenth of a second of silence.
std::vector<std::vector<float>> soundingStretches(const std::vector<float>& mix) {
  std::vector<std::vector<float>> stretches;
  size_t quiet = 1'000'000;
  for (float x : mix) {
    if (std::abs(x) < 1e-4f) {
      ++quiet;
      continue;
    }
    if (quiet > 4410) stretches.emplace_back();
    quiet = 0;
    stretches.back().push_back(x);
  }
  return stretches;
}

struct WaveOutputTest : ::testing::Test {
  std::filesystem::path dir = test::soundScratch();
  GameFolder folder{dir};
  std::unique_ptr<AudioDevice> device;
  std::unique_ptr<Sound> sound;

  void SetUp() override {
    std::filesystem::remove(waveOutput());
    auto choice = openAudioDevice("openal");
    if (!choice.notice.empty()) GTEST_SKIP() << "OpenAL wave output unavailable: " << choice.notice;
    device = std::move(choice.device);
    sound = std::make_unique<Sound>(*device, folder, nullptr);
  }
  void TearDown() override {
    sound.reset();
    device.reset();
    std::filesystem::remove(waveOutput());
    std::filesystem::remove_all(dir);
  }

  void tone(const std::string& name, test::Tone t) {
    ASSERT_TRUE(test::writeTone(dir / "sounds" / name, t));
    folder.invalidate();
  }
  // Process ticks with the frame loop's refill between them.
  void ticks(int n, std::chrono::milliseconds each) {
    for (int i = 0; i < n; ++i) {
      sound->MusicTick();
      device->update();
      std::this_thread::sleep_for(each);
    }
  }
  void wait(std::chrono::milliseconds time) {
    for (auto end = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < end;) {
      device->update();
      std::this_thread::sleep_for(10ms);
    }
  }
  std::vector<float> finish() {
    sound.reset();
    device.reset();
    return readMix();
  }
};

const test::Tone kLevel{.seconds = 0.3, .amplitude = 0.5, .shape = test::ToneShape::constant};

TEST_F(WaveOutputTest, HalfEffectsVolumeAtHalfPercentIsAQuarter) {
  tone("level.wav", kLevel);
  sound->SoundPlay("level.wav", 100);
  wait(600ms);
  sound->setEffectsVolume(50);
  sound->SoundPlay("level.wav", 50);
  wait(600ms);
  const auto stretches = soundingStretches(finish());
  ASSERT_EQ(stretches.size(), 2u);
  const float full = median(stretches[0]);
  EXPECT_GT(full, 0.1f);
  EXPECT_NEAR(median(stretches[1]) / full, 0.25f, 0.01f);
}

TEST_F(WaveOutputTest, AFourthCopyReplacesTheOldest) {
  tone("long.wav", {.seconds = 1.5, .amplitude = 0.5, .shape = test::ToneShape::constant});
  // Copies at 10, 20, 40 and 80 percent: taking over the first leaves
  // 20 + 40 + 80 sounding together, and the 80 alone at the end.
  for (int percent : {10, 20, 40, 80}) {
    sound->SoundPlay("long.wav", percent);
    wait(100ms);
  }
  wait(1700ms);
  const auto stretches = soundingStretches(finish());
  ASSERT_EQ(stretches.size(), 1u);
  const auto& mix = stretches[0];
  const float loudest = *std::max_element(mix.begin(), mix.end());
  const float last = median(std::vector<float>(mix.end() - 2000, mix.end() - 200));
  // 140/80 when the oldest goes; 150/80 with no limit, 130/80 or 110/80
  // when another copy goes.
  EXPECT_NEAR(loudest / last, 1.75f, 0.04f);
}

TEST_F(WaveOutputTest, MusicFadesOutOverThirtyTicksAndStops) {
  tone("loop.wav", kLevel);
  sound->setMusicVolume(100);
  sound->MusicPlay("loop.wav", 100);
  ticks(60, 5ms);
  wait(300ms);
  const AudioHandle track = sound->tracks().at(0).handle;
  sound->MusicFadeOut();
  ticks(29, 50ms);
  EXPECT_TRUE(device->isPlaying(track));
  EXPECT_EQ(device->volume(track), 3);
  ticks(1, 0ms);
  EXPECT_FALSE(device->isPlaying(track));
  wait(400ms);
  const auto stretches = soundingStretches(finish());
  ASSERT_EQ(stretches.size(), 1u);
  const auto& mix = stretches[0];
  // Steady at full level after the fade-in, then thirty steps down.
  const float steady = *std::max_element(mix.begin(), mix.end());
  EXPECT_GT(steady, 0.1f);
  const float lastStep = median(std::vector<float>(mix.end() - 1500, mix.end() - 300));
  EXPECT_NEAR(lastStep / steady, 0.03f, 0.005f);
}

TEST_F(WaveOutputTest, Mp3NamesFallBackToOggFiles) {
  tone("theme.ogg", {.format = test::kOggVorbis, .seconds = 0.5, .amplitude = 0.5});
  sound->SoundPlay("theme.mp3", 100);
  wait(700ms);
  sound->MusicPlay("THEME.MP3", 100);
  ticks(60, 5ms);
  wait(300ms);
  const auto stretches = soundingStretches(finish());
  ASSERT_EQ(stretches.size(), 2u);
  for (const auto& s : stretches) {
    const float peak = *std::max_element(s.begin(), s.end());
    EXPECT_GT(peak, 0.1f);
  }
}

}  // namespace
}  // namespace lum

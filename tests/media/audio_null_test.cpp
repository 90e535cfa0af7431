// The decoder and the null device's bookkeeping (shared with the OpenAL
// device): real files in, channels, slot replacement, flags and volumes.
#include <gtest/gtest.h>

#include <set>

#include "media/audio_backends.h"
#include "media/audio_decoder.h"
#include "sound_test_support.h"

namespace lum {
namespace {

struct NullDeviceTest : ::testing::Test {
  std::filesystem::path dir = test::soundScratch();
  std::unique_ptr<AudioDevice> device = makeNullAudioDevice();

  AudioHandle sample() {
    EXPECT_TRUE(test::writeTone(dir / "tone.wav", {}));
    return device->loadSample(dir / "tone.wav");
  }
};

TEST_F(NullDeviceTest, DecodesWavAndOggFromFilesAndMemory) {
  ASSERT_TRUE(test::writeTone(dir / "a.wav", {.channels = 2, .sampleRate = 22050}));
  ASSERT_TRUE(test::writeTone(dir / "a.ogg", {.format = test::kOggVorbis}));
  auto wav = decodeSoundFile(dir / "a.wav");
  ASSERT_TRUE(wav.ok()) << wav.error().text();
  EXPECT_EQ(wav->channels, 2);
  EXPECT_EQ(wav->sampleRate, 22050);
  EXPECT_EQ(wav->frames(), 11025u);
  auto ogg = decodeSound(test::fileBytes(dir / "a.ogg"));
  ASSERT_TRUE(ogg.ok()) << ogg.error().text();
  EXPECT_EQ(ogg->channels, 1);

  EXPECT_NE(device->loadSample(test::fileBytes(dir / "a.ogg")), 0u);
  EXPECT_NE(device->loadStream(std::make_shared<const std::vector<uint8_t>>(
                test::fileBytes(dir / "a.wav"))),
            0u);
  EXPECT_NE(device->loadStream(dir / "a.ogg"), 0u);
}

TEST_F(NullDeviceTest, BadSoundsFailToLoad) {
  test::writeText(dir / "junk.wav", "RIFF....WAVEjunk");
  EXPECT_EQ(device->loadSample(dir / "junk.wav"), 0u);
  EXPECT_EQ(device->loadSample(dir / "absent.wav"), 0u);
  EXPECT_EQ(device->loadSample(std::span<const uint8_t>()), 0u);
  EXPECT_EQ(device->loadStream(nullptr), 0u);
  EXPECT_EQ(device->loadStream(dir / "junk.wav"), 0u);
  ASSERT_TRUE(test::writeTone(dir / "quad.wav", {.channels = 4}));
  EXPECT_EQ(device->loadSample(dir / "quad.wav"), 0u);
}

TEST_F(NullDeviceTest, AFourthPlaybackTakesOverTheOldest) {
  const AudioHandle s = sample();
  ASSERT_NE(s, 0u);
  std::vector<AudioHandle> copies;
  for (int i = 0; i < 3; ++i) {
    copies.push_back(device->sampleChannel(s));
    device->setVolume(copies.back(), 10 * (i + 1));
    device->play(copies.back(), false);
  }
  EXPECT_EQ(std::set<AudioHandle>(copies.begin(), copies.end()).size(), 3u);
  const AudioHandle fourth = device->sampleChannel(s);
  EXPECT_EQ(fourth, copies[0]);
  EXPECT_FALSE(device->isPlaying(fourth));  // rewound, waiting for play
  EXPECT_EQ(device->volume(fourth), 100);
  device->play(fourth, false);
  // Now the second copy is the oldest.
  EXPECT_EQ(device->sampleChannel(s), copies[1]);
}

TEST_F(NullDeviceTest, AStoppedCopyIsReusedBeforeAnyIsTakenOver) {
  const AudioHandle s = sample();
  std::vector<AudioHandle> copies;
  for (int i = 0; i < 3; ++i) {
    copies.push_back(device->sampleChannel(s));
    device->play(copies.back(), false);
  }
  device->stop(copies[1]);
  EXPECT_EQ(device->sampleChannel(s), copies[1]);
  EXPECT_TRUE(device->isPlaying(copies[0]));
}

TEST_F(NullDeviceTest, StreamsKeepFlagsAndClampedVolumesThroughPause) {
  ASSERT_TRUE(test::writeTone(dir / "m.wav", {}));
  const AudioHandle m = device->loadStream(dir / "m.wav");
  EXPECT_FALSE(device->isPlaying(m));
  device->setVolume(m, 150);
  EXPECT_EQ(device->volume(m), 100);
  device->setVolume(m, -5);
  EXPECT_EQ(device->volume(m), 0);
  device->play(m, true);
  device->pause();
  EXPECT_TRUE(device->paused());
  EXPECT_TRUE(device->isPlaying(m));
  device->resume();
  device->stop(m);
  EXPECT_FALSE(device->isPlaying(m));
  device->play(m, false);
  EXPECT_TRUE(device->isPlaying(m));
}

TEST_F(NullDeviceTest, UnknownHandlesAreIgnored) {
  EXPECT_EQ(device->sampleChannel(0), 0u);
  EXPECT_EQ(device->sampleChannel(12345), 0u);
  device->play(0, true);
  device->setVolume(77, 50);
  device->stop(77);
  EXPECT_FALSE(device->isPlaying(77));
  EXPECT_EQ(device->volume(77), 0);
}

TEST(AudioDeviceChoice, NamesPickTheBackend) {
  auto null = openAudioDevice("null");
  EXPECT_EQ(null.device->backendName(), "null");
  EXPECT_TRUE(null.notice.empty());
  auto bogus = openAudioDevice("bass");
  EXPECT_EQ(bogus.device->backendName(), "null");
  EXPECT_NE(bogus.notice.find("bass"), std::string::npos);
}

TEST(SoundReaderTest, LoopingReadsWrapAroundAndPlainReadsStop) {
  const auto dir = test::soundScratch();
  ASSERT_TRUE(test::writeTone(dir / "short.wav", {.seconds = 0.01}));  // 441 frames
  auto reader = SoundReader::open(dir / "short.wav");
  ASSERT_TRUE(reader.ok());
  std::vector<int16_t> out(1000);
  EXPECT_EQ((*reader)->read(out, true), 1000u);
  EXPECT_EQ(out[441], out[0]);
  EXPECT_EQ(out[442], out[1]);
  (*reader)->rewind();
  EXPECT_EQ((*reader)->read(out, false), 441u);
}

}  // namespace
}  // namespace lum

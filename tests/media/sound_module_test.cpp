// The sound module against a fake device: caches, fallbacks, volumes and
// the music fades.
#include <gtest/gtest.h>

#include "media/sound.h"
#include "platform/game_folder.h"
#include "render/archive.h"
#include "render/archive_writer.h"
#include "sound_test_support.h"

namespace lum {
namespace {

using test::FakeAudioDevice;

struct SoundFixture : ::testing::Test {
  std::filesystem::path dir = test::soundScratch();
  GameFolder folder{dir};
  FakeAudioDevice device;
  int loadsSeen = 0;
  Sound sound{device, folder, nullptr, [this] { ++loadsSeen; }};

  void addFile(const std::string& name, const std::string& content = "SND") {
    test::writeText(dir / "sounds" / name, content);
    folder.invalidate();
  }
  const TSound& track(size_t i) const { return sound.tracks().at(i); }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) sound.MusicTick();
  }
};

TEST(SoundFade, FadeOutFromAnyLevelEndsOnTheThirtiethTickExactly) {
  for (double start : {1.0, 0.7, 0.33, 0.01}) {
    TSound t{"X", 1, start};
    startFadeOut(t);
    for (int tick = 1; tick < kFadeOutTicks; ++tick)
      ASSERT_FALSE(advanceFade(t)) << "level " << start << " stopped at tick " << tick;
    EXPECT_TRUE(advanceFade(t)) << start;
    EXPECT_EQ(t.level, 0.0);
    EXPECT_EQ(t.step, 0.0);
  }
}

TEST(SoundFade, FadeInArrivesOnTheSixtiethTick) {
  for (int percent : {100, 80, 35, 1}) {
    TSound t{"X", 1};
    startFadeIn(t, percent);
    for (int tick = 1; tick < kFadeInTicks; ++tick) {
      advanceFade(t);
      ASSERT_NE(t.step, 0.0) << percent << " arrived early at tick " << tick;
    }
    EXPECT_FALSE(advanceFade(t));
    EXPECT_EQ(t.level, percent / 100.0);
    EXPECT_EQ(t.step, 0.0);
  }
}

TEST(SoundFade, RetargetDownwardsStopsAtTheTargetWithoutStopping) {
  TSound t{"X", 1, 1.0};
  retargetFade(t, 40);
  for (int tick = 1; tick <= kFadeInTicks; ++tick) ASSERT_FALSE(advanceFade(t));
  EXPECT_EQ(t.level, 0.4);
  EXPECT_EQ(t.step, 0.0);
}

TEST(SoundFade, TrackVolumeRoundsHalvesToEven) {
  EXPECT_EQ(trackVolume(50, 0.25), 12);  // 12.5
  EXPECT_EQ(trackVolume(30, 0.25), 8);   // 7.5
  EXPECT_EQ(trackVolume(100, 1.0 / 3), 33);
  EXPECT_EQ(trackVolume(0, 1.0), 0);
}

TEST(SoundNames, AlternativeReplacesTheLastThreeCharacters) {
  EXPECT_EQ(Sound::alternativeName("THEME.MP3"), "THEME.OGG");
  EXPECT_EQ(Sound::alternativeName("A.WAV"), "A.OGG");
  EXPECT_EQ(Sound::alternativeName("AB"), "OGG");
  EXPECT_EQ(Sound::alternativeName(""), "OGG");
}

TEST_F(SoundFixture, LoadsAreCachedFailuresIncluded) {
  addFile("click.wav");
  const AudioHandle h = sound.SampleLoad("CLICK.WAV");
  EXPECT_NE(h, 0u);
  EXPECT_EQ(sound.SampleLoad("CLICK.WAV"), h);
  EXPECT_EQ(sound.SampleLoad("MISSING.WAV"), 0u);
  addFile("missing.wav");  // appearing later changes nothing: the failure is kept
  EXPECT_EQ(sound.SampleLoad("MISSING.WAV"), 0u);
  EXPECT_EQ(device.loads.size(), 1u);
  EXPECT_EQ(loadsSeen, 2);  // one timer reset per load attempt, none for cache hits
  ASSERT_EQ(sound.samples().size(), 2u);
  EXPECT_EQ(sound.samples()[1].Name, "MISSING.WAV");
  EXPECT_EQ(sound.samples()[1].handle, 0u);
}

TEST_F(SoundFixture, EffectVolumeIsEffectsVolumeTimesPercentDivHundred) {
  addFile("click.wav");
  sound.setEffectsVolume(50);
  sound.SoundPlay("click.wav", 50);
  ASSERT_EQ(device.channelOrder.size(), 1u);
  EXPECT_EQ(device.channels[device.channelOrder[0]].volume, 25);
  sound.setEffectsVolume(33);
  sound.SoundPlay("CLICK.WAV", 50);  // 16.5 truncates
  EXPECT_EQ(device.channels[device.channelOrder[1]].volume, 16);
  EXPECT_EQ(device.channels[device.channelOrder[1]].restarts, 0);
}

TEST_F(SoundFixture, EffectFallsBackToOggAndRemembersBoth) {
  addFile("Jingle.OGG");
  sound.SoundPlay("jingle.mp3", 100);
  ASSERT_EQ(device.channelOrder.size(), 1u);
  ASSERT_EQ(sound.samples().size(), 2u);
  EXPECT_EQ(sound.samples()[0].handle, 0u);
  EXPECT_NE(sound.samples()[1].handle, 0u);
  sound.SoundPlay("JINGLE.MP3", 100);
  EXPECT_EQ(device.channelOrder.size(), 2u);
  EXPECT_EQ(device.loads.size(), 1u);  // the OGG, once
  EXPECT_EQ(loadsSeen, 2);
}

TEST_F(SoundFixture, MissingEffectPlaysNothing) {
  sound.SoundPlay("none.mp3", 100);
  sound.SoundPlay("none.mp3", 100);
  EXPECT_TRUE(device.channelOrder.empty());
  EXPECT_EQ(sound.samples().size(), 2u);
}

TEST_F(SoundFixture, LooseFilesComeBeforeTheArchive) {
  ArchiveWriter writer;
  const std::string snd = "SND";
  writer.add("SOUNDS\\BOTH.WAV", 0, std::span(reinterpret_cast<const uint8_t*>(snd.data()), 3));
  writer.add("SOUNDS\\PACKED.WAV", 0, std::span(reinterpret_cast<const uint8_t*>(snd.data()), 3));
  ASSERT_TRUE(writer.save((dir / "game.asdb").string()).ok());
  TASDb archive;
  archive.setFileName((dir / "game.asdb").string());
  archive.setOpenMode(TOpenModes::opReadOnly);
  ASSERT_TRUE(archive.open());
  sound.setArchive(&archive);
  addFile("both.wav");

  EXPECT_NE(sound.SampleLoad("BOTH.WAV"), 0u);
  EXPECT_NE(sound.StreamLoad("PACKED.WAV"), 0u);
  EXPECT_EQ(sound.SampleLoad("ABSENT.WAV"), 0u);
  EXPECT_EQ(device.loads, (std::vector<std::string>{"both.wav", "memory"}));
}

TEST_F(SoundFixture, NamesCannotLeaveTheGameFolder) {
  test::writeText(dir / "secret.wav", "SND");
  GameFolder inner{dir / "game"};
  std::filesystem::create_directories(dir / "game" / "sounds");
  Sound confined{device, inner, nullptr};
  EXPECT_EQ(confined.SampleLoad("..\\..\\SECRET.WAV"), 0u);
  EXPECT_EQ(confined.SampleLoad("C:\\SECRET.WAV"), 0u);
  EXPECT_TRUE(device.loads.empty());
}

TEST_F(SoundFixture, MusicFadesInFromSilenceOverSixtyTicks) {
  addFile("theme.ogg");
  sound.setMusicVolume(50);
  sound.MusicPlay("theme.ogg", 100);
  const AudioHandle h = track(0).handle;
  EXPECT_TRUE(device.channels[h].playing);
  EXPECT_EQ(device.channels[h].restarts, 1);
  EXPECT_EQ(device.channels[h].volume, 0);
  ticks(1);
  EXPECT_EQ(device.channels[h].volume, 1);  // 50 / 60 rounds to 1
  ticks(29);
  EXPECT_EQ(device.channels[h].volume, 25);
  ticks(30);
  EXPECT_EQ(device.channels[h].volume, 50);
  EXPECT_EQ(track(0).step, 0.0);
}

TEST_F(SoundFixture, PlayingTrackIsRetargetedWithoutRestarting) {
  addFile("theme.ogg");
  sound.setMusicVolume(100);
  sound.MusicPlay("theme.ogg", 100);
  ticks(60);
  sound.MusicPlay("THEME.OGG", 50);
  const AudioHandle h = track(0).handle;
  EXPECT_EQ(device.channels[h].restarts, 1);
  ticks(59);
  EXPECT_GT(device.channels[h].volume, 50);
  ticks(1);
  EXPECT_EQ(device.channels[h].volume, 50);
  EXPECT_TRUE(device.channels[h].playing);
}

TEST_F(SoundFixture, FadeOutStopsOnTheThirtiethTickAndReplayRestarts) {
  addFile("theme.ogg");
  sound.setMusicVolume(100);
  sound.MusicPlay("theme.ogg", 100);
  ticks(60);
  sound.MusicFadeOut();
  const AudioHandle h = track(0).handle;
  ticks(29);
  EXPECT_TRUE(device.channels[h].playing);
  EXPECT_EQ(device.channels[h].volume, 3);
  ticks(1);
  EXPECT_FALSE(device.channels[h].playing);
  EXPECT_EQ(device.channels[h].volume, 0);
  EXPECT_EQ(device.channels[h].stops, 1);

  sound.MusicPlay("theme.ogg", 100);
  EXPECT_EQ(device.channels[h].restarts, 2);
  EXPECT_EQ(track(0).level, 0.0);
}

TEST_F(SoundFixture, TracksFadeIndependently) {
  addFile("a.ogg");
  addFile("b.ogg");
  sound.setMusicVolume(100);
  sound.MusicPlay("a.ogg", 100);
  ticks(60);
  sound.MusicPlay("b.ogg", 60);
  ticks(30);
  EXPECT_EQ(device.channels[track(0).handle].volume, 100);
  EXPECT_EQ(device.channels[track(1).handle].volume, 30);
}

TEST_F(SoundFixture, MusicFallsBackToOgg) {
  addFile("intro.ogg");
  sound.MusicPlay("Intro.mp3", 100);
  ASSERT_EQ(sound.tracks().size(), 2u);
  EXPECT_EQ(track(0).handle, 0u);
  EXPECT_TRUE(device.channels[track(1).handle].playing);
  sound.MusicPlay("INTRO.MP3", 100);
  EXPECT_EQ(device.channels[track(1).handle].restarts, 1);
  EXPECT_EQ(device.loads.size(), 1u);
}

TEST_F(SoundFixture, MusicVolumeAppliesToPlayingTracksAtOnce) {
  addFile("a.ogg");
  addFile("b.ogg");
  sound.setMusicVolume(100);
  sound.MusicPlay("a.ogg", 50);
  ticks(60);
  sound.MusicPlay("b.ogg", 100);
  ticks(60);
  sound.MusicFadeOut();
  ticks(30);  // b stopped at level 0; a too
  sound.MusicPlay("a.ogg", 50);
  ticks(60);
  device.channels[track(1).handle].volume = 77;  // untouched while stopped
  sound.setMusicVolume(25);
  EXPECT_EQ(device.channels[track(0).handle].volume, 12);  // 12.5 to even
  EXPECT_EQ(device.channels[track(1).handle].volume, 77);
}

}  // namespace
}  // namespace lum

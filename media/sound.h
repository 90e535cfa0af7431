#pragma once
// Effects and music of a game. Sounds are found by name in the game's
// "sounds" folder, then in its archive; every name is loaded once and
// remembered, failures too. Music tracks loop and fade over process ticks;
// two volumes (0 to 100) scale effects and music.
//
// One object per running game, owned by the runtime; it plays through an
// audio device that outlives it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "media/audio_device.h"
#include "media/sound_fade.h"

namespace lum {

class GameFolder;
class TASDb;

struct SampleEntry {
  std::string Name;        // upper-cased
  AudioHandle handle = 0;  // 0 when loading failed
};

class Sound {
 public:
  // `folder` is the game's base folder (holding "sounds"); `archive` may be
  // null or change later (setArchive). `afterLoad` runs after every load
  // attempt so the frame timer does not count loading as game time.
  Sound(AudioDevice& device, const GameFolder& folder, TASDb* archive,
        std::function<void()> afterLoad = {});

  void setArchive(TASDb* archive) { archive_ = archive; }

  // Plays an effect once at effects volume x percent div 100.
  void SoundPlay(std::string_view name, int percent);
  // Starts a track fading in from silence, or moves a playing one to the
  // new loudness; other tracks are left alone.
  void MusicPlay(std::string_view name, int percent);
  // Fades every track to silence.
  void MusicFadeOut();
  // Advances the fades; once per process tick, in the loading phase too.
  void MusicTick();

  AudioHandle SampleLoad(std::string_view name);
  AudioHandle StreamLoad(std::string_view name);

  int effectsVolume() const { return effectsVolume_; }
  // Takes effect with the next effect played.
  void setEffectsVolume(int volume) { effectsVolume_ = volume; }
  int musicVolume() const { return musicVolume_; }
  // Applies to the playing tracks at once.
  void setMusicVolume(int volume);

  const std::vector<SampleEntry>& samples() const { return samples_; }
  const std::vector<TSound>& tracks() const { return tracks_; }
  AudioDevice& device() { return device_; }

  // The name tried when a name fails: its last three characters replaced by
  // "OGG", so "THEME.MP3" falls back to "THEME.OGG".
  static std::string alternativeName(std::string_view upperName);

 private:
  enum class Kind { sample, stream };
  // The device handle for a name from the "sounds" folder or the archive.
  AudioHandle load(std::string_view name, Kind kind);
  TSound* findTrack(std::string_view name, std::string_view alternative);

  AudioDevice& device_;
  const GameFolder& folder_;
  TASDb* archive_;
  std::function<void()> afterLoad_;
  std::vector<SampleEntry> samples_;
  std::vector<TSound> tracks_;
  int effectsVolume_ = 100;
  int musicVolume_ = 50;
};

}  // namespace lum

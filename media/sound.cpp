#include "media/sound.h"

#include <memory>

#include "platform/game_folder.h"
#include "render/archive.h"

namespace lum {
namespace {

// Names compare upper-cased, and only a to z change case, whatever the
// code page.
std::string upperName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

}  // namespace

Sound::Sound(AudioDevice& device, const GameFolder& folder, TASDb* archive,
             std::function<void()> afterLoad)
    : device_(device), folder_(folder), archive_(archive), afterLoad_(std::move(afterLoad)) {}

std::string Sound::alternativeName(std::string_view upperName) {
  const size_t keep = upperName.size() >= 3 ? upperName.size() - 3 : 0;
  return std::string(upperName.substr(0, keep)) + "OGG";
}

AudioHandle Sound::load(std::string_view name, Kind kind) {
  const std::string path = "sounds\\" + std::string(name);
  if (folder_.exists(path)) {
    if (auto file = folder_.resolve(path))
      return kind == Kind::sample ? device_.loadSample(*file) : device_.loadStream(*file);
  }
  if (!archive_) return 0;
  auto record = archive_->readRecord(path);
  if (!record) return 0;
  if (kind == Kind::sample) return device_.loadSample(std::span<const uint8_t>(*record));
  return device_.loadStream(std::make_shared<const std::vector<uint8_t>>(std::move(*record)));
}

AudioHandle Sound::SampleLoad(std::string_view name) {
  for (const SampleEntry& entry : samples_)
    if (entry.Name == name) return entry.handle;
  const AudioHandle handle = load(name, Kind::sample);
  samples_.push_back({upperName(name), handle});
  if (afterLoad_) afterLoad_();
  return handle;
}

AudioHandle Sound::StreamLoad(std::string_view name) {
  for (const TSound& track : tracks_)
    if (track.Name == name) return track.handle;
  const AudioHandle handle = load(name, Kind::stream);
  tracks_.push_back({upperName(name), handle});
  if (afterLoad_) afterLoad_();
  return handle;
}

void Sound::SoundPlay(std::string_view name, int percent) {
  const std::string upper = upperName(name);
  const std::string alternative = alternativeName(upper);
  AudioHandle sample = 0;
  for (const SampleEntry& entry : samples_) {
    if (entry.Name == upper || entry.Name == alternative) {
      sample = entry.handle;
      break;
    }
  }
  if (!sample) sample = SampleLoad(upper);
  if (!sample) sample = SampleLoad(alternative);
  if (!sample) return;
  const AudioHandle channel = device_.sampleChannel(sample);
  device_.setVolume(channel, effectsVolume_ * percent / 100);
  device_.play(channel, false);
}

TSound* Sound::findTrack(std::string_view name, std::string_view alternative) {
  AudioHandle handle = 0;
  for (const TSound& track : tracks_) {
    if (track.Name == name || track.Name == alternative) {
      handle = track.handle;
      break;
    }
  }
  if (!handle) handle = StreamLoad(name);
  if (!handle) handle = StreamLoad(alternative);
  if (!handle) return nullptr;
  for (TSound& track : tracks_)
    if (track.handle == handle) return &track;
  return nullptr;
}

void Sound::MusicPlay(std::string_view name, int percent) {
  const std::string upper = upperName(name);
  TSound* track = findTrack(upper, alternativeName(upper));
  if (!track) return;
  retargetFade(*track, percent);
  if (device_.isPlaying(track->handle)) return;
  startFadeIn(*track, percent);
  device_.setVolume(track->handle, 0);
  device_.play(track->handle, true);
}

void Sound::MusicFadeOut() {
  for (TSound& track : tracks_) startFadeOut(track);
}

void Sound::MusicTick() {
  for (TSound& track : tracks_) {
    if (!device_.isPlaying(track.handle)) continue;
    if (advanceFade(track)) device_.stop(track.handle);
    device_.setVolume(track.handle, trackVolume(musicVolume_, track.level));
  }
}

void Sound::setMusicVolume(int volume) {
  musicVolume_ = volume;
  for (TSound& track : tracks_)
    if (device_.isPlaying(track.handle))
      device_.setVolume(track.handle, trackVolume(musicVolume_, track.level));
}

}  // namespace lum

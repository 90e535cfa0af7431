#include "media/audio_device_base.h"

#include <algorithm>

namespace lum {

AudioHandle AudioDeviceBase::loadSample(const std::filesystem::path& file) {
  return addSample(decodeSoundFile(file));
}

AudioHandle AudioDeviceBase::loadSample(std::span<const uint8_t> bytes) {
  return addSample(decodeSound(bytes));
}

AudioHandle AudioDeviceBase::loadStream(const std::filesystem::path& file) {
  return addStream(SoundReader::open(file));
}

AudioHandle AudioDeviceBase::loadStream(std::shared_ptr<const std::vector<uint8_t>> bytes) {
  return addStream(SoundReader::open(std::move(bytes)));
}

AudioHandle AudioDeviceBase::addSample(Result<DecodedSound> sound) {
  if (!sound) return 0;
  const AudioHandle handle = nextHandle_++;
  if (!addSampleOutput(handle, *sound)) return 0;
  sampleChannels_[handle];
  return handle;
}

AudioHandle AudioDeviceBase::addStream(Result<std::unique_ptr<SoundReader>> reader) {
  if (!reader) return 0;
  const AudioHandle handle = nextHandle_++;
  if (!addStreamOutput(handle, std::move(*reader))) return 0;
  channels_[handle] = Channel{handle, true};
  return handle;
}

AudioDeviceBase::Channel* AudioDeviceBase::findChannel(AudioHandle channel) {
  auto it = channels_.find(channel);
  return it == channels_.end() ? nullptr : &it->second;
}

void AudioDeviceBase::refreshEnded(AudioHandle handle, Channel& channel) {
  if (channel.playing && !channel.isStream && outputEnded(handle)) channel.playing = false;
}

AudioHandle AudioDeviceBase::sampleChannel(AudioHandle sample) {
  auto it = sampleChannels_.find(sample);
  if (it == sampleChannels_.end()) return 0;
  std::vector<AudioHandle>& slots = it->second;

  AudioHandle chosen = 0;
  for (AudioHandle slot : slots) {
    Channel& channel = channels_[slot];
    refreshEnded(slot, channel);
    if (!channel.playing) {
      chosen = slot;
      break;
    }
  }
  if (!chosen && slots.size() < size_t(kMaxSamplePlaybacks)) {
    chosen = nextHandle_++;
    slots.push_back(chosen);
    channels_[chosen] = Channel{sample, false};
  }
  if (!chosen) {
    // All copies are busy: every copy of a sample runs at the same rate, so
    // the one started first is the one furthest into the sound.
    chosen = *std::min_element(slots.begin(), slots.end(), [&](AudioHandle a, AudioHandle b) {
      return channels_[a].startOrder < channels_[b].startOrder;
    });
  }
  Channel& channel = channels_[chosen];
  if (channel.playing) stopOutput(chosen);
  channel.playing = false;
  channel.volume = 100;
  volumeOutput(chosen, channel.volume);
  return chosen;
}

void AudioDeviceBase::play(AudioHandle handle, bool restart) {
  Channel* channel = findChannel(handle);
  if (!channel) return;
  refreshEnded(handle, *channel);
  if (channel->playing && !restart) return;
  if (channel->playing) stopOutput(handle);
  channel->playing = true;
  channel->startOrder = ++starts_;
  startOutput(handle, channel->source, restart || !channel->isStream);
}

void AudioDeviceBase::stop(AudioHandle handle) {
  Channel* channel = findChannel(handle);
  if (!channel || !channel->playing) return;
  channel->playing = false;
  stopOutput(handle);
}

bool AudioDeviceBase::isPlaying(AudioHandle handle) {
  Channel* channel = findChannel(handle);
  if (!channel) return false;
  refreshEnded(handle, *channel);
  return channel->playing;
}

int AudioDeviceBase::volume(AudioHandle handle) const {
  auto it = channels_.find(handle);
  return it == channels_.end() ? 0 : it->second.volume;
}

void AudioDeviceBase::setVolume(AudioHandle handle, int volume) {
  Channel* channel = findChannel(handle);
  if (!channel) return;
  channel->volume = std::clamp(volume, 0, 100);
  volumeOutput(handle, channel->volume);
}

void AudioDeviceBase::pause() {
  if (paused_) return;
  paused_ = true;
  pauseOutput();
}

void AudioDeviceBase::resume() {
  if (!paused_) return;
  paused_ = false;
  resumeOutput();
}

void AudioDeviceBase::update() {
  for (auto& [handle, channel] : channels_) refreshEnded(handle, channel);
}

}  // namespace lum

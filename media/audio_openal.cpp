// OpenAL Soft output. Effects are decoded once into a buffer per sample and
// played on sources taken from a pool while they sound; each music track
// has a source of its own fed by a small queue of buffers that update()
// refills from the track's decoder.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "media/audio_backends.h"
#include "media/audio_device_base.h"

namespace lum {
namespace {

constexpr int kStreamBuffers = 4;
// A quarter of a second per stream buffer: a second of music queued, enough
// to ride over a slow frame or a screen load.
constexpr int kStreamBufferDivisor = 4;

ALenum formatFor(int channels) { return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16; }

float gainFor(int volume) { return float(std::clamp(volume, 0, 100)) / 100.0f; }

class OpenAlDevice final : public AudioDeviceBase {
 public:
  OpenAlDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {
    if (alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) {
      pauseDevice_ = reinterpret_cast<LPALCDEVICEPAUSESOFT>(
          alcGetProcAddress(device_, "alcDevicePauseSOFT"));
      resumeDevice_ = reinterpret_cast<LPALCDEVICERESUMESOFT>(
          alcGetProcAddress(device_, "alcDeviceResumeSOFT"));
    }
  }

  ~OpenAlDevice() override {
    for (auto& [handle, stream] : streams_) {
      alSourceStop(stream.source);
      alSourcei(stream.source, AL_BUFFER, 0);
      alDeleteSources(1, &stream.source);
      alDeleteBuffers(kStreamBuffers, stream.buffers.data());
    }
    for (auto& [channel, source] : effectSources_) freeSources_.push_back(source);
    for (ALuint source : freeSources_) {
      alSourceStop(source);
      alSourcei(source, AL_BUFFER, 0);
      alDeleteSources(1, &source);
    }
    for (auto& [sample, buffer] : sampleBuffers_) alDeleteBuffers(1, &buffer);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
  }

  std::string_view backendName() const override { return "openal"; }

  std::string version() const override {
    const char* al = alGetString(AL_VERSION);
    return std::string("OpenAL ") + (al ? al : "?") + ", " + sf_version_string();
  }

  void update() override {
    AudioDeviceBase::update();
    for (auto& [handle, stream] : streams_) refill(stream);
  }

 protected:
  bool addSampleOutput(AudioHandle sample, const DecodedSound& sound) override {
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, formatFor(sound.channels), sound.pcm.data(),
                 ALsizei(sound.pcm.size() * sizeof(int16_t)), sound.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &buffer);
      return false;
    }
    sampleBuffers_[sample] = buffer;
    return true;
  }

  bool addStreamOutput(AudioHandle handle, std::unique_ptr<SoundReader> reader) override {
    alGetError();
    Stream stream;
    alGenSources(1, &stream.source);
    if (alGetError() != AL_NO_ERROR) return false;
    alGenBuffers(kStreamBuffers, stream.buffers.data());
    if (alGetError() != AL_NO_ERROR) {
      alDeleteSources(1, &stream.source);
      return false;
    }
    placeAtListener(stream.source);
    stream.format = formatFor(reader->channels());
    stream.pcm.resize(size_t(std::max(1, reader->sampleRate() / kStreamBufferDivisor)) *
                      size_t(reader->channels()));
    stream.reader = std::move(reader);
    streams_.emplace(handle, std::move(stream));
    return true;
  }

  void startOutput(AudioHandle channel, AudioHandle source, bool fromStart) override {
    if (auto it = streams_.find(channel); it != streams_.end()) {
      Stream& stream = it->second;
      unqueueAll(stream);
      if (fromStart) stream.reader->rewind();
      stream.active = true;
      for (ALuint buffer : stream.buffers) {
        if (!fill(stream, buffer)) break;
        alSourceQueueBuffers(stream.source, 1, &buffer);
      }
      alSourcef(stream.source, AL_GAIN, gainFor(volume(channel)));
      alSourcePlay(stream.source);
      return;
    }
    auto buffer = sampleBuffers_.find(source);
    if (buffer == sampleBuffers_.end()) return;
    const ALuint al = effectSource(channel);
    if (!al) return;
    alSourcei(al, AL_BUFFER, ALint(buffer->second));
    alSourcef(al, AL_GAIN, gainFor(volume(channel)));
    alSourcePlay(al);
  }

  void stopOutput(AudioHandle channel) override {
    if (auto it = streams_.find(channel); it != streams_.end()) {
      it->second.active = false;
      unqueueAll(it->second);
      return;
    }
    releaseEffectSource(channel);
  }

  bool outputEnded(AudioHandle channel) override {
    auto it = effectSources_.find(channel);
    if (it == effectSources_.end()) return true;
    ALint state = AL_STOPPED;
    alGetSourcei(it->second, AL_SOURCE_STATE, &state);
    if (state != AL_STOPPED && state != AL_INITIAL) return false;
    releaseEffectSource(channel);
    return true;
  }

  void volumeOutput(AudioHandle channel, int volume) override {
    if (auto it = streams_.find(channel); it != streams_.end())
      alSourcef(it->second.source, AL_GAIN, gainFor(volume));
    else if (auto effect = effectSources_.find(channel); effect != effectSources_.end())
      alSourcef(effect->second, AL_GAIN, gainFor(volume));
  }

  // Pausing the device freezes every source where it is, so nothing needs
  // remembering. Without the extension the listener is muted instead.
  void pauseOutput() override {
    if (pauseDevice_) pauseDevice_(device_);
    else alListenerf(AL_GAIN, 0.0f);
  }

  void resumeOutput() override {
    if (resumeDevice_) resumeDevice_(device_);
    else alListenerf(AL_GAIN, 1.0f);
  }

 private:
  struct Stream {
    std::unique_ptr<SoundReader> reader;
    ALuint source = 0;
    std::array<ALuint, kStreamBuffers> buffers{};
    ALenum format = AL_FORMAT_MONO16;
    std::vector<int16_t> pcm;  // one buffer's worth, reused
    bool active = false;
  };

  static void placeAtListener(ALuint source) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
  }

  bool fill(Stream& stream, ALuint buffer) {
    const size_t frames = stream.reader->read(stream.pcm, true);
    if (frames == 0) return false;
    alBufferData(buffer, stream.format, stream.pcm.data(),
                 ALsizei(frames * size_t(stream.reader->channels()) * sizeof(int16_t)),
                 stream.reader->sampleRate());
    return true;
  }

  void unqueueAll(Stream& stream) {
    alSourceStop(stream.source);
    alSourcei(stream.source, AL_BUFFER, 0);
  }

  void refill(Stream& stream) {
    if (!stream.active) return;
    ALint processed = 0;
    alGetSourcei(stream.source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
      ALuint buffer = 0;
      alSourceUnqueueBuffers(stream.source, 1, &buffer);
      if (fill(stream, buffer)) alSourceQueueBuffers(stream.source, 1, &buffer);
    }
    // A long frame may have drained the queue; the track is still meant to
    // play, so start it again where the new buffers begin.
    ALint state = AL_PLAYING, queued = 0;
    alGetSourcei(stream.source, AL_SOURCE_STATE, &state);
    alGetSourcei(stream.source, AL_BUFFERS_QUEUED, &queued);
    if (state != AL_PLAYING && state != AL_PAUSED && queued > 0) alSourcePlay(stream.source);
  }

  ALuint effectSource(AudioHandle channel) {
    if (auto it = effectSources_.find(channel); it != effectSources_.end()) return it->second;
    ALuint source = 0;
    if (!freeSources_.empty()) {
      source = freeSources_.back();
      freeSources_.pop_back();
    } else {
      alGetError();
      alGenSources(1, &source);
      if (alGetError() != AL_NO_ERROR) return 0;  // out of voices: this copy stays silent
      placeAtListener(source);
    }
    effectSources_[channel] = source;
    return source;
  }

  void releaseEffectSource(AudioHandle channel) {
    auto it = effectSources_.find(channel);
    if (it == effectSources_.end()) return;
    alSourceStop(it->second);
    alSourcei(it->second, AL_BUFFER, 0);
    freeSources_.push_back(it->second);
    effectSources_.erase(it);
  }

  ALCdevice* device_;
  ALCcontext* context_;
  LPALCDEVICEPAUSESOFT pauseDevice_ = nullptr;
  LPALCDEVICERESUMESOFT resumeDevice_ = nullptr;
  std::map<AudioHandle, ALuint> sampleBuffers_;
  std::map<AudioHandle, ALuint> effectSources_;  // effect channel -> source while it sounds
  std::vector<ALuint> freeSources_;
  std::map<AudioHandle, Stream> streams_;
};

}  // namespace

Result<std::unique_ptr<AudioDevice>> openOpenAlDevice() {
  ALCdevice* device = alcOpenDevice(nullptr);
  if (!device) return Error{"OpenAL cannot open an output device"};
  // Music is mostly stereo; OpenAL Soft reserves a single stereo voice
  // unless asked for more.
  const ALCint attributes[] = {ALC_FREQUENCY, 44100, ALC_MONO_SOURCES, 192,
                               ALC_STEREO_SOURCES, 64, 0};
  ALCcontext* context = alcCreateContext(device, attributes);
  if (!context || !alcMakeContextCurrent(context)) {
    if (context) alcDestroyContext(context);
    alcCloseDevice(device);
    return Error{"OpenAL cannot create a context on its output device"};
  }
  return std::unique_ptr<AudioDevice>(std::make_unique<OpenAlDevice>(device, context));
}

}  // namespace lum

#include "media/audio_device.h"

#include "media/audio_backends.h"

namespace lum {

AudioDeviceChoice openAudioDevice(std::string_view backend) {
  if (backend == "null") return {makeNullAudioDevice(), {}};
  if (backend == "openal") {
    auto opened = openOpenAlDevice();
    if (opened) return {std::move(*opened), {}};
    return {makeNullAudioDevice(), "no audio device: " + opened.error().text() + "; sound is off"};
  }
  return {makeNullAudioDevice(),
          "unknown audio backend \"" + std::string(backend) + "\"; sound is off"};
}

}  // namespace lum

#include <sndfile.h>

#include "media/audio_backends.h"
#include "media/audio_device_base.h"

namespace lum {
namespace {

class NullAudioDevice final : public AudioDeviceBase {
 public:
  std::string_view backendName() const override { return "null"; }
  std::string version() const override { return std::string("null output, ") + sf_version_string(); }

 protected:
  bool addSampleOutput(AudioHandle, const DecodedSound&) override { return true; }
  bool addStreamOutput(AudioHandle, std::unique_ptr<SoundReader>) override { return true; }
  void startOutput(AudioHandle, AudioHandle, bool) override {}
  void stopOutput(AudioHandle) override {}
  bool outputEnded(AudioHandle) override { return false; }
  void volumeOutput(AudioHandle, int) override {}
  void pauseOutput() override {}
  void resumeOutput() override {}
};

}  // namespace

std::unique_ptr<AudioDevice> makeNullAudioDevice() { return std::make_unique<NullAudioDevice>(); }

}  // namespace lum

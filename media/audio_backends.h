#pragma once
// The concrete audio backends; most code picks one by name through
// openAudioDevice() instead.
#include <memory>

#include "media/audio_device.h"
#include "platform/result.h"

namespace lum {

// Silent: loads and decodes like the others (so failures match) but plays
// nothing. Effects never end by themselves here, as no time passes.
std::unique_ptr<AudioDevice> makeNullAudioDevice();

// OpenAL Soft on its default output; an error when no device opens. The
// device makes its context the current one, so keep one open at a time.
Result<std::unique_ptr<AudioDevice>> openOpenAlDevice();

}  // namespace lum

// Sound bytes from a game archive into the decoder, whole and as a looping
// stream, the two ways the runner reads them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/audio_decoder.h"

// libsndfile 1.2.0 leaves the Vorbis header state allocated when it rejects
// a damaged Ogg file (sf_open returns null, so there is nothing of ours to
// free). That leak is the library's, a few kilobytes once per failed name.
extern "C" const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto decoded = lum::decodeSound(std::span<const uint8_t>(data, size));
  if (decoded) {
    volatile int16_t sink = decoded->pcm.empty() ? 0 : decoded->pcm.back();
    (void)sink;
  }
  auto reader = lum::SoundReader::open(std::make_shared<const std::vector<uint8_t>>(data, data + size));
  if (reader) {
    std::vector<int16_t> block(size_t(4096) * size_t((*reader)->channels()));
    // A few loops' worth: enough to cross the end of short inputs and start over.
    for (int i = 0; i < 4; ++i) (*reader)->read(block, true);
  }
  return 0;
}

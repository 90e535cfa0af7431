#pragma once
// Sound decoding through libsndfile (WAV, OGG Vorbis, MP3 and the rest it
// knows), from files or from memory, into 16-bit interleaved PCM of one or
// two channels.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "platform/result.h"

namespace lum {

struct DecodedSound {
  int channels = 0;    // 1 or 2
  int sampleRate = 0;  // frames per second
  std::vector<int16_t> pcm;  // interleaved

  size_t frames() const { return channels ? pcm.size() / size_t(channels) : 0; }
};

// Longest effect we decode whole: ten minutes of stereo at 48 kHz. Anything
// longer is cut there rather than filling memory.
inline constexpr size_t kMaxDecodedSamples = size_t(48000) * 60 * 10 * 2;

Result<DecodedSound> decodeSound(std::span<const uint8_t> bytes);
Result<DecodedSound> decodeSoundFile(const std::filesystem::path& file);

// Decodes as it goes, for music: reads blocks of frames and, when looping,
// starts over at the end.
class SoundReader {
 public:
  static Result<std::unique_ptr<SoundReader>> open(const std::filesystem::path& file);
  static Result<std::unique_ptr<SoundReader>> open(
      std::shared_ptr<const std::vector<uint8_t>> bytes);
  ~SoundReader();
  SoundReader(const SoundReader&) = delete;
  SoundReader& operator=(const SoundReader&) = delete;

  int channels() const { return channels_; }
  int sampleRate() const { return sampleRate_; }

  // Fills `out` (a whole number of frames) and returns the frames written;
  // fewer than asked only at the end of a sound that does not loop, or when
  // the decoder fails.
  size_t read(std::span<int16_t> out, bool loop);
  void rewind();

 private:
  struct Impl;
  explicit SoundReader(std::unique_ptr<Impl> impl);
  static Result<std::unique_ptr<SoundReader>> start(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
  int channels_ = 0;
  int sampleRate_ = 0;
};

}  // namespace lum

#include "media/audio_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace lum {
namespace {

constexpr int kMaxSampleRate = 384000;
constexpr size_t kBlockFrames = 4096;

// libsndfile's virtual I/O over bytes in memory.
struct MemoryFile {
  std::span<const uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t memoryLength(void* user) { return sf_count_t(static_cast<MemoryFile*>(user)->bytes.size()); }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const sf_count_t size = sf_count_t(file->bytes.size());
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = file->position;
  if (whence == SEEK_END) base = size;
  const sf_count_t target = base + offset;
  if (target < 0 || target > size) return -1;
  file->position = target;
  return target;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const sf_count_t size = sf_count_t(file->bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, size - file->position);
  if (n > 0) std::memcpy(out, file->bytes.data() + file->position, size_t(n));
  file->position += n;
  return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->position; }

const SF_VIRTUAL_IO kMemoryIo{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};

}  // namespace

struct SoundReader::Impl {
  std::shared_ptr<const std::vector<uint8_t>> owned;  // memory streams only
  MemoryFile memory;
  SNDFILE* file = nullptr;
  SF_INFO info{};

  ~Impl() {
    if (file) sf_close(file);
  }
};

SoundReader::SoundReader(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl)), channels_(impl_->info.channels), sampleRate_(impl_->info.samplerate) {}

SoundReader::~SoundReader() = default;

Result<std::unique_ptr<SoundReader>> SoundReader::start(std::unique_ptr<Impl> impl) {
  if (!impl->file) return Error{std::string("cannot decode sound: ") + sf_strerror(nullptr)};
  const SF_INFO& info = impl->info;
  if (info.channels < 1 || info.channels > 2)
    return Error{"sound has " + std::to_string(info.channels) + " channels; only 1 or 2 play"};
  if (info.samplerate < 1 || info.samplerate > kMaxSampleRate)
    return Error{"sound has an unusable rate of " + std::to_string(info.samplerate) + " Hz"};
  // Integer sources are scaled to the full 16-bit range; float sources are
  // clipped rather than wrapped when they overshoot.
  sf_command(impl->file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
  return std::unique_ptr<SoundReader>(new SoundReader(std::move(impl)));
}

Result<std::unique_ptr<SoundReader>> SoundReader::open(const std::filesystem::path& file) {
  auto impl = std::make_unique<Impl>();
  impl->file = sf_open(file.c_str(), SFM_READ, &impl->info);
  return start(std::move(impl));
}

Result<std::unique_ptr<SoundReader>> SoundReader::open(
    std::shared_ptr<const std::vector<uint8_t>> bytes) {
  auto impl = std::make_unique<Impl>();
  if (!bytes) bytes = std::make_shared<const std::vector<uint8_t>>();
  impl->owned = std::move(bytes);
  impl->memory.bytes = std::span<const uint8_t>(*impl->owned);
  impl->file = sf_open_virtual(const_cast<SF_VIRTUAL_IO*>(&kMemoryIo), SFM_READ, &impl->info, &impl->memory);
  return start(std::move(impl));
}

size_t SoundReader::read(std::span<int16_t> out, bool loop) {
  const size_t wanted = out.size() / size_t(channels_);
  size_t done = 0;
  bool rewoundWithoutData = false;
  while (done < wanted) {
    const sf_count_t got = sf_readf_short(impl_->file, out.data() + done * size_t(channels_),
                                          sf_count_t(wanted - done));
    if (got > 0) {
      done += size_t(got);
      rewoundWithoutData = false;
      continue;
    }
    // At the end (or a decoder failure): a loop starts over, but a sound
    // that gives nothing even from its start would spin forever.
    if (!loop || rewoundWithoutData) break;
    rewind();
    rewoundWithoutData = true;
  }
  return done;
}

void SoundReader::rewind() { sf_seek(impl_->file, 0, SEEK_SET); }

namespace {

Result<DecodedSound> decodeAll(Result<std::unique_ptr<SoundReader>> opened) {
  if (!opened) return opened.error();
  SoundReader& reader = **opened;
  DecodedSound sound;
  sound.channels = reader.channels();
  sound.sampleRate = reader.sampleRate();
  std::vector<int16_t> block(kBlockFrames * size_t(sound.channels));
  while (sound.pcm.size() < kMaxDecodedSamples) {
    const size_t frames = reader.read(block, false);
    if (frames == 0) break;
    const size_t count = std::min(frames * size_t(sound.channels),
                                  kMaxDecodedSamples - sound.pcm.size());
    sound.pcm.insert(sound.pcm.end(), block.begin(), block.begin() + std::ptrdiff_t(count));
  }
  if (sound.pcm.empty()) return Error{"sound holds no audio"};
  return sound;
}

}  // namespace

Result<DecodedSound> decodeSound(std::span<const uint8_t> bytes) {
  // The reader keeps the bytes alive itself; copying once is cheaper than
  // a second memory reader for the whole-decode case.
  auto copy = std::make_shared<const std::vector<uint8_t>>(bytes.begin(), bytes.end());
  return decodeAll(SoundReader::open(std::move(copy)));
}

Result<DecodedSound> decodeSoundFile(const std::filesystem::path& file) {
  return decodeAll(SoundReader::open(file));
}

}  // namespace lum

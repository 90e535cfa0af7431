#include "render/archive_writer.h"

#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace lum {
namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool sameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  return true;
}

template <typename T>
void putLittle(std::vector<uint8_t>& out, T v) {
  for (size_t i = 0; i < sizeof(T); ++i) out.push_back(uint8_t(uint64_t(v) >> (8 * i)));
}

void putBytes(std::vector<uint8_t>& out, const uint8_t* p, size_t n) { out.insert(out.end(), p, p + n); }

std::vector<uint8_t> deflateBytes(std::span<const uint8_t> data) {
  uLongf size = compressBound(uLong(data.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), uLong(data.size()), Z_BEST_COMPRESSION) != Z_OK)
    return {};
  out.resize(size);
  return out;
}

}  // namespace

std::string archiveKeyForPath(std::string_view path) {
  std::string key(path);
  for (char& c : key) c = c == '/' ? '\\' : upperAscii(c);
  return key;
}

double archiveTimeStamp(int64_t unixSeconds) {
  constexpr double kDaysFrom1899To1970 = 25569.0;
  return kDaysFrom1899To1970 + double(unixSeconds) / 86400.0;
}

Result<ArchiveWriter> ArchiveWriter::openOrCreate(const std::string& path) {
  ArchiveWriter writer;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return writer;
  TASDb reader;
  reader.setOpenMode(TOpenModes::opReadOnly);
  reader.setFileName(path);
  if (!reader.open()) return Error{"cannot read the archive " + path};
  std::ifstream file(path, std::ios::binary);
  for (const ASDbEntry& entry : reader.entries()) {
    ArchiveWriterRecord record{entry, std::vector<uint8_t>(entry.packedSize)};
    file.clear();
    file.seekg(std::streamoff(uint64_t(entry.offset) + kArchiveRecordHeaderSize));
    file.read(reinterpret_cast<char*>(record.packed.data()), std::streamsize(entry.packedSize));
    if (!file || uint64_t(file.gcount()) != entry.packedSize)
      return Error{"record " + entry.key + " of " + path + " is cut short", entry.offset};
    writer.records_.push_back(std::move(record));
  }
  return writer;
}

void ArchiveWriter::add(std::string_view key, uint16_t type, std::span<const uint8_t> data,
                        double timeStamp) {
  ArchiveWriterRecord record;
  record.entry.key = std::string(key);
  record.entry.type = type;
  record.entry.unpackedSize = uint32_t(data.size());
  record.packed = deflateBytes(data);
  record.entry.packedSize = uint32_t(record.packed.size());
  record.entry.timeStamp = timeStamp;
  addRaw(std::move(record));
}

void ArchiveWriter::addRaw(ArchiveWriterRecord record) {
  for (auto& existing : records_) {
    if (sameKey(existing.entry.key, record.entry.key)) {
      existing = std::move(record);
      return;
    }
  }
  records_.push_back(std::move(record));
}

std::vector<uint8_t> ArchiveWriter::bytes() const {
  std::vector<uint8_t> out;
  putBytes(out, reinterpret_cast<const uint8_t*>("ASDb"), 4);
  putLittle(out, uint32_t(records_.size()));
  putLittle(out, uint32_t(0));  // table offset, patched below
  std::vector<uint32_t> offsets;
  for (const auto& record : records_) {
    const ASDbEntry& e = record.entry;
    offsets.push_back(uint32_t(out.size()));
    putLittle(out, e.type);
    putLittle(out, e.unpackedSize);
    putLittle(out, uint32_t(record.packed.size()));
    uint64_t stamp;
    std::memcpy(&stamp, &e.timeStamp, sizeof stamp);
    putLittle(out, stamp);
    putBytes(out, e.digest.data(), e.digest.size());
    putLittle(out, e.cipherFlag);
    putBytes(out, e.cipherInit.data(), e.cipherInit.size());
    putBytes(out, record.packed.data(), record.packed.size());
  }
  const auto tableOffset = uint32_t(out.size());
  for (size_t i = 0; i < records_.size(); ++i) {
    const std::string& key = records_[i].entry.key;
    putLittle(out, uint32_t(key.size()));
    putBytes(out, reinterpret_cast<const uint8_t*>(key.data()), key.size());
    putLittle(out, offsets[i]);
  }
  for (int i = 0; i < 4; ++i) out[8 + size_t(i)] = uint8_t(tableOffset >> (8 * i));
  return out;
}

Status ArchiveWriter::save(const std::string& path) const {
  const auto data = bytes();
  if (data.size() > UINT32_MAX) return Error{"archive would exceed the 4 GiB its offsets can address"};
  // Written beside the target and renamed, so a failed write never leaves a
  // half archive in place of a good one.
  const std::string temp = path + ".part";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!file) return Error{"cannot write " + temp};
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) return Error{"cannot replace " + path + ": " + ec.message()};
  return {};
}

}  // namespace lum

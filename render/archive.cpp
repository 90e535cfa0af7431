#include "render/archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "render/archive_io.h"

namespace lum {
namespace {

constexpr const char* kInvalidRecordKey = "[invalid-record-#]";

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string upperKey(std::string_view key) {
  std::string out(key);
  for (char& c : out) c = upperAscii(c);
  return out;
}

}  // namespace

void TASDb::setFileName(std::string name) {
  fileName_ = std::move(name);
  isOpen_ = false;
}

bool TASDb::open() {
  Status status;
  switch (openMode_) {
    case TOpenModes::opReadOnly: {
      std::ifstream file(fileName_, std::ios::binary);
      status = file ? readTable(file) : Status(Error{"cannot open " + fileName_});
      if (!file.is_open()) clearEntries();
      break;
    }
    case TOpenModes::opUpdate: {
      std::ifstream file(fileName_, std::ios::binary);
      status = file ? readTable(file) : createEmpty();
      break;
    }
    case TOpenModes::opOverwrite:
      status = createEmpty();
      break;
  }
  isOpen_ = status.ok();
  return isOpen_;
}

void TASDb::clearEntries() {
  entries_.clear();
  firstIndex_.clear();
}

Status TASDb::createEmpty() {
  clearEntries();
  std::ofstream file(fileName_, std::ios::binary | std::ios::trunc);
  const uint8_t bytes[12] = {'A', 'S', 'D', 'b', 0, 0, 0, 0, 12, 0, 0, 0};
  file.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  if (!file) return Error{"cannot create " + fileName_};
  std::memcpy(header_.signature.data(), bytes, 4);
  header_.recordCount = 0;
  header_.tableOffset = 12;
  fileSize_ = 12;
  return {};
}

Status TASDb::readTable(std::istream& file) {
  clearEntries();
  StreamReader in(file);
  if (!in.seek(0) || !in.bytes(header_.signature.data(), 4) ||
      !in.u32(header_.recordCount) || !in.u32(header_.tableOffset))
    return Error{"archive header is incomplete", 0};
  // The signature is deliberately not checked: archives are recognised by a
  // table that reads, not by their first four bytes.
  fileSize_ = uint32_t(std::min<uint64_t>(in.size(), UINT32_MAX));
  // Every entry takes at least 8 bytes, so a count the file cannot hold is
  // refused before it sizes anything.
  const uint64_t tableRoom =
      in.size() > header_.tableOffset ? in.size() - header_.tableOffset : 0;
  if (uint64_t(header_.recordCount) * 8 > tableRoom || !in.seek(header_.tableOffset))
    return Error{"archive table lies beyond the end of the file", header_.tableOffset};
  entries_.resize(header_.recordCount);
  for (auto& entry : entries_) {
    uint32_t keyLength = 0;
    if (!in.u32(keyLength) || keyLength > in.remaining()) {
      clearEntries();
      return Error{"archive table is cut short", int64_t(in.position())};
    }
    entry.key.resize(keyLength);
    if (!in.bytes(reinterpret_cast<uint8_t*>(entry.key.data()), keyLength) ||
        !in.u32(entry.offset)) {
      clearEntries();
      return Error{"archive table is cut short", int64_t(in.position())};
    }
  }
  for (size_t i = 0; i < entries_.size(); ++i) firstIndex_.emplace(upperKey(entries_[i].key), int(i));
  for (auto& entry : entries_) {
    if (!in.seek(entry.offset) || !in.u16(entry.type) || !in.u32(entry.unpackedSize) ||
        !in.u32(entry.packedSize) || !in.f64(entry.timeStamp) ||
        !in.bytes(entry.digest.data(), entry.digest.size()) || !in.u16(entry.cipherFlag) ||
        !in.bytes(entry.cipherInit.data(), entry.cipherInit.size()))
      return Error{"record header of " + entry.key + " is cut short", entry.offset};
  }
  return {};
}

uint16_t TASDb::recordType(int index) const {
  if (index < 0 || index >= recordCount()) return 0;
  return entries_[size_t(index)].type;
}

std::string TASDb::recordKey(int index) const {
  if (index < 0 || index >= recordCount()) return kInvalidRecordKey;
  return entries_[size_t(index)].key;
}

int TASDb::indexOf(std::string_view key) const {
  const auto found = firstIndex_.find(upperKey(key));
  return found == firstIndex_.end() ? -1 : found->second;
}

Result<std::vector<uint8_t>> TASDb::readRecord(std::string_view key) {
  const int index = indexOf(key);
  if (index < 0) return Error{"no record " + std::string(key) + " in " + fileName_};
  return readRecordAt(index);
}

// The table of the last open is trusted for offsets and sizes: reading it
// again before every record made loading n records read the table n times.
// Every read below is still checked against the file as it is now.
Result<std::vector<uint8_t>> TASDb::readRecordAt(int index) {
  if (index < 0 || index >= recordCount()) return Error{"no record " + std::to_string(index)};
  std::ifstream file(fileName_, std::ios::binary);
  if (!file) return Error{"cannot open " + fileName_};
  const ASDbEntry& entry = entries_[size_t(index)];
  if (entry.cipherFlag != 0)
    return Error{"record " + entry.key + " is enciphered", entry.offset};
  if (entry.unpackedSize == 0)
    return Error{"record " + entry.key + " is empty", entry.offset};
  if (entry.unpackedSize > kMaxArchiveRecordSize)
    return Error{"record " + entry.key + " is too large", entry.offset};
  StreamReader in(file);
  const uint64_t dataStart = uint64_t(entry.offset) + kArchiveRecordHeaderSize;
  if (dataStart > in.size() || entry.packedSize > in.size() - dataStart)
    return Error{"record " + entry.key + " is cut short", entry.offset};
  std::vector<uint8_t> packed(entry.packedSize);
  if (!in.seek(dataStart) || !in.bytes(packed.data(), packed.size()))
    return Error{"record " + entry.key + " is cut short", entry.offset};
  auto unpacked = inflateRecord(packed, entry.unpackedSize);
  if (!unpacked) return Error{"record " + entry.key + ": " + unpacked.error().message, entry.offset};
  return unpacked;
}

bool TASDb::readRecord(std::string_view key, std::vector<uint8_t>& out) {
  auto result = readRecord(key);
  if (!result) return false;
  out = std::move(result.value());
  return true;
}

bool TASDb::readRecordToStream(std::string_view key, std::ostream& stream) {
  auto result = readRecord(key);
  if (!result) return false;
  stream.write(reinterpret_cast<const char*>(result->data()), std::streamsize(result->size()));
  return bool(stream);
}

Result<std::vector<uint8_t>> inflateRecord(std::span<const uint8_t> packed,
                                           uint32_t unpackedSize) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return Error{"inflate cannot start"};
  // The output may hold one byte more than expected, so that an overlong
  // stream shows itself without inflating all of it. The buffer grows with
  // the output instead of trusting the stored size up front.
  const size_t limit = size_t(unpackedSize) + 1;
  std::vector<uint8_t> out(std::min(limit, std::max<size_t>(packed.size() * 4, 64 * 1024)));
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = uInt(packed.size());
  size_t produced = 0;
  int rc = Z_OK;
  while (true) {
    z.next_out = out.data() + produced;
    z.avail_out = uInt(out.size() - produced);
    rc = inflate(&z, Z_NO_FLUSH);
    produced = out.size() - z.avail_out;
    if (rc != Z_OK || z.avail_out != 0) break;  // finished, failed, or starved of input
    if (out.size() == limit) break;              // overlong
    out.resize(std::min(limit, out.size() * 2));
  }
  const std::string message = z.msg ? z.msg : "";
  inflateEnd(&z);
  if (produced > unpackedSize) return Error{"data inflates beyond its unpacked size"};
  if (rc != Z_STREAM_END)
    return Error{message.empty() ? "damaged or truncated data" : "damaged data: " + message};
  if (produced != unpackedSize) return Error{"data does not inflate to its unpacked size"};
  out.resize(produced);
  return out;
}

}  // namespace lum

#pragma once
// Reader of "ASDb" archives: a 12-byte header, a table of named records, and
// records that each hold a zlib stream. The table is read once per open and
// stays in memory until the next open; every record read opens the file
// anew, so the file is never held open.
#include <array>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/result.h"

namespace lum {

enum class TOpenModes { opUpdate, opOverwrite, opReadOnly };

inline constexpr uint32_t kArchiveFontRecordType = 3;
inline constexpr size_t kArchiveRecordHeaderSize = 44;
// Largest unpacked record we agree to inflate; a bigger stored size reads as
// a failed record instead of an allocation of up to 4 GiB.
inline constexpr uint32_t kMaxArchiveRecordSize = 256u << 20;

struct ASDbHeader {
  std::array<uint8_t, 4> signature{};
  uint32_t recordCount = 0;
  uint32_t tableOffset = 0;
};

struct ASDbEntry {
  std::string key;
  uint32_t offset = 0;  // where the record header begins
  uint16_t type = 0;
  uint32_t unpackedSize = 0;
  uint32_t packedSize = 0;
  double timeStamp = 0.0;
  std::array<uint8_t, 16> digest{};
  uint16_t cipherFlag = 0;
  std::array<uint8_t, 8> cipherInit{};
};

class TASDb {
 public:
  TASDb() = default;

  const std::string& FileName() const { return fileName_; }
  void setFileName(std::string name);  // also marks the archive as not open
  TOpenModes OpenMode() const { return openMode_; }
  void setOpenMode(TOpenModes mode) { openMode_ = mode; }

  // Reads the table (or creates an empty archive, by OpenMode); the result is
  // also kept as the open flag.
  bool open();
  bool ensureOpen() { return isOpen_ ? true : open(); }
  bool isOpen() const { return isOpen_; }

  int recordCount() const { return int(entries_.size()); }
  uint16_t recordType(int index) const;      // 0 outside the table
  std::string recordKey(int index) const;    // "[invalid-record-#]" outside
  // The first entry whose key matches without regard to ASCII case; -1 if
  // absent.
  int indexOf(std::string_view key) const;
  const std::vector<ASDbEntry>& entries() const { return entries_; }
  const ASDbHeader& header() const { return header_; }
  uint32_t fileSize() const { return fileSize_; }

  // The unpacked bytes of the record, exactly its unpacked size, found
  // through the table of the last open.
  Result<std::vector<uint8_t>> readRecord(std::string_view key);
  Result<std::vector<uint8_t>> readRecordAt(int index);
  // bool-style form of readRecord.
  bool readRecord(std::string_view key, std::vector<uint8_t>& out);
  // Writes the unpacked bytes to the stream at its position; true only when
  // the record was read and the stream took every byte.
  bool readRecordToStream(std::string_view key, std::ostream& stream);

 private:
  Status readTable(std::istream& file);
  Status createEmpty();
  void clearEntries();

  std::string fileName_;
  TOpenModes openMode_ = TOpenModes::opUpdate;
  bool isOpen_ = false;
  uint32_t fileSize_ = 0;
  ASDbHeader header_;
  std::vector<ASDbEntry> entries_;
  // Upper-cased key -> its first entry, so that lookups do not walk the
  // table (the image cache looks up every picture it cannot find on disk).
  std::unordered_map<std::string, int> firstIndex_;
};

// Inflates a zlib stream that must give exactly `unpackedSize` bytes.
Result<std::vector<uint8_t>> inflateRecord(std::span<const uint8_t> packed,
                                           uint32_t unpackedSize);

}  // namespace lum

#pragma once
// Builds "ASDb" archives: the authoring commands and tests use it; the
// runner itself only reads archives. Records are kept packed in memory and
// the file is rewritten whole on save (header, records, then the table).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "render/archive.h"

namespace lum {

struct ArchiveWriterRecord {
  ASDbEntry entry;              // offset is assigned on save
  std::vector<uint8_t> packed;  // the data written after the record header
};

class ArchiveWriter {
 public:
  // Starts from the records of an existing archive (copied as stored, so
  // records we cannot decipher survive), or empty when the file is absent.
  static Result<ArchiveWriter> openOrCreate(const std::string& path);

  // Compresses `data` and stores it under `key`, replacing a record whose key
  // matches without regard to ASCII case, else appending.
  void add(std::string_view key, uint16_t type, std::span<const uint8_t> data,
           double timeStamp = 0.0);
  // Stores a record exactly as given (for tests of damaged archives).
  void addRaw(ArchiveWriterRecord record);

  const std::vector<ArchiveWriterRecord>& records() const { return records_; }
  std::vector<uint8_t> bytes() const;
  Status save(const std::string& path) const;

 private:
  std::vector<ArchiveWriterRecord> records_;
};

// The archive key for a file path: '/' becomes '\', a to z upper-cased.
std::string archiveKeyForPath(std::string_view path);
// Seconds since the Unix epoch as a day count from 1899-12-30 (the stored
// time stamp's scale).
double archiveTimeStamp(int64_t unixSeconds);

}  // namespace lum

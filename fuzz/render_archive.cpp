// Archive files: the table, every record, and the font and image records
// they may hold. The reader works on files, so each input is written to one.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "render/archive.h"
#include "render/archive_records.h"

namespace {

std::string scratchPath() {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/lumrun-fuzz-archive-" + std::to_string(getpid());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = scratchPath();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  lum::TASDb db;
  db.setOpenMode(lum::TOpenModes::opReadOnly);
  db.setFileName(path);
  db.open();
  const int count = db.recordCount();
  for (int i = 0; i < count && i < 8; ++i) {
    (void)db.recordType(i);
    auto record = db.readRecord(db.recordKey(i));
    if (!record) continue;
    (void)lum::decodeFontRecord(*record);
    (void)lum::decodeArchiveImage(*record);
  }
  // Record bodies fed straight to the record decoders as well, so they see
  // inputs that need no valid archive around them.
  (void)lum::decodeFontRecord({data, size});
  (void)lum::decodeArchiveImage({data, size});
  return 0;
}

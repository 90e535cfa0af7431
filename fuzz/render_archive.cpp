// Archive files: the table, every record, the font and image records they
// may hold, and the font list loading every font of the archive (records
// shared between entries, the memory budget). The reader works on files, so
// each input is written to one.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "render/archive.h"
#include "render/archive_records.h"
#include "render/fonts.h"
#include "render/render_stack.h"

namespace {

std::string scratchPath() {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/lumrun-fuzz-archive-" + std::to_string(getpid());
}

lum::RenderStack* fontStack() {
  static std::unique_ptr<lum::RenderStack> stack = [] {
    lum::BackendOptions options;
    options.headless = true;
    auto made = lum::makeRenderStack("soft", options);
    if (!made || !(*made)->device.Initialize()) return std::unique_ptr<lum::RenderStack>();
    (*made)->fonts.TextureBudget = 16u << 20;
    return std::move(made.value());
  }();
  return stack.get();
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
  if (lum::RenderStack* stack = fontStack()) {
    stack->fonts.Clear();
    db.setFileName(path);
    stack->fonts.LoadFromASDb(db);
    for (int i = 0; i < stack->fonts.Count(); ++i) (void)stack->fonts.Item(i)->TextWidth("AbC");
    stack->fonts.Clear();
  }
  // Record bodies fed straight to the record decoders as well, so they see
  // inputs that need no valid archive around them.
  (void)lum::decodeFontRecord({data, size});
  (void)lum::decodeArchiveImage({data, size});
  return 0;
}

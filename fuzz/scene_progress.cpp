// Any bytes as a progress file: reading stops at the last whole entry and
// applies it to a small tree without crashing; what the tree then writes
// reads back whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scene/db.h"
#include "scene/progress_file.h"
#include "scene/progress_state.h"

namespace {

// A root (key 0) with a screen (1) holding a picture (10), a shape (11), a
// text (12), an image list (13) and an animation (14) with a key (15).
void buildTree(lum::TLumDB& root) {
  lum::TLumElement* screen = root.CreateChild("TLumScreen");
  screen->Key = 1;
  int32_t key = 10;
  for (const char* kind : {"TLumImage", "TLumShape", "TLumText", "TLumImList", "TLumAnim"}) {
    if (lum::TLumElement* child = screen->CreateChild(kind)) child->Key = key;
    ++key;
  }
  if (lum::TLumElement* anim = root.FindByKey(14)) {
    if (lum::TLumElement* k = anim->CreateChild("TLumAnKey")) k->Key = 15;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lum::TLumDB root;
  buildTree(root);
  lum::ApplyProgress(root, bytes);
  const std::string written = lum::WriteProgress(root);
  lum::ProgressReader reader(written);
  lum::ProgressEntry entry;
  while (reader.next(entry)) {
    if (!entry.known) __builtin_trap();
  }
  if (!reader.atEnd()) __builtin_trap();
  return 0;
}

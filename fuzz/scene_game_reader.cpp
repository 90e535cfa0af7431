// Any bytes as a game file: the reader either builds a tree or refuses the
// file; it never reads outside the input or crashes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scene/db.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lum::TLumDB root;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  lum::Status s = root.LoadFromBytes(bytes);
  if (!s.ok() && root.childCount() != 0) __builtin_trap();
  return 0;
}

#pragma once
// Stamps for cached lookups. A list takes a new stamp whenever its records
// move, appear or vanish (or its routines change), and stamps are never
// reused in the process, so a cache made for one stamp is valid exactly
// while the list still carries it: one integer compare, whichever list or
// interpreter the cached code runs on next.
#include <cstdint>

namespace lum {

// Inline: native calls take one for their parameter list every time.
inline uint64_t NewLayoutStamp() {
  // A counter, not shared state: its only promise is never to repeat. Lists
  // and the code that caches their positions stay on one thread.
  thread_local uint64_t next = 1;
  return next++;
}

}  // namespace lum

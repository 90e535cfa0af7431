#include "script/layout_stamp.h"

namespace lum {

uint64_t NewLayoutStamp() {
  // A counter, not shared state: its only promise is never to repeat. Lists
  // and the code that caches their positions stay on one thread.
  thread_local uint64_t next = 1;
  return next++;
}

}  // namespace lum

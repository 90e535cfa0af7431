#pragma once
// Building a large tree of small objects (a game's elements and scripts)
// touches its memory one small page at a time, and on a virtual machine
// each first touch is costly. Where the system gives transparent huge pages
// to memory that asks for them, `HugePageHeap` asks for them for the heap
// while it lives: the heap then grows in large steps, and `Advise()`, called
// as the tree grows, offers each new step before it is touched. Elsewhere
// (no huge pages, another allocator) nothing changes.
#include <cstddef>
#include <cstdint>

namespace lum {

class HugePageHeap {
 public:
  HugePageHeap();
  ~HugePageHeap();
  HugePageHeap(const HugePageHeap&) = delete;
  HugePageHeap& operator=(const HugePageHeap&) = delete;

  // Cheap unless the heap grew since the last call (no system call then).
  void Advise();

 private:
  uintptr_t advisedEnd_ = 0;
};

}  // namespace lum

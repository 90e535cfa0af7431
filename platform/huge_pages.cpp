#include "platform/huge_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lum {

namespace {

// The heap grows by at least this much at a time while a HugePageHeap
// lives, so that most of each step is offered before it is first touched.
constexpr int kGrowthStep = 32 << 20;
// The C library's own step, put back afterwards.
constexpr int kDefaultGrowthStep = 128 << 10;

uintptr_t programBreak() { return reinterpret_cast<uintptr_t>(::sbrk(0)); }

uintptr_t pageDown(uintptr_t address) {
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  return address & ~(page - 1);
}

}  // namespace

HugePageHeap::HugePageHeap() {
  ::mallopt(M_TOP_PAD, kGrowthStep);
  advisedEnd_ = pageDown(programBreak());
}

HugePageHeap::~HugePageHeap() { ::mallopt(M_TOP_PAD, kDefaultGrowthStep); }

void HugePageHeap::Advise() {
  const uintptr_t end = programBreak();
  if (end <= advisedEnd_) return;
  // Advice is only advice: a system without huge pages refuses it, and
  // nothing else depends on it.
  (void)::madvise(reinterpret_cast<void*>(advisedEnd_), end - advisedEnd_, MADV_HUGEPAGE);
  advisedEnd_ = end;
}

}  // namespace lum

// The heap asks for huge pages while a big tree is built, and only then.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/huge_pages.h"

namespace lum {
namespace {

// The flags of the mapping that holds `address`, as /proc/self/smaps lists
// them ("rd wr mr ... hg"), or "" when none holds it.
std::string mappingFlags(const void* address) {
  const auto at = reinterpret_cast<uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    uintptr_t from = 0, to = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
      inside = from <= at && at < to;
      continue;
    }
    if (inside && line.rfind("VmFlags:", 0) == 0) return line.substr(8) + " ";
  }
  return "";
}

bool hugePagesOffered() {
  std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string text;
  std::getline(mode, text);
  return !text.empty() && text.find("[never]") == std::string::npos;
}

TEST(HugePageHeap, TheHeapGrownWhileItLivesAsksForHugePages) {
  if (!hugePagesOffered()) GTEST_SKIP() << "no transparent huge pages here";
  const auto breakBefore = reinterpret_cast<uintptr_t>(::sbrk(0));
  std::vector<std::unique_ptr<char[]>> blocks;
  {
    HugePageHeap heap;
    // A tree's worth of small blocks, each filled and advised as loading does.
    for (int i = 0; i < 40000; ++i) {
      heap.Advise();
      blocks.emplace_back(new char[1000]);
      std::memset(blocks.back().get(), i & 0xFF, 1000);
    }
    heap.Advise();
  }
  const char* middle = blocks[blocks.size() / 2].get();
  if (reinterpret_cast<uintptr_t>(middle) < breakBefore ||
      reinterpret_cast<uintptr_t>(middle) >= reinterpret_cast<uintptr_t>(::sbrk(0)))
    GTEST_SKIP() << "the blocks are not in the program's heap (another allocator)";
  EXPECT_NE(mappingFlags(middle).find(" hg "), std::string::npos) << mappingFlags(middle);
  for (size_t i = 0; i < blocks.size(); i += 997)
    EXPECT_EQ(static_cast<unsigned char>(blocks[i][999]), i & 0xFF);
}

}  // namespace
}  // namespace lum

#include "platform/unicode_case.h"

namespace lum {
namespace {

// Either a run of capitals whose small letters lie `offset` code points
// higher, or (offset 1, step 2) alternating capital/small pairs.
struct CaseRun {
  char32_t firstUpper;
  char32_t lastUpper;
  int offset;
  char32_t step;
};

constexpr CaseRun kRuns[] = {
    {0x0041, 0x005A, 0x20, 1},  // Basic Latin
    {0x00C0, 0x00D6, 0x20, 1},  // Latin-1
    {0x00D8, 0x00DE, 0x20, 1},
    {0x0100, 0x012E, 1, 2},  // Latin Extended-A
    {0x0132, 0x0136, 1, 2},
    {0x0139, 0x0147, 1, 2},
    {0x014A, 0x0176, 1, 2},
    {0x0179, 0x017D, 1, 2},
    {0x0191, 0x0191, 1, 1},  // Latin Extended-B: f with hook
    {0x01CD, 0x01DB, 1, 2},
    {0x01DE, 0x01EE, 1, 2},
    {0x01F8, 0x021E, 1, 2},
    {0x0386, 0x0386, 0x26, 1},  // Greek, accented capitals first
    {0x0388, 0x038A, 0x25, 1},
    {0x038C, 0x038C, 0x40, 1},
    {0x038E, 0x038F, 0x3F, 1},
    {0x0391, 0x03A1, 0x20, 1},
    {0x03A3, 0x03AB, 0x20, 1},
    {0x03D8, 0x03EE, 1, 2},
    {0x0400, 0x040F, 0x50, 1},  // Cyrillic
    {0x0410, 0x042F, 0x20, 1},
    {0x0460, 0x0480, 1, 2},
    {0x048A, 0x04BE, 1, 2},
    {0x04C1, 0x04CD, 1, 2},
    {0x04D0, 0x052E, 1, 2},
    {0x0178, 0x0178, 0x00FF - 0x0178, 1},  // its small letter sits in Latin-1
};

bool inRun(const CaseRun& run, char32_t upper) {
  return upper >= run.firstUpper && upper <= run.lastUpper &&
         (upper - run.firstUpper) % run.step == 0;
}

}  // namespace

char32_t unicodeLower(char32_t c) {
  for (const CaseRun& run : kRuns) {
    if (inRun(run, c)) return static_cast<char32_t>(static_cast<int>(c) + run.offset);
  }
  return c;
}

char32_t unicodeUpper(char32_t c) {
  if (c == 0x03C2) return 0x03A3;  // final sigma
  for (const CaseRun& run : kRuns) {
    const int upper = static_cast<int>(c) - run.offset;
    if (upper > 0 && inRun(run, static_cast<char32_t>(upper))) return static_cast<char32_t>(upper);
  }
  return c;
}

}  // namespace lum

#include "platform/wildcard.h"

namespace lum {

bool matchesWildcard(std::string_view name, std::string_view pattern, const CodePage& codePage) {
  if (pattern == "*.*") return true;
  // Greedy matching that backtracks only to the last '*': linear in practice
  // and never worse than name length times pattern length.
  size_t n = 0;
  size_t p = 0;
  size_t starPattern = std::string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || codePage.upper(pattern[p]) == codePage.upper(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace lum

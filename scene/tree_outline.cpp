#include "scene/tree_outline.h"

#include "scene/element.h"

namespace lum {
namespace {

void outline(std::ostream& out, const TLumElement& e, const CodePage& cp, int depth) {
  out << std::string(static_cast<size_t>(depth) * 2, ' ') << e.className() << " Key=" << e.Key
      << " Id=" << cp.toUtf8(e.Id) << " Order=" << e.Order() << '\n';
  for (const auto& c : e.children()) outline(out, *c, cp, depth + 1);
}

void count(const TLumElement& e, std::map<std::string, size_t>& counts) {
  ++counts[e.className()];
  for (const auto& c : e.children()) count(*c, counts);
}

}  // namespace

void writeOutline(std::ostream& out, const TLumElement& root, const CodePage& codePage) {
  outline(out, root, codePage, 0);
}

std::map<std::string, size_t> countClasses(const TLumElement& root) {
  std::map<std::string, size_t> counts;
  count(root, counts);
  return counts;
}

}  // namespace lum

#pragma once
// Human-readable summaries of a loaded tree, for the tools.
#include <map>
#include <ostream>
#include <string>

#include "platform/code_page.h"

namespace lum {

class TLumElement;

// One line per element, indented two blanks per level:
//   TLumScreen Key=2 Id=Menu Order=0
void writeOutline(std::ostream& out, const TLumElement& root, const CodePage& codePage);

// Number of elements of each class in the subtree, by class name.
std::map<std::string, size_t> countClasses(const TLumElement& root);

}  // namespace lum

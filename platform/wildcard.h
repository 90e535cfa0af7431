#pragma once
// File-name patterns as Windows directory searches take them: '*' stands for
// any run of characters, '?' for one character, letters match without regard
// to case, and "*.*" matches every name, with or without a dot.
#include <string_view>

#include "platform/code_page.h"

namespace lum {

bool matchesWildcard(std::string_view name, std::string_view pattern, const CodePage& codePage);

}  // namespace lum

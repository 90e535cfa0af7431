#pragma once
// Reading the game file's element records into the tree.
#include <string_view>

#include "platform/result.h"

namespace lum {

class TLumDB;

// Deepest nesting of element records the reader accepts; real games nest a
// handful of levels, and the limit keeps hostile files from exhausting the
// stack.
constexpr int kMaxRecordDepth = 200;

// Checks the whole file first, then builds the root's values and children,
// so a malformed file is refused before any element is made.
Status loadGameRecord(TLumDB& root, std::string_view bytes);

// Only the structural check, for tools and tests.
Status checkGameRecord(std::string_view bytes);

}  // namespace lum

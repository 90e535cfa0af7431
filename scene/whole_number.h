#pragma once
// Whole numbers as scripts write them into names and lists: "A[5]", "KEYX[$1F]",
// an image list's "5; 7; -2".
#include <cstdint>
#include <string_view>

namespace lum {

// An optional sign, then decimal digits or "$" and hexadecimal digits, and
// nothing else; at most 32 bits of magnitude.
bool ParseWholeNumber(std::string_view text, int64_t& out);

}  // namespace lum

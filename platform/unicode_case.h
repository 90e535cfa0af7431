#pragma once
// Letter case of the scripts that the 8-bit Windows code pages carry (Latin
// with its Western and Central European extensions, Greek, Cyrillic), from a
// fixed table, so that results never depend on the machine's locale.
// Characters outside those blocks, and letters without a single-character
// counterpart, map to themselves.

namespace lum {

char32_t unicodeUpper(char32_t c);
char32_t unicodeLower(char32_t c);

}  // namespace lum

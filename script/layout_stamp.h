#pragma once
// Stamps for cached lookups. A list takes a new stamp whenever its records
// move, appear or vanish (or its routines change), and stamps are never
// reused in the process, so a cache made for one stamp is valid exactly
// while the list still carries it: one integer compare, whichever list or
// interpreter the cached code runs on next.
#include <cstdint>

namespace lum {

uint64_t NewLayoutStamp();

}  // namespace lum

#pragma once
// A colour word (alpha in the top byte, then blue, green, red) published as
// two properties: the colour (low 24 bits) and the transparency (top 8 bits).
// Setting one keeps the other.
#include "scene/property.h"

namespace lum {

template <class C>
PropertyDef colourProperty(std::string name, uint32_t C::*word) {
  return accessor<C, int64_t>(
      std::move(name), PropKind::UInt32, [word](const C& c) { return (c.*word) & 0xFFFFFFu; },
      [word](C& c, int64_t v) {
        c.*word = (c.*word & 0xFF000000u) | (static_cast<uint32_t>(v) & 0xFFFFFFu);
      });
}

template <class C>
PropertyDef transProperty(std::string name, uint32_t C::*word) {
  return accessor<C, int64_t>(
      std::move(name), PropKind::UInt8, [word](const C& c) { return (c.*word) >> 24; },
      [word](C& c, int64_t v) {
        c.*word = (c.*word & 0xFFFFFFu) | ((static_cast<uint32_t>(v) & 0xFFu) << 24);
      });
}

}  // namespace lum

#pragma once
// The player's progress as entries of a progress file: which elements and
// names are written, in which order, and how entries read back into a tree.
#include <string>
#include <string_view>

namespace lum {

class TLumElement;

// The entries of the tree below `root` (root included), depth first, parent
// before children: published properties in table order (without the names
// that are never saved), the element's own variables, an image list's items.
// An element with NotSave writes nothing of its own; animation keys write
// nothing at all.
std::string WriteProgress(TLumElement& root);

// Applies the whole entries of `bytes` to the tree below `root` through
// SetValue, ignoring entries of elements that are gone or have NotSave; a
// broken tail is ignored. The caller brackets it with the loading flags.
// Returns the number of entries read.
size_t ApplyProgress(TLumElement& root, std::string_view bytes);

}  // namespace lum

#include "script/element.h"

#include "script/var_list.h"

namespace lum {

ScriptElement* ScriptElement::Root() {
  ScriptElement* e = this;
  // Bounded walk: a malformed host tree with a parent cycle must not hang.
  for (int steps = 0; e->Parent() != nullptr && steps < 1 << 20; ++steps) e = e->Parent();
  return e;
}

ScriptElement* ScriptElement::FindChildById(std::string_view upperId) const {
  const int count = ChildCount();
  for (int i = 0; i < count; ++i) {
    ScriptElement* child = Child(i);
    if (child != nullptr && UpperAscii(child->Id()) == upperId) return child;
  }
  return nullptr;
}

ElementRef ElementTable::Register(ScriptElement& element) {
  if (element.handle_ != 0 && Resolve(element.handle_) == &element) return element.handle_;
  uint32_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    if (slots_.size() >= kIndexMask) return 0;  // table full: the element stays NIL to scripts
    index = static_cast<uint32_t>(slots_.size());
    slots_.push_back(Slot{});
  }
  Slot& slot = slots_[index];
  slot.element = &element;
  element.handle_ = (slot.generation << kIndexBits) | (index + 1);
  ++live_;
  NoteNamesChanged();
  return element.handle_;
}

void ElementTable::WatchOwnVariables(TVarList& list) {
  list.WatchLayout(&namesVersion_);
  NoteNamesChanged();
}

void ElementTable::Release(ScriptElement& element) {
  if (Resolve(element.handle_) != &element) return;
  const uint32_t index = (element.handle_ & kIndexMask) - 1;
  Slot& slot = slots_[index];
  slot.element = nullptr;
  element.handle_ = 0;
  --live_;
  NoteNamesChanged();
  if (slot.generation < kMaxGeneration) {
    ++slot.generation;
    free_.push_back(index);
  }
}

}  // namespace lum

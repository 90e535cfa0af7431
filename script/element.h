#pragma once
// What the interpreter needs from an element of the scene, and the slot
// table that turns elements into 32-bit handles. Scripts keep handles, never
// pointers, so a destroyed element reads as NIL instead of dangling.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/layout_stamp.h"
#include "script/value.h"

namespace lum {

class TVarList;

class ScriptElement {
 public:
  virtual ~ScriptElement() = default;

  // A script-visible property, own variable or special name of this element.
  virtual bool GetValue(std::string_view name, ScriptValue& out) = 0;
  // True when the element accepted the write.
  virtual bool SetValue(std::string_view name, const ScriptValue& value) = 0;

  // Names read or written again and again: a handle found once for a name
  // that the element's class publishes, which the two calls below take
  // besides the name. A handle made on one element serves every element of
  // its class; on any other element the calls look the name up as GetValue
  // and SetValue do, so the answers are always theirs.
  struct NameHandle {
    const void* scope = nullptr;  // the class's table; null: no handle
    int32_t index = -1;
  };
  virtual bool FindNameHandle(std::string_view /*name*/, NameHandle& /*out*/) { return false; }
  virtual bool GetValueByHandle(const NameHandle& /*handle*/, std::string_view name, ScriptValue& out) {
    return GetValue(name, out);
  }
  virtual bool SetValueByHandle(const NameHandle& /*handle*/, std::string_view name,
                                const ScriptValue& value) {
    return SetValue(name, value);
  }

  // An integer property that a loop reads and writes through the same path
  // again and again: read and written by plain functions, without a lookup,
  // for as long as nothing that decides what the path names has changed
  // (see PathCell). `write` is null for a property scripts cannot set.
  struct PropertyCell {
    const void* property = nullptr;
    int32_t (*read)(ScriptElement& owner, const void* property) = nullptr;
    void (*write)(ScriptElement& owner, const void* property, int64_t value) = nullptr;
  };
  // The cell of the property that the handle names, while this element has
  // no own variable called `name`; false when there is none (other kinds of
  // values, names the class answers otherwise).
  virtual bool FindPropertyCell(const NameHandle& /*handle*/, std::string_view /*name*/,
                                PropertyCell& /*out*/) {
    return false;
  }
  // Whether the element that this handle's name leads to can only change
  // when an own variable of this element or the names of the tree change
  // (the special names SELF, PARENT and LUMDB, as opposed to a property
  // that holds an element).
  virtual bool IsFixedStep(const NameHandle& /*handle*/) const { return false; }

  virtual ScriptElement* Parent() const = 0;
  virtual uint32_t Key() const = 0;
  virtual std::string Id() const = 0;
  virtual std::string ClassName() const = 0;
  virtual int ChildCount() const { return 0; }
  virtual ScriptElement* Child(int /*index*/) const { return nullptr; }
  virtual TVarList* OwnVariables() { return nullptr; }
  // False when SetValue surely refuses a name with an index ("A[5]"),
  // which lets new array elements skip the attempt.
  virtual bool MayTakeIndexedName() { return true; }

  ScriptElement* Root();
  // First direct child whose upper-cased Id equals the name.
  ScriptElement* FindChildById(std::string_view upperId) const;

  // Set by ElementTable::Register; 0 until then.
  ElementRef Handle() const { return handle_; }

 private:
  friend class ElementTable;
  ElementRef handle_ = 0;
};

// Slot table of live elements. A handle is the slot number (low 20 bits,
// counted from 1) and the slot's generation (high 12 bits); releasing an
// element bumps the generation, so old handles stop resolving. A slot whose
// generation would wrap is retired rather than reused.
class ElementTable {
 public:
  ElementRef Register(ScriptElement& element);
  void Release(ScriptElement& element);
  // Inline: every property path and every read of the current element
  // goes through it.
  ScriptElement* Resolve(ElementRef ref) const {
    // One unsigned compare: a handle of 0 wraps to the largest index.
    const uint32_t index = (ref & kIndexMask) - 1u;
    if (index >= slots_.size()) return nullptr;
    const Slot& slot = slots_[index];
    if (slot.generation != (ref >> kIndexBits)) return nullptr;
    return slot.element;
  }
  size_t LiveCount() const { return live_; }
  // Changes whenever an element is registered or released, whenever the
  // own variables of an element appear, vanish or move (for lists the
  // table watches), and whenever the host notes that children were added,
  // removed or reordered or that an element was renamed: what caches of
  // paths check.
  uint64_t NamesVersion() const { return namesVersion_; }
  void NoteNamesChanged() { namesVersion_ = NewLayoutStamp(); }
  void WatchOwnVariables(TVarList& list);

 private:
  struct Slot {
    ScriptElement* element = nullptr;
    uint32_t generation = 1;
  };
  static constexpr uint32_t kIndexBits = 20;
  static constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
  static constexpr uint32_t kMaxGeneration = (1u << (32 - kIndexBits)) - 1;

  std::vector<Slot> slots_;
  std::vector<uint32_t> free_;
  size_t live_ = 0;
  uint64_t namesVersion_ = NewLayoutStamp();  // unique in the process, as stamps are
};

}  // namespace lum

#pragma once
// Named values and the ordered list that holds a script's variables. The
// first record with a name wins; names are compared byte for byte, callers
// upper-case them first.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/element_index.h"
#include "script/name_hash.h"
#include "script/layout_stamp.h"
#include "script/value.h"

namespace lum {

struct ScriptEnvironment;

struct TVar {
  std::string Name;
  ScriptValue Value;
};

bool IsIdentifierChar(unsigned char c);
// Variable, routine and procedure names: identifier characters, optionally
// followed by one index part such as [1,-2].
bool IsValidName(std::string_view name);
std::string UpperAscii(std::string_view text);
std::string_view TrimBlanks(std::string_view text);

class TVarList {
 public:
  TVarList() = default;
  // A copy takes a new stamp (caches may point into the indexes of the
  // list they were made for); a list moved from is left empty with a new one.
  TVarList(const TVarList& other);
  TVarList& operator=(const TVarList& other);
  TVarList(TVarList&& other) noexcept;
  TVarList& operator=(TVarList&& other) noexcept;

  // Changes whenever records are added, removed or moved (not when a value
  // changes): anything found under one stamp, a name's absence included,
  // holds while it lasts.
  uint64_t stamp() const { return stamp_; }
  // Changes when records are removed or moved, not when one is appended:
  // the position of a plain name found under it holds while it lasts (an
  // appended record comes after it). An appended array element whose base
  // names a plain record changes it too, as such a name no longer reads as
  // a plain variable.
  uint64_t positionsStamp() const { return positionsStamp_; }
  size_t size() const { return vars_.size(); }
  const TVar& operator[](size_t i) const { return vars_[i]; }
  const std::vector<TVar>& records() const { return vars_; }

  void ClearVars();
  bool Exists(std::string_view name) const { return IndexOf(name) >= 0; }
  int IndexOf(std::string_view name) const;
  // IndexOf that first tries the position remembered in `hint` and updates it.
  int IndexOfHinted(std::string_view name, uint32_t& hint) const;
  // True when some record is named base + "[" + ...
  bool HasArray(std::string_view base) const {
    return !arrayBases_.empty() && arrayBases_.find(base) != arrayBases_.end();
  }

  // Position of the record named base + "[" + index + "]" (the index in
  // its plain decimal form), or -1; one integer lookup, no name is built.
  int IndexOfElement(std::string_view base, int32_t index) const;
  // The same in two steps: the index of one array's elements (null when
  // there are none), valid until the list's stamp changes, then one lookup.
  using ElementIndex = lum::ElementIndex;
  const ElementIndex* ElementsOf(std::string_view base) const {
    auto array = elements_.find(base);
    return array == elements_.end() ? nullptr : &array->second;
  }
  static int IndexIn(const ElementIndex* elements, int32_t index) {
    return elements == nullptr ? -1 : elements->Find(index);
  }
  // For base[index] := value: the element's position (-1 when there is
  // none) with `plain` false, or -1 with `plain` true when a plain record
  // named `base` exists. Filling one array again and again finds its index
  // without hashing the base (see ArrayCursor).
  int ElementForWrite(std::string_view base, int32_t index, bool& plain) {
    if (CursorHolds(base)) {
      plain = false;
      return cursor_.elements->Find(index);
    }
    return ElementForWriteLookingUp(base, index, plain);
  }
  // Appends the element base[index] (by its canonical name); the caller
  // found neither it nor a plain record named `base`. The name is noted
  // without being read back.
  bool AddAbsentElement(std::string_view base, int32_t index, ScriptValue&& value,
                        ScriptEnvironment* env = nullptr);

  bool AddVar(const TVar& var, ScriptEnvironment* env = nullptr);
  bool AddIfAbsent(const TVar& var);
  bool SetOrAdd(const TVar& var, ScriptEnvironment* env = nullptr);
  bool SetExisting(std::string_view name, const ScriptValue& value);
  void SetAt(size_t index, const ScriptValue& value) { vars_[index].Value = value; }
  void SetAt(size_t index, ScriptValue&& value) { vars_[index].Value = std::move(value); }
  void SetIntegerAt(size_t index, int32_t value) { vars_[index].Value.SetInteger(value); }
  void SetRealAt(size_t index, double value) { vars_[index].Value.SetReal(value); }
  bool FindLocal(std::string_view name, TVar& out) const;
  bool Find(std::string_view name, TVar& out, ScriptEnvironment* env = nullptr);
  void CopyTo(TVarList& other, ScriptEnvironment* env = nullptr) const;

  // Appends without any check; parameter lists of native calls hold
  // several records named "VAR" or "VALUE".
  void Append(TVar var);
  // The parameter list of a native call: `count` records, each named
  // "VAR" or "VALUE" by SetParameter, the list otherwise as Append would
  // leave it. The records of the last call are reused.
  // Inline, as every native call goes through them.
  void BeginParameters(size_t count) {
    if (!index_.empty() || !indexedIndex_.empty() || !arrayBases_.empty() || !elements_.empty() ||
        count >= kIndexFrom) {
      ClearVars();
    }
    if (vars_.size() != count) vars_.resize(count);
    stamp_ = positionsStamp_ = NewLayoutStamp();
    NoteLayoutChanged();
  }
  void SetParameter(size_t position, bool isVariable, ScriptValue&& value) {
    TVar& record = vars_[position];
    // Lengths first: the two names differ in length, and the record mostly
    // kept the name of the previous call.
    const std::string_view name = isVariable ? std::string_view("VAR", 3) : std::string_view("VALUE", 5);
    if (record.Name.size() != name.size() || record.Name != name) record.Name.assign(name);
    record.Value = std::move(value);
    if (vars_.size() >= kIndexFrom) NoteName(position);
  }
  // After the last SetParameter: notes names that occur twice.
  void EndParameters() {
    size_t variables = 0;
    for (const TVar& record : vars_) variables += record.Name.size() == 3 ? 1 : 0;
    duplicates_ = variables > 1 || vars_.size() - variables > 1;
  }
  void Reserve(size_t n) { vars_.reserve(n); }
  // Gives `version` a new stamp whenever this list's records appear,
  // vanish or move (the element table watches the own variables of
  // elements this way). Copies and moves of the list do not watch.
  void WatchLayout(uint64_t* version) { layoutWatch_ = version; }
  // Removes the first record with this name.
  bool Remove(std::string_view name);

 private:
  using NameIndex = std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>>;
  static constexpr size_t kIndexFrom = 8;  // short lists are faster to scan

  void AppendNew(const TVar& var);  // a name the list does not hold yet
  void NoteAdded(size_t position);
  bool NoteElement(size_t position);  // false: not a name like A[5]
  void NoteName(size_t position);
  void RebuildIndexes();

  std::vector<TVar> vars_;
  // First position of each name, once the list is long: plain names and
  // other indexed names (A[1,2], A[05]) apart, so that the many elements
  // of an array do not slow down finding the plain variables; names like
  // A[5] are kept in elements_ only.
  NameIndex index_;
  NameIndex indexedIndex_;

  NameIndex arrayBases_;     // count of records per array base name
  // Records named like A[5], per base name and integer index: the first
  // record of each name.
  std::unordered_map<std::string, ElementIndex, NameHash, std::equal_to<>> elements_;
  // The array last written by ElementForWrite and AddAbsentElement, so
  // that a loop filling it does not hash its base on every pass. The maps
  // hold their entries in nodes, so the pointers last until entries are
  // removed (ClearVars, RebuildIndexes, assignments), which drop the
  // cursor; a plain record named like the base clears `noPlain`.
  struct ArrayCursor {
    std::string base;
    ElementIndex* elements = nullptr;  // null: nothing kept
    uint32_t* count = nullptr;         // the base's entry in arrayBases_
    bool noPlain = false;              // no plain record is named `base`
    bool checked = false;              // `base` is a valid name without an index
    bool dotted = false;               // `base` holds a point (checked only)
    // The name base[nameIndex], while `nameLength` is not 0.
    uint8_t nameLength = 0;
    int32_t nameIndex = 0;
    char name[48] = {};
  };
  ArrayCursor cursor_;
  bool CursorHolds(std::string_view base) const {
    return cursor_.elements != nullptr && cursor_.noPlain && SameName(cursor_.base, base);
  }
  int ElementForWriteLookingUp(std::string_view base, int32_t index, bool& plain);
  // Writes the name base[index] in the cursor; false when it does not fit
  // there. The name after the last one added is prepared already: it was
  // written while that record was filled, so reading it now does not wait
  // for those writes.
  bool CursorName(std::string_view base, int32_t index) {
    if (cursor_.nameLength != 0 && index == cursor_.nameIndex) return true;
    return CursorNameWritten(base, index);
  }
  // Turns the cursor's name into the one of the next index.
  void AdvanceCursorName();
  bool CursorNameWritten(std::string_view base, int32_t index);  // written out in full
  void DropCursor() { cursor_.elements = nullptr; }
  bool duplicates_ = false;  // some name occurs twice (only Append does that)
  uint64_t stamp_ = NewLayoutStamp();
  uint64_t positionsStamp_ = stamp_;
  uint64_t* layoutWatch_ = nullptr;
  void NoteLayoutChanged() {
    if (layoutWatch_ != nullptr) *layoutWatch_ = NewLayoutStamp();
  }
};

}  // namespace lum

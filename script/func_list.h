#pragma once
// Registry of native routines that scripts call by name.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/name_hash.h"
#include "script/layout_stamp.h"

#include "script/var_list.h"

namespace lum {

class TPasCalc;

// Called with the interpreter, one parameter per argument (named "VAR" when
// the argument was an existing variable, else "VALUE") and the record that
// receives the call's value; false means a wrong call. A routine may set a
// reason with TPasCalc::SetRoutineFailure before returning false.
using NativeRoutine = std::function<bool(TPasCalc& calc, TVarList& params, TVar& result)>;

// A shortcut a routine without effects may offer besides its full form: the
// same value for the arguments it knows how to take (most often plain
// integers), computed from the argument values alone (given by pointer, so
// that variables are not copied); false, with nothing done, hands the call
// to the full routine.
using PureShortcut = bool (*)(const ScriptValue* const* args, size_t count, ScriptValue& out);

struct TFunc {
  std::string Name;
  NativeRoutine Routine;
  PureShortcut Shortcut = nullptr;
};

class TFuncList {
 public:
  // Trims and upper-cases the name. An existing name gets the new routine,
  // or is removed when `routine` is empty; a new name must be valid.
  bool AddFunction(std::string_view name, NativeRoutine routine,
                   PureShortcut shortcut = nullptr);
  // Lookup by upper-case name, or null. A record replaced or removed while
  // it may be running stays alive until DropRetired.
  const TFunc* Find(std::string_view upperName) const;
  // Frees the records replaced or removed; only while no routine runs.
  void DropRetired() {
    if (!retired_.empty()) retired_.clear();
  }
  bool Contains(std::string_view upperName) const { return index_.count(upperName) != 0; }
  size_t size() const { return funcs_.size(); }
  const TFunc& operator[](size_t i) const { return *funcs_[i]; }
  uint64_t version() const { return version_; }

 private:
  void Reindex();

  std::vector<std::unique_ptr<TFunc>> funcs_;
  std::vector<std::unique_ptr<TFunc>> retired_;
  std::unordered_map<std::string, size_t, NameHash, std::equal_to<>> index_;
  uint64_t version_ = NewLayoutStamp();
};

}  // namespace lum

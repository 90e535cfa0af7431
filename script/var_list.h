#pragma once
// Named values and the ordered list that holds a script's variables. The
// first record with a name wins; names are compared byte for byte, callers
// upper-case them first.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

  bool AddVar(const TVar& var, ScriptEnvironment* env = nullptr);
  bool AddIfAbsent(const TVar& var);
  bool SetOrAdd(const TVar& var, ScriptEnvironment* env = nullptr);
  bool SetExisting(std::string_view name, const ScriptValue& value);
  void SetAt(size_t index, const ScriptValue& value) { vars_[index].Value = value; }
  bool FindLocal(std::string_view name, TVar& out) const;
  bool Find(std::string_view name, TVar& out, ScriptEnvironment* env = nullptr);
  void CopyTo(TVarList& other, ScriptEnvironment* env = nullptr) const;

  // Appends without any check; parameter lists of native calls hold
  // several records named "VAR" or "VALUE".
  void Append(TVar var);
  void Reserve(size_t n) { vars_.reserve(n); }
  // Removes the first record with this name.
  bool Remove(std::string_view name);

 private:
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  using NameIndex = std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>>;
  static constexpr size_t kIndexFrom = 8;  // short lists are faster to scan

  void NoteAdded(size_t position);
  void RebuildIndexes();

  std::vector<TVar> vars_;
  NameIndex index_;          // first position of each name, once the list is long
  NameIndex arrayBases_;     // count of records per array base name
  bool duplicates_ = false;  // some name occurs twice (only Append does that)
};

}  // namespace lum

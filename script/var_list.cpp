#include "script/var_list.h"

#include <charconv>
#include <cstring>
#include <new>

#include "script/environment.h"
#include "script/paths.h"

namespace lum {

bool IsIdentifierChar(unsigned char c) {
  return c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_' ||
         (c >= 'a' && c <= 'z') || c == 0xA8 || c == 0xB8 || c >= 0xC0;
}

bool IsValidName(std::string_view name) {
  if (name.empty()) return false;
  const auto first = static_cast<unsigned char>(name[0]);
  if (!IsIdentifierChar(first) || (first >= '0' && first <= '9')) return false;
  bool inIndex = false;
  for (size_t i = 1; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (!inIndex) {
      if (c == '[') inIndex = true;
      else if (!IsIdentifierChar(c)) return false;
      continue;
    }
    if (c == ']') {
      if (i + 1 != name.size()) return false;
    } else if (!((c >= '0' && c <= '9') || c == '-' || c == ',')) {
      return false;
    }
  }
  return true;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

namespace {

// "A[5]" gives A and 5 when the index is one integer written as
// std::to_string writes it (the form index lists are turned into).
bool SingleIndex(std::string_view name, std::string_view& base, int32_t& index) {
  const size_t bracket = FindInName(name, '[');
  if (bracket == std::string_view::npos || bracket == 0 || name.back() != ']') return false;
  const std::string_view digits = name.substr(bracket + 1, name.size() - bracket - 2);
  if (digits.empty() || digits.size() > 11) return false;
  int64_t v = 0;
  size_t i = digits[0] == '-' ? 1 : 0;
  if (i == digits.size()) return false;
  if (digits[i] == '0' && (digits.size() != 1)) return false;  // leading zero or -0
  for (; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return false;
    v = v * 10 + (digits[i] - '0');
  }
  if (digits[0] == '-') v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  base = name.substr(0, bracket);
  index = static_cast<int32_t>(v);
  return true;
}

}  // namespace

TVarList::TVarList(const TVarList& other)
    : vars_(other.vars_),
      index_(other.index_),
      indexedIndex_(other.indexedIndex_),
      arrayBases_(other.arrayBases_),
      elements_(other.elements_),
      duplicates_(other.duplicates_) {}

TVarList& TVarList::operator=(const TVarList& other) {
  if (this == &other) return *this;
  vars_ = other.vars_;
  index_ = other.index_;
  indexedIndex_ = other.indexedIndex_;
  arrayBases_ = other.arrayBases_;
  elements_ = other.elements_;
  DropCursor();
  duplicates_ = other.duplicates_;
  stamp_ = positionsStamp_ = NewLayoutStamp();
  NoteLayoutChanged();
  return *this;
}

TVarList::TVarList(TVarList&& other) noexcept
    : vars_(std::move(other.vars_)),
      index_(std::move(other.index_)),
      indexedIndex_(std::move(other.indexedIndex_)),
      arrayBases_(std::move(other.arrayBases_)),
      elements_(std::move(other.elements_)),
      duplicates_(other.duplicates_),
      stamp_(other.stamp_),
      positionsStamp_(other.positionsStamp_) {
  other.ClearVars();
}

TVarList& TVarList::operator=(TVarList&& other) noexcept {
  if (this == &other) return *this;
  vars_ = std::move(other.vars_);
  index_ = std::move(other.index_);
  indexedIndex_ = std::move(other.indexedIndex_);
  arrayBases_ = std::move(other.arrayBases_);
  elements_ = std::move(other.elements_);
  DropCursor();
  duplicates_ = other.duplicates_;
  stamp_ = other.stamp_;
  positionsStamp_ = other.positionsStamp_;
  NoteLayoutChanged();
  other.ClearVars();
  return *this;
}

void TVarList::ClearVars() {
  stamp_ = positionsStamp_ = NewLayoutStamp();
  NoteLayoutChanged();
  duplicates_ = false;
  DropCursor();
  vars_.clear();
  // Clearing an empty table still sweeps its buckets: parameter lists are
  // emptied on every native call.
  if (!index_.empty()) index_.clear();
  if (!indexedIndex_.empty()) indexedIndex_.clear();
  if (!arrayBases_.empty()) arrayBases_.clear();
  if (!elements_.empty()) elements_.clear();
}

int TVarList::IndexOfElement(std::string_view base, int32_t index) const {
  auto array = elements_.find(base);
  return array == elements_.end() ? -1 : array->second.Find(index);
}

bool TVarList::NoteElement(size_t position) {
  std::string_view base;
  int32_t index;
  if (!SingleIndex(vars_[position].Name, base, index)) return false;
  auto array = elements_.find(base);
  if (array == elements_.end()) array = elements_.emplace(std::string(base), ElementIndex()).first;
  array->second.Add(index, static_cast<uint32_t>(position));
  return true;
}

int TVarList::IndexOf(std::string_view name) const {
  if (vars_.size() >= kIndexFrom) {
    if (FindInName(name, '[') == std::string_view::npos) {
      auto it = index_.find(name);
      return it == index_.end() ? -1 : static_cast<int>(it->second);
    }
    // Elements with one integer index are kept by that integer only.
    std::string_view base;
    int32_t element;
    if (SingleIndex(name, base, element)) return IndexOfElement(base, element);
    auto it = indexedIndex_.find(name);
    return it == indexedIndex_.end() ? -1 : static_cast<int>(it->second);
  }
  for (size_t i = 0; i < vars_.size(); ++i)
    if (SameName(vars_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

int TVarList::IndexOfHinted(std::string_view name, uint32_t& hint) const {
  // The hint is only a guess; a first match earlier in the list must still
  // win, and a list never holds a name twice unless Append put it there.
  if (hint < vars_.size() && SameName(vars_[hint].Name, name)) {
    if (!duplicates_) return static_cast<int>(hint);
    if (hint == 0 || vars_.size() < kIndexFrom) {
      bool earlier = false;
      for (uint32_t i = 0; i < hint && !earlier; ++i) earlier = vars_[i].Name == name;
      if (!earlier) return static_cast<int>(hint);
    } else if (IndexOf(name) == static_cast<int>(hint)) {
      return static_cast<int>(hint);
    }
  }
  const int found = IndexOf(name);
  if (found >= 0) hint = static_cast<uint32_t>(found);
  return found;
}

void TVarList::NoteName(size_t position) {
  const std::string& name = vars_[position].Name;
  const size_t bracket = FindInName(name, '[');
  bool element = false;
  if (bracket != std::string::npos) {
    const std::string_view base(name.data(), bracket);
    auto counted = arrayBases_.find(base);
    if (counted == arrayBases_.end()) arrayBases_.emplace(std::string(base), 1);
    else ++counted->second;
    element = NoteElement(position);
  }
  if (bracket == std::string::npos && cursor_.base == name) cursor_.noPlain = false;
  if (vars_.size() >= kIndexFrom && !element) {
    (bracket == std::string::npos ? index_ : indexedIndex_)
        .emplace(name, static_cast<uint32_t>(position));
  }
}

void TVarList::NoteAdded(size_t position) {
  stamp_ = NewLayoutStamp();
  NoteLayoutChanged();
  if (vars_.size() == kIndexFrom) {
    RebuildIndexes();
    positionsStamp_ = stamp_;
    return;
  }
  NoteName(position);
  const std::string& name = vars_[position].Name;
  const size_t bracket = FindInName(name, '[');
  if (bracket != std::string::npos && IndexOf(std::string_view(name.data(), bracket)) >= 0)
    positionsStamp_ = stamp_;
}

void TVarList::RebuildIndexes() {
  DropCursor();
  index_.clear();
  indexedIndex_.clear();
  arrayBases_.clear();
  elements_.clear();
  for (size_t i = 0; i < vars_.size(); ++i) NoteName(i);
}

void TVarList::Append(TVar var) {
  if (!duplicates_ && Exists(var.Name)) duplicates_ = true;
  vars_.push_back(std::move(var));
  NoteAdded(vars_.size() - 1);
}

void TVarList::AppendNew(const TVar& var) {
  vars_.push_back(var);
  NoteAdded(vars_.size() - 1);
}


bool TVarList::Remove(std::string_view name) {
  const int i = IndexOf(name);
  if (i < 0) return false;
  vars_.erase(vars_.begin() + i);
  stamp_ = positionsStamp_ = NewLayoutStamp();
  NoteLayoutChanged();
  RebuildIndexes();
  return true;
}

bool TVarList::AddVar(const TVar& var, ScriptEnvironment* env) {
  if (Exists(var.Name)) return true;
  if (!IsValidName(var.Name)) return false;
  if (env != nullptr && var.Name.find('.') != std::string::npos)
    env->LogWithContext("Add var " + var.Name + " (in " + env->ElementText() + " ");
  AppendNew(var);
  return true;
}

int TVarList::ElementForWriteLookingUp(std::string_view base, int32_t index, bool& plain) {
  plain = Exists(base);
  if (plain) return -1;
  auto array = elements_.find(base);
  if (array == elements_.end()) return -1;
  auto counted = arrayBases_.find(base);
  if (counted == arrayBases_.end()) return array->second.Find(index);
  cursor_ = ArrayCursor{std::string(base), &array->second, &counted->second, true, false};
  return array->second.Find(index);
}

void TVarList::AdvanceCursorName() {
  ArrayCursor& c = cursor_;
  // The decimal form plus one, unless every digit is a nine (the name grows)
  // or the index is negative: then the next name is written out in full.
  if (c.nameIndex < 0 || c.nameIndex == INT32_MAX) {
    c.nameLength = 0;
    return;
  }
  size_t digit = c.nameLength - 2;
  while (c.name[digit] == '9') c.name[digit--] = '0';
  if (c.name[digit] == '[') {
    c.nameLength = 0;
    return;
  }
  ++c.name[digit];
  ++c.nameIndex;
}

bool TVarList::CursorNameWritten(std::string_view base, int32_t index) {
  ArrayCursor& c = cursor_;
  c.nameLength = 0;
  if (base.size() + 14 > sizeof c.name) return false;  // the sign, ten digits and brackets
  std::memcpy(c.name, base.data(), base.size());
  c.name[base.size()] = '[';
  char* end = std::to_chars(c.name + base.size() + 1, c.name + sizeof c.name, index).ptr;
  *end = ']';
  c.nameLength = static_cast<uint8_t>(end + 1 - c.name);
  c.nameIndex = index;
  return true;
}

bool TVarList::AddAbsentElement(std::string_view base, int32_t index, ScriptValue&& value,
                                ScriptEnvironment* env) {
  const bool known = CursorHolds(base) && cursor_.checked;
  // base[index] is a valid name exactly when the base is one without an
  // index of its own.
  if (!known && (FindInName(base, '[') != std::string_view::npos || !IsValidName(base)))
    return false;
  TVar& record = vars_.emplace_back();
  if (known && CursorName(base, index)) {
    // Short names are built in the record's string at a fixed length, then
    // cut (a copy of unknown length costs more than the name).
    constexpr size_t kShort = 15;
    static_assert(sizeof cursor_.name >= kShort);
    if (cursor_.nameLength <= kShort) {
      record.Name.~basic_string();
      new (&record.Name) std::string(cursor_.name, kShort);
      record.Name.resize(cursor_.nameLength);
    } else {
      record.Name.assign(cursor_.name, cursor_.nameLength);
    }
    AdvanceCursorName();
  } else record.Name = std::string(base) + "[" + std::to_string(index) + "]";
  record.Value = std::move(value);
  const bool dotted = known ? cursor_.dotted : FindInName(base, '.') != std::string_view::npos;
  if (env != nullptr && dotted)
    env->LogWithContext("Add var " + record.Name + " (in " + env->ElementText() + " ");
  stamp_ = NewLayoutStamp();
  NoteLayoutChanged();
  const size_t position = vars_.size() - 1;
  if (vars_.size() == kIndexFrom) {
    RebuildIndexes();
    positionsStamp_ = stamp_;
    return true;
  }
  // What NoteName finds in the name, known here already.
  if (known) {
    ++*cursor_.count;
    cursor_.elements->Add(index, static_cast<uint32_t>(position));
    return true;
  }
  auto counted = arrayBases_.find(base);
  if (counted == arrayBases_.end()) counted = arrayBases_.emplace(std::string(base), 1).first;
  else ++counted->second;
  auto array = elements_.find(base);
  if (array == elements_.end()) array = elements_.emplace(std::string(base), ElementIndex()).first;
  array->second.Add(index, static_cast<uint32_t>(position));
  // The caller found no plain record named `base`, and appending this
  // element added none.
  cursor_ = ArrayCursor{std::string(base), &array->second, &counted->second, true, true, dotted};
  return true;
}

bool TVarList::AddIfAbsent(const TVar& var) {
  if (Exists(var.Name)) return true;
  if (!IsValidName(var.Name)) return false;
  AppendNew(var);
  return true;
}

bool TVarList::SetOrAdd(const TVar& var, ScriptEnvironment* env) {
  const int i = IndexOf(var.Name);
  if (i >= 0) {
    vars_[static_cast<size_t>(i)] = var;
    return true;
  }
  if (env != nullptr && WritePath(*env, env->Current(), var.Name, var.Value, this)) return false;
  if (!IsValidName(var.Name)) return false;
  return AddVar(var, env);
}

bool TVarList::SetExisting(std::string_view name, const ScriptValue& value) {
  const int i = IndexOf(name);
  if (i < 0) return false;
  vars_[static_cast<size_t>(i)].Value = value;
  return true;
}

bool TVarList::FindLocal(std::string_view name, TVar& out) const {
  const int i = IndexOf(name);
  if (i < 0) return false;
  out = vars_[static_cast<size_t>(i)];
  return true;
}

bool TVarList::Find(std::string_view name, TVar& out, ScriptEnvironment* env) {
  if (FindLocal(name, out)) return true;
  if (env == nullptr) return false;
  out.Name = std::string(name);
  return ReadPath(*env, env->Current(), name, this, out.Value);
}

void TVarList::CopyTo(TVarList& other, ScriptEnvironment* env) const {
  for (const TVar& var : vars_) other.AddVar(var, env);
}

}  // namespace lum

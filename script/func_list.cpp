#include "script/func_list.h"

namespace lum {

bool TFuncList::AddFunction(std::string_view name, NativeRoutine routine, PureShortcut shortcut) {
  const std::string upper = UpperAscii(TrimBlanks(name));
  auto it = index_.find(upper);
  if (it != index_.end()) {
    version_ = NewLayoutStamp();
    if (routine) {
      // Replace the record rather than the routine inside it, so that a
      // routine replacing itself keeps running on its own copy.
      retired_.push_back(std::move(funcs_[it->second]));
      funcs_[it->second] = std::make_unique<TFunc>(TFunc{upper, std::move(routine), shortcut});
    } else {
      retired_.push_back(std::move(funcs_[it->second]));
      funcs_.erase(funcs_.begin() + static_cast<std::ptrdiff_t>(it->second));
      Reindex();
    }
    return true;
  }
  if (!IsValidName(upper) || !routine) return false;
  index_.emplace(upper, funcs_.size());
  funcs_.push_back(std::make_unique<TFunc>(TFunc{upper, std::move(routine), shortcut}));
  version_ = NewLayoutStamp();
  return true;
}

const TFunc* TFuncList::Find(std::string_view upperName) const {
  auto it = index_.find(upperName);
  if (it == index_.end()) return nullptr;
  return funcs_[it->second].get();
}

void TFuncList::Reindex() {
  index_.clear();
  for (size_t i = 0; i < funcs_.size(); ++i) index_.emplace(funcs_[i]->Name, i);
}

}  // namespace lum

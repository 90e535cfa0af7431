#include "script/procedures.h"

#include "script/compiled.h"

namespace lum {

std::vector<std::string> TProcedure::ParamNames() const {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < Params.size()) {
    size_t stop = Params.find("\r\n", start);
    if (stop == std::string::npos) stop = Params.size();
    names.push_back(Params.substr(start, stop - start));
    start = stop + 2;
  }
  return names;
}

void TProcList::Clear() {
  if (procs_.empty()) return;
  procs_.clear();
  version_ = NewLayoutStamp();
}

bool TProcList::Add(std::shared_ptr<TProcedure> proc) {
  if (Contains(proc->Name)) return false;
  procs_.push_back(std::move(proc));
  version_ = NewLayoutStamp();
  return true;
}

std::shared_ptr<TProcedure> TProcList::Find(std::string_view name) const {
  for (const auto& p : procs_)
    if (p->Name == name) return p;
  return nullptr;
}

}  // namespace lum

#pragma once
// Script procedures and functions as collected from PROCEDURE and FUNCTION
// declarations, and the prepared form of a script that keeps them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/layout_stamp.h"

namespace lum {

class TokenText;

struct TProcedure {
  std::string Name;    // upper case
  std::string Body;    // encoded token text of one statement
  std::string Params;  // parameter names separated by CR LF
  bool IsFunction = false;

  std::vector<std::string> ParamNames() const;
  // The body as read tokens, made on the first call.
  std::shared_ptr<TokenText> compiled;
};

class TProcList {
 public:
  void Clear();
  bool Add(std::shared_ptr<TProcedure> proc);  // false for a duplicate name
  std::shared_ptr<TProcedure> Find(std::string_view name) const;
  bool Contains(std::string_view name) const { return Find(name) != nullptr; }
  size_t size() const { return procs_.size(); }
  const std::vector<std::shared_ptr<TProcedure>>& records() const { return procs_; }
  uint64_t version() const { return version_; }

 private:
  std::vector<std::shared_ptr<TProcedure>> procs_;
  uint64_t version_ = NewLayoutStamp();
};

// The result of preparing a script: its main code as encoded token text,
// the same text read (on its first run: a game's many scripts mostly never
// run, and reading them all at load would cost time and memory), and the
// procedures it declared (they stay with the script so that its own
// procedures can be called when it runs).
struct PreparedScript {
  std::string mainText;
  mutable std::shared_ptr<TokenText> compiled;
  std::vector<std::shared_ptr<TProcedure>> procedures;
  bool empty() const { return mainText.empty(); }
};

}  // namespace lum

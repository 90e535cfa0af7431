#pragma once
// The routines that scripts call come from the layer above the scene; the
// game host asks a provider to register them with each interpreter of its
// pool before the game file is read (its scripts are prepared while it is
// read).
#include <functional>
#include <memory>

namespace lum {

class TFuncList;
struct Runtime;

class RoutineProvider {
 public:
  virtual ~RoutineProvider() = default;
  // Registers every routine with one interpreter's list; called once for
  // each interpreter of the pool, in pool order.
  virtual void registerRoutines(TFuncList& functions) = 0;
};

// Makes the provider of a game once its runtime exists.
using RoutineFactory = std::function<std::unique_ptr<RoutineProvider>(Runtime&)>;

}  // namespace lum

// Explanations of refused steps that the program adds to its own messages, shared by the
// desktop program's status bar and the batch runner's standard error.
#pragma once

#include "document/table_store.h"
#include "engine/engine.h"

namespace keldovar {

// Why a second thinning at the same age was refused; the engine refuses it without a message.
inline constexpr const char* kThinRefusedReason =
    "The stand was already thinned at this age: grow it before thinning again (only a low "
    "thinning may follow a row thinning at the same age).";

// The reason to add when a treatment of the stand `before` ended `result` without the engine
// saying why, or null: every other refusal comes with the engine's own message.
inline const char* unspokenRefusal(int action, const StandSnapshot& before, StepResult result) {
  bool thinning = action >= kThinomatic && action <= kRowAndLowThin;
  if (result != StepResult::Refused || !thinning || before.initialized == 0 ||
      before.truncatedDistribution != 0) {
    return nullptr;
  }
  return thinningLocked(action, before.thinLock) ? kThinRefusedReason : nullptr;
}

}  // namespace keldovar

// Explanations of refused steps that the program adds to its own messages, shared by the
// desktop program's status bar and the batch runner's standard error.
#pragma once

namespace keldovar {

// Why a second thinning at the same age was refused; the engine refuses it without a message.
inline constexpr const char* kThinRefusedReason =
    "The stand was already thinned at this age: grow it before thinning again (only a low "
    "thinning may follow a row thinning at the same age).";

}  // namespace keldovar

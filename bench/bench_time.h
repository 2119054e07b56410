// The fixed clock time of every benchmark's report time stamps.
#pragma once

#include "engine/clock.h"

namespace keldovar::bench {

inline LocalTime benchTime() {
  return LocalTime{2026, 12, 7, 10, 0, 0, weekdayOf(2026, 12, 7)};
}

}  // namespace keldovar::bench

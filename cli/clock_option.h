// run --clock: the time a report is stamped with, as the user wrote it.
#pragma once

#include <optional>
#include <string>

#include "engine/clock.h"

namespace keldovar::cli {

// "YYYY-MM-DD HH:MM:SS", a real date and time of the years 1 to 9999, into `clock`; the usage
// error's text otherwise.
std::optional<std::string> parseClock(const std::string& text, std::optional<LocalTime>& clock);

}  // namespace keldovar::cli

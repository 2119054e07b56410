// The stored report lines as the metric view shows them: each line's fixed format recognised and
// printed again with its numbers converted; a line of no known format is shown as stored.
#pragma once

#include <string>
#include <string_view>

#include "units/units.h"

namespace keldovar {

// How the shown text writes units and money: the desktop program takes the currency symbol and
// decimal separator from the locale; the batch runner and every machine output keep "$" and '.'.
struct ShownUnits {
  UnitSystem units = UnitSystem::Imperial;
  std::string currency = "$";
  char decimalSeparator = '.';
};

// The groups of lines a format is looked for in: a line is only matched against its own
// section's formats.
enum class LineGroup { Summary, Stock, Thinning, History, Financial, Carbon };

// The stored line in metric; the stored line itself when no format of the group matches.
std::string metricLine(LineGroup group, std::string_view stored, const ShownUnits& style);

// A stored value in metric with the decimals that keep its round trip (see metricDecimals),
// right-aligned in `width` characters, written with the style's decimal separator.
void appendMetricNumber(std::string& out, Quantity quantity, double stored, int imperialDecimals,
                        int width, const ShownUnits& style, bool spaceSign = false);

}  // namespace keldovar

// The unit system's words.
#include "units/units.h"

namespace keldovar {

static_assert(kUnitConversions.size() == kQuantityCount);

constexpr bool inQuantityOrder() {
  for (std::size_t i = 0; i < kUnitConversions.size(); ++i) {
    if (static_cast<std::size_t>(kUnitConversions[i].quantity) != i) return false;
  }
  return true;
}
static_assert(inQuantityOrder(), "the conversion table lists the quantities in their order");

int metricDecimals(Quantity quantity, int imperialDecimals) {
  constexpr int kMostExtra = 6;
  double factor = conversionOf(quantity).factor;
  int extra = 0;
  // Half a unit of the metric digit, back in imperial, against one unit of the imperial digit.
  double error = 0.5 / factor;
  while (error > 1.0 && extra < kMostExtra) {
    error /= 10;
    ++extra;
  }
  return imperialDecimals + extra;
}

bool parseUnitSystem(std::string_view word, UnitSystem& units) {
  if (word == "imperial") {
    units = UnitSystem::Imperial;
    return true;
  }
  if (word == "metric") {
    units = UnitSystem::Metric;
    return true;
  }
  return false;
}

}  // namespace keldovar

// Money as the Sensitivity and Risk window shows it: per acre and per ton in dollars, or per
// hectare and per tonne in the locale's currency and decimal separator under Metric Units.
#pragma once

#include <QString>

#include "units/units.h"
#include "view/metric_lines.h"

namespace keldovar {

// The unit beside a value of this kind: "$/ac", "R$/ha", "$/t"; "%" for a plain rate.
QString moneyUnit(const ShownUnits& shown, Quantity quantity);
// A stored (imperial) amount as shown, with two decimals.
QString moneyText(const ShownUnits& shown, Quantity quantity, double stored);
// A fraction as a percent with two decimals, in the same decimal separator.
QString percentText(const ShownUnits& shown, double fraction);
inline double shownMoney(const ShownUnits& shown, Quantity quantity, double stored) {
  return shownValue(shown.units, quantity, stored);
}

}  // namespace keldovar

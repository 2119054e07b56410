// A compared regime's figures in metric: the comparison table, its CSV and JSON and the charts
// show them per hectare, in m2 and tonnes, converted from the regime's stored imperial figures.
#pragma once

#include "econ/regime_comparison.h"
#include "units/units.h"

namespace keldovar::econ {

// Every figure per acre as per hectare: basal areas in m2/ha, tons in t/ha, money per ha.
RegimeSummary metricSummary(const RegimeSummary& summary);

// The summary as the unit system shows it.
inline RegimeSummary shownSummary(UnitSystem units, const RegimeSummary& summary) {
  return units == UnitSystem::Metric ? metricSummary(summary) : summary;
}

}  // namespace keldovar::econ

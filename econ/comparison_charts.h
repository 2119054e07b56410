// The comparison's charts against age, worked out once for the desktop window and the PDFs of
// both programs: standing basal area, standing tons by product and the running present value.
#pragma once

#include <vector>

#include "econ/comparison_table.h"
#include "view/line_chart.h"

namespace keldovar::econ {

// The three charts of `regimes`, a colour a regime (in their order); pulpwood's tons dashed
// beside sawtimber's solid, and the present value as steps that change at a flow's year.
// In metric (the regimes' summaries the metric ones) the axes name the metric units.
std::vector<LineChartSpec> comparisonCharts(const std::vector<ComparedRegime>& regimes,
                                            UnitSystem units = UnitSystem::Imperial);

}  // namespace keldovar::econ

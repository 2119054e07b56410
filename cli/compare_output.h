// keldovar-cli compare's JSON; the text and CSV are the comparison table's own.
#pragma once

#include <string>
#include <vector>

#include "econ/comparison_table.h"

namespace keldovar::cli {

// In metric (the regimes' summaries the metric ones) a top-level "units": "metric" says so; the
// keys, "best"'s row names too, stay the imperial ones.
std::string comparisonJson(const std::vector<econ::ComparedRegime>& regimes,
                           UnitSystem units = UnitSystem::Imperial);

}  // namespace keldovar::cli

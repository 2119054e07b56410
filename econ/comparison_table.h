// Regimes side by side as a table: a column a regime, a row a figure with its best marked, and
// the table as aligned text and as CSV. The desktop window and the batch runner show these rows.
#pragma once

#include <string>
#include <vector>

#include "econ/regime_comparison.h"
#include "units/units.h"

namespace keldovar::econ {

struct ComparedRegime {
  std::string name;  // a file's name without its folder and extension, or a window's title
  RegimeSummary summary;
};

struct ComparisonRow {
  std::string label;
  std::vector<std::string> cells;  // one a regime; "none" where a figure has no value
  std::vector<bool> best;          // one a regime
};

// Rotation, each thinning, fertilizations, harvest and total tons, MAI, NPV, LEV and IRR. In
// metric the regimes' summaries are the metric ones (econ/metric_comparison.h): the labels name
// the metric units and the figures have the decimals that keep their round trip.
std::vector<ComparisonRow> comparisonRows(const std::vector<ComparedRegime>& regimes,
                                          UnitSystem units = UnitSystem::Imperial);

// The rows under the regimes' names, right-aligned, the best marked "*", with a key and a line
// for each regime whose financial values changed after its harvest.
std::string comparisonText(const std::vector<ComparedRegime>& regimes,
                           UnitSystem units = UnitSystem::Imperial);

// The same table cut into parts for paper: each the labels and as many regimes' columns as fit
// in `width` characters (one at least), the best still marked among all of them.
std::vector<std::string> comparisonTextParts(const std::vector<ComparedRegime>& regimes,
                                             std::size_t width,
                                             UnitSystem units = UnitSystem::Imperial);

// "measure", a column a regime, and "best" naming the best regimes of a row, ";" between them.
std::string comparisonCsv(const std::vector<ComparedRegime>& regimes,
                          UnitSystem units = UnitSystem::Imperial);

}  // namespace keldovar::econ

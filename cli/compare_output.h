// keldovar-cli compare's JSON; the text and CSV are the comparison table's own.
#pragma once

#include <string>
#include <vector>

#include "econ/comparison_table.h"

namespace keldovar::cli {

std::string comparisonJson(const std::vector<econ::ComparedRegime>& regimes);

}  // namespace keldovar::cli

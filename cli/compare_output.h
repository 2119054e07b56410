// keldovar-cli compare's report: regimes side by side as text, JSON and CSV, the best value of
// each row marked.
#pragma once

#include <string>
#include <vector>

#include "econ/regime_comparison.h"

namespace keldovar::cli {

struct ComparedRegime {
  std::string name;  // the file's name without its folder and extension
  econ::RegimeSummary summary;
};

std::string comparisonText(const std::vector<ComparedRegime>& regimes);
std::string comparisonJson(const std::vector<ComparedRegime>& regimes);
std::string comparisonCsv(const std::vector<ComparedRegime>& regimes);

}  // namespace keldovar::cli

// The search for the best regime under risk: every candidate the search values also runs the
// same Monte Carlo paths, and the best are ranked by their expected value and by the value that
// 19 paths in 20 reach (P5): LEV for a new plantation, NPV for an existing stand.
#pragma once

#include <vector>

#include "econ/regime_search.h"
#include "econ/risk.h"

namespace keldovar::econ {

struct RiskRankedRegime {
  RankedRegime regime;  // its score is the criterion it was ranked by
  RiskSummary risk;     // without histograms
};

struct RiskSearchResult {
  SearchResult search;  // the counts, and the best regimes with steady prices and no loss
  std::vector<RiskRankedRegime> byExpected;  // best first
  std::vector<RiskRankedRegime> byP5;
};

// Every candidate runs `model`'s paths with its seed, so candidates are compared on common
// random numbers; the space's management overrides the model's. The same answer whatever the
// number of jobs. A space with a carbon price is refused: the paths price timber alone.
RiskSearchResult searchRegimesUnderRisk(const SearchSpace& space, const SearchOptions& options,
                                        const RiskModel& model);

}  // namespace keldovar::econ

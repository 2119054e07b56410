// The risk search rides on the regime search: its candidate observer runs each valued
// candidate's paths on the searching thread and keeps two best lists under one lock.
#include "econ/risk_search.h"

#include <algorithm>
#include <mutex>

namespace keldovar::econ {
namespace {

void keep(std::vector<RiskRankedRegime>& list, const ValuedCandidate& candidate,
          const RiskSummary& risk, double score, int best) {
  RankedRegime probe;
  probe.ordinal = candidate.ordinal;
  probe.score = score;
  auto at = std::upper_bound(
      list.begin(), list.end(), probe,
      [](const RankedRegime& a, const RiskRankedRegime& b) { return rankedBefore(a, b.regime); });
  if (at - list.begin() >= best) return;
  list.insert(at, {rankedRegime(candidate, score), risk});
  if (list.size() > static_cast<std::size_t>(best)) list.pop_back();
}

}  // namespace

RiskSearchResult searchRegimesUnderRisk(const SearchSpace& space, const SearchOptions& options,
                                        const RiskModel& model) {
  RiskSearchResult result;
  if (space.carbon.price > 0) {
    // The paths price timber alone; ranking part of the value would be worse than none.
    result.search.error = "the risk search values timber alone: the start sets a carbon price";
    return result;
  }
  RiskModel own = model;
  own.management = space.management;
  std::mutex mutex;
  auto observe = [&](const ValuedCandidate& candidate) {
    RiskSummary risk = RiskSimulator(*candidate.regime, candidate.flows->values, own).run(1, 0);
    const Distribution& ranked = candidate.regime->newPlantation && risk.lev ? *risk.lev : risk.npv;
    std::lock_guard<std::mutex> lock(mutex);
    keep(result.byExpected, candidate, risk, ranked.mean, space.best);
    keep(result.byP5, candidate, risk, ranked.p5, space.best);
  };
  result.search = searchRegimes(space, options, observe);
  return result;
}

}  // namespace keldovar::econ

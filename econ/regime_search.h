// The search for the best regime: every candidate of a search space runs through the real
// engine, from a stand start, and the best are ranked by land expectation value (a new
// plantation) or net present value (an existing stand).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "econ/carbon_flows.h"
#include "econ/cash_flows.h"
#include "script/regime_steps.h"

namespace keldovar::econ {

enum class ThinMethod { Row, Low, RowLow, Thinomatic };

struct ThinChoice {
  ThinMethod method = ThinMethod::Thinomatic;
  int rowPercent = 0;  // row-and-low only
  bool operator==(const ThinChoice&) const = default;
};

inline constexpr int kMaxThinnings = 2;
inline constexpr int kMaxBest = 1000;
inline constexpr int kMaxListLength = 200;

struct SearchSpace {
  // The stand start: an initialization, optionally with financial values and merchantability
  // limits (and any steps before the regime proper).
  std::vector<Step> start;
  std::vector<int> rotations;
  std::vector<int> thinningCounts = {0, 1};  // each 0, 1 or 2
  std::vector<int> thinAges;                 // of every thinning; later thinnings come later
  std::vector<ThinChoice> methods;
  std::vector<int> residualBA;
  std::vector<int> fertilizeAges;  // each regime is also tried without fertilization
  FieldTexts fertilizer = {{"n", "200"}, {"p", "yes"}};
  Management management = Management::Sawtimber;
  int best = 10;
  // At a positive price every regime is valued with its carbon payments: timber and carbon.
  carbon::CarbonValues carbon;
};

struct RankedRegime {
  std::int64_t ordinal = 0;  // the candidate's place in the whole search, for ties
  double score = 0;          // LEV of a new plantation, NPV of an existing stand
  int rotation = 0;
  Measures pulpwood;
  Measures sawtimber;
  float harvestPulpTons = 0;
  float harvestIUPulpTons = 0;
  float harvestSawTons = 0;
  std::vector<Step> steps;  // after the start
};

struct SearchResult {
  std::string error;  // set when the start or the space cannot be searched
  bool newPlantation = false;
  Management management = Management::Sawtimber;
  std::int64_t candidates = 0;
  std::int64_t valued = 0;
  std::int64_t refused = 0;
  std::vector<RankedRegime> best;  // best first
  // The best regime of each rotation age that valued any, by age: how flat the optimum is.
  std::vector<RankedRegime> bestByRotation;
  bool cancelled = false;  // stopped early: the counts and lists cover only what was searched
};

// A candidate the search valued, for a caller that ranks candidates its own way.
struct ValuedCandidate {
  std::int64_t ordinal = 0;  // its place in the whole search
  const RegimeQuantities* regime = nullptr;
  const RegimeFlows* flows = nullptr;        // at the start's financial values
  const std::vector<Step>* steps = nullptr;  // after the start, up to its last treatment
};

struct SearchOptions {
  int jobs = 1;
  int shard = 1;  // this process searches shard `shard` of `shards`
  int shards = 1;
  // Called now and then from the searching threads, with the share of the space done.
  std::function<void(double done)> progress;
  // When set and true, the threads stop before their next unit of candidates.
  const std::atomic<bool>* cancel = nullptr;
  // When set, told of every candidate searched, one at a time: its steps after the start and
  // its score, or nothing when the engine refused it. For checking the search, not for speed.
  std::function<void(const std::vector<Step>& steps, std::optional<double> score)> eachCandidate =
      nullptr;
};

// Called from the searching threads with every candidate valued.
using CandidateObserver = std::function<void(const ValuedCandidate&)>;

// The space's own mistakes (an empty list, a count outside 0 to 2, ...), or "".
std::string checkSpace(const SearchSpace& space);

// The same best regimes whatever the number of jobs; shards merged give the unsharded answer.
SearchResult searchRegimes(const SearchSpace& space, const SearchOptions& options);
// The same, showing `valued` every candidate valued.
SearchResult searchRegimes(const SearchSpace& space, const SearchOptions& options,
                           const CandidateObserver& valued);

// The candidate as the search lists it: both managements' measures, the harvest's tons, and its
// steps after the start with the growth to the rotation and the harvest.
RankedRegime rankedRegime(const ValuedCandidate& candidate, double score);

// Orders by score, best first; ties go to the earlier candidate.
bool rankedBefore(const RankedRegime& a, const RankedRegime& b);
// Adds the shards' counts and keeps the best `best` of their regimes and the best of each
// rotation.
SearchResult mergeResults(const std::vector<SearchResult>& shards, int best);

}  // namespace keldovar::econ

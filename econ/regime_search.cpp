// The regime search: candidates are numbered by unit (the steps before the final growth and
// harvest) and rotation; each thread takes runs of units in turn on a document of its own,
// sharing the steps units have in common, keeps its own best list, and the lists are ranked
// together at the end.
#include "econ/regime_search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <thread>

namespace keldovar::econ {
namespace {

struct Event {
  int age = 0;
  int order = 0;  // a thinning before a fertilization of the same age
  Step step;
};

Step thinStep(const ThinChoice& choice, int residual) {
  std::string ba = std::to_string(residual);
  switch (choice.method) {
    case ThinMethod::Row:
      return {StepKind::ThinRow, {{"ba", ba}}};
    case ThinMethod::Low:
      return {StepKind::ThinLow, {{"ba", ba}, {"method", "ba"}}};
    case ThinMethod::RowLow:
      return {StepKind::ThinRowLow, {{"ba", ba}, {"row", std::to_string(choice.rowPercent)}}};
    case ThinMethod::Thinomatic:
      break;
  }
  return {StepKind::ThinThinomatic, {{"ba", ba}}};
}

Step growStep(int age) {
  return {StepKind::Grow, {{"age", std::to_string(age)}}};
}

// The numbering of the units: for each thinning count in turn, the thinning plans (the first
// thinning varying slowest) times the fertilization choices.
class UnitSpace {
 public:
  UnitSpace(const SearchSpace& space, int startAge) : space_(space), startAge_(startAge) {
    auto per = static_cast<std::int64_t>(space.thinAges.size() * space.methods.size() *
                                         space.residualBA.size());
    for (int count : space.thinningCounts) {
      std::int64_t plans = 1;
      for (int i = 0; i < count; ++i) plans *= per;
      blocks_.push_back(plans * fertChoices());
    }
  }

  std::int64_t units() const {
    std::int64_t total = 0;
    for (std::int64_t b : blocks_) total += b;
    return total;
  }
  std::int64_t rotations() const { return static_cast<std::int64_t>(space_.rotations.size()); }

  // The unit's steps and the age they end at; false when its ages do not follow each other.
  bool steps(std::int64_t unit, std::vector<Step>& out, int& endAge) const {
    std::size_t block = 0;
    while (unit >= blocks_[block]) unit -= blocks_[block++];
    std::vector<Event> events;
    auto fert = static_cast<std::size_t>(unit % fertChoices());
    std::int64_t plan = unit / fertChoices();
    if (fert > 0) {
      events.push_back(
          {space_.fertilizeAges[fert - 1], 1, {StepKind::Fertilize, space_.fertilizer}});
    }
    int previous = -1;
    auto per = static_cast<std::int64_t>(space_.thinAges.size() * space_.methods.size() *
                                         space_.residualBA.size());
    std::int64_t divisor = 1;
    for (int i = 1; i < space_.thinningCounts[block]; ++i) divisor *= per;
    for (int i = 0; i < space_.thinningCounts[block];
         ++i, divisor = std::max<std::int64_t>(1, divisor / per)) {
      std::int64_t digit = (plan / divisor) % per;
      auto ba =
          static_cast<std::size_t>(digit % static_cast<std::int64_t>(space_.residualBA.size()));
      digit /= static_cast<std::int64_t>(space_.residualBA.size());
      auto method =
          static_cast<std::size_t>(digit % static_cast<std::int64_t>(space_.methods.size()));
      auto age = static_cast<std::size_t>(digit / static_cast<std::int64_t>(space_.methods.size()));
      int thinAge = space_.thinAges[age];
      if (thinAge <= previous) return false;
      previous = thinAge;
      events.push_back({thinAge, 0, thinStep(space_.methods[method], space_.residualBA[ba])});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
      return a.age != b.age ? a.age < b.age : a.order < b.order;
    });
    out.clear();
    endAge = startAge_;
    for (Event& e : events) {
      if (e.age < startAge_) return false;
      if (e.age > endAge) out.push_back(growStep(e.age));
      endAge = e.age;
      out.push_back(std::move(e.step));
    }
    return true;
  }

 private:
  std::int64_t fertChoices() const {
    return 1 + static_cast<std::int64_t>(space_.fertilizeAges.size());
  }

  const SearchSpace& space_;
  int startAge_;
  std::vector<std::int64_t> blocks_;
};

void keepBest(std::vector<RankedRegime>& best, RankedRegime regime, int count) {
  auto at = std::upper_bound(best.begin(), best.end(), regime, rankedBefore);
  best.insert(at, std::move(regime));
  if (best.size() > static_cast<std::size_t>(count)) best.pop_back();
}

// The list stays ordered by rotation, one regime each.
std::vector<RankedRegime>::iterator rotationSlot(std::vector<RankedRegime>& list, int rotation) {
  return std::lower_bound(list.begin(), list.end(), rotation,
                          [](const RankedRegime& r, int age) { return r.rotation < age; });
}

bool beatsRotation(std::vector<RankedRegime>& list, int rotation, const RankedRegime& regime) {
  auto at = rotationSlot(list, rotation);
  return at == list.end() || at->rotation != rotation || rankedBefore(regime, *at);
}

void keepRotationBest(std::vector<RankedRegime>& list, const RankedRegime& regime) {
  auto at = rotationSlot(list, regime.rotation);
  if (at == list.end() || at->rotation != regime.rotation) {
    list.insert(at, regime);
  } else if (rankedBefore(regime, *at)) {
    *at = regime;
  }
}

bool cancelled(const SearchOptions& options) {
  return options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed);
}

struct Shared {
  Shared(const SearchSpace& s, const UnitSpace& u, const StandState& root, bool plantation,
         const SearchOptions& o, const CandidateObserver& v)
      : space(s), units(u), start(root), newPlantation(plantation), options(o), valued(v) {
    for (int rotation : s.rotations) finishes.push_back(growStep(rotation));
  }
  const SearchSpace& space;
  const UnitSpace& units;
  const StandState& start;  // the stand after the space's start, as its next step finds it
  bool newPlantation;
  const SearchOptions& options;
  std::vector<Step> finishes;  // the growth to each rotation age
  const CandidateObserver& valued;
  std::atomic<std::int64_t> next{0};
  std::atomic<std::int64_t> done{0};
  std::int64_t shardUnits = 0;
  std::mutex progressMutex;
};

// One thread's share: its own stand stepper and its own best list. The steps of a unit (up to
// its last treatment) are a path; the worker keeps the stand after each step of the path it ran
// last, so a unit runs only the steps after the part it shares with the previous one, and each
// rotation starts from the stand at the unit's end. Stands are valued without report text or
// tables: the same values, history and refusals as the regime's script run through documents.
class Worker {
 public:
  explicit Worker(Shared& shared) : shared_(shared) { levels_.reserve(2 * (kMaxThinnings + 1)); }

  void run() {
    const SearchOptions& options = shared_.options;
    for (;;) {
      std::int64_t first = shared_.next.fetch_add(kUnitsPerTurn);
      if (first >= shared_.shardUnits) break;
      std::int64_t last = std::min(first + kUnitsPerTurn, shared_.shardUnits);
      for (std::int64_t k = first; k < last; ++k) {
        if (cancelled(options)) {
          result.cancelled = true;
          return;
        }
        unit(k * options.shards + options.shard - 1);
        reportProgress();
      }
    }
  }

  SearchResult result;

 private:
  // Consecutive units of a shard mostly share their path up to the last treatment; a turn of
  // several keeps that sharing within one thread.
  static constexpr std::int64_t kUnitsPerTurn = 16;
  static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);
  static constexpr std::size_t kStart = static_cast<std::size_t>(-2);

  // The stand after one step of the path, or the mark that the step was refused.
  struct Level {
    Step step;
    bool refused = false;
    StandState stand;
  };

  void reportProgress() {
    std::int64_t done = shared_.done.fetch_add(1) + 1;
    if (!shared_.options.progress || (done % 64 != 0 && done != shared_.shardUnits)) return;
    std::lock_guard<std::mutex> lock(shared_.progressMutex);
    shared_.options.progress(static_cast<double>(done) / static_cast<double>(shared_.shardUnits));
  }

  void unit(std::int64_t index) {
    int endAge = 0;
    if (!shared_.units.steps(index, steps_, endAge)) return;
    bool prepared = prepare();
    for (std::size_t r = 0; r < shared_.space.rotations.size(); ++r) {
      int rotation = shared_.space.rotations[r];
      if (rotation <= endAge) continue;
      ++result.candidates;
      std::int64_t ordinal = index * shared_.units.rotations() + static_cast<std::int64_t>(r);
      std::optional<double> score;
      if (prepared) score = candidate(r, ordinal);
      ++(score ? result.valued : result.refused);
      if (shared_.options.eachCandidate) tell(r, score);
    }
  }

  void tell(std::size_t r, std::optional<double> score) {
    std::vector<Step> steps = steps_;
    steps.push_back(shared_.finishes[r]);
    steps.push_back(kHarvest);
    std::lock_guard<std::mutex> lock(shared_.progressMutex);
    shared_.options.eachCandidate(steps, score);
  }

  // Puts the stand of `level` (kStart: the start's) into the stepper unless it holds it.
  void hold(std::size_t level) {
    if (held_ == level) return;
    valuer_.load(level == kStart ? shared_.start : levels_[level].stand);
    held_ = level;
  }

  // Brings the stand to the end of the unit's path; false when a step of it was refused.
  bool prepare() {
    std::size_t common = 0;
    while (common < levels_.size() && common < steps_.size() &&
           levels_[common].step == steps_[common])
      ++common;
    levels_.resize(common);
    if (common > 0 && levels_.back().refused) return false;
    hold(common == 0 ? kStart : common - 1);
    for (std::size_t i = common; i < steps_.size(); ++i) {
      bool ran = valuer_.run(steps_[i]);
      levels_.push_back({steps_[i], !ran, valuer_.stand()});
      held_ = ran ? levels_.size() - 1 : kNowhere;
      if (!ran) return false;
    }
    return true;
  }

  // A candidate's harvest quantities and its flows at the start's financial values.
  struct Valued {
    RegimeQuantities quantities;
    RegimeFlows flows;
  };

  // The candidate's score, or nothing when it was refused; kept in the lists when it is among
  // the best.
  std::optional<double> candidate(std::size_t r, std::int64_t ordinal) {
    bool found = shared_.space.carbon.price > 0 ? valuedWithCarbon(r) : valuedOnStand(r);
    if (!found) return std::nullopt;
    const RegimeFlows& flows = valued_.flows;
    ValuedCandidate valued{ordinal, &valued_.quantities, &flows, &steps_};
    if (shared_.valued) shared_.valued(valued);
    Management management = shared_.space.management;
    auto npv = static_cast<double>(netPresentValue(flows, management));
    RankedRegime probe;
    probe.ordinal = ordinal;
    probe.score =
        shared_.newPlantation ? landExpectationValue(flows, management).value_or(npv) : npv;
    probe.rotation = flows.rotation;
    bool kept = result.best.size() < static_cast<std::size_t>(shared_.space.best) ||
                rankedBefore(probe, result.best.back());
    if (!kept && !beatsRotation(result.bestByRotation, probe.rotation, probe)) return probe.score;
    // The rate of return is solved by search: only for the regimes that are kept.
    RankedRegime regime = rankedRegime(valued, probe.score);
    keepRotationBest(result.bestByRotation, regime);
    if (kept) keepBest(result.best, std::move(regime), shared_.space.best);
    return probe.score;
  }

  // The rotation's growth and harvest on the stand at the unit's end, and the harvest's flows,
  // into `valued_`.
  bool valuedOnStand(std::size_t r) {
    hold(levels_.empty() ? kStart : levels_.size() - 1);
    held_ = kNowhere;
    if (!valuer_.run(shared_.finishes[r]) || !valuer_.run(kHarvest)) return false;
    const StandState& stand = valuer_.stand();
    if (!harvestQuantities(stand.final_harvest, valuer_.historyLast(), valued_.quantities)) {
      return false;
    }
    pricedFlows(valued_.quantities, stand.financial, valued_.flows);
    return true;
  }

  // With a carbon price the payments follow the stock tables of the rotation's steps: the
  // regime's script runs whole through a document (whose steps the stand's path has shown
  // not to be refused), and its flows are those of its tables.
  bool valuedWithCarbon(std::size_t r) {
    if (!doc_) doc_ = std::make_unique<StepDocument>();
    doc_->reset();
    for (const Step& step : shared_.space.start) {
      if (!doc_->run(step)) return false;
    }
    for (const Step& step : steps_) {
      if (!doc_->run(step)) return false;
    }
    if (!doc_->run(shared_.finishes[r]) || !doc_->run(kHarvest)) return false;
    const DocumentContent& content = doc_->content();
    const ReportTable* table = content.store.newest();
    if (table == nullptr ||
        !harvestQuantities(table->history, table->historyLast, valued_.quantities)) {
      return false;
    }
    std::optional<RegimeFlows> flows = regimeFlows(
        content.store, content.store.lastIndex, content.settings.financial, shared_.space.carbon);
    if (!flows) return false;
    valued_.flows = std::move(*flows);
    return true;
  }

  inline static const Step kHarvest{StepKind::Harvest, {}};

  Shared& shared_;
  StepValuer valuer_;
  Valued valued_;                      // the candidate valued last; its lists keep their capacity
  std::unique_ptr<StepDocument> doc_;  // for candidates valued with their carbon
  std::vector<Step> steps_;
  std::vector<Level> levels_;    // the path run last, a level a step
  std::size_t held_ = kNowhere;  // the level whose stand the stepper holds unchanged, if any
};

bool listOk(const std::vector<int>& list, bool mayBeEmpty) {
  return (mayBeEmpty || !list.empty()) && list.size() <= static_cast<std::size_t>(kMaxListLength);
}

}  // namespace

RankedRegime rankedRegime(const ValuedCandidate& candidate, double score) {
  const RegimeFlows& flows = *candidate.flows;
  RankedRegime regime;
  regime.ordinal = candidate.ordinal;
  regime.score = score;
  regime.rotation = flows.rotation;
  regime.pulpwood = measuresOf(flows, Management::Pulpwood);
  regime.sawtimber = measuresOf(flows, Management::Sawtimber);
  regime.harvestPulpTons = flows.harvestPulpTons;
  regime.harvestIUPulpTons = flows.harvestIUPulpTons;
  regime.harvestSawTons = flows.harvestSawTons;
  regime.steps = *candidate.steps;
  regime.steps.push_back(growStep(flows.rotation));
  regime.steps.push_back({StepKind::Harvest, {}});
  return regime;
}

bool rankedBefore(const RankedRegime& a, const RankedRegime& b) {
  if (a.score != b.score) return a.score > b.score;
  return a.ordinal < b.ordinal;
}

std::string checkSpace(const SearchSpace& space) {
  if (space.start.empty()) return "no start: the stand the regimes begin from";
  if (!listOk(space.rotations, false)) return "rotations: give 1 to 200 ages";
  if (!listOk(space.thinningCounts, false) || space.thinningCounts.size() > kMaxThinnings + 1)
    return "thinnings: give counts of 0, 1 or 2";
  bool thins = false;
  for (std::size_t i = 0; i < space.thinningCounts.size(); ++i) {
    int count = space.thinningCounts[i];
    if (count < 0 || count > kMaxThinnings) return "thinnings: give counts of 0, 1 or 2";
    if (std::count(space.thinningCounts.begin(), space.thinningCounts.end(), count) > 1)
      return "thinnings: a count given twice";
    thins = thins || count > 0;
  }
  if (thins && (!listOk(space.thinAges, false) || space.methods.empty() ||
                space.methods.size() > static_cast<std::size_t>(kMaxListLength) ||
                !listOk(space.residualBA, false))) {
    return "thinning regimes need thin_ages, methods and residual_ba";
  }
  if (!listOk(space.fertilizeAges, true)) return "fertilize_ages: at most 200 ages";
  // Candidates are numbered in a double's exact range, so that results read back exactly.
  double plans =
      static_cast<double>(space.thinAges.size() * space.methods.size() * space.residualBA.size());
  double candidates = 0;
  for (int count : space.thinningCounts) candidates += std::pow(plans, count);
  candidates *= static_cast<double>((space.fertilizeAges.size() + 1) * space.rotations.size());
  if (candidates > 1e15) return "the space is too large: narrow its lists";
  if (space.best < 1 || space.best > kMaxBest) return "best: give 1 to 1000";
  if (!(space.carbon.price >= 0 && space.carbon.baseline >= 0)) {
    return "carbon: give a price and a baseline of 0 or more";
  }
  return "";
}

SearchResult searchRegimes(const SearchSpace& space, const SearchOptions& options) {
  return searchRegimes(space, options, {});
}

SearchResult searchRegimes(const SearchSpace& space, const SearchOptions& options,
                           const CandidateObserver& valued) {
  SearchResult result;
  result.management = space.management;
  result.error = checkSpace(space);
  if (!result.error.empty()) return result;
  auto root = std::make_unique<StepDocument>();
  root->forgetTableStates();
  for (const Step& step : space.start) {
    if (!root->run(step)) {
      result.error = "the start was refused at '" + scriptLine(step) + "'";
      return result;
    }
  }
  const StandSnapshot& snapshot = root->content().store.snapshot;
  if (snapshot.initialized != 1) {
    result.error = "the start does not leave an initialized stand";
    return result;
  }
  result.newPlantation = snapshot.existingStand == 0;
  UnitSpace units(space, static_cast<int>(snapshot.AG));
  const StandState start = root->standForNextStep();
  int shards = std::max(1, options.shards);
  int shard = std::clamp(options.shard, 1, shards);
  SearchOptions own = options;
  own.shards = shards;
  own.shard = shard;
  Shared shared(space, units, start, result.newPlantation, own, valued);
  std::int64_t total = units.units();
  shared.shardUnits = total / shards + (total % shards >= shard ? 1 : 0);

  int jobs = std::clamp(options.jobs, 1, 256);
  std::vector<std::unique_ptr<Worker>> workers;
  for (int j = 0; j < jobs; ++j) workers.push_back(std::make_unique<Worker>(shared));
  std::vector<std::thread> threads;
  for (int j = 1; j < jobs; ++j)
    threads.emplace_back([&workers, j] { workers[static_cast<std::size_t>(j)]->run(); });
  workers[0]->run();
  for (std::thread& t : threads) t.join();

  std::vector<SearchResult> parts;
  for (const auto& w : workers) parts.push_back(std::move(w->result));
  SearchResult merged = mergeResults(parts, space.best);
  result.candidates = merged.candidates;
  result.valued = merged.valued;
  result.refused = merged.refused;
  result.best = std::move(merged.best);
  result.bestByRotation = std::move(merged.bestByRotation);
  result.cancelled = merged.cancelled;
  return result;
}

SearchResult mergeResults(const std::vector<SearchResult>& shards, int best) {
  SearchResult merged;
  if (!shards.empty()) {
    merged.newPlantation = shards.front().newPlantation;
    merged.management = shards.front().management;
  }
  for (const SearchResult& s : shards) {
    merged.candidates += s.candidates;
    merged.valued += s.valued;
    merged.refused += s.refused;
    merged.cancelled = merged.cancelled || s.cancelled;
    for (const RankedRegime& r : s.best) keepBest(merged.best, r, best);
    for (const RankedRegime& r : s.bestByRotation) keepRotationBest(merged.bestByRotation, r);
  }
  return merged;
}

}  // namespace keldovar::econ

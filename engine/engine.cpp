// Engine construction, reset, the entry points and the treatment dispatcher.
#include "engine/engine.h"

#include <cstdio>
#include <optional>

#include "engine/report_text.h"

namespace keldovar {
namespace {

// A stand must hold more basal area than this to be thinned.
constexpr double kMinThinnableBA = 20;
// Values of thinLock after a thinning.
constexpr int kThinnedThisAge = -1;
constexpr int kRowThinnedThisAge = -2;
// A thinning writes its removal and the residual's pending record.
constexpr int kThinningRecords = 2;

}  // namespace

Engine::Engine(EngineHooks* hooks, const Clock* clock) : hooks_(hooks), clock_(clock) {
  resetEngine();
}

void Engine::setHooks(EngineHooks* hooks) {
  hooks_ = hooks;
}
void Engine::setClock(const Clock* clock) {
  clock_ = clock;
}

EngineHooks& Engine::hooks() {
  if (hooks_ != nullptr) return *hooks_;
  return silent_;
}

void Engine::message(const char* caption, const char* line1, const char* line2) {
  hooks().showMessage(caption, line1, line2);
}

void Engine::trace(const char* what, double value) {
  if (trace_ == 0) return;
  std::string text = formatText("%.10g", value);
  hooks().showMessage(" TRACE ", what, text.c_str());
}

TimeStamp Engine::timeStamp() const {
  LocalTime now = clock_ != nullptr ? clock_->now() : SystemClock().now();
  if (!stamp_ || !(stamp_->time == now)) stamp_ = StampCache{now, makeTimeStamp(now)};
  return stamp_->stamp;
}

void Engine::resetEngine() {
  s_.PLNTR = 0;
  s_.noControl = s_.woodyControl = s_.herbWoodyControl = -1;
  s_.unthinned = 1;
  s_.initialized = 0;
  s_.thinLock = 0;
  s_.truncatedDistribution = 0;
  s_.volumeMode = 0;
  s_.fFert_Nitrogen = -1;
  s_.bFert_Phosphorus = 1;
  s_.iFertAge = -1;
  s_.fertAgesLast = -1;
  s_.fertRecordPending = 0;
  s_.historyCount = 0;
  s_.firstClass = 0;
  s_.truncationDBH = 0;
  s_.distCap = 1000;
  s_.distScale = 1;
  copyText(s_.barkBasis, "OB");
  s_.pulpTopDiameter = 6.0;
  s_.pulpThresholdDBH = 4.0;
  s_.sawThresholdDBH = 0;
  s_.status = 1;
  // A new stand must not inherit the removal of an earlier thinned stand into its volumes.
  s_.pctBARemoved = 0;
  s_.pctTreesRemoved = 0;
}

bool Engine::historyHasRoom(int records) {
  // The last record stays free for the harvest.
  return s_.historyCount + records <= kHistoryCapacity - 1;
}

void Engine::refuseHistoryFull() {
  message(" STAND HISTORY FULL ", "The stand history has no room for this step.",
          "Harvest the stand, or initialize a new one.");
}

void Engine::setLabel(int index, const char* label) {
  if (index < 0 || index >= kHistoryCapacity) return;
  copyLabel(s_.final_harvest[static_cast<std::size_t>(index)].label, label);
}

void Engine::initializeStand(int kind) {
  s_.existingStand = 1;
  if (kind < kExistingUnthinned || kind > kNewPlantation) return;
  s_.SI = s_.TPA = s_.BA = s_.AG = s_.PLNTR = 0;
  s_.firstClass = s_.truncationDBH = 0;
  s_.thinLock = 0;
  s_.initialized = 1;
  s_.noControl = s_.woodyControl = s_.herbWoodyControl = -1;
  s_.historyCount = 0;
  s_.unthinned = kind == kExistingThinned ? 0 : 1;

  int completed = 0;
  if (kind == kExistingUnthinned) completed = askUnthinnedWrapped();
  if (kind == kExistingThinned) completed = initializeThinned();
  if (kind == kNewPlantation) completed = initializePlantation();
  if (completed == 0 || s_.status == -1) return;

  // Record 0 is written for every kind, so no row of an earlier stand survives in the history.
  HistoryRecord& planted = s_.final_harvest[0];
  planted = HistoryRecord{};
  copyLabel(planted.label, "Planted");
  planted.trees = s_.PLNTR;
  s_.historyCount = 1;
  static constexpr const char* labels[] = {"Initialized Unthinned", "Initialized Thinned",
                                           "Initialized Plantation"};
  setLabel(s_.historyCount, labels[kind - 1]);
  finishStep();
}

// The checks every treatment passes, in order; true when the step may not go on.
bool Engine::thinningRefused(int action) {
  if (s_.initialized == 0) {
    message(" THINNING ERROR ", "The stand must have been initialized before you can ", "thin it.");
    s_.status = -1;
    return true;
  }
  if (s_.truncatedDistribution != 0) {
    s_.status = -1;
    return true;
  }
  if (action < kThinomatic || action > kHarvest) return true;  // no effect, status untouched
  if (action == kHarvest) return false;
  if (!(s_.BA > kMinThinnableBA)) {
    std::string line1 = formatText(
        "The stand cannot be thinned: its basal area is %.1f sq.ft, not above 20.", s_.BA);
    message(" BASAL AREA THINNING ERROR ", line1.c_str(), "Grow the stand to an older age first.");
    s_.status = -1;
    return true;
  }
  if (!historyHasRoom(kThinningRecords)) {
    refuseHistoryFull();
    s_.status = -1;
    return true;
  }
  return false;
}

void Engine::dispatchAction(int action) {
  if (thinningRefused(action)) return;
  if (action == kHarvest) {
    harvestStand();
    return;
  }
  routeThinning(action);
}

bool thinningLocked(int action, int thinLock) {
  return action == kLowThin ? thinLock == kThinnedThisAge : thinLock < 0;
}

void Engine::routeThinning(int action) {
  if (thinningLocked(action, s_.thinLock)) {
    // A second thinning at the same age: refused without a message.
    s_.status = -1;
    return;
  }
  s_.thinLock = action == kRowThin ? kRowThinnedThisAge : kThinnedThisAge;
  s_.unthinned = action == kRowThin ? 1 : 0;
  switch (action) {
    case kThinomatic:
      thinomatic();
      return;
    case kRowThin:
      rowThin();
      return;
    case kLowThin: {
      LowThinChoice method = hooks().askLowThinMethod();
      if (method == LowThinChoice::ByDBH) lowThinByDBH();
      if (method == LowThinChoice::ByBasalArea) lowThinByBA();
      return;
    }
    default:
      rowLowThin();
      return;
  }
}

void Engine::noteCancel() {
  promptCancelled_ = true;
  s_.status = -1;
}

int Engine::askUnthinnedWrapped() {
  std::optional<UnthinnedEntry> entry = hooks().askUnthinned();
  if (!accepted(entry)) return 0;
  if (!deriveUnthinned(*entry)) return 0;
  computeClassLimits();
  return 1;
}

int Engine::askThinnedWrapped() {
  std::optional<ThinnedEntry> entry = hooks().askThinned();
  if (!accepted(entry)) return 0;
  applyThinned(*entry);
  return 1;
}

void Engine::applyThinned(const ThinnedEntry& e) {
  s_.AG = e.age;
  s_.BA = static_cast<double>(e.basalArea);
  s_.TPA = e.trees;
  s_.thinAge = e.thinAge;
  if (e.height == 0) {
    s_.SI = e.siteIndex;
    s_.heightEntered = 0;
  } else {
    s_.HD = static_cast<double>(e.height);
    s_.heightEntered = 1;
  }
}

// Cancel here abandons the step without touching the status.
int Engine::askPercentRemovedWrapped() {
  std::optional<PercentRemovedEntry> entry = hooks().askPercentRemoved();
  if (!entry) {
    promptCancelled_ = true;
    return 0;
  }
  s_.pctTreesRemoved = entry->trees;
  s_.pctBARemoved = entry->basalArea;
  return 1;
}

int Engine::askPlantationWrapped() {
  std::optional<PlantationEntry> entry = hooks().askPlantation();
  if (!accepted(entry)) return 0;
  applyPlantation(*entry);
  return 1;
}

void Engine::applyPlantation(const PlantationEntry& e) {
  s_.SI = e.siteIndex;
  s_.PLNTR = e.trees;
  s_.survivalPct = e.survival;
  s_.noControl = e.control == VegetationControl::None ? 1 : 0;
  s_.woodyControl = e.control == VegetationControl::Woody ? 1 : 0;
  s_.herbWoodyControl = e.control == VegetationControl::HerbAndWoody ? 1 : 0;
}

int Engine::askGrowAgeWrapped() {
  std::optional<int> age = hooks().askGrowAge();
  if (!accepted(age)) return 0;
  s_.targetAge = *age;
  return 1;
}

double Engine::askResidualBAWrapped() {
  s_.unthinned = 0;
  std::optional<double> residual = hooks().askResidualBA();
  return accepted(residual) ? *residual : 0;
}

// Returns the cancelled-diameter sentinel on Cancel, which the caller tests.
double Engine::askThinToDBHWrapped() {
  std::optional<double> dbh = hooks().askThinToDBH();
  if (dbh) return *dbh;
  promptCancelled_ = true;
  return kCancelledDiameter;
}

int Engine::askRowLowWrapped(double& residual, double& rowPercent) {
  std::optional<RowLowEntry> entry = hooks().askRowLow();
  if (!accepted(entry)) return 0;
  residual = entry->residual;
  rowPercent = entry->rowPercent;
  return 1;
}

// ---- Whole steps ----

// Marks a step as running for its length; a step that finds one running is not started.
class Engine::StepScope {
 public:
  explicit StepScope(Engine& engine) : engine_(engine) {
    engine_.stepRunning_ = true;
    engine_.promptCancelled_ = false;
  }
  ~StepScope() { engine_.stepRunning_ = false; }
  StepScope(const StepScope&) = delete;
  StepScope& operator=(const StepScope&) = delete;

 private:
  Engine& engine_;
};

void Engine::resetOutputs(bool harvest) {
  s_.status = 1;
  out_.financialLast = -1;
  out_.historyLast = -1;
  if (harvest) return;
  out_.stockLast = -1;
  out_.thinReportReady = 0;
  s_.outputReady = 0;
}

StepResult Engine::resultOf(bool needsSummary) const {
  bool failed = s_.status == -1 || (needsSummary && s_.outputReady == 0);
  if (!failed) return StepResult::Stored;
  return promptCancelled_ ? StepResult::Aborted : StepResult::Refused;
}

StepResult Engine::initializeStep(int kind, const MerchInputs& merch) {
  if (stepRunning_) return StepResult::Busy;
  StepScope scope(*this);
  resetOutputs(false);
  resetEngine();
  s_.setMerchInputs(merch);
  initializeStand(kind);
  return resultOf(true);
}

StepResult Engine::growStep() {
  if (stepRunning_) return StepResult::Busy;
  StepScope scope(*this);
  resetOutputs(false);
  if (growStand() != 1) {
    s_.status = -1;
  } else {
    s_.thinLock = 0;
    finishStep();
  }
  return resultOf(true);
}

StepResult Engine::treatStep(int action) {
  if (stepRunning_) return StepResult::Busy;
  StepScope scope(*this);
  bool harvest = action == kHarvest;
  resetOutputs(harvest);
  dispatchAction(action);
  return resultOf(!harvest);
}

}  // namespace keldovar

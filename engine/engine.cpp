// Engine construction, reset, the entry points and the treatment dispatcher.
#include "engine/engine.h"

#include <cstdio>

#include "engine/report_text.h"

namespace keldovar {

double SilentHooks::askThinToDBH() {
  return kCancelledDiameter;
}

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
  if (kind < 1 || kind > 3) return;
  s_.SI = s_.TPA = s_.BA = s_.AG = s_.PLNTR = 0;
  s_.firstClass = s_.truncationDBH = 0;
  s_.thinLock = 0;
  s_.initialized = 1;
  s_.noControl = s_.woodyControl = s_.herbWoodyControl = -1;
  s_.historyCount = 0;
  s_.unthinned = kind == 2 ? 0 : 1;

  int completed = 0;
  if (kind == 1) completed = askUnthinnedWrapped();
  if (kind == 2) completed = initializeThinned();
  if (kind == 3) completed = initializePlantation();
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

void Engine::dispatchAction(int action) {
  if (s_.initialized == 0) {
    message(" THINNING ERROR ", "The stand must have been initialized before you can ", "thin it.");
    s_.status = -1;
    return;
  }
  if (s_.truncatedDistribution != 0) {
    s_.status = -1;
    return;
  }
  if (action < 1 || action > 5) return;
  if (action == 5) {
    harvestStand();
    return;
  }
  if (!(s_.BA > 20)) {
    std::string line1 = formatText(
        "The stand cannot be thinned: its basal area is %.1f sq.ft, not above 20.", s_.BA);
    message(" BASAL AREA THINNING ERROR ", line1.c_str(), "Grow the stand to an older age first.");
    s_.status = -1;
    return;
  }
  if (!historyHasRoom(2)) {
    refuseHistoryFull();
    s_.status = -1;
    return;
  }
  switch (action) {
    case 1:
      if (s_.thinLock < 0) break;
      s_.thinLock = -1;
      s_.unthinned = 0;
      thinomatic();
      return;
    case 2:
      if (s_.thinLock < 0) break;
      s_.thinLock = -2;
      s_.unthinned = 1;
      rowThin();
      return;
    case 3: {
      if (s_.thinLock == -1) break;
      s_.thinLock = -1;
      s_.unthinned = 0;
      int method = hooks().askLowThinMethod();
      if (method == 1) lowThinByDBH();
      if (method == 2) lowThinByBA();
      return;
    }
    case 4:
      if (s_.thinLock < 0) break;
      s_.thinLock = -1;
      s_.unthinned = 0;
      rowLowThin();
      return;
  }
  // A second thinning at the same age: refused without a message.
  s_.status = -1;
}

int Engine::askUnthinnedWrapped() {
  if (hooks().askUnthinned() == 1) return 1;
  s_.status = -1;
  return 0;
}

int Engine::askPlantationWrapped() {
  if (hooks().askPlantation() == 1) return 1;
  s_.status = -1;
  return 0;
}

double Engine::askResidualBAWrapped() {
  s_.unthinned = 0;
  double residual = 0;
  if (hooks().askResidualBA(residual) == 1) return residual;
  s_.status = -1;
  return 0;
}

int Engine::askRowLowWrapped(double& residual, double& rowPercent) {
  if (hooks().askRowLow(residual, rowPercent) == 1) return 1;
  s_.status = -1;
  return 0;
}

}  // namespace keldovar

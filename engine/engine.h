// The simulator engine: one stand, its entry points, its treatments and its report text.
#pragma once

#include <optional>

#include "engine/clock.h"
#include "engine/engine_hooks.h"
#include "engine/stand_state.h"

namespace keldovar {

// The kinds of initializeStand and the actions of dispatchAction.
enum StandKind { kExistingUnthinned = 1, kExistingThinned = 2, kNewPlantation = 3 };
enum Treatment { kThinomatic = 1, kRowThin = 2, kLowThin = 3, kRowAndLowThin = 4, kHarvest = 5 };

// The accepted values of the existing-unthinned dialog, as its fields hold them.
struct UnthinnedInput {
  int trees = 0;
  float age = 0;
  float basalArea = 0;  // 0 = predict it
  float height = 0;     // 0 = not given
  int siteIndex = 0;    // 0 = not given
};

class Engine {
 public:
  explicit Engine(EngineHooks* hooks = nullptr, const Clock* clock = nullptr);

  // The prompts and the clock are the caller's; a null hooks pointer cancels every prompt.
  void setHooks(EngineHooks* hooks);
  void setClock(const Clock* clock);

  StandState& state() { return s_; }
  const StandState& state() const { return s_; }
  EngineOutput& output() { return out_; }
  const EngineOutput& output() const { return out_; }

  // Diagnostic formula traces are shown through the message hook while this is nonzero.
  void setTraceSwitch(int value) { trace_ = value; }
  int traceSwitch() const { return trace_; }

  // Entry points.
  void resetEngine();
  void initializeStand(int kind);   // 1 existing unthinned, 2 existing thinned, 3 new plantation
  void dispatchAction(int action);  // 1 Thinomatic, 2 row, 3 low, 4 row and low, 5 harvest
  int growStand();                  // 1 projected, 0 cancelled, -1 refused
  void finishStep();

  // Called by the unthinned prompt on OK: derives the stand from the dialog's values.
  // Refuses (status -1, false) when neither a site index nor a height is given.
  bool deriveUnthinned(const UnthinnedInput& input);
  void computeClassLimits();

  // Parts of a step, public for the report core and for tests.
  void writeSummary();
  void fillDistribution();
  void writeStockTable(int first);
  double merchVolume(double dbh, double top, double volume, bool alternateBark = false) const;
  double classHeightAt(double dbh) const;

 private:
  // Ask wrappers: Cancel becomes status -1.
  int askUnthinnedWrapped();
  int askPlantationWrapped();
  double askResidualBAWrapped();
  int askRowLowWrapped(double& residual, double& rowPercent);

  int initializeThinned();
  int initializePlantation();
  bool historyHasRoom(int records);
  void refuseHistoryFull();
  void projectionStep(double toAge, double& exhibitedSI, double& hdBase);

  // Thinnings and harvest.
  void rowThin();
  void thinomatic();
  void lowThinByDBH();
  void lowThinByBA();
  void rowLowThin();
  void harvestStand();
  void writeFinancial();
  void writeThinReport();
  bool refuseOversizedRemoval(double x);
  void startThinning(const char* tag);
  void cutShare(int i, double q, bool scaleTopVolume = true);
  void removeClass(int i);
  void recordThinning(const char* label, double removedBA);
  void settleThinning(const char* label, double residual, double removal);
  void closeThinning(bool rowThinned);

  EngineHooks& hooks();
  void setLabel(int index, const char* label);
  void message(const char* caption, const char* line1, const char* line2);
  void trace(const char* what, double value);
  TimeStamp timeStamp() const;

  // The last clock reading and its stamp, formatted again only when the clock reads otherwise:
  // once for a fixed clock, at most once a second for the system's.
  struct StampCache {
    LocalTime time;
    TimeStamp stamp;
  };

  StandState s_;
  EngineOutput out_;
  EngineHooks* hooks_;
  SilentHooks silent_;
  const Clock* clock_;
  mutable std::optional<StampCache> stamp_;
  int trace_ = 0;
  int emptied_ = 0;  // classes a thinning emptied from the bottom
};

}  // namespace keldovar

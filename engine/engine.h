// The simulator engine: one stand, its entry points, its treatments and its report text.
#pragma once

#include <optional>
#include <string_view>

#include "engine/clock.h"
#include "engine/engine_hooks.h"
#include "engine/models.h"
#include "engine/stand_state.h"

namespace keldovar {

// The kinds of initializeStand and the actions of dispatchAction.
enum StandKind { kExistingUnthinned = 1, kExistingThinned = 2, kNewPlantation = 3 };
enum Treatment { kThinomatic = 1, kRowThin = 2, kLowThin = 3, kRowAndLowThin = 4, kHarvest = 5 };

// How a whole step ended. Stored: the step completed and its outputs are ready to be kept.
// Aborted: a prompt was cancelled. Refused: the engine declined the step or the values given
// (a second thinning at the same age, an uninitialized stand, a truncated distribution, ...),
// with its own message or none. Busy: another step is still asking, so this one was not
// started and nothing was touched.
enum class StepResult { Stored, Aborted, Refused, Busy };

// The thinning lock: after a thinning no other at the same age, except a low thinning right
// after a row thinning. The engine refuses a locked thinning without a message of its own.
bool thinningLocked(int action, int thinLock);

class Engine {
 public:
  explicit Engine(EngineHooks* hooks = nullptr, const Clock* clock = nullptr);

  // The prompts and the clock are the caller's; a null hooks pointer cancels every prompt.
  void setHooks(EngineHooks* hooks);
  void setClock(const Clock* clock);
  const Clock* clock() const { return clock_; }

  StandState& state() { return s_; }
  const StandState& state() const { return s_; }
  EngineOutput& output() { return out_; }
  const EngineOutput& output() const { return out_; }

  // Off, the steps write no report text (summary, stock and thinning lines, stock rows, history
  // text and financial lines, and their time stamps) and build no bar graph; every stand value,
  // history record and message is the same. For callers that value regimes, not read them.
  void setReportText(bool on) { reportText_ = on; }
  bool reportText() const { return reportText_; }

  // Diagnostic formula traces are shown through the message hook while this is nonzero.
  void setTraceSwitch(int value) { trace_ = value; }
  int traceSwitch() const { return trace_; }

  // Whole steps: each resets the output indicators, runs its entry point and the calls that
  // close it, and tells how it ended. An initialization also resets the engine and takes the
  // document's merchandising inputs.
  StepResult initializeStep(int kind, const MerchInputs& merch);
  StepResult growStep();
  StepResult treatStep(int action);
  // True while a step runs, that is while one of its prompts is asking.
  bool stepRunning() const { return stepRunning_; }
  EngineHooks* installedHooks() const { return hooks_; }

  // The engine as a new one is, for a document of its own, without zeroing the 38 KB of report
  // lines again: each line is emptied, and nothing reads past a line's end or a section's last
  // line. Hooks, clock and the report text switch stay.
  void startOver();

  // Entry points, the parts of the steps above.
  void resetEngine();
  void initializeStand(int kind);   // 1 existing unthinned, 2 existing thinned, 3 new plantation
  void dispatchAction(int action);  // 1 Thinomatic, 2 row, 3 low, 4 row and low, 5 harvest
  int growStand();                  // 1 projected, 0 cancelled, -1 refused
  void finishStep();
  // Output indicators before a step; a harvest keeps the restored stock table and summaries.
  void resetOutputs(bool harvest);

  // Derives the unthinned stand from the dialog's accepted values.
  // Refuses (status -1, false) when neither a site index nor a height is given.
  bool deriveUnthinned(const UnthinnedEntry& input);
  void computeClassLimits();

  // Parts of a step, public for the report core and for tests.
  void writeSummary();
  void fillDistribution();
  void writeStockTable(int first);
  double merchVolume(double dbh, double top, double volume, bool alternateBark = false) const;
  double classHeightAt(double dbh) const;

 private:
  class StepScope;
  StepResult resultOf(bool needsSummary) const;
  void noteCancel();
  // True when the prompt was answered; a cancelled one fails the step.
  template <class Entry>
  bool accepted(const std::optional<Entry>& answer) {
    if (!answer) noteCancel();
    return answer.has_value();
  }

  // Ask wrappers: each applies the accepted entry; Cancel becomes status -1.
  int askUnthinnedWrapped();
  int askThinnedWrapped();
  int askPercentRemovedWrapped();
  int askPlantationWrapped();
  int askGrowAgeWrapped();
  double askResidualBAWrapped();
  double askThinToDBHWrapped();
  int askRowLowWrapped(double& residual, double& rowPercent);
  void applyThinned(const ThinnedEntry& entry);
  void applyPlantation(const PlantationEntry& entry);

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
  bool thinningRefused(int action);
  void routeThinning(int action);
  void harvestStand();
  void recordHarvest();
  void writeHistoryText();
  void closeStand();
  void writeFinancial();
  int writeFinancialRows(float& sumPulp, float& sumSaw);
  void writeNetPresentValues(int line, float sumPulp, float sumSaw);
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
  // The report's time stamp, "Www Mmm dd hh:mm:ss AM".
  std::string_view stampText() const;

  // The last clock reading and its stamp, formatted again only when the clock reads otherwise:
  // once for a fixed clock, at most once a second for the system's.
  struct StampCache {
    LocalTime time;
    std::array<char, 24> text{};
    std::size_t length = 0;
  };

  StandState s_;
  EngineOutput out_;
  EngineHooks* hooks_;
  SilentHooks silent_;
  const Clock* clock_;
  mutable std::optional<StampCache> stamp_;
  WeibullMemo weibull_;
  int trace_ = 0;
  bool reportText_ = true;
  int emptied_ = 0;           // classes a thinning emptied from the bottom
  const char* thinTag_ = "";  // "ROW", "LOW", "ROW/LOW", "THINOMATIC"
  bool stepRunning_ = false;
  bool promptCancelled_ = false;
};

// Installs a document's hooks for the length of a step and puts back whatever was installed
// before, so scopes may nest.
class HooksScope {
 public:
  HooksScope(Engine& engine, EngineHooks* hooks)
      : engine_(engine), previous_(engine.installedHooks()) {
    engine_.setHooks(hooks);
  }
  ~HooksScope() { engine_.setHooks(previous_); }
  HooksScope(const HooksScope&) = delete;
  HooksScope& operator=(const HooksScope&) = delete;

 private:
  Engine& engine_;
  EngineHooks* previous_;
};

}  // namespace keldovar

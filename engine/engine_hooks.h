// The engine's only way to reach the user: prompts and messages answered by the view.
#pragma once

namespace keldovar {

// Return conventions: dialog hooks give 1 on OK and 0 on Cancel; the thin-to DBH prompt gives
// the diameter, or kCancelledDiameter on Cancel. A hook that accepts writes its values into the
// engine's StandState itself, unless it has output parameters.
class EngineHooks {
 public:
  virtual ~EngineHooks() = default;

  // A message box: line1 + "\n" + line2 under the caption.
  virtual void showMessage(const char* caption, const char* line1, const char* line2) = 0;
  // Existing unthinned stand; on OK the hook derives the stand and computes the class limits.
  virtual int askUnthinned() = 0;
  virtual int askThinned() = 0;
  virtual int askPercentRemoved() = 0;
  virtual int askPlantation() = 0;
  virtual int askGrowAge() = 0;
  virtual int askResidualBA(double& residual) = 0;
  virtual double askThinToDBH() = 0;
  // 1 = by DBH, 2 = by basal area, 0 = neither chosen; cannot be cancelled.
  virtual int askLowThinMethod() = 0;
  virtual int askRowLow(double& residual, double& rowPercent) = 0;
  // Rebuilds the diameter bar graph from the class arrays; returns the stand age.
  virtual int buildBarGraph(int first) = 0;
};

// Hooks that cancel every prompt and drop every message: an engine with nobody to ask.
class SilentHooks final : public EngineHooks {
 public:
  void showMessage(const char*, const char*, const char*) override {}
  int askUnthinned() override { return 0; }
  int askThinned() override { return 0; }
  int askPercentRemoved() override { return 0; }
  int askPlantation() override { return 0; }
  int askGrowAge() override { return 0; }
  int askResidualBA(double&) override { return 0; }
  double askThinToDBH() override;
  int askLowThinMethod() override { return 0; }
  int askRowLow(double&, double&) override { return 0; }
  int buildBarGraph(int) override { return 0; }
};

}  // namespace keldovar

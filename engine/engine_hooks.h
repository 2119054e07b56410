// The engine's only way to reach the user: prompts and messages answered by the view.
#pragma once

#include <optional>

#include "engine/step_entries.h"

namespace keldovar {

// Every prompt returns its accepted values, or nothing when it was cancelled; the engine
// applies what it receives to its stand itself.
class EngineHooks {
 public:
  virtual ~EngineHooks() = default;

  // A message box: line1 + "\n" + line2 under the caption.
  virtual void showMessage(const char* caption, const char* line1, const char* line2) = 0;
  virtual std::optional<UnthinnedEntry> askUnthinned() = 0;
  virtual std::optional<ThinnedEntry> askThinned() = 0;
  virtual std::optional<PercentRemovedEntry> askPercentRemoved() = 0;
  virtual std::optional<PlantationEntry> askPlantation() = 0;
  virtual std::optional<int> askGrowAge() = 0;
  virtual std::optional<double> askResidualBA() = 0;
  virtual std::optional<double> askThinToDBH() = 0;
  virtual LowThinChoice askLowThinMethod() = 0;
  virtual std::optional<RowLowEntry> askRowLow() = 0;
  // Rebuilds the diameter bar graph from the class arrays; returns the stand age.
  virtual int buildBarGraph(int first) = 0;
};

// Hooks that cancel every prompt and drop every message: an engine with nobody to ask.
class SilentHooks final : public EngineHooks {
 public:
  void showMessage(const char*, const char*, const char*) override {}
  std::optional<UnthinnedEntry> askUnthinned() override { return std::nullopt; }
  std::optional<ThinnedEntry> askThinned() override { return std::nullopt; }
  std::optional<PercentRemovedEntry> askPercentRemoved() override { return std::nullopt; }
  std::optional<PlantationEntry> askPlantation() override { return std::nullopt; }
  std::optional<int> askGrowAge() override { return std::nullopt; }
  std::optional<double> askResidualBA() override { return std::nullopt; }
  std::optional<double> askThinToDBH() override { return std::nullopt; }
  LowThinChoice askLowThinMethod() override { return LowThinChoice::Neither; }
  std::optional<RowLowEntry> askRowLow() override { return std::nullopt; }
  int buildBarGraph(int) override { return 0; }
};

}  // namespace keldovar

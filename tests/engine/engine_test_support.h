// A scripted stand-in for the view: answers the engine's prompts and records its messages.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"

namespace keldovar::testing {

struct Message {
  std::string caption;
  std::string line1;
  std::string line2;
};

class ScriptedHooks : public EngineHooks {
 public:
  using Thinned = ThinnedEntry;
  struct Plantation {
    int siteIndex;
    int trees;
    float survival;
    int control;  // 0 none, 1 woody, 2 herb and woody
  };

  explicit ScriptedHooks(Engine& engine);

  std::optional<UnthinnedEntry> unthinned;
  std::optional<Thinned> thinned;
  std::optional<std::pair<int, int>> percentRemoved;  // trees, basal area
  std::optional<Plantation> plantation;
  std::optional<int> growAge;
  std::optional<double> residualBA;
  double thinToDBH = kCancelledDiameter;  // the sentinel answers Cancel
  int lowThinMethod = 0;
  std::optional<std::pair<double, double>> rowLow;  // residual, row percent

  std::vector<Message> messages;
  std::vector<int> barGraphFirsts;

  void showMessage(const char* caption, const char* line1, const char* line2) override;
  std::optional<UnthinnedEntry> askUnthinned() override { return unthinned; }
  std::optional<ThinnedEntry> askThinned() override { return thinned; }
  std::optional<PercentRemovedEntry> askPercentRemoved() override;
  std::optional<PlantationEntry> askPlantation() override;
  std::optional<int> askGrowAge() override { return growAge; }
  std::optional<double> askResidualBA() override { return residualBA; }
  std::optional<double> askThinToDBH() override;
  LowThinChoice askLowThinMethod() override { return static_cast<LowThinChoice>(lowThinMethod); }
  std::optional<RowLowEntry> askRowLow() override;
  int buildBarGraph(int first) override;

 private:
  Engine& engine_;
};

// The engine's whole steps, as the document runs them (without the table store): the merchandising
// inputs of a default document, and true when the step stored its output.
void prepareOutputs(Engine& engine);
bool initializeStep(Engine& engine, int kind);
bool growStep(Engine& engine);
bool treatStep(Engine& engine, int action);

// Convenience: a fresh stand of each kind, asserted to succeed.
void initUnthinned(Engine& engine, ScriptedHooks& hooks, float age, int trees, int siteIndex,
                   float basalArea = 0, float height = 0);
void initPlantation(Engine& engine, ScriptedHooks& hooks, int siteIndex, int trees, float survival,
                    int control = 0);
bool grow(Engine& engine, ScriptedHooks& hooks, int age);

std::string lineText(const ReportLine& line);

}  // namespace keldovar::testing

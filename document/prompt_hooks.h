// The engine's prompts answered through a document's Prompts: each dialog opens with the
// remembered values and the stand's facts, and what it accepts is remembered for next time.
#pragma once

#include "document/bar_graph.h"
#include "document/document_settings.h"
#include "document/prompts.h"
#include "engine/engine.h"

namespace keldovar {

class PromptHooks final : public EngineHooks {
 public:
  // `graph` receives the bar graph of each step; null leaves it unbuilt.
  PromptHooks(Prompts& prompts, RememberedValues& remembered, const Engine& engine, BarGraph* graph)
      : prompts_(prompts), remembered_(remembered), engine_(engine), graph_(graph) {}

  void showMessage(const char* caption, const char* line1, const char* line2) override;
  std::optional<UnthinnedEntry> askUnthinned() override;
  std::optional<ThinnedEntry> askThinned() override;
  std::optional<PercentRemovedEntry> askPercentRemoved() override;
  std::optional<PlantationEntry> askPlantation() override;
  std::optional<int> askGrowAge() override;
  std::optional<double> askResidualBA() override;
  std::optional<double> askThinToDBH() override;
  LowThinChoice askLowThinMethod() override;
  std::optional<RowLowEntry> askRowLow() override;
  int buildBarGraph(int first) override;

 private:
  Prompts& prompts_;
  RememberedValues& remembered_;
  const Engine& engine_;
  BarGraph* graph_;

  StandFacts facts() const { return standFactsOf(engine_.state()); }
};

}  // namespace keldovar

// Scripted hooks and the view's step sequence for the engine tests.
#include "tests/engine/engine_test_support.h"

#include <gtest/gtest.h>

#include "engine/log_rule.h"
#include "engine/report_text.h"

namespace keldovar::testing {

ScriptedHooks::ScriptedHooks(Engine& engine) : engine_(engine) {
  engine.setHooks(this);
}

void ScriptedHooks::showMessage(const char* caption, const char* line1, const char* line2) {
  messages.push_back({caption, line1, line2});
}

std::optional<PercentRemovedEntry> ScriptedHooks::askPercentRemoved() {
  if (!percentRemoved) return std::nullopt;
  return PercentRemovedEntry{percentRemoved->first, percentRemoved->second};
}

std::optional<PlantationEntry> ScriptedHooks::askPlantation() {
  if (!plantation) return std::nullopt;
  return PlantationEntry{plantation->siteIndex, plantation->trees, plantation->survival,
                         static_cast<VegetationControl>(plantation->control)};
}

std::optional<double> ScriptedHooks::askThinToDBH() {
  if (thinToDBH == kCancelledDiameter) return std::nullopt;
  return thinToDBH;
}

std::optional<RowLowEntry> ScriptedHooks::askRowLow() {
  if (!rowLow) return std::nullopt;
  return RowLowEntry{rowLow->first, rowLow->second};
}

int ScriptedHooks::buildBarGraph(int first) {
  barGraphFirsts.push_back(first);
  return static_cast<int>(engine_.state().AG);
}

void prepareOutputs(Engine& engine) {
  engine.resetOutputs(false);
}

bool initializeStep(Engine& engine, int kind) {
  MerchInputs merch{kLogRuleInternational, internationalFactor, "OB", 3, 8, 5};
  return engine.initializeStep(kind, merch) == StepResult::Stored;
}

bool growStep(Engine& engine) {
  return engine.growStep() == StepResult::Stored;
}

bool treatStep(Engine& engine, int action) {
  return engine.treatStep(action) == StepResult::Stored;
}

void initUnthinned(Engine& engine, ScriptedHooks& hooks, float age, int trees, int siteIndex,
                   float basalArea, float height) {
  hooks.unthinned = UnthinnedEntry{trees, age, basalArea, height, siteIndex};
  ASSERT_TRUE(initializeStep(engine, 1));
}

void initPlantation(Engine& engine, ScriptedHooks& hooks, int siteIndex, int trees, float survival,
                    int control) {
  hooks.plantation = ScriptedHooks::Plantation{siteIndex, trees, survival, control};
  ASSERT_TRUE(initializeStep(engine, 3));
}

bool grow(Engine& engine, ScriptedHooks& hooks, int age) {
  hooks.growAge = age;
  return growStep(engine);
}

std::string lineText(const ReportLine& line) {
  return std::string(line.data());
}

}  // namespace keldovar::testing

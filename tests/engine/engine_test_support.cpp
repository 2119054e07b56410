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

int ScriptedHooks::askUnthinned() {
  if (!unthinned) return 0;
  if (!engine_.deriveUnthinned(*unthinned)) return 0;
  engine_.computeClassLimits();
  return 1;
}

int ScriptedHooks::askThinned() {
  if (!thinned) return 0;
  StandState& s = engine_.state();
  s.AG = thinned->age;
  s.BA = thinned->basalArea;
  s.TPA = thinned->trees;
  s.thinAge = thinned->thinAge;
  if (thinned->height == 0) {
    s.SI = thinned->siteIndex;
    s.heightEntered = 0;
  } else {
    s.HD = thinned->height;
    s.heightEntered = 1;
  }
  return 1;
}

int ScriptedHooks::askPercentRemoved() {
  if (!percentRemoved) return 0;
  engine_.state().pctTreesRemoved = percentRemoved->first;
  engine_.state().pctBARemoved = percentRemoved->second;
  return 1;
}

int ScriptedHooks::askPlantation() {
  if (!plantation) return 0;
  StandState& s = engine_.state();
  s.SI = plantation->siteIndex;
  s.PLNTR = plantation->trees;
  s.survivalPct = plantation->survival;
  s.noControl = plantation->control == 0 ? 1 : 0;
  s.woodyControl = plantation->control == 1 ? 1 : 0;
  s.herbWoodyControl = plantation->control == 2 ? 1 : 0;
  return 1;
}

int ScriptedHooks::askGrowAge() {
  if (!growAge) return 0;
  engine_.state().targetAge = *growAge;
  return 1;
}

int ScriptedHooks::askResidualBA(double& residual) {
  if (!residualBA) return 0;
  residual = *residualBA;
  return 1;
}

double ScriptedHooks::askThinToDBH() {
  return thinToDBH;
}
int ScriptedHooks::askLowThinMethod() {
  return lowThinMethod;
}

int ScriptedHooks::askRowLow(double& residual, double& rowPercent) {
  if (!rowLow) return 0;
  residual = rowLow->first;
  rowPercent = rowLow->second;
  return 1;
}

int ScriptedHooks::buildBarGraph(int first) {
  barGraphFirsts.push_back(first);
  return static_cast<int>(engine_.state().AG);
}

void prepareOutputs(Engine& engine) {
  EngineOutput& out = engine.output();
  out.stockLast = -1;
  out.financialLast = -1;
  out.historyLast = -1;
  out.thinReportReady = 0;
  engine.state().outputReady = 0;
  engine.state().status = 1;
}

bool initializeStep(Engine& engine, int kind) {
  prepareOutputs(engine);
  engine.resetEngine();
  StandState& s = engine.state();
  copyText(s.logRuleName, kLogRuleInternational);
  s.logRuleFactor = internationalFactor;
  copyText(s.barkBasis, "OB");
  s.pulpTopDiameter = 3;
  s.sawThresholdDBH = 8;
  s.pulpThresholdDBH = 5;
  engine.initializeStand(kind);
  return s.status != -1 && s.outputReady != 0;
}

bool growStep(Engine& engine) {
  prepareOutputs(engine);
  if (engine.growStand() != 1) {
    engine.state().status = -1;
  } else {
    engine.state().thinLock = 0;
    engine.finishStep();
  }
  return engine.state().status != -1 && engine.state().outputReady != 0;
}

bool treatStep(Engine& engine, int action) {
  if (action == 5) {
    engine.state().status = 1;
    engine.output().financialLast = -1;
    engine.output().historyLast = -1;
    engine.dispatchAction(action);
    return engine.state().status != -1;
  }
  prepareOutputs(engine);
  engine.dispatchAction(action);
  return engine.state().status != -1 && engine.state().outputReady != 0;
}

void initUnthinned(Engine& engine, ScriptedHooks& hooks, float age, int trees, int siteIndex,
                   float basalArea, float height) {
  hooks.unthinned = UnthinnedInput{trees, age, basalArea, height, siteIndex};
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

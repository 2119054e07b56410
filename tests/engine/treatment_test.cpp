// The thinnings, the harvest and the financial analysis.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/report_text.h"
#include "tests/engine/engine_test_support.h"

namespace keldovar::testing {
namespace {

constexpr double k = kBasalAreaFactor;

// A small hand-made stand: classes 5 to 8 inches with round numbers of trees and wood.
class SmallStand : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.state() = StandState{};
    StandState& st = engine.state();
    st.AG = st.thinAge = 20;
    st.SI = 60;
    st.HD = 50;
    st.baRatio = st.treesRatio = 1;
    st.unthinned = 1;
    st.initialized = 1;
    st.existingStand = 1;
    st.historyCount = 2;
    copyLabel(st.final_harvest[0].label, "Planted");
    copyLabel(st.final_harvest[1].label, "Initialized Unthinned");
    st.pulpTopDiameter = 3;
    st.pulpThresholdDBH = 5;
    st.sawThresholdDBH = 8;
    st.firstClass = st.minClass = 5;
    st.maxClass = 8;
    const double trees[] = {100, 200, 300, 200};
    const double volume[] = {100, 400, 900, 800};
    const double pulp[] = {10, 40, 90, 80};
    const double iu[] = {10, 30, 60, 40};
    const double saw[] = {0, 10, 30, 40};
    for (std::size_t i = 0; i < 4; ++i) {
      double d = 5.0 + static_cast<double>(i);
      st.classTrees[i] = trees[i];
      st.classBA[i] = k * d * d * trees[i];
      st.classVolume[i] = volume[i];
      st.classTopVolume[i] = volume[i] / 2;
      st.classPulpTons[i] = pulp[i];
      st.classIUPulpTons[i] = iu[i];
      st.classSawTons[i] = saw[i];
      st.classHeight[i] = 40 + d;
      st.BA += st.classBA[i];
      st.TPA += trees[i];
    }
    st.totalVolume = 2200;
  }
  double ba(std::size_t i) const { return engine.state().classBA[i]; }
  const HistoryRecord& record(int i) const {
    return engine.state().final_harvest[static_cast<std::size_t>(i)];
  }

  FixedClock clock{LocalTime{2026, 12, 7, 9, 30, 0, 1}};
  Engine engine{nullptr, &clock};
  ScriptedHooks hooks{engine};
  const StandState& s = engine.state();
  const EngineOutput& out = engine.output();
};

TEST_F(SmallStand, RowThinningTakesTheSameShareOfEveryClass) {
  double before = s.BA;
  hooks.residualBA = before * 0.75;
  ASSERT_TRUE(treatStep(engine, 2));
  double f = 0.25;
  EXPECT_NEAR(s.classTrees[0], 75, 1e-9);
  EXPECT_NEAR(s.classTrees[2], 225, 1e-9);
  EXPECT_NEAR(s.TPA, 600, 1e-9);
  EXPECT_EQ(s.BA, before * 0.75);
  EXPECT_EQ(s.baRatio, 1);  // a row thinning leaves the stand's structure alone
  EXPECT_EQ(s.thinLock, -2);
  EXPECT_EQ(s.unthinned, 0);
  const ThinResult& r = s.thinResult;
  EXPECT_NEAR(r.volumeRemoved, f * 2200, 1e-9);
  EXPECT_NEAR(r.tonsRemoved, f * 220, 1e-9);
  EXPECT_NEAR(r.pulpTonsRemoved, f * 140, 1e-9);
  EXPECT_NEAR(r.sawTonsRemoved, f * 80, 1e-9);
  EXPECT_NEAR(r.treesCut, 200, 1e-9);
  EXPECT_STREQ(record(2).label, "Row Thinning");
  EXPECT_NEAR(record(2).basal_area, -before * 0.25, 1e-9);
  EXPECT_NEAR(record(2).trees, -200, 1e-9);
  EXPECT_STREQ(record(3).label, "Residual after Thinning");
  EXPECT_EQ(s.historyCount, 4);
  EXPECT_EQ(hooks.barGraphFirsts.back(), 0);
  std::string residual = formatText("%3d", static_cast<int>(before * 0.75));
  EXPECT_EQ(lineText(out.thinning[0]),
            "         ROW THINNING-LEAVING " + residual + " SQ. FT. BASAL AREA ");
  EXPECT_EQ(lineText(out.thinning[2]), " Cut        200 trees per acre.");
  EXPECT_EQ(lineText(out.thinning[3]), " Removed  550.0 cuft. of volume during thinning");
  EXPECT_EQ(lineText(out.thinning[4]), " Removed   55.0 tons during thinning (3.0 in. OB)");
  EXPECT_EQ(lineText(out.thinning[5]), " Removed   20.0 board tons and 35.0 pulp tons ");
  EXPECT_EQ(s.volumeMode, 0);
  EXPECT_NEAR(s.totalVolume, 2200 - 550, 1e-9);
}

TEST_F(SmallStand, RowThinningToTheCurrentBasalAreaRemovesNothing) {
  hooks.residualBA = s.BA;
  ASSERT_TRUE(treatStep(engine, 2));
  EXPECT_EQ(s.thinResult.treesCut, 0);
  EXPECT_EQ(record(2).basal_area, 0);
  EXPECT_STREQ(record(3).label, "Residual after Thinning");
  EXPECT_EQ(out.thinReportReady, 1);
}

TEST_F(SmallStand, LowThinningToABasalAreaEmptiesTheSmallestClasses) {
  double before = s.BA;
  double x = ba(0) + 0.5 * ba(1);
  hooks.lowThinMethod = 2;
  hooks.residualBA = before - x;
  ASSERT_TRUE(treatStep(engine, 3));
  EXPECT_EQ(s.classTrees[0], 0);
  EXPECT_EQ(s.classVolume[0], 0);  // an emptied class holds no wood
  EXPECT_NEAR(s.classTrees[1], 100, 1e-9);
  EXPECT_NEAR(s.distCap, 100, 1e-9);
  EXPECT_EQ(s.firstClass, 6);
  EXPECT_EQ(s.truncationDBH, 6);
  EXPECT_NEAR(s.TPA, 600, 1e-9);
  EXPECT_NEAR(s.thinResult.volumeRemoved, 100 + 200, 1e-9);
  EXPECT_NEAR(s.thinResult.tonsRemoved, 10 + 20, 1e-9);
  EXPECT_DOUBLE_EQ(s.baRatio, (before - x) / before);
  EXPECT_EQ(s.thinLock, -1);
  EXPECT_STREQ(record(2).label, "Low Thinning");
  EXPECT_EQ(hooks.barGraphFirsts.back(), 1);
  EXPECT_EQ(out.stock[0][0], 6);  // the stock table starts at the first class left
}

TEST_F(SmallStand, LowThinningToADiameterStopsAtTheBasalAreaFloor) {
  hooks.lowThinMethod = 1;
  hooks.thinToDBH = 7.4;  // classes below 7 inches go
  ASSERT_TRUE(treatStep(engine, 3));
  EXPECT_EQ(s.classTrees[0], 0);
  EXPECT_EQ(s.classTrees[1], 0);
  EXPECT_EQ(s.classTrees[2], 300);
  EXPECT_EQ(s.truncationDBH, 7);
  EXPECT_EQ(s.thinAge, 20);
  EXPECT_NEAR(s.thinResult.baRemoved, k * 25 * 100 + k * 36 * 200, 1e-9);
  EXPECT_TRUE(hooks.messages.empty());

  SetUp();
  hooks.thinToDBH = 10;  // would take the 8-inch class too, leaving nothing
  ASSERT_TRUE(treatStep(engine, 3));
  EXPECT_EQ(s.classTrees[3], 200);
  EXPECT_EQ(s.truncationDBH, 8);
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].caption, " BASAL AREA THINNING ERROR ");
  EXPECT_EQ(hooks.messages[0].line1,
            "Thinning to that diameter would leave less than 20 sq.ft of basal area.");
  EXPECT_EQ(hooks.messages[0].line2, "Classes of 8 inches and larger are left standing.");
}

TEST_F(SmallStand, LowThinningToADiameterAtTheFirstClassRemovesNothing) {
  hooks.lowThinMethod = 1;
  hooks.thinToDBH = 5;
  ASSERT_TRUE(treatStep(engine, 3));
  EXPECT_EQ(record(2).basal_area, 0);
  EXPECT_EQ(record(2).trees, 0);
  EXPECT_STREQ(record(2).label, "Low Thinning");
}

TEST_F(SmallStand, ThinomaticFallsWithDiameter) {
  double dq2 = s.BA / s.TPA / k;
  double p[4];
  for (int i = 0; i < 4; ++i) {
    double d = 5 + i;
    p[i] = std::exp(-0.73148 * std::pow(d * d / dq2, 1.45759));
  }
  double before = s.BA;
  double x = p[0] * ba(0) + p[1] * ba(1) + 0.5 * p[2] * ba(2);
  hooks.residualBA = before - x;
  ASSERT_TRUE(treatStep(engine, 1));
  EXPECT_NEAR(s.thinResult.treesCut, p[0] * 100 + p[1] * 200 + 0.5 * p[2] * 300, 1e-6);
  EXPECT_NEAR(s.classTrees[3], 200, 1e-9);
  EXPECT_EQ(s.truncationDBH, 0);  // the first walk sufficed
  EXPECT_DOUBLE_EQ(s.baRatio, (before - x) / before);
  EXPECT_STREQ(record(2).label, "Thinomatic Thinning");
  EXPECT_EQ(lineText(out.thinning[0]).substr(0, 29), "         THINOMATIC THINNING-");
}

TEST_F(SmallStand, ThinomaticTakesWholeClassesWhenTheSharesFallShort) {
  double dq2 = s.BA / s.TPA / k;
  double p[4], shares = 0;
  for (int i = 0; i < 4; ++i) {
    double d = 5 + i;
    p[i] = std::exp(-0.73148 * std::pow(d * d / dq2, 1.45759));
    shares += p[i] * ba(static_cast<std::size_t>(i));
  }
  double x = shares + (1 - p[0]) * ba(0) + 0.5 * (1 - p[1]) * ba(1);
  hooks.residualBA = s.BA - x;
  ASSERT_TRUE(treatStep(engine, 1));
  EXPECT_EQ(s.classTrees[0], 0);
  EXPECT_NEAR(s.classTrees[1], 0.5 * (1 - p[1]) * 200, 1e-6);
  EXPECT_EQ(s.truncationDBH, 6);
  EXPECT_EQ(hooks.barGraphFirsts.back(), 1);
}

TEST_F(SmallStand, RowAndLowTakesARowShareThenFromBelow) {
  double before = s.BA;
  double lowPart = ba(0) + 0.5 * ba(1);
  double x = 2 * lowPart / (1 + lowPart / before);  // half of it by rows, half from below
  double residual = before - x;
  hooks.rowLow = std::make_pair(residual, 50.0);
  ASSERT_TRUE(treatStep(engine, 4));
  double f = (x / before) * 0.5;
  EXPECT_EQ(s.classTrees[0], 0);
  EXPECT_NEAR(s.classTrees[1], 0.5 * (1 - f) * 200, 1e-6);
  EXPECT_NEAR(s.classTrees[2], (1 - f) * 300, 1e-9);
  EXPECT_EQ(s.classTopVolume[2], 450);  // the row share leaves top volume alone
  EXPECT_EQ(s.truncationDBH, 6);
  EXPECT_DOUBLE_EQ(s.baRatio, residual / (50 * x / 100 + residual));
  EXPECT_STREQ(record(2).label, "Row/Low Thinning");
  EXPECT_EQ(s.BA, residual);
}

TEST_F(SmallStand, RowAndLowAtOneHundredPercentIsARowThinning) {
  hooks.rowLow = std::make_pair(s.BA * 0.8, 100.0);
  ASSERT_TRUE(treatStep(engine, 4));
  EXPECT_NEAR(s.classTrees[0], 80, 1e-9);
  EXPECT_NEAR(s.classTrees[3], 160, 1e-9);
  EXPECT_EQ(s.truncationDBH, 0);
}

TEST_F(SmallStand, RemovalsTheClassesCannotSupplyAreRefused) {
  for (int action : {1, 4}) {
    SetUp();
    hooks.messages.clear();
    hooks.residualBA = 0;
    hooks.rowLow = std::make_pair(0.0, 10.0);
    EXPECT_FALSE(treatStep(engine, action));
    ASSERT_EQ(hooks.messages.size(), 1u) << action;
    EXPECT_EQ(hooks.messages[0].caption, " BASAL AREA THINNING ERROR ");
    EXPECT_EQ(hooks.messages[0].line1,
              "The diameter classes hold too little basal area for this thinning.");
    EXPECT_EQ(hooks.messages[0].line2, "Choose a larger residual basal area.");
    EXPECT_EQ(s.classTrees[0], 100);
    EXPECT_EQ(s.historyCount, 2);
  }
}

TEST_F(SmallStand, CancelledThinningsChangeNothing) {
  hooks.residualBA.reset();
  EXPECT_FALSE(treatStep(engine, 2));
  hooks.lowThinMethod = 1;
  hooks.thinToDBH = kCancelledDiameter;
  EXPECT_FALSE(treatStep(engine, 3));
  EXPECT_FALSE(treatStep(engine, 4));
  EXPECT_EQ(s.classTrees[0], 100);
  EXPECT_EQ(s.historyCount, 2);
  // A low-thinning method choice of neither produces nothing.
  hooks.lowThinMethod = 0;
  EXPECT_FALSE(treatStep(engine, 3));
  EXPECT_EQ(s.outputReady, 0);
}

class RealStand : public ::testing::Test {
 protected:
  void SetUp() override { initUnthinned(engine, hooks, 20, 500, 60); }
  FixedClock clock{LocalTime{2026, 12, 7, 9, 30, 0, 1}};
  Engine engine{nullptr, &clock};
  ScriptedHooks hooks{engine};
  const StandState& s = engine.state();
  const EngineOutput& out = engine.output();
};

TEST_F(RealStand, SecondThinningsAtTheSameAge) {
  hooks.residualBA = 100;
  ASSERT_TRUE(treatStep(engine, 2));
  hooks.lowThinMethod = 2;
  hooks.residualBA = 80;
  EXPECT_TRUE(treatStep(engine, 3));  // low after row is allowed
  hooks.messages.clear();
  hooks.residualBA = 60;
  for (int action : {1, 2, 3, 4}) {
    EXPECT_FALSE(treatStep(engine, action)) << action;
  }
  EXPECT_TRUE(hooks.messages.empty());  // refused silently

  initUnthinned(engine, hooks, 20, 500, 60);
  hooks.residualBA = 100;
  ASSERT_TRUE(treatStep(engine, 2));
  hooks.rowLow = std::make_pair(90.0, 50.0);
  EXPECT_FALSE(treatStep(engine, 4));
  EXPECT_FALSE(treatStep(engine, 1));
  // A grow lifts the lock.
  ASSERT_TRUE(grow(engine, hooks, 35));
  hooks.residualBA = 100;
  EXPECT_TRUE(treatStep(engine, 1));
}

TEST_F(RealStand, StepResultsTellACancelFromARefusal) {
  hooks.residualBA = 100;
  EXPECT_EQ(engine.treatStep(kRowThin), StepResult::Stored);
  EXPECT_EQ(engine.treatStep(kThinomatic), StepResult::Refused);  // second thinning, silent
  hooks.lowThinMethod = 0;
  EXPECT_EQ(engine.treatStep(kLowThin), StepResult::Refused);  // neither method: no output
  EXPECT_TRUE(hooks.messages.empty());
  hooks.growAge.reset();
  EXPECT_EQ(engine.growStep(), StepResult::Aborted);
  hooks.growAge = 50;  // the projection's own refusal comes after an accepted age
  engine.state().AG = 40;
  engine.state().unthinned = 1;
  EXPECT_EQ(engine.growStep(), StepResult::Refused);
  EXPECT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(engine.treatStep(kHarvest), StepResult::Stored);
  EXPECT_EQ(engine.treatStep(kHarvest), StepResult::Refused);  // the stand is gone
  EXPECT_EQ(engine.initializeStep(7, MerchInputs{}), StepResult::Refused);
  initUnthinned(engine, hooks, 20, 500, 60);
  hooks.residualBA.reset();
  EXPECT_EQ(engine.treatStep(kRowThin), StepResult::Aborted);
}

// Hooks that try to start other steps while a prompt is open, as a nested event loop could.
class MeddlingHooks final : public ScriptedHooks {
 public:
  explicit MeddlingHooks(Engine& engine) : ScriptedHooks(engine), engine_(engine) {}
  std::optional<int> askGrowAge() override {
    nested.push_back(engine_.treatStep(kHarvest));
    nested.push_back(engine_.growStep());
    nested.push_back(engine_.initializeStep(kNewPlantation, MerchInputs{}));
    return ScriptedHooks::askGrowAge();
  }
  std::vector<StepResult> nested;

 private:
  Engine& engine_;
};

TEST_F(RealStand, AStepStartedWhileAnotherAsksIsRefusedUntouched) {
  Engine plain(nullptr, &clock);
  ScriptedHooks plainHooks(plain);
  initUnthinned(plain, plainHooks, 20, 500, 60);
  ASSERT_TRUE(grow(plain, plainHooks, 25));

  Engine shared(nullptr, &clock);
  MeddlingHooks meddling(shared);
  initUnthinned(shared, meddling, 20, 500, 60);
  ASSERT_TRUE(grow(shared, meddling, 25));
  EXPECT_EQ(meddling.nested, std::vector<StepResult>(3, StepResult::Busy));
  EXPECT_FALSE(shared.stepRunning());
  // The asking step ends as if nobody had meddled.
  EXPECT_EQ(shared.state().BA, plain.state().BA);
  EXPECT_EQ(shared.state().historyCount, plain.state().historyCount);
  EXPECT_EQ(lineText(shared.output().summary[3]), lineText(plain.output().summary[3]));
  EXPECT_EQ(shared.output().stockLast, plain.output().stockLast);
}

TEST_F(RealStand, AHooksScopePutsBackWhatWasInstalled) {
  SilentHooks outer;
  SilentHooks inner;
  {
    HooksScope first(engine, &outer);
    {
      HooksScope second(engine, &inner);
      EXPECT_EQ(engine.installedHooks(), &inner);
    }
    EXPECT_EQ(engine.installedHooks(), &outer);
  }
  EXPECT_EQ(engine.installedHooks(), &hooks);
}

TEST_F(RealStand, BasalAreaFloorOfTwentySquareFeet) {
  engine.state().BA = 20;
  hooks.residualBA = 20;
  EXPECT_FALSE(treatStep(engine, 2));
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].caption, " BASAL AREA THINNING ERROR ");
  EXPECT_EQ(hooks.messages[0].line1,
            "The stand cannot be thinned: its basal area is 20.0 sq.ft, not above 20.");
  EXPECT_EQ(hooks.messages[0].line2, "Grow the stand to an older age first.");
  engine.state().BA = 20.01;
  EXPECT_TRUE(treatStep(engine, 2));
}

TEST_F(RealStand, TreatmentsOfAStandNeverInitialized) {
  Engine empty(nullptr, &clock);
  ScriptedHooks emptyHooks(empty);
  for (int action : {2, 5}) {
    EXPECT_FALSE(treatStep(empty, action));
  }
  ASSERT_EQ(emptyHooks.messages.size(), 2u);
  EXPECT_EQ(emptyHooks.messages[1].caption, " THINNING ERROR ");
  EXPECT_EQ(emptyHooks.messages[1].line1, "The stand must have been initialized before you can ");
  EXPECT_EQ(emptyHooks.messages[1].line2, "thin it.");
}

TEST_F(RealStand, HarvestRightAfterInitialization) {
  double ba = s.BA, tpa = s.TPA;
  ASSERT_TRUE(treatStep(engine, 5));
  EXPECT_EQ(out.historyLast, 2);
  const HistoryRecord& h = s.final_harvest[2];
  EXPECT_STREQ(h.label, "Harvest");
  EXPECT_EQ(h.basal_area, -ba);
  EXPECT_EQ(h.trees, -tpa);
  EXPECT_EQ(lineText(out.historyText[0]), "         STAND HISTORY(Acre)  Mon Dec 07 09:30:00 AM");
  EXPECT_EQ(lineText(out.historyText[2]),
            " Age                Action    Trees  Basal Total OB  Total Pulp   Pulp  SawTimber");
  std::string removed =
      formatText("  Removed                           % 6.1f %8.1f %8.1f  %8.1f %8.1f", ba,
                 -h.volume, -h.cords, -h.topcords, -h.bdft);
  EXPECT_EQ(lineText(out.historyText[6]), removed);
  EXPECT_EQ(lineText(out.historyText[8]), "    Stand had a Site Index of 60");
  // The stand is closed.
  EXPECT_EQ(s.initialized, 0);
  EXPECT_EQ(s.AG, 0);
  EXPECT_EQ(s.TPA, 0);
  EXPECT_EQ(s.status, 1);
  // Harvest-only rotation of an existing stand: one row and the two plain values.
  EXPECT_EQ(out.financialLast, 7);
  EXPECT_EQ(lineText(out.financial[4]).substr(0, 36), "   20   Harvest                     ");
  EXPECT_EQ(lineText(out.financial[6]).substr(0, 45),
            "     Net Present Value (Pulpwood Management):");
}

TEST_F(RealStand, HarvestAfterALowThinningCountsTheRemovedWoodOnce) {
  ASSERT_TRUE(grow(engine, hooks, 35));
  double volumeBefore = 0;
  for (double v : s.classVolume) volumeBefore += v;
  hooks.lowThinMethod = 2;
  hooks.residualBA = s.BA - 30;
  ASSERT_TRUE(treatStep(engine, 3));
  double removedVolume = s.thinResult.volumeRemoved;
  ASSERT_TRUE(treatStep(engine, 5));
  const HistoryRecord& harvest = s.final_harvest[static_cast<std::size_t>(out.historyLast)];
  EXPECT_NEAR(-harvest.volume + removedVolume, volumeBefore, 1e-6);
}

TEST_F(RealStand, RemovedLineSkipsThinningsThatRemovedNothing) {
  ASSERT_TRUE(grow(engine, hooks, 30));
  hooks.residualBA = s.BA;
  ASSERT_TRUE(treatStep(engine, 2));
  double ba = s.BA;
  ASSERT_TRUE(treatStep(engine, 5));
  std::string expected = formatText("  Removed                           % 6.1f", ba);
  EXPECT_EQ(lineText(out.historyText[6]).substr(0, expected.size()), expected);
}

// The financial rows as the analysis prints them, recomputed from the history.
std::string financialRow(const HistoryRecord& r, float pulpPrice, float sawPrice) {
  float rate = 5.0f / 100;
  auto pv = [&](float amount) {
    return static_cast<float>(static_cast<double>(amount) /
                              std::pow(static_cast<double>(1 + rate), static_cast<int>(r.age)));
  };
  float pulp = static_cast<float>(static_cast<double>(pulpPrice) * r.cords * (-1));
  float integrated = static_cast<float>(static_cast<double>(sawPrice) * r.bdft * (-1) +
                                        static_cast<double>(pulpPrice) * r.topcords * (-1));
  return formatText("   %2.0f   %-24s   % 8.2f     % 9.2f % 8.2f   % 9.2f", r.age, r.label,
                    static_cast<double>(pulp), static_cast<double>(integrated),
                    static_cast<double>(pv(pulp)), static_cast<double>(pv(integrated)));
}

TEST(FinancialAnalysis, PricesByThinningAndEstablishmentCost) {
  FixedClock clock{LocalTime{2026, 12, 7, 9, 30, 0, 1}};
  Engine engine{nullptr, &clock};
  ScriptedHooks hooks{engine};
  initPlantation(engine, hooks, 70, 700, 90);
  ASSERT_TRUE(grow(engine, hooks, 16));
  hooks.residualBA = engine.state().BA * 0.7;
  ASSERT_TRUE(treatStep(engine, 2));
  ASSERT_TRUE(grow(engine, hooks, 26));
  hooks.residualBA = engine.state().BA * 0.75;
  ASSERT_TRUE(treatStep(engine, 2));
  ASSERT_TRUE(grow(engine, hooks, 32));
  ASSERT_TRUE(treatStep(engine, 5));
  const StandState& s = engine.state();
  const EngineOutput& out = engine.output();
  // Rows: first thinning, second thinning, harvest.
  EXPECT_EQ(lineText(out.financial[4]), financialRow(s.final_harvest[3], 10, 15));
  EXPECT_EQ(lineText(out.financial[5]), financialRow(s.final_harvest[6], 10, 20));
  EXPECT_EQ(lineText(out.financial[7 - 1]),
            financialRow(s.final_harvest[static_cast<std::size_t>(s.historyCount)], 10, 25));
  EXPECT_EQ(lineText(out.financial[7]), " ");
  std::string pulpLine = lineText(out.financial[8]);
  EXPECT_EQ(pulpLine.substr(0, 68),
            " Net Present Value (Pulpwood Management) minus Establishment Cost: $");
  EXPECT_EQ(lineText(out.financial[9]).substr(0, 78),
            " Net Present Value (Sawtimber+Pulpwood Management) minus Establishment Cost: $");
  EXPECT_EQ(out.financialLast, 9);
  EXPECT_EQ(lineText(out.financial[0]),
            "         FINANCIAL ANALYSIS(Acre)  Mon Dec 07 09:30:00 AM");
}

TEST(FinancialAnalysis, FertilizationEntersBothSumsAsACost) {
  FixedClock clock{LocalTime{2026, 12, 7, 9, 30, 0, 1}};
  Engine engine{nullptr, &clock};
  ScriptedHooks hooks{engine};
  initUnthinned(engine, hooks, 12, 500, 60);
  StandState& st = engine.state();
  st.fFert_Nitrogen = 150;
  st.iFertAge = 12;
  st.fertAges[0] = 12;
  st.fertAgesLast = 0;
  st.fertRecordPending = 1;
  ASSERT_TRUE(grow(engine, hooks, 25));
  ASSERT_TRUE(treatStep(engine, 5));
  const EngineOutput& out = engine.output();
  float rate = 0.05f;
  float cost = static_cast<float>(120.0 / std::pow(static_cast<double>(1 + rate), 12));
  // The fertilization row: no returns, the cost in both present-value columns.
  EXPECT_EQ(
      lineText(out.financial[4]),
      formatText("   %2.0f   %-24s   % 8.2f     % 9.2f % 8.2f   % 9.2f", 12.0, "Fertilization", 0.0,
                 0.0, static_cast<double>(-cost), static_cast<double>(-cost)));
  // The harvest row follows, and the sums include the cost.
  const HistoryRecord& h = engine.state().final_harvest[static_cast<std::size_t>(st.historyCount)];
  EXPECT_EQ(lineText(out.financial[5]), financialRow(h, 10, 25));
  float pulp = static_cast<float>(10.0 * h.cords * (-1));
  float pvPulp =
      static_cast<float>(static_cast<double>(pulp) / std::pow(static_cast<double>(1 + rate), 25));
  float sum = -cost + pvPulp;
  EXPECT_EQ(lineText(out.financial[7]),
            formatText("     Net Present Value (Pulpwood Management):            $%8.2f",
                       static_cast<double>(sum)));
}

TEST(FinancialAnalysis, ARemovalWithoutValueIsNotACommercialThin) {
  FixedClock clock{LocalTime{2026, 12, 7, 9, 30, 0, 1}};
  Engine engine{nullptr, &clock};
  ScriptedHooks hooks{engine};
  initUnthinned(engine, hooks, 20, 500, 60);
  StandState& st = engine.state();
  // A harvest of a stand whose classes carry no wood at all.
  for (auto* a : {&st.classPulpTons, &st.classSawTons, &st.classIUPulpTons, &st.classVolume}) {
    a->fill(0);
  }
  ASSERT_TRUE(treatStep(engine, 5));
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].caption, "Financial Information");
  EXPECT_EQ(hooks.messages[0].line1, "Commercial thin is not achieved at the age of 20 years");
  EXPECT_EQ(hooks.messages[0].line2, "");
  EXPECT_EQ(lineText(engine.output().financial[4]).substr(35, 8), "    0.00");
}

}  // namespace
}  // namespace keldovar::testing

// Initialization, growth, the summary, the distribution and the stock table of whole steps.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/models.h"
#include "engine/report_text.h"
#include "tests/engine/engine_test_support.h"

namespace keldovar::testing {
namespace {

// Monday 7 December 2026, 1:05:00 in the afternoon.
const LocalTime kAfternoon{2026, 12, 7, 13, 5, 0, 1};

class StandTest : public ::testing::Test {
 protected:
  FixedClock clock{kAfternoon};
  Engine engine{nullptr, &clock};
  ScriptedHooks hooks{engine};
  const StandState& s = engine.state();
  const EngineOutput& out = engine.output();
};

TEST_F(StandTest, UnthinnedStandOfAge20PredictsHeightBasalAreaAndSummary) {
  initUnthinned(engine, hooks, 20, 500, 60);
  EXPECT_NEAR(s.HD, 51.03, 0.005);
  EXPECT_EQ(std::lround(s.BA), 133);
  EXPECT_EQ(s.baRatio, 1);
  EXPECT_EQ(s.thinAge, 20);
  EXPECT_EQ(lineText(out.summary[0]), "         STAND SUMMARY ");
  EXPECT_EQ(lineText(out.summary[1]), " Age                            20 years");
  EXPECT_EQ(lineText(out.summary[2]), " Site Index(Base Age 25 years)  60 feet");
  EXPECT_EQ(lineText(out.summary[3]), " Basal Area                     133 sq.ft");
  EXPECT_EQ(lineText(out.summary[4]), " Trees Per Acre                 500 ");
  EXPECT_EQ(lineText(out.summary[5]), " Dom./Codom. Height             51 feet");
  EXPECT_EQ(lineText(out.summary[6]), " Quadratic Mean D.B.H.          7.0 inches");
  EXPECT_EQ(lineText(out.summary[7]), " TOTAL OB YIELD                 3164.7 cubic feet");
  EXPECT_EQ(lineText(out.beforeStock[0]),
            "         STAND/STOCK TABLE(Acre) at Age 20   Mon Dec 07 01:05:00 PM");
  EXPECT_EQ(lineText(out.afterStock[0]),
            "    Volume Conversions: cords = tons/2.575 ; MBF (Int1/4) ~ tons/6");
  // History: the planting record and the completed initialization record.
  EXPECT_EQ(s.historyCount, 2);
  EXPECT_STREQ(s.final_harvest[0].label, "Planted");
  EXPECT_STREQ(s.final_harvest[1].label, "Initialized Unthinned");
  EXPECT_EQ(s.final_harvest[1].age, 20);
  EXPECT_EQ(s.final_harvest[1].basal_area, s.BA);
  EXPECT_EQ(s.final_harvest[1].volume, s.totalVolume);
}

TEST_F(StandTest, GrowingTheUnthinnedStandTo25) {
  initUnthinned(engine, hooks, 20, 500, 60);
  ASSERT_TRUE(grow(engine, hooks, 25));
  EXPECT_EQ(std::lround(s.TPA), 450);
  EXPECT_EQ(std::lround(s.BA), 150);
  // Unfertilized: one projection step, and the site index survives it up to rounding.
  EXPECT_NEAR(s.SI, 60, 1e-9);
  EXPECT_NEAR(s.HD, 60, 1e-9);
  EXPECT_EQ(s.historyCount, 3);
  EXPECT_STREQ(s.final_harvest[2].label, "Projected");
  EXPECT_EQ(s.final_harvest[2].age, 25);
}

TEST_F(StandTest, YoungUnthinnedStandStartsAtAge8WithPredictedBasalArea) {
  initUnthinned(engine, hooks, 5, 600, 60, 50);
  EXPECT_EQ(s.AG, 8);
  EXPECT_EQ(s.thinAge, 8);
  EXPECT_LT(s.TPA, 600);
  EXPECT_NEAR(s.TPA, survival(600, 5, 8, 1, 60), 1e-9);
  EXPECT_NEAR(s.BA, baByTrees(8, s.HD, 8, s.TPA, 0, 60), 1e-9);
  EXPECT_NEAR(s.HD, heightFromSite(60, 8, SiteVariant::Rounded), 1e-12);
}

TEST_F(StandTest, UnthinnedStandFromAHeightDerivesItsSiteIndex) {
  initUnthinned(engine, hooks, 20, 500, 0, 0, 51.034164f);
  EXPECT_NEAR(s.SI, 60, 1e-4);
  EXPECT_EQ(lineText(out.summary[2]), " Site Index(Base Age 25 years)  60 feet");
}

TEST_F(StandTest, NewPlantationUnderEachVegetationControl) {
  const double expected[] = {48.98, 52.72, 60.57};
  for (int control = 0; control < 3; ++control) {
    initPlantation(engine, hooks, 60, 500, 90, control);
    EXPECT_EQ(std::lround(s.TPA), 448);
    EXPECT_NEAR(s.HD, 23.19, 0.005);
    EXPECT_NEAR(s.BA, expected[control], 0.005);
    EXPECT_EQ(s.AG, 8);
    EXPECT_EQ(s.existingStand, 0);
  }
  EXPECT_EQ(lineText(out.summary[4]), " Trees Per Acre                 448  ( 500 Trees Planted)");
  EXPECT_EQ(s.final_harvest[0].trees, 500);
  EXPECT_STREQ(s.final_harvest[1].label, "Initialized Plantation");
}

TEST_F(StandTest, ThinnedStandFromPercentOfTreesRemoved) {
  hooks.thinned = ScriptedHooks::Thinned{20, 0, 400, 15, 0, 60};
  hooks.percentRemoved = std::make_pair(30, 0);
  ASSERT_TRUE(initializeStep(engine, 2));
  EXPECT_DOUBLE_EQ(s.treesRatio, 0.7);
  EXPECT_GT(s.pctBARemoved, 0);
  EXPECT_LT(s.pctBARemoved, 1);
  EXPECT_DOUBLE_EQ(s.baRatio, 1 / (s.pctBARemoved + 1));
  EXPECT_NEAR(s.BA, baByTrees(20, s.HD, 15, 400, 30, 60), 1e-9);
  EXPECT_EQ(lineText(out.summary[0]), "         STAND SUMMARY THINNED ");
  EXPECT_EQ(lineText(out.summary[1]),
            " Age                            20 years(THINNED AT AGE 15) ");
  // Record 0 is written for a thinned stand too, and its history counts from record 1.
  EXPECT_STREQ(s.final_harvest[0].label, "Planted");
  EXPECT_STREQ(s.final_harvest[1].label, "Initialized Thinned");
  EXPECT_EQ(s.existingStand, 1);
}

TEST_F(StandTest, ThinnedStandKeepsAGivenBasalArea) {
  hooks.thinned = ScriptedHooks::Thinned{20, 95, 400, 15, 0, 60};
  hooks.percentRemoved = std::make_pair(0, 25);
  ASSERT_TRUE(initializeStep(engine, 2));
  EXPECT_EQ(s.BA, 95);
  EXPECT_DOUBLE_EQ(s.baRatio, 0.75);
  // The conversion still uses the predicted basal area.
  double predicted = baByBasalArea(20, s.HD, 15, 400, 25, 60);
  EXPECT_DOUBLE_EQ(s.pctTreesRemoved, fractionByTrees(predicted, 20, 400, s.HD, 15, 60));
}

TEST_F(StandTest, InitializationsThatCannotProceed) {
  // Neither a site index nor a height: refused before any relation divides by zero.
  hooks.unthinned = UnthinnedInput{500, 20, 0, 0, 0};
  EXPECT_FALSE(initializeStep(engine, 1));
  EXPECT_EQ(s.status, -1);
  hooks.thinned = ScriptedHooks::Thinned{20, 0, 400, 15, 0, 0};
  hooks.percentRemoved = std::make_pair(30, 0);
  EXPECT_FALSE(initializeStep(engine, 2));
  // No removal given: the thinned stand is abandoned without output.
  hooks.thinned = ScriptedHooks::Thinned{20, 0, 400, 15, 0, 60};
  hooks.percentRemoved = std::make_pair(0, 0);
  EXPECT_FALSE(initializeStep(engine, 2));
  EXPECT_EQ(s.outputReady, 0);
  // Unknown kinds produce nothing.
  EXPECT_FALSE(initializeStep(engine, 4));
  EXPECT_EQ(s.outputReady, 0);
  // Cancel.
  hooks.plantation.reset();
  EXPECT_FALSE(initializeStep(engine, 3));
  EXPECT_EQ(s.status, -1);
}

TEST_F(StandTest, ResetKeepsAnEarlierThinnedStandOutOfANewStandsVolume) {
  Engine fresh(nullptr, &clock);
  ScriptedHooks freshHooks(fresh);
  initUnthinned(fresh, freshHooks, 20, 500, 60);

  hooks.thinned = ScriptedHooks::Thinned{20, 0, 400, 15, 0, 60};
  hooks.percentRemoved = std::make_pair(0, 30);
  ASSERT_TRUE(initializeStep(engine, 2));
  initUnthinned(engine, hooks, 20, 500, 60);
  EXPECT_EQ(s.totalVolume, fresh.state().totalVolume);
  EXPECT_EQ(s.pctBARemoved, 0);
}

TEST_F(StandTest, GrowthRefusalsAndTheirMessages) {
  EXPECT_FALSE(grow(engine, hooks, 25));
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].caption, " PROJECTION ERROR ");
  EXPECT_EQ(hooks.messages[0].line2, "grow it.");

  initUnthinned(engine, hooks, 20, 500, 60);
  ASSERT_TRUE(grow(engine, hooks, 40));
  hooks.messages.clear();
  EXPECT_FALSE(grow(engine, hooks, 41));
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].caption, " GROW AGE MESSAGE ");
  EXPECT_EQ(hooks.messages[0].line1, "The stand can not be grown any more using this model.");
  EXPECT_EQ(hooks.messages[0].line2, "The stand is 40 years old.");

  // A thinned stand of 40 may still grow to 45, and no further.
  engine.state().unthinned = 0;
  ASSERT_TRUE(grow(engine, hooks, 45));
  EXPECT_FALSE(grow(engine, hooks, 46));
  EXPECT_EQ(hooks.messages.back().line2, "The stand is 45 years old.");

  // Cancel.
  initUnthinned(engine, hooks, 20, 500, 60);
  hooks.growAge.reset();
  EXPECT_EQ(engine.growStand(), 0);
  EXPECT_EQ(s.status, -1);
}

TEST_F(StandTest, FertilizedProjectionRunsInAnnualSteps) {
  initUnthinned(engine, hooks, 12, 500, 60);
  StandState& st = engine.state();
  st.fFert_Nitrogen = 100;
  st.bFert_Phosphorus = 1;
  st.iFertAge = 12;
  st.fertAges[0] = 12;
  st.fertAgesLast = 0;
  st.fertRecordPending = 1;
  int before = s.historyCount;
  ASSERT_TRUE(grow(engine, hooks, 20));
  // One "Fertilization" record, then one "Projected" record completed by the stock table.
  EXPECT_EQ(s.historyCount, before + 2);
  EXPECT_STREQ(s.final_harvest[before].label, "Fertilization");
  EXPECT_EQ(s.final_harvest[before].age, 12);
  EXPECT_EQ(s.final_harvest[before].basal_area, 0);
  EXPECT_STREQ(s.final_harvest[before + 1].label, "Projected");
  EXPECT_EQ(s.fertRecordPending, 0);
  // The height response shows up as a higher exhibited site index.
  EXPECT_GT(s.SI, 60.1);
  EXPECT_EQ(lineText(out.summary[1]),
            " Age                            20 years(FERTILIZED AT AGE 12) ");

  // The same stand without fertilizer, stepped year by year by hand, equals the annual loop's
  // basal area only with the response: fertilized stands end with more basal area.
  Engine plain(nullptr, &clock);
  ScriptedHooks plainHooks(plain);
  initUnthinned(plain, plainHooks, 12, 500, 60);
  ASSERT_TRUE(grow(plain, plainHooks, 20));
  EXPECT_GT(s.BA, plain.state().BA);
  EXPECT_NEAR(s.TPA, plain.state().TPA, 0.01);
}

TEST_F(StandTest, SummaryListsEveryFertilizationAndTheThinning) {
  initUnthinned(engine, hooks, 20, 500, 60);
  StandState& st = engine.state();
  st.unthinned = 0;
  st.thinAge = 15;
  st.fFert_Nitrogen = 150;
  st.fertAges[0] = 12;
  st.fertAges[1] = 15;
  st.fertAgesLast = 1;
  engine.writeSummary();
  EXPECT_EQ(
      lineText(out.summary[1]),
      " Age                            20 years(THINNED AT AGE 15) (FERTILIZED AT AGE 12,15) ");
  st.TPA = 0;
  engine.writeSummary();
  EXPECT_EQ(lineText(out.summary[6]), " Quadratic Mean D.B.H.          0.0 inches");
}

TEST(TimeStamp, TwelveHourClock) {
  auto at = [](int hour, int minute) {
    TimeStamp t = makeTimeStamp(LocalTime{2026, 12, 7, hour, minute, 0, 1});
    return std::string(t.text.data()) + " " + t.suffix;
  };
  EXPECT_EQ(at(12, 30), "Mon Dec 07 12:30:00 PM");
  EXPECT_EQ(at(0, 15), "Mon Dec 07 12:15:00 AM");
  EXPECT_EQ(at(13, 5), "Mon Dec 07 01:05:00 PM");
  EXPECT_EQ(at(11, 59), "Mon Dec 07 11:59:00 AM");
  EXPECT_EQ(weekdayOf(2026, 12, 7), 1);
  EXPECT_EQ(weekdayOf(2000, 2, 29), 2);
}

// A clock the test moves; the engine formats its stamp once per reading, never a stale one.
class SettableClock final : public Clock {
 public:
  LocalTime time = kAfternoon;
  LocalTime now() const override { return time; }
};

TEST_F(StandTest, EachTableShowsTheClockAsReadForIt) {
  SettableClock moving;
  engine.setClock(&moving);
  initUnthinned(engine, hooks, 20, 500, 60);
  auto stamp = [&] {
    std::string title = lineText(out.beforeStock[0]);
    return title.substr(title.size() - 22);
  };
  EXPECT_EQ(stamp(), "Mon Dec 07 01:05:00 PM");
  moving.time.second = 1;
  ASSERT_TRUE(grow(engine, hooks, 21));
  EXPECT_EQ(stamp(), "Mon Dec 07 01:05:01 PM");
  moving.time = LocalTime{2027, 1, 1, 0, 0, 0, 5};
  ASSERT_TRUE(grow(engine, hooks, 22));
  EXPECT_EQ(stamp(), "Fri Jan 01 12:00:00 AM");
  engine.setClock(&clock);  // back to a reading formatted before
  ASSERT_TRUE(grow(engine, hooks, 23));
  EXPECT_EQ(stamp(), "Mon Dec 07 01:05:00 PM");
}

TEST_F(StandTest, HistoryKeepsTheLastRecordForTheHarvest) {
  initUnthinned(engine, hooks, 8, 500, 60);
  // Records 0-1 exist; each grow adds one. Growth is refused once a grow would use record 29.
  int age = 8;
  while (s.historyCount < 29) ASSERT_TRUE(grow(engine, hooks, ++age)) << age;
  EXPECT_FALSE(grow(engine, hooks, ++age));
  ASSERT_FALSE(hooks.messages.empty());
  EXPECT_EQ(hooks.messages.back().caption, " STAND HISTORY FULL ");
  EXPECT_EQ(hooks.messages.back().line1, "The stand history has no room for this step.");
  EXPECT_EQ(hooks.messages.back().line2, "Harvest the stand, or initialize a new one.");
  // Thinnings need two records and are refused earlier; the harvest still fits.
  hooks.residualBA = 60;
  EXPECT_FALSE(treatStep(engine, 2));
  EXPECT_TRUE(treatStep(engine, 5));
  EXPECT_STREQ(s.final_harvest[29].label, "Harvest");
  EXPECT_EQ(out.historyLast, 29);
}

// A stand whose largest (or smallest) diameter is a given value, found by bisection on BA.
double basalAreaFor(double target, int mode) {
  double lo = 0.1, hi = 400;
  for (int i = 0; i < 200; ++i) {
    double mid = (lo + hi) / 2;
    if (diameterAt(1, mid, 20, 20, 400, mode) < target) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return (lo + hi) / 2;
}

TEST_F(StandTest, ClassLimitsAndTheFill) {
  StandState& st = engine.state();
  st.AG = st.thinAge = 20;
  st.TPA = 400;
  st.baRatio = 1;
  st.HD = 50;
  st.BA = basalAreaFor(17.6, 1);
  engine.computeClassLimits();
  EXPECT_EQ(st.maxClass, 17);  // truncated
  st.truncationDBH = 0;
  engine.fillDistribution();
  EXPECT_EQ(st.distScale, 1);
  EXPECT_EQ(st.firstClass, st.minClass);
  int top = static_cast<int>(st.firstClass) + 24;
  while (st.classTrees[static_cast<std::size_t>(top - static_cast<int>(st.firstClass))] == 0) --top;
  EXPECT_EQ(top, 18);  // rounded up for the fill

  st.BA = basalAreaFor(0.3, -1);
  ASSERT_NEAR(diameterAt(1, st.BA, 20, 20, 400, -1), 0.3, 1e-9);
  engine.computeClassLimits();
  // The rounded smallest diameter is 0, which is not a class: the first class is at least 1.
  EXPECT_GE(st.minClass, 1);
  EXPECT_LE(st.minClass, 2);
}

TEST_F(StandTest, DistributionConsistencyAfterARecentThinning) {
  initUnthinned(engine, hooks, 20, 500, 60);
  StandState& st = engine.state();
  st.unthinned = 0;
  st.thinAge = 18;
  st.truncationDBH = 9;  // a heavily truncated distribution cannot carry the basal area
  engine.computeClassLimits();
  prepareOutputs(engine);
  engine.finishStep();
  EXPECT_EQ(st.truncatedDistribution, 1);
  EXPECT_EQ(st.status, -1);
  EXPECT_EQ(out.stockLast, -1);
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].caption, " TRUNCATED DIAMETER DISTRIBUTION ERROR ");
  EXPECT_EQ(hooks.messages[0].line1, "Stand/stock table unavailable for recently thinned stands.");
  // Every treatment is refused silently while the distribution is truncated.
  hooks.residualBA = 80;
  st.status = 1;
  engine.dispatchAction(2);
  EXPECT_EQ(st.status, -1);
  EXPECT_EQ(hooks.messages.size(), 1u);

  // Ten years after the thinning the same distribution still gets its stock table.
  st.thinAge = 10;
  prepareOutputs(engine);
  engine.finishStep();
  EXPECT_EQ(st.truncatedDistribution, 0);
  EXPECT_EQ(st.status, 1);
  EXPECT_GE(out.stockLast, 1);
}

TEST_F(StandTest, StockTableMerchandisingRules) {
  initUnthinned(engine, hooks, 30, 400, 80);
  const auto& rows = out.stock;
  int last = out.stockLast;
  ASSERT_GT(last, 5);
  double pulp = 0, saw = 0, ba = 0;
  for (int r = 0; r < last; ++r) {
    const auto& row = rows[static_cast<std::size_t>(r)];
    float dbh = row[0];
    EXPECT_EQ(row[5] > 0, dbh >= 5) << dbh;  // pulp from the pulpwood threshold
    if (dbh < 8) {
      EXPECT_EQ(row[7], 0) << dbh;
    }
    EXPECT_GE(row[7], 0);
    EXPECT_NEAR(row[5], row[6] + row[7], 1e-3 * static_cast<double>(1 + row[5]));
    pulp += static_cast<double>(row[5]);
    saw += static_cast<double>(row[7]);
    ba += static_cast<double>(row[3]);
  }
  // Totals: DBH 0 and height 0.
  EXPECT_EQ(rows[static_cast<std::size_t>(last)][0], 0);
  EXPECT_EQ(rows[static_cast<std::size_t>(last)][2], 0);
  EXPECT_NEAR(rows[static_cast<std::size_t>(last)][5], pulp, 1e-2);
  EXPECT_NEAR(rows[static_cast<std::size_t>(last)][7], saw, 1e-2);
  EXPECT_NEAR(rows[static_cast<std::size_t>(last)][3], ba, 1e-2);

  // The 8-inch class: share 0.488 of the topwood at 54 cubic feet per cord.
  const StandState& st = s;
  int i8 = static_cast<int>(8 - st.firstClass);
  auto k = static_cast<std::size_t>(i8);
  double v =
      engine.merchVolume(7.5, 3, st.totalVolume) - engine.merchVolume(8.5, 3, st.totalVolume);
  double sv =
      engine.merchVolume(7.5, 6, st.totalVolume) - engine.merchVolume(8.5, 6, st.totalVolume);
  double pulp8 = v / 90 * 2.575;
  EXPECT_DOUBLE_EQ(st.classPulpTons[k], pulp8);
  double iu8 = (1 - 0.488) * pulp8 + 0.488 * (v - sv) / 54 * 2.575;
  if (pulp8 - iu8 > 0) {
    EXPECT_DOUBLE_EQ(st.classIUPulpTons[k], iu8);
  } else {
    EXPECT_EQ(st.classSawTons[k], 0);
    EXPECT_EQ(st.classIUPulpTons[k], st.classPulpTons[k]);
  }
  // Classes above 17 inches: only the topwood between the 6-inch and the pulpwood top.
  for (int i = 0; i < kClassCount; ++i) {
    auto c = static_cast<std::size_t>(i);
    double dbh = st.firstClass + i;
    if (dbh <= 17 || st.classTrees[c] < 0.1 || st.classSawTons[c] <= 0) continue;
    double vv = engine.merchVolume(dbh - 0.5, 3, st.totalVolume) -
                engine.merchVolume(dbh + 0.5, 3, st.totalVolume);
    double ss = engine.merchVolume(dbh - 0.5, 6, st.totalVolume) -
                engine.merchVolume(dbh + 0.5, 6, st.totalVolume);
    EXPECT_DOUBLE_EQ(st.classIUPulpTons[c], (vv - ss) / 79 * 2.575) << dbh;
  }
}

// Each boundary's volumes and each table's height terms are worked out once and shared between
// classes: the classes still get, bit for bit, the relations evaluated on their own bounds.
TEST_F(StandTest, SharedTermsGiveEachClassItsOwnVolumesAndHeightExactly) {
  for (const char* bark : {"OB", "IB"}) {
    initUnthinned(engine, hooks, 20, 500, 60);
    ASSERT_TRUE(grow(engine, hooks, 30));
    StandState& st = engine.state();
    copyText(st.barkBasis, bark);
    prepareOutputs(engine);
    engine.finishStep();
    const double v = st.totalVolume, top = st.pulpTopDiameter;
    int listed = 0;
    for (int i = 0; i < kClassCount; ++i) {
      auto k = static_cast<std::size_t>(i);
      double dbh = st.firstClass + i;
      if (st.classVolume[k] == 0) continue;
      ++listed;
      EXPECT_EQ(st.classHeight[k], engine.classHeightAt(dbh)) << dbh;
      EXPECT_EQ(st.classVolume[k],
                engine.merchVolume(dbh - 0.5, 0, v) - engine.merchVolume(dbh + 0.5, 0, v));
      if (dbh <= top) continue;
      bool other = bark[0] != 'O';
      EXPECT_EQ(st.classTopVolume[k], engine.merchVolume(dbh - 0.5, top, v, other) -
                                          engine.merchVolume(dbh + 0.5, top, v, other))
          << bark << " " << dbh;
    }
    EXPECT_GT(listed, 8);
  }
}

TEST_F(StandTest, ClassAtThePulpTopGetsPulpButNoTopVolume) {
  initUnthinned(engine, hooks, 20, 500, 60);
  StandState& st = engine.state();
  st.pulpTopDiameter = 5;
  st.pulpThresholdDBH = 5;
  prepareOutputs(engine);
  engine.finishStep();
  auto k = static_cast<std::size_t>(5 - st.firstClass);
  EXPECT_EQ(st.classTopVolume[k], 0);
  EXPECT_GT(st.classPulpTons[k], 0);
  EXPECT_GT(st.classTopVolume[k + 1], 0);
}

}  // namespace
}  // namespace keldovar::testing

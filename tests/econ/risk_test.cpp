// The Monte Carlo risk of real regimes: steady prices and no loss give the analysis's own NPV on
// every path, losses come as often as their probability says, prices keep their expectation,
// and the numbers depend on the seed alone, not on the threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "econ/risk.h"
#include "tests/econ/harvested_regime.h"

namespace keldovar::econ {
namespace {

RiskModel steadyModel(Management management, std::int64_t paths) {
  RiskModel model;
  model.prices = {0, 0, 0, 0};
  model.loss = {0, 0};
  model.management = management;
  model.paths = paths;
  return model;
}

TEST(Risk, SteadyPricesAndNoLossGiveEveryPathTheAnalysisNpv) {
  for (const char* script : {kPlantationTwoThins, kExistingThinned, kFertilizedPlantation}) {
    Harvested h = harvested(script);
    RegimeFlows flows = pricedFlows(h.regime, h.values);
    for (Management m : {Management::Pulpwood, Management::Sawtimber}) {
      RiskSimulator simulator(h.regime, h.values, steadyModel(m, 3000));
      for (std::int64_t i : {0, 1, 2999}) {
        EXPECT_EQ(simulator.path(i).npv, netPresentValue(flows, m)) << script;
      }
      RiskSummary summary = simulator.run(2, 10);
      const Distribution& npv = summary.npv;
      for (double v : {npv.mean, npv.p5, npv.p50, npv.p95, npv.expectedShortfall}) {
        EXPECT_EQ(v, static_cast<double>(netPresentValue(flows, m)));
      }
      EXPECT_EQ(npv.sd, 0);
      ASSERT_TRUE(summary.lev);
      EXPECT_NEAR(summary.lev->mean, *landExpectationValue(flows, m), 0.005);
      EXPECT_NEAR(summary.lev->p5, *landExpectationValue(flows, m), 0.005);
      EXPECT_EQ(summary.lostShare, 0);
      EXPECT_EQ(
          std::count(summary.npvHistogram.counts.begin(), summary.npvHistogram.counts.end(), 3000),
          1);
    }
  }
}

// With probability p a year and no salvage, the share of stands lost before their harvest is
// 1 - (1 - p)^R, R the years from the start to the harvest.
TEST(Risk, LossesComeAsOftenAsTheirProbability) {
  struct Case {
    const char* script;
    double probability;
    int yearsAtRisk;
  };
  for (const Case& c : {Case{kPlantationTwoThins, 1, 32}, Case{kPlantationTwoThins, 5, 32},
                        Case{kExistingThinned, 2, 18}, Case{kExistingThinned, 30, 18}}) {
    Harvested h = harvested(c.script);
    RiskModel model = steadyModel(Management::Sawtimber, 40000);
    model.loss = {c.probability, 0};
    model.seed = 20240305;
    RiskSummary summary = RiskSimulator(h.regime, h.values, model).run(2, 0);
    double expected = 1 - std::pow(1 - c.probability / 100, c.yearsAtRisk);
    double standardError = std::sqrt(expected * (1 - expected) / 40000);
    EXPECT_NEAR(summary.lostShare, expected, 4 * standardError) << c.probability;
    // A stand lost with nothing salvaged only loses value.
    EXPECT_LE(summary.npv.p5, summary.npv.p95);
    EXPECT_LT(summary.npv.mean,
              netPresentValue(pricedFlows(h.regime, h.values), Management::Sawtimber));
  }
}

// The trend is set so that volatility leaves the expected price alone: the NPV, linear in the
// prices, keeps its expectation under either process.
TEST(Risk, VolatilePricesKeepTheExpectedNpv) {
  Harvested h = harvested(kPlantationTwoThins);
  float steady = netPresentValue(pricedFlows(h.regime, h.values), Management::Sawtimber);
  for (double reversion : {0.0, 0.5}) {
    RiskModel model = steadyModel(Management::Sawtimber, 40000);
    model.prices = {0, 30, reversion, 0.6};
    RiskSummary summary = RiskSimulator(h.regime, h.values, model).run(2, 0);
    EXPECT_NEAR(summary.npv.mean, steady, 4 * summary.npv.sd / std::sqrt(40000.0)) << reversion;
    EXPECT_GT(summary.npv.sd, 50);
    EXPECT_LT(summary.npv.p5, summary.npv.p50);
    EXPECT_LT(summary.npv.expectedShortfall, summary.npv.p5);
  }
}

// With no volatility the prices follow the drift from the start (age 0, or the age the stand
// was taken over); the fertilization's cost stays. Reversion narrows the spread, and so does
// pulpwood moving against sawtimber for a management that sells both.
TEST(Risk, PricesMoveAsModelled) {
  struct Case {
    const char* script;
    int yearsToHarvest;
  };
  for (const Case& c : {Case{kFertilizedPlantation, 28},
                        Case{"unthinned age=15 trees=500 ba=0 si=60\ngrow 30\nharvest\n", 15}}) {
    Harvested h = harvested(c.script);
    RiskModel model = steadyModel(Management::Sawtimber, 10);
    model.prices.drift = 2;
    FinancialValues grown = h.values;
    auto factor = static_cast<float>(std::pow(1.02, c.yearsToHarvest));
    grown.harvestPulp *= factor;
    grown.harvestSaw *= factor;
    float expected = netPresentValue(pricedFlows(h.regime, grown), Management::Sawtimber);
    EXPECT_NEAR(RiskSimulator(h.regime, h.values, model).path(4).npv, expected, 0.01) << c.script;
  }
  Harvested h = harvested(kPlantationTwoThins);
  auto spread = [&](double reversion, double correlation) {
    RiskModel model = steadyModel(Management::Sawtimber, 20000);
    model.prices = {0, 25, reversion, correlation};
    return RiskSimulator(h.regime, h.values, model).run(2, 0).npv.sd;
  };
  EXPECT_LT(spread(2, 0.7), 0.7 * spread(0, 0.7));
  EXPECT_LT(spread(0, -1), 0.9 * spread(0, 1));
}

TEST(Risk, TheSameSeedGivesTheSameNumbersOnAnyNumberOfThreads) {
  Harvested h = harvested(kFertilizedPlantation);
  RiskModel model;  // the defaults: volatile mean-reverting prices and a yearly loss
  model.paths = 10007;
  model.seed = 77;
  RiskSimulator simulator(h.regime, h.values, model);
  RiskSummary one = simulator.run(1, 40);
  RiskSummary two = simulator.run(2, 40);
  for (auto [a, b] : {std::pair{one.npv, two.npv}, std::pair{*one.lev, *two.lev}}) {
    EXPECT_EQ(a.mean, b.mean);
    EXPECT_EQ(a.sd, b.sd);
    EXPECT_EQ(a.p5, b.p5);
    EXPECT_EQ(a.p95, b.p95);
    EXPECT_EQ(a.expectedShortfall, b.expectedShortfall);
  }
  EXPECT_EQ(one.lostShare, two.lostShare);
  EXPECT_EQ(one.npvHistogram.counts, two.npvHistogram.counts);
  // Every path is in a bin; the bins run from below P5 to above P95.
  const Histogram& bins = one.npvHistogram;
  EXPECT_EQ(std::accumulate(bins.counts.begin(), bins.counts.end(), std::int64_t{0}), 10007);
  EXPECT_LT(bins.low, one.npv.p5);
  EXPECT_GT(bins.low + bins.width * 40, one.npv.p95);
  model.seed = 78;
  EXPECT_NE(RiskSimulator(h.regime, h.values, model).run(2, 0).npv.mean, one.npv.mean);
}

// A stand is lost during the year that ends at an age, before that age's treatments; its
// salvage is the share of the wood standing then, interpolated between the recorded stands.
TEST(Risk, SalvageOfAStandLostInItsFirstYear) {
  Harvested h = harvested(kPlantationTwoThins);
  StandingStock at21 = standingAt(h.regime, 21);  // between the residual at 16 and 26's growth
  EXPECT_NEAR(at21.pulpTons, 45.5 + (90.9 - 45.5) / 2, 0.1);
  EXPECT_NEAR(standingAt(h.regime, 16).pulpTons, 84.7, 0.1);  // before the thinning
  Harvested existing = harvested(kExistingThinned);
  RiskModel model = steadyModel(Management::Pulpwood, 100);
  model.loss = {100, 40};
  PathOutcome lost = RiskSimulator(existing.regime, existing.values, model).path(3);
  EXPECT_TRUE(lost.lost);
  EXPECT_EQ(lost.endAge, 23);
  double pulpAt23 = standingAt(existing.regime, 23).pulpTons;
  EXPECT_NEAR(lost.npv, 0.4 * 10 * pulpAt23 / std::pow(1.05, 23), 0.01);
}

TEST(Risk, ModelIsChecked) {
  struct Case {
    void (*change)(RiskModel&);
    const char* error;
  };
  for (const Case& c : std::initializer_list<Case>{
           {[](RiskModel&) {}, ""},
           {[](RiskModel& m) { m.prices.drift = 50.5; }, "drift: give -50 to 50 percent a year"},
           {[](RiskModel& m) { m.prices.volatility = -1; },
            "volatility: give 0 to 200 percent a year"},
           {[](RiskModel& m) { m.prices.reversion = NAN; }, "reversion: give 0 to 10 a year"},
           {[](RiskModel& m) { m.prices.correlation = 1.5; }, "correlation: give -1 to 1"},
           {[](RiskModel& m) { m.loss.probability = 101; }, "loss: give 0 to 100 percent a year"},
           {[](RiskModel& m) { m.loss.salvage = -5; }, "salvage: give 0 to 100 percent"},
           {[](RiskModel& m) { m.paths = 0; }, "paths: give 1 to 10000000"},
           {[](RiskModel& m) { m.paths = kMaxPaths + 1; }, "paths: give 1 to 10000000"},
       }) {
    RiskModel model;
    c.change(model);
    EXPECT_EQ(checkRiskModel(model), c.error);
  }
}

}  // namespace
}  // namespace keldovar::econ

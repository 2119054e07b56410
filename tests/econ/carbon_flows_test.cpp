// Carbon in the economics: at a price of 0 every measure is the timber's own, at a price the
// carbon payments' present value is what the NPV gains, and a search that values carbon never
// shortens the best rotation.
#include <gtest/gtest.h>

#include "econ/regime_search.h"

namespace keldovar::econ {
namespace {

const Step kPlantation = {
    StepKind::Plantation,
    {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}};

DocumentContent harvestedAt(int rotation, bool thinned) {
  std::vector<Step> steps{kPlantation};
  if (thinned) {
    steps.push_back({StepKind::Grow, {{"age", "14"}}});
    steps.push_back({StepKind::ThinThinomatic, {{"ba", "80"}}});
  }
  steps.push_back({StepKind::Grow, {{"age", std::to_string(rotation)}}});
  steps.push_back({StepKind::Harvest, {}});
  std::optional<DocumentContent> content = runSteps(steps, FixedClock(LocalTime{}));
  EXPECT_TRUE(content.has_value());
  return content.value_or(DocumentContent{});
}

TEST(CarbonFlows, NothingChangesAtAPriceOfZeroAndAPriceAddsThePaymentsValue) {
  for (bool thinned : {false, true}) {
    for (int rotation : {20, 30}) {
      DocumentContent doc = harvestedAt(rotation, thinned);
      const TableStore& store = doc.store;
      const FinancialValues& values = doc.settings.financial;
      std::optional<RegimeFlows> timber = harvestFlows(*store.newest(), values);
      std::optional<RegimeFlows> zero = regimeFlows(store, store.lastIndex, values, {0, 0});
      ASSERT_TRUE(timber && zero);
      ASSERT_EQ(zero->flows.size(), timber->flows.size());
      for (Management m : {Management::Pulpwood, Management::Sawtimber}) {
        Measures a = measuresOf(*timber, m);
        Measures b = measuresOf(*zero, m);
        EXPECT_EQ(a.npv, b.npv);
        EXPECT_EQ(a.lev, b.lev);
        EXPECT_EQ(a.irr, b.irr);
      }
      carbon::CarbonValues priced{15, 0};
      std::optional<RegimeFlows> withCarbon = regimeFlows(store, store.lastIndex, values, priced);
      ASSERT_TRUE(withCarbon);
      EXPECT_EQ(withCarbon->flows.size(),
                timber->flows.size() + static_cast<std::size_t>(rotation));
      double gain = static_cast<double>(netPresentValue(*withCarbon, Management::Sawtimber) -
                                        netPresentValue(*timber, Management::Sawtimber));
      double pv = carbonPresentValue(store, store.lastIndex, values, priced);
      EXPECT_GT(pv, 0);
      EXPECT_NEAR(gain, pv, 0.01 + pv * 1e-5) << rotation;
      EXPECT_EQ(carbonPresentValue(store, store.lastIndex, values, {0, 10}), 0);
    }
  }
  DocumentContent doc = harvestedAt(25, false);
  EXPECT_FALSE(regimeFlows(doc.store, doc.store.lastIndex - 1, {}, {10, 0}));
  EXPECT_FALSE(regimeFlows(doc.store, 99, {}, {10, 0}));
}

TEST(CarbonFlows, APriceNeverShortensTheBestRotation) {
  SearchSpace space;
  space.start = {kPlantation};
  for (int age = 16; age <= 45; ++age) space.rotations.push_back(age);
  space.thinningCounts = {0};
  space.best = 1;
  SearchOptions options;
  options.jobs = 2;
  int previous = 0;
  double previousLev = 0;
  for (double price : {0.0, 5.0, 15.0, 40.0}) {
    space.carbon = {price, 0};
    SearchResult result = searchRegimes(space, options);
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.best.size(), 1u);
    EXPECT_GE(result.best[0].rotation, previous) << price;
    EXPECT_GE(result.best[0].score, previousLev) << price;
    previous = result.best[0].rotation;
    previousLev = result.best[0].score;
  }
  space.carbon = {-1, 0};
  EXPECT_NE(checkSpace(space), "");
}

}  // namespace
}  // namespace keldovar::econ

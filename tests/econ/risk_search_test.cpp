// The regime search under risk: with steady prices and no loss it ranks as the search does, a
// yearly loss shortens the best rotation, and the answer does not depend on the threads.
#include <gtest/gtest.h>

#include "econ/risk_search.h"

namespace keldovar::econ {
namespace {

SearchSpace smallSpace() {
  SearchSpace space;
  space.start = {{StepKind::Plantation,
                  {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}}};
  for (int age = 18; age <= 34; age += 2) space.rotations.push_back(age);
  space.thinAges = {12, 14};
  space.methods = {{ThinMethod::Thinomatic, 0}};
  space.residualBA = {70, 90};
  space.best = 5;
  return space;
}

RiskModel model(double lossPercent, std::int64_t paths) {
  RiskModel m;
  m.prices = {0, 0, 0, 0};
  m.loss = {lossPercent, 0};
  m.paths = paths;
  return m;
}

TEST(RiskSearch, RanksAsTheSearchWithoutRiskAndShortensTheRotationWithIt) {
  SearchSpace space = smallSpace();
  RiskSearchResult steady = searchRegimesUnderRisk(space, {2, 1, 1, {}}, model(0, 50));
  ASSERT_EQ(steady.byExpected.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(steady.byExpected[i].regime.ordinal, steady.search.best[i].ordinal);
    EXPECT_NEAR(steady.byExpected[i].regime.score, steady.search.best[i].score, 0.01);
    EXPECT_EQ(steady.byP5[i].regime.ordinal, steady.search.best[i].ordinal);
  }
  RiskSearchResult one = searchRegimesUnderRisk(space, {1, 1, 1, {}}, model(4, 2000));
  RiskSearchResult two = searchRegimesUnderRisk(space, {2, 1, 1, {}}, model(4, 2000));
  for (auto [a, b] :
       {std::pair{&one.byExpected, &two.byExpected}, std::pair{&one.byP5, &two.byP5}}) {
    ASSERT_EQ(a->size(), b->size());
    for (std::size_t i = 0; i < a->size(); ++i) {
      EXPECT_EQ((*a)[i].regime.ordinal, (*b)[i].regime.ordinal);
      EXPECT_EQ((*a)[i].regime.score, (*b)[i].regime.score);
    }
  }
  EXPECT_LT(one.byExpected[0].regime.rotation, steady.search.best[0].rotation);
  EXPECT_GT(one.byExpected[0].risk.lostShare, 0.4);
  EXPECT_EQ(one.byExpected[0].regime.steps.back().kind, StepKind::Harvest);
  // The paths price timber alone: a carbon price would be ranked in part only.
  space.carbon.price = 5;
  EXPECT_EQ(searchRegimesUnderRisk(space, {1, 1, 1, {}}, model(0, 10)).search.error,
            "the risk search values timber alone: the start sets a carbon price");
}

}  // namespace
}  // namespace keldovar::econ

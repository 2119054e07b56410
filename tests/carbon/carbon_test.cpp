// The carbon model: tree biomass against hand-worked values, each table's carbon against an
// independent sum over its stock rows, removals, the rotation's stump carbon and the crediting
// rule on the worked example regime.
#include <gtest/gtest.h>

#include <cmath>

#include "carbon/crediting.h"
#include "script/regime_steps.h"

namespace keldovar::carbon {
namespace {

// The worked example: plantation, row-and-low thinning at 16, Thinomatic at 26, harvest at 32.
DocumentContent exampleRegime() {
  std::vector<Step> steps{
      {StepKind::Plantation,
       {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}},
      {StepKind::Grow, {{"age", "16"}}},
      {StepKind::ThinRowLow, {{"ba", "75"}, {"row", "33"}}},
      {StepKind::Grow, {{"age", "26"}}},
      {StepKind::ThinThinomatic, {{"ba", "90"}}},
      {StepKind::Grow, {{"age", "32"}}},
      {StepKind::Harvest, {}},
  };
  FixedClock clock(LocalTime{});
  std::optional<DocumentContent> content = runSteps(steps, clock);
  EXPECT_TRUE(content.has_value());
  return content.value_or(DocumentContent{});
}

TEST(Biomass, TreesOfOneInchClassesAsWorkedByHand) {
  struct Case {
    double dbh;
    double above, roots, wood, bark, foliage;
  };
  // exp(-2.5356 + 2.4349 ln(2.54 D)) and the ratios exp(c0 + c1 / (2.54 D)).
  for (const Case& c : {Case{1, 0.76654, 0.20859, 0.25914, 0.059968, 0.23181},
                        Case{5, 38.588, 8.5260, 23.037, 4.3272, 2.8492},
                        Case{10, 208.66, 44.918, 133.74, 24.476, 12.917},
                        Case{20, 1128.3, 239.74, 749.34, 135.36, 63.954}}) {
    Biomass b = treeBiomass(c.dbh);
    EXPECT_NEAR(b.aboveground, c.above, c.above * 1e-4) << c.dbh;
    EXPECT_NEAR(b.belowground, c.roots, c.roots * 1e-4) << c.dbh;
    EXPECT_NEAR(b.stemWood, c.wood, c.wood * 1e-4) << c.dbh;
    EXPECT_NEAR(b.stemBark, c.bark, c.bark * 1e-4) << c.dbh;
    EXPECT_NEAR(b.foliage, c.foliage, c.foliage * 1e-4) << c.dbh;
  }
  EXPECT_EQ(treeBiomass(0).aboveground, 0);
  EXPECT_EQ(treeBiomass(-3).tree(), 0);
}

TEST(Biomass, EachTableIsTheSumOverItsStockRows) {
  DocumentContent content = exampleRegime();
  ASSERT_EQ(content.store.lastIndex, 6);
  for (int t = 0; t <= content.store.lastIndex; ++t) {
    const ReportTable& table = content.store.tables[static_cast<std::size_t>(t)];
    double expected = 0;
    for (int r = 0; r < table.stockLast; ++r) {
      double cm = static_cast<double>(table.stock[static_cast<std::size_t>(r)][0]) * 2.54;
      expected += static_cast<double>(table.stock[static_cast<std::size_t>(r)][1]) *
                  std::exp(-2.5356 + 2.4349 * std::log(cm)) * 0.5;
    }
    EXPECT_GT(expected, 0) << t;
    EXPECT_NEAR(carbonOf(standBiomass(table).aboveground), expected, expected * 1e-12) << t;
  }
  EXPECT_NEAR(massIn(kKgPerShortTon * 3, MassUnit::ShortTon), 3, 1e-12);
  EXPECT_NEAR(massIn(2500, MassUnit::Tonne), 2.5, 1e-12);
}

TEST(WoodProducts, RemovalsTakeWhatTheTablesLose) {
  DocumentContent content = exampleRegime();
  const TableSlots& t = content.store.tables;
  // Tables 1 and 2: grown to 16 and row-and-low thinned; 3 and 4 the Thinomatic at 26.
  for (int thinned : {2, 4}) {
    const ReportTable& before = t[static_cast<std::size_t>(thinned - 1)];
    const ReportTable& after = t[static_cast<std::size_t>(thinned)];
    std::optional<Removal> removal = thinningRemoval(before, after);
    ASSERT_TRUE(removal.has_value());
    double lost = carbonOf(standBiomass(before).tree() - standBiomass(after).tree());
    EXPECT_NEAR(removal->treeCarbon, lost, lost * 1e-9) << thinned;
    EXPECT_GT(removal->productCarbon(), 0);
    EXPECT_LT(removal->productCarbon(), removal->treeCarbon);
    EXPECT_EQ(removal->age, before.bar.barAge);
  }
  EXPECT_FALSE(thinningRemoval(t[0], t[1]).has_value());  // a projection removes nothing
  EXPECT_FALSE(harvestRemoval(t[5]).has_value());
  std::optional<Removal> harvest = harvestRemoval(t[6]);
  ASSERT_TRUE(harvest.has_value());
  EXPECT_NEAR(harvest->treeCarbon, carbonOf(standBiomass(t[6]).tree()), 1e-6);
  // The 32-year harvest is mostly sawtimber, and keeps more of it for 100 years.
  EXPECT_GT(harvest->sawtimberCarbon, harvest->pulpwoodCarbon);
  EXPECT_NEAR(harvest->stored100(),
              harvest->pulpwoodCarbon * 0.10 + harvest->sawtimberCarbon * 0.39, 1e-9);
}

TEST(RotationCarbon, ThePointsOfTheHistoryAndTheirAverage) {
  DocumentContent content = exampleRegime();
  std::optional<RotationCarbon> rotation = rotationCarbon(content.store, 6);
  ASSERT_TRUE(rotation.has_value());
  EXPECT_TRUE(rotation->newPlantation);
  std::vector<double> ages;
  for (const StumpPoint& p : rotation->points) ages.push_back(p.age);
  EXPECT_EQ(ages, (std::vector<double>{0, 8, 16, 16, 26, 26, 32, 32}));
  EXPECT_EQ(rotation->points.front().carbon, 0);
  EXPECT_EQ(rotation->points.back().label, "Harvest");
  EXPECT_EQ(rotation->points.back().carbon, 0);
  EXPECT_EQ(rotation->removals.size(), 3u);
  // Between the tables the stump's carbon is a straight line; after a thinning it is the lower.
  const auto& p = rotation->points;
  EXPECT_NEAR(rotation->carbonAt(12), (p[1].carbon + p[2].carbon) / 2, 1e-9);
  EXPECT_EQ(rotation->carbonAt(16), p[3].carbon);
  EXPECT_EQ(rotation->carbonAt(40), 0);
  double area = 0;
  for (std::size_t i = 1; i < p.size(); ++i) {
    area += (p[i].age - p[i - 1].age) * (p[i].carbon + p[i - 1].carbon) / 2;
  }
  EXPECT_NEAR(rotation->average, area / 32, 1e-9);
  for (int notHarvest : {-1, 0, 5, 7, 100}) {
    EXPECT_FALSE(rotationCarbon(content.store, notHarvest).has_value()) << notHarvest;
  }
}

TEST(Crediting, YearlyPaymentsOverTheBaseline) {
  RotationCarbon r;  // 10 t CO2e a year from planting to 10, a thinning to half at 6, harvest
  double kg = 1000.0 / kCo2PerCarbon;  // one tonne of CO2e as kg of carbon
  r.newPlantation = true;
  r.points = {{0, "Planted", 0},
              {6, "Projected", 60 * kg},
              {6, "Residual", 30 * kg},
              {10, "Projected", 70 * kg},
              {10, "Harvest", 0}};
  Removal thinning;
  thinning.age = 6;
  thinning.sawtimberCarbon = 10 * kg;  // 3.9 t kept
  r.removals = {thinning};
  struct Case {
    CarbonValues values;
    double first, sixth, tenth, total;
  };
  for (const Case& c : {
           Case{{0, 0}, 0, 0, 0, 0},
           Case{{2, 0}, 20, 20 - 60 + 7.8, 20 - 140, 7.8},
           Case{{1, 45}, 0, 0 - 5 + 3.9, 0 - 15, 3.9},  // baseline above the thinned stock
           Case{{1, 100}, 0, 3.9, 0, 3.9},
       }) {
    std::vector<CarbonPayment> payments = carbonPayments(r, c.values);
    if (c.values.price == 0) {
      EXPECT_TRUE(payments.empty());
      continue;
    }
    ASSERT_EQ(payments.size(), 10u);
    EXPECT_NEAR(payments[0].amount, c.first, 1e-9) << c.values.baseline;
    EXPECT_NEAR(payments[5].amount, c.sixth, 1e-9) << c.values.baseline;
    EXPECT_NEAR(payments[9].amount, c.tenth, 1e-9) << c.values.baseline;
    double total = 0;
    for (const CarbonPayment& p : payments) total += p.amount;
    EXPECT_NEAR(total, c.total, 1e-9) << c.values.baseline;
    EXPECT_EQ(payments[9].year, 10);
  }
  // An existing stand earns only on growth after it is taken up: the baseline rises to it.
  r.newPlantation = false;
  r.points.erase(r.points.begin(), r.points.begin() + 2);  // taken up at 6 with 30 t
  r.removals.clear();
  std::vector<CarbonPayment> existing = carbonPayments(r, {1, 0});
  ASSERT_EQ(existing.size(), 4u);
  EXPECT_NEAR(existing[0].amount, 10, 1e-9);
  EXPECT_NEAR(existing[3].amount, -30, 1e-9);
  EXPECT_NEAR(presentValue({{1, 105}, {2, 110.25}}, 0.05), 200, 1e-9);
}

}  // namespace
}  // namespace keldovar::carbon

// The cash flows of harvested regimes: net present values against the financial analysis's own
// table over many generated regimes, and LEV and IRR against cases worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "econ/cash_flows.h"
#include "engine/report_text.h"
#include "script/regime_steps.h"

namespace keldovar::econ {
namespace {

std::string pick(std::mt19937& random, std::initializer_list<const char*> choices) {
  std::uniform_int_distribution<std::size_t> index(0, choices.size() - 1);
  return *(choices.begin() + index(random));
}

int between(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

Step thinning(std::mt19937& random) {
  std::string ba = std::to_string(between(random, 45, 110));
  switch (between(random, 0, 3)) {
    case 0:
      return {StepKind::ThinRow, {{"ba", ba}}};
    case 1:
      return {StepKind::ThinLow, {{"ba", ba}, {"method", "ba"}}};
    case 2:
      return {StepKind::ThinRowLow, {{"ba", ba}, {"row", pick(random, {"20", "25", "33", "50"})}}};
    default:
      return {StepKind::ThinThinomatic, {{"ba", ba}}};
  }
}

// A regime of a new plantation or an existing stand, at other prices and rates, with zero to
// two thinnings and sometimes a fertilization.
std::vector<Step> generatedRegime(std::mt19937& random) {
  std::vector<Step> steps;
  int age = 8;
  if (between(random, 0, 2) == 0) {
    age = between(random, 12, 20);
    steps.push_back({StepKind::Unthinned,
                     {{"age", std::to_string(age)},
                      {"trees", std::to_string(between(random, 400, 800))},
                      {"si", std::to_string(between(random, 50, 80))}}});
  } else {
    steps.push_back({StepKind::Plantation,
                     {{"si", std::to_string(between(random, 50, 80))},
                      {"trees", std::to_string(between(random, 400, 900))},
                      {"survival", std::to_string(between(random, 70, 95))},
                      {"control", pick(random, {"none", "woody", "herbwoody"})}}});
  }
  steps.push_back({StepKind::Financial,
                   {{"interest", pick(random, {"3", "4.5", "5", "6.25", "8", "10"})},
                    {"one_thin_saw", std::to_string(between(random, 10, 20))},
                    {"harvest_saw", pick(random, {"22.5", "25", "31.75"})},
                    {"establishment_cost", pick(random, {"150", "250", "312.5"})}}});
  int thinnings = between(random, 0, 2);
  for (int t = 0; t < thinnings; ++t) {
    age += between(random, 3, 8);
    steps.push_back({StepKind::Grow, {{"age", std::to_string(age)}}});
    steps.push_back(thinning(random));
    if (between(random, 0, 3) == 0) steps.push_back({StepKind::Fertilize, {{"n", "150"}}});
  }
  steps.push_back({StepKind::Grow, {{"age", std::to_string(age + between(random, 4, 14))}}});
  steps.push_back({StepKind::Harvest, {}});
  return steps;
}

std::string printedValue(const std::string& line) {
  std::size_t digits = line.find_first_not_of(' ', line.rfind('$') + 1);
  return line.substr(digits);
}

TEST(CashFlows, NetPresentValuesAreTheFinancialAnalysisFiguresToTheCent) {
  std::mt19937 random(17);
  StepDocument doc;
  int checked = 0, plantations = 0, fertilized = 0;
  for (int attempt = 0; attempt < 2000 && checked < 200; ++attempt) {
    std::vector<Step> steps = generatedRegime(random);
    doc.reset();
    bool ran = true;
    for (const Step& step : steps) ran = ran && doc.run(step);
    if (!ran) continue;
    const ReportTable& table = *doc.content().store.newest();
    std::optional<RegimeFlows> flows = harvestFlows(table, doc.content().settings.financial);
    ASSERT_TRUE(flows) << regimeScript(steps);
    int last = table.financialLast;
    for (auto [line, management] :
         {std::pair{last - 1, Management::Pulpwood}, std::pair{last, Management::Sawtimber}}) {
      EXPECT_EQ(printedValue(table.financialLines[static_cast<std::size_t>(line)]),
                formatText("%.2f", static_cast<double>(netPresentValue(*flows, management))))
          << regimeScript(steps);
    }
    EXPECT_TRUE(agreesWithTable(*flows, table));
    plantations += flows->newPlantation ? 1 : 0;
    for (const CashFlow& f : flows->flows) fertilized += f.pulpwood < 0 ? 1 : 0;
    ++checked;
  }
  EXPECT_EQ(checked, 200);
  EXPECT_GT(plantations, 50);
  EXPECT_LT(plantations, 190);
  EXPECT_GT(fertilized, 5);
}

RegimeFlows singleHarvest(int rotation, float amount, bool newPlantation) {
  RegimeFlows regime;
  regime.newPlantation = newPlantation;
  regime.rotation = rotation;
  regime.flows.push_back({rotation, amount, amount});
  return regime;
}

TEST(CashFlows, LandExpectationValueOfASingleHarvest) {
  for (float interest : {3.0f, 5.0f, 8.0f}) {
    for (int rotation : {15, 25, 40}) {
      RegimeFlows regime = singleHarvest(rotation, 2000, true);
      regime.values.interestRate = interest;
      float npv = netPresentValue(regime, Management::Sawtimber);
      double growth = std::pow(static_cast<double>(1 + interest / 100), rotation);
      EXPECT_EQ(*landExpectationValue(regime, Management::Sawtimber),
                static_cast<double>(npv) * growth / (growth - 1));
      EXPECT_NEAR(npv, 2000 / growth - 250, 1e-3);
    }
  }
  RegimeFlows free = singleHarvest(25, 2000, true);
  free.values.interestRate = 0;
  EXPECT_FALSE(landExpectationValue(free, Management::Pulpwood));
}

TEST(CashFlows, InternalRateOfReturn) {
  for (auto [amount, rotation] : {std::pair{1000.0f, 25}, std::pair{300.0f, 10},
                                  std::pair{100.0f, 20}, std::pair{5000.0f, 12}}) {
    RegimeFlows regime = singleHarvest(rotation, amount, true);
    std::optional<double> irr = internalRateOfReturn(regime, Management::Pulpwood);
    ASSERT_TRUE(irr);
    EXPECT_NEAR(*irr, std::pow(static_cast<double>(amount) / 250.0, 1.0 / rotation) - 1, 1e-6)
        << amount;
  }
  // An existing stand with no cost, or a plantation that costs nothing: no rate balances them.
  EXPECT_FALSE(internalRateOfReturn(singleHarvest(25, 1000, false), Management::Pulpwood));
  RegimeFlows free = singleHarvest(25, 1000, true);
  free.values.establishmentCost = 0;
  EXPECT_FALSE(internalRateOfReturn(free, Management::Pulpwood));
  // A fertilization is a cost of an existing stand: the rate then exists.
  RegimeFlows fertilized = singleHarvest(25, 1000, false);
  fertilized.flows.insert(fertilized.flows.begin(), {15, -120, -120});
  EXPECT_NEAR(*internalRateOfReturn(fertilized, Management::Sawtimber),
              std::pow(1000 / 120.0, 1.0 / 10) - 1, 1e-6);
}

}  // namespace
}  // namespace keldovar::econ

// The conversion factors against the definitions they come from, worked the long way round.
#include "units/units.h"

#include <gtest/gtest.h>

namespace keldovar {
namespace {

TEST(Units, FactorsAgreeWithTheirDefinitions) {
  constexpr double squareMetresPerAcre = 43560 * 0.3048 * 0.3048;  // an acre is 43,560 sq ft
  EXPECT_DOUBLE_EQ(squareMetresPerAcre / 10000, kHectaresPerAcre);
  EXPECT_DOUBLE_EQ(2000 * kKilogramsPerPound / 1000, kTonnesPerShortTon);
  EXPECT_DOUBLE_EQ(12 * kCentimetresPerInch / 100, kMetresPerFoot);

  struct Case {
    Quantity quantity;
    double imperial;
    double metric;
  };
  const Case cases[] = {
      {Quantity::Length, 65, 19.812},
      {Quantity::Diameter, 5, 12.7},
      {Quantity::PerArea, 600, 600 * 10000 / squareMetresPerAcre},
      {Quantity::BasalArea, 70, 70 * 0.09290304 * 10000 / squareMetresPerAcre},
      {Quantity::VolumePerArea, 804.1, 804.1 * 0.028316846592 * 10000 / squareMetresPerAcre},
      {Quantity::MassPerArea, 17.7, 17.7 * 907.18474 / squareMetresPerAcre * 10},
      {Quantity::WeightPerArea, 150, 150 * 0.45359237 * 10000 / squareMetresPerAcre},
      {Quantity::MoneyPerArea, 250, 250 * 10000 / squareMetresPerAcre},
      {Quantity::MoneyPerMass, 25, 25 / 0.90718474},
      {Quantity::Area, 1000, 404.68564224},
      {Quantity::Plain, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(conversionOf(c.quantity).definition);
    EXPECT_NEAR(toMetric(c.quantity, c.imperial), c.metric, 1e-12 * c.metric);
    EXPECT_NEAR(toImperial(c.quantity, toMetric(c.quantity, c.imperial)), c.imperial,
                1e-12 * c.imperial);
    EXPECT_EQ(shownValue(UnitSystem::Imperial, c.quantity, c.imperial), c.imperial);
  }
  EXPECT_DOUBLE_EQ(classBoundsCm(5).low, 11.43);
  EXPECT_DOUBLE_EQ(classBoundsCm(5).high, 13.97);
}

TEST(Units, Words) {
  UnitSystem units = UnitSystem::Imperial;
  EXPECT_TRUE(parseUnitSystem("metric", units));
  EXPECT_EQ(units, UnitSystem::Metric);
  EXPECT_EQ(unitSystemWord(units), "metric");
  EXPECT_FALSE(parseUnitSystem("Metric units", units));
  EXPECT_EQ(units, UnitSystem::Metric);
  EXPECT_EQ(unitName(UnitSystem::Metric, Quantity::BasalArea), "m2/ha");
}

}  // namespace
}  // namespace keldovar

// The site, growth, fertilization and volume relations against their published values.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/models.h"
#include "engine/stand_state.h"

namespace keldovar {
namespace {

double round2(double v) {
  return std::round(v * 100) / 100;
}

TEST(SiteModel, RoundedVariantHeightsOfSiteIndex60And70) {
  EXPECT_DOUBLE_EQ(round2(heightFromSite(60, 8, SiteVariant::Rounded)), 23.19);
  EXPECT_DOUBLE_EQ(round2(heightFromSite(60, 15, SiteVariant::Rounded)), 40.63);
  EXPECT_DOUBLE_EQ(round2(heightFromSite(60, 25, SiteVariant::Rounded)), 60.01);
  EXPECT_DOUBLE_EQ(round2(heightFromSite(70, 8, SiteVariant::Rounded)), 27.97);
  // Rounded above the site index at base age, by less than a hundredth of a foot.
  double atBase = heightFromSite(60, 25, SiteVariant::Rounded);
  EXPECT_GT(atBase, 60);
  EXPECT_LT(atBase - 60, 0.01);
}

TEST(SiteModel, PowerVariantGivesTheSiteIndexAtBaseAge) {
  EXPECT_DOUBLE_EQ(round2(heightFromSite(60, 15, SiteVariant::Power)), 40.62);
  EXPECT_NEAR(heightFromSite(60, 25, SiteVariant::Power), 60, 1e-12);
  EXPECT_NEAR(siteFromHeight(55, 25, SiteVariant::Power), 55, 1e-12);
}

TEST(SiteModel, EachVariantInvertsItself) {
  for (auto variant : {SiteVariant::Rounded, SiteVariant::Power}) {
    for (double si : {40.0, 60.0, 85.0}) {
      for (double age : {8.0, 15.0, 25.0, 40.0}) {
        double h = heightFromSite(si, age, variant);
        EXPECT_NEAR(siteFromHeight(h, age, variant), si, 1e-9) << si << " at " << age;
      }
    }
  }
}

TEST(Survival, ThinnedProjectionOfTheWorkedExample) {
  // baRatio 0.7, thinned at 15, SI 60, 300 trees and BA 80 at 15, grown to 20.
  double n2 = survival(300, 15, 20, 0.7, 60);
  double b2 = projectBasalArea(80, 15, 20, 300, n2, 0.7, 15, 60);
  EXPECT_EQ(std::lround(n2), 293);
  EXPECT_EQ(std::lround(b2), 109);
}

TEST(Survival, NoElapsedTimeKeepsTheTrees) {
  EXPECT_NEAR(survival(448.3, 8, 8, 1, 60), 448.3, 1e-9);
}

TEST(ThinningPower, IsOneWhenNeverThinned) {
  EXPECT_EQ(thinningPower(1, 20, 8, 0.912116489, -9.064775739), 1);
  EXPECT_NE(thinningPower(0.7, 20, 15, 0.912116489, -9.064775739), 1);
}

TEST(Fertilizer, BasalAreaResponseOneYearAfter) {
  double g = fertilizerBA(13, 100, 1, 12);
  EXPECT_DOUBLE_EQ(g, 1 + (0.000738 + 0.000538) * 100 * std::exp(-1 / 6.9419) / 6.9419);
  EXPECT_DOUBLE_EQ(round2(g), 1.02);
  EXPECT_EQ(fertilizerBA(13, -1, 1, -1), 1);
  EXPECT_EQ(fertilizerHeight(13, -1, 1, -1), 1);
  // Without phosphorus the response is smaller; the height response rises then falls.
  EXPECT_LT(fertilizerBA(13, 100, 0, 12), g);
  EXPECT_GT(fertilizerHeight(20, 100, 1, 12), fertilizerHeight(13, 100, 1, 12));
  EXPECT_LT(fertilizerHeight(45, 100, 1, 12), fertilizerHeight(20, 100, 1, 12));
}

TEST(QuadraticMean, ZeroWithoutTrees) {
  EXPECT_EQ(quadraticMeanDBH(100, 0), 0);
  EXPECT_NEAR(quadraticMeanDBH(kBasalAreaFactor * 49 * 100, 100), 7, 1e-12);
}

TEST(Weibull, ShapeOfAnUnthinnedStandAtEveryAge) {
  for (double age : {8.0, 20.0, 40.0}) {
    EXPECT_EQ(makeWeibull(1, 120, age, 8, 500).shape, 4.90216876);
  }
}

TEST(Weibull, QuadraticMeanOfTheFittedDistributionIsTheStands) {
  Weibull w = makeWeibull(1, 133, 20, 20, 500);
  // Integrate D^2 over the density numerically.
  double sum = 0;
  for (double d = 0.0005; d < 40; d += 0.001) {
    sum += d * d * (w.treesAbove(d - 0.0005) - w.treesAbove(d + 0.0005));
  }
  EXPECT_NEAR(std::sqrt(sum / 500), w.dq, 1e-3);
  EXPECT_NEAR(w.treesAbove(0), 500, 1e-9);
}

TEST(Weibull, DiameterLimitsLeaveHalfATreeOutside) {
  Weibull w = makeWeibull(1, 133, 20, 20, 500);
  EXPECT_NEAR(w.treesAbove(w.diameter(1)), 0.49, 1e-9);
  EXPECT_NEAR(500 - w.treesAbove(w.diameter(-1)), 0.49, 1e-9);
  EXPECT_EQ(diameterAt(1, 133, 20, 20, 500, 1), w.diameter(1));
}

TEST(LnGamma, MatchesTheLibraryFunction) {
  for (double x : {1.2, 1.4, 1.5, 2.0, 3.7}) EXPECT_NEAR(lnGamma(x), std::lgamma(x), 1e-9);
}

}  // namespace
}  // namespace keldovar

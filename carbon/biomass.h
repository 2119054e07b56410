// Dry biomass of loblolly pine trees and of a table's stand by the national-scale equations,
// and the carbon and CO2-equivalent of it.
#pragma once

#include <array>

#include "document/table_store.h"

namespace keldovar::carbon {

// Aboveground dry biomass, kg = exp(b0 + b1 ln(dbh cm)), of the pine species group: Jenkins,
// J.C., Chojnacky, D.C., Heath, L.S., Birdsey, R.A. 2003. National-scale biomass estimators for
// United States tree species. Forest Science 49(1): 12-35: the
// parameters of the pine group.
struct SpeciesGroup {
  double b0;
  double b1;
};
inline constexpr SpeciesGroup kPineGroup{-2.5356, 2.4349};

// The softwood component ratios of the same paper: the share of aboveground biomass
// (of it for coarse roots, which lie below ground) = exp(c0 + c1 / dbh cm).
enum class Component { Foliage, CoarseRoots, StemBark, StemWood };
inline constexpr int kComponents = 4;
struct ComponentRatio {
  Component component;
  double c0;
  double c1;
};
inline constexpr std::array<ComponentRatio, kComponents> kSoftwoodRatios{{
    {Component::Foliage, -2.9584, 4.4766},
    {Component::CoarseRoots, -1.5619, 0.6614},  // not checked against the paper: see the manual
    {Component::StemBark, -2.0980, -1.1432},    // not checked against the paper: see the manual
    {Component::StemWood, -0.3737, -1.8055},
}};

// Carbon is half the dry biomass of live trees: Smith, J.E., Heath, L.S., Skog, K.E., Birdsey,
// R.A. 2006. Methods for calculating forest ecosystem and harvested carbon with standard
// estimates for forest types of the United States. Gen. Tech. Rep. NE-343.
inline constexpr double kCarbonFraction = 0.5;
// CO2 weighs 44/12 of the carbon in it (the molar masses of CO2 and C).
inline constexpr double kCo2PerCarbon = 44.0 / 12.0;

inline constexpr double kCmPerInch = 2.54;
inline constexpr double kKgPerShortTon = 907.18474;
inline constexpr double kKgPerTonne = 1000.0;

// The mass unit figures are shown in. The report is per acre in short tons; tonnes are for the
// crediting rule's prices and for a metric report.
enum class MassUnit { ShortTon, Tonne };
double massIn(double kg, MassUnit unit);

// One tree's dry biomass, kg, by pool.
struct Biomass {
  double aboveground = 0;
  double belowground = 0;  // coarse roots
  double stemWood = 0;
  double stemBark = 0;
  double foliage = 0;

  double stem() const { return stemWood + stemBark; }
  // Aboveground and belowground: the live tree carbon a carbon programme counts on the stump.
  double tree() const { return aboveground + belowground; }
  Biomass& operator+=(const Biomass& other);
  Biomass scaled(double factor) const;
};

double abovegroundKg(double dbhInches);
double componentRatio(Component component, double dbhInches);
Biomass treeBiomass(double dbhInches);

// The biomass per acre of a table's stand: each stock row's trees times the biomass of a tree
// of the class's DBH (the middle of its one-inch class), the totals row left out.
Biomass standBiomass(const ReportTable& table);
// The data rows of a table's stock table: 0 when it has none.
int stockDataRows(const ReportTable& table);

inline double carbonOf(double biomassKg) {
  return biomassKg * kCarbonFraction;
}
inline double co2eOf(double carbonKg) {
  return carbonKg * kCo2PerCarbon;
}

}  // namespace keldovar::carbon

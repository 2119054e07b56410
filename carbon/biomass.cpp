// Tree and stand biomass by the national-scale equations.
#include "carbon/biomass.h"

#include <algorithm>
#include <cmath>

namespace keldovar::carbon {

double massIn(double kg, MassUnit unit) {
  return kg / (unit == MassUnit::Tonne ? kKgPerTonne : kKgPerShortTon);
}

Biomass& Biomass::operator+=(const Biomass& other) {
  aboveground += other.aboveground;
  belowground += other.belowground;
  stemWood += other.stemWood;
  stemBark += other.stemBark;
  foliage += other.foliage;
  return *this;
}

Biomass Biomass::scaled(double factor) const {
  return {aboveground * factor, belowground * factor, stemWood * factor, stemBark * factor,
          foliage * factor};
}

double abovegroundKg(double dbhInches) {
  if (!(dbhInches > 0)) return 0;
  return std::exp(kPineGroup.b0 + kPineGroup.b1 * std::log(dbhInches * kCmPerInch));
}

double componentRatio(Component component, double dbhInches) {
  if (!(dbhInches > 0)) return 0;
  const ComponentRatio& r = kSoftwoodRatios[static_cast<std::size_t>(component)];
  return std::exp(r.c0 + r.c1 / (dbhInches * kCmPerInch));
}

Biomass treeBiomass(double dbhInches) {
  double above = abovegroundKg(dbhInches);
  return {above, above * componentRatio(Component::CoarseRoots, dbhInches),
          above * componentRatio(Component::StemWood, dbhInches),
          above * componentRatio(Component::StemBark, dbhInches),
          above * componentRatio(Component::Foliage, dbhInches)};
}

int stockDataRows(const ReportTable& table) {
  // The last stored row is the totals row.
  return std::clamp(table.stockLast, 0, kStockRowCapacity - 1);
}

Biomass standBiomass(const ReportTable& table) {
  Biomass sum;
  for (int r = 0; r < stockDataRows(table); ++r) {
    const StockRow& row = table.stock[static_cast<std::size_t>(r)];
    double trees = static_cast<double>(row[1]);
    // A foreign file may hold anything: a class or a count that is no number adds nothing.
    if (!(trees > 0) || !std::isfinite(trees) || !std::isfinite(row[0])) continue;
    sum += treeBiomass(static_cast<double>(row[0])).scaled(trees);
  }
  return sum;
}

}  // namespace keldovar::carbon

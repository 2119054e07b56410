// Adding the stands up year by year.
#include "forest/forest_totals.h"

#include <cmath>

#include "forest/result_record.h"

namespace keldovar::forest {
namespace {

double valueAt(const CellRow& row, std::size_t column) {
  return numberOf(row[column]).value_or(0);
}

// The six figures from `first` on, times the acres.
void addScaled(Figures& sum, const CellRow& row, std::size_t first, double acres) {
  sum.trees += valueAt(row, first) * acres;
  sum.basalArea += valueAt(row, first + 1) * acres;
  sum.volume += valueAt(row, first + 2) * acres;
  sum.pulpTons += valueAt(row, first + 3) * acres;
  sum.iuPulpTons += valueAt(row, first + 4) * acres;
  sum.sawTons += valueAt(row, first + 5) * acres;
}

}  // namespace

std::optional<double> perAcre(double total, const ForestYear& year) {
  if (!(year.acres > 0)) return std::nullopt;
  return total / year.acres;
}

ForestYear& ForestTotals::yearAt(double year) {
  ForestYear& entry = years_[year];
  entry.year = year;
  return entry;
}

void ForestTotals::add(const StandRecord& stand) {
  std::optional<double> acres = numberOf(stand.stand[kStandAcres]);
  if (stand.stand[kStandStatus].bytes != kStatusOk || !acres) return;
  ++stands_;
  acres_ += *acres;
  for (std::size_t i = 0; i < stand.tables.size(); ++i) {
    const CellRow& row = stand.tables[i];
    double when = valueAt(row, kTableYear);
    ForestYear& year = yearAt(when);
    addScaled(year.removed, row, kTableRemoved, *acres);
    bool lastOfYear =
        i + 1 == stand.tables.size() || valueAt(stand.tables[i + 1], kTableYear) != when;
    if (!lastOfYear) continue;
    ++year.stands;
    year.acres += *acres;
    addScaled(year.standing, row, kTableStanding, *acres);
    year.co2e += valueAt(row, kTableCo2e) * *acres;
  }
  // The rate as the financial analysis works it out, in single precision.
  auto interest = static_cast<float>(valueAt(stand.stand, kStandInterest));
  double rate = static_cast<double>(interest / 100);
  for (const CellRow& flow : stand.flows) {
    ForestYear& year = yearAt(valueAt(flow, kFlowYear));
    double discount = std::pow(1 + rate, year.year);
    year.cashPulpwood += valueAt(flow, kFlowPulpwood) * *acres;
    year.cashSawtimber += valueAt(flow, kFlowSawtimber) * *acres;
    year.pvPulpwood += valueAt(flow, kFlowPulpwood) * *acres / discount;
    year.pvSawtimber += valueAt(flow, kFlowSawtimber) * *acres / discount;
  }
}

std::vector<ForestYear> ForestTotals::years() const {
  std::vector<ForestYear> list;
  for (const auto& [year, entry] : years_) list.push_back(entry);
  return list;
}

}  // namespace keldovar::forest

// Yearly carbon payments of a rotation.
#include "carbon/crediting.h"

#include <algorithm>
#include <cmath>

namespace keldovar::carbon {

double tonnesCo2e(double carbonKg) {
  return massIn(co2eOf(carbonKg), MassUnit::Tonne);
}

std::vector<CarbonPayment> carbonPayments(const RotationCarbon& rotation,
                                          const CarbonValues& values) {
  std::vector<CarbonPayment> payments;
  if (!(values.price > 0) || rotation.points.empty()) return payments;
  double start = rotation.startAge();
  double baseline = std::max(values.baseline, 0.0);
  if (!rotation.newPlantation) baseline = std::max(baseline, tonnesCo2e(rotation.carbonAt(start)));
  auto credited = [&](double age) {
    return std::max(0.0, tonnesCo2e(rotation.carbonAt(age)) - baseline);
  };
  int first = static_cast<int>(std::floor(start)) + 1;
  int last = static_cast<int>(std::floor(rotation.harvestAge()));
  double before = credited(start);
  for (int year = first; year <= last; ++year) {
    double now = credited(year);
    double amount = values.price * (now - before);
    for (const Removal& removal : rotation.removals) {
      if (static_cast<int>(std::floor(removal.age)) == year) {
        amount += values.price * tonnesCo2e(removal.stored100());
      }
    }
    payments.push_back({year, amount});
    before = now;
  }
  return payments;
}

double presentValue(const std::vector<CarbonPayment>& payments, double rate) {
  double sum = 0;
  for (const CarbonPayment& p : payments) sum += p.amount / std::pow(1 + rate, p.year);
  return sum;
}

}  // namespace keldovar::carbon

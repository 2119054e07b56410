// The crediting rule that turns a rotation's carbon into money: yearly payments on the growth of
// the stand's carbon above a baseline, debits when thinnings and the harvest take it, and a
// credit for the carbon the removals keep in wood products for 100 years.
#pragma once

#include <vector>

#include "carbon/rotation_carbon.h"
#include "document/carbon_values.h"

namespace keldovar::carbon {

using CarbonValues = keldovar::CarbonValues;

// One payment at the end of a year of the stand's age, dollars per acre (negative: a debit).
struct CarbonPayment {
  int year = 0;
  double amount = 0;
};

// The rule, per acre, with S(t) the stump's carbon as tonnes of CO2e at age t (straight lines
// between the tables' ages; 0 at planting for a new plantation, 0 after the harvest):
//   the credited stock E(t) = max(0, S(t) - B), where B is the baseline, raised for an existing
//   stand to its carbon when it is taken up (only growth after that earns);
//   each whole year y after the start up to the harvest pays price * (E(y) - E(y-1)): growth
//   earns, a thinning or the harvest in year y debits what it took from the credited stock;
//   each removal also earns price * its carbon still in products 100 years on, in its year.
// Over a rotation the stock credits and debits cancel; what remains is the timing (credits come
// before the debit) and the products' credit. Nothing at a price of 0.
std::vector<CarbonPayment> carbonPayments(const RotationCarbon& rotation,
                                          const CarbonValues& values);

// Tonnes of CO2e of kg of carbon.
double tonnesCo2e(double carbonKg);

// The payments discounted to age 0 at `rate` (a fraction).
double presentValue(const std::vector<CarbonPayment>& payments, double rate);

}  // namespace keldovar::carbon

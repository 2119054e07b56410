// Carbon payments merged into a regime's cash flows.
#include "econ/carbon_flows.h"

#include "carbon/rotation_carbon.h"

namespace keldovar::econ {

std::optional<RegimeFlows> regimeFlows(const TableStore& store, int harvestIndex,
                                       const FinancialValues& values,
                                       const carbon::CarbonValues& carbon) {
  if (harvestIndex < 0 || harvestIndex > store.lastIndex || harvestIndex >= kTableCapacity) {
    return std::nullopt;
  }
  std::optional<RegimeFlows> flows =
      harvestFlows(store.tables[static_cast<std::size_t>(harvestIndex)], values);
  if (!flows || !(carbon.price > 0)) return flows;
  std::optional<carbon::RotationCarbon> rotation = carbon::rotationCarbon(store, harvestIndex);
  if (!rotation) return std::nullopt;
  for (const carbon::CarbonPayment& p : carbon::carbonPayments(*rotation, carbon)) {
    auto amount = static_cast<float>(p.amount);
    if (amount != 0) flows->flows.push_back({p.year, amount, amount});
  }
  return flows;
}

double carbonPresentValue(const TableStore& store, int harvestIndex, const FinancialValues& values,
                          const carbon::CarbonValues& carbon) {
  if (!(carbon.price > 0)) return 0;
  std::optional<carbon::RotationCarbon> rotation = carbon::rotationCarbon(store, harvestIndex);
  if (!rotation) return 0;
  return carbon::presentValue(carbon::carbonPayments(*rotation, carbon),
                              static_cast<double>(values.interestRate) / 100);
}

}  // namespace keldovar::econ

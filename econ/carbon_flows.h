// A harvested regime's cash flows with the carbon payments of its rotation added, so that NPV,
// LEV and IRR value timber and carbon together.
#pragma once

#include <optional>

#include "carbon/crediting.h"
#include "econ/cash_flows.h"

namespace keldovar::econ {

// The flows of the harvest table at `harvestIndex` (as harvestFlows gives them) and, at a
// positive carbon price, one flow a year of the rotation's carbon payments, the same for both
// managements. At a price of 0 the flows are exactly harvestFlows'; nothing when the table is no
// harvest, or a carbon price is set and the rotation's tables cannot be followed.
std::optional<RegimeFlows> regimeFlows(const TableStore& store, int harvestIndex,
                                       const FinancialValues& values,
                                       const carbon::CarbonValues& carbon);

// The carbon payments' present value per acre at the regime's interest rate; 0 without a price.
double carbonPresentValue(const TableStore& store, int harvestIndex, const FinancialValues& values,
                          const carbon::CarbonValues& carbon);

}  // namespace keldovar::econ

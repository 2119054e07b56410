// The carbon figures the batch runner's JSON adds to every table: new keys only, so that what a
// reader of the older output parses stays in its place. The CSV's carbon columns are
// view/report_csv's.
#pragma once

#include <string>

#include "carbon/crediting.h"
#include "document/table_store.h"

namespace keldovar::cli {

// `, "carbon": ...` for table `index`: null without stock rows, else the pools of its stand
// (short tons per acre: dry biomass, carbon, CO2e), what a thinning or the harvest took into
// products and kept for 100 years, and on a harvest table the stump's carbon over the rotation
// with its average and, at a carbon price, the carbon payments' present value and the regime's
// NPV, LEV and IRR with them.
std::string carbonJson(const TableStore& store, int index, const FinancialValues& values,
                       const carbon::CarbonValues& carbonValues);
// The same value without its key.
// In metric, every figure per hectare and in tonnes.
std::string carbonValueJson(const TableStore& store, int index, const FinancialValues& values,
                            const carbon::CarbonValues& carbonValues,
                            UnitSystem units = UnitSystem::Imperial);

}  // namespace keldovar::cli

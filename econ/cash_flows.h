// The cash flows of a harvested regime and the measures built on them: net present value (to
// the cent as the financial analysis prints it), land expectation value and internal rate of
// return.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "document/table_store.h"
#include "engine/stand_state.h"

namespace keldovar::econ {

enum class Management { Pulpwood, Sawtimber };

// One valued history record: a thinning or the harvest earns, a fertilization costs (negative).
struct CashFlow {
  int year = 0;
  float pulpwood = 0;
  float sawtimber = 0;
};

struct RegimeFlows {
  bool newPlantation = false;  // the establishment cost is paid at age 0
  int rotation = 0;            // the harvest age, in whole years
  FinancialValues values;
  std::vector<CashFlow> flows;  // in the order of the history
  float harvestPulpTons = 0;    // what the harvest removed
  float harvestSawTons = 0;
  float harvestIUPulpTons = 0;
};

// The flows of the harvest table `table` (a table whose history ends with the harvest), valued
// at `values` as the harvest valued them; nothing when the table holds no harvest.
std::optional<RegimeFlows> harvestFlows(const ReportTable& table, const FinancialValues& values);
// The same of a stand history whose record `last` is the harvest.
std::optional<RegimeFlows> harvestFlows(const std::array<HistoryRecord, kHistoryCapacity>& history,
                                        int last, const FinancialValues& values);

// Exactly the financial analysis's net present value, establishment cost deducted for a new
// plantation.
float netPresentValue(const RegimeFlows& regime, Management management);

// Faustmann's value of bare land under the regime repeated forever; nothing at a zero rate.
std::optional<double> landExpectationValue(const RegimeFlows& regime, Management management);

// The rate (a fraction) at which the flows are worth nothing, to 1e-6; nothing when the flows
// do not change sign or no rate between -99 % and 1000 % balances them.
std::optional<double> internalRateOfReturn(const RegimeFlows& regime, Management management);

// True when the net present values at `regime`'s values are the two the table's financial
// analysis printed: false when the financial values changed after the harvest.
bool agreesWithTable(const RegimeFlows& regime, const ReportTable& table);

// The three measures of one management, as the outputs show them.
struct Measures {
  float npv = 0;
  std::optional<double> lev;
  std::optional<double> irr;
};
Measures measuresOf(const RegimeFlows& regime, Management management);

}  // namespace keldovar::econ

// The cash flows of a harvested regime and the measures built on them: net present value (to
// the cent as the financial analysis prints it), land expectation value and internal rate of
// return.
#pragma once

#include <optional>
#include <vector>

#include "document/table_store.h"
#include "engine/stand_state.h"

namespace keldovar::econ {

enum class Management { Pulpwood, Sawtimber };

// Whose prices a valued history record takes.
enum class PriceSet { FirstThin, NextThin, Harvest, Fertilization };

// A valued history record's quantities: the removed tons as the history holds them (negative),
// or a fertilization, which costs what the financial values say.
struct RegimeEvent {
  int year = 0;
  PriceSet prices = PriceSet::Harvest;
  double pulpTons = 0;
  double iuPulpTons = 0;
  double sawTons = 0;
  bool operator==(const RegimeEvent&) const = default;
};

// The standing stand of a state record (planted, initialized, projected, residual).
struct StandingStock {
  int age = 0;
  double pulpTons = 0;
  double iuPulpTons = 0;
  double sawTons = 0;
  bool operator==(const StandingStock&) const = default;
};

// A harvested regime's physical side, which prices act on: read once from the harvest table,
// valued at any number of prices.
struct RegimeQuantities {
  bool newPlantation = false;       // the establishment cost is paid at age 0
  int startAge = 0;                 // 0 for a new plantation, else the age the stand was taken over
  int rotation = 0;                 // the harvest age, in whole years
  std::vector<RegimeEvent> events;  // in the order of the history; the harvest last
  std::vector<StandingStock> standing;  // the planting record and every state record, in order
  bool operator==(const RegimeQuantities&) const = default;
};

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

// The quantities of the harvest table `table` (a table whose history ends with the harvest);
// nothing when the table holds no harvest.
std::optional<RegimeQuantities> harvestQuantities(const ReportTable& table);

// The flows of the quantities valued at `values`, as the harvest values them.
RegimeFlows pricedFlows(const RegimeQuantities& quantities, const FinancialValues& values);

// The flows of the harvest table `table` valued at `values`; nothing when it holds no harvest.
std::optional<RegimeFlows> harvestFlows(const ReportTable& table, const FinancialValues& values);

// The pulpwood and sawtimber prices ($/ton) of a set; a fertilization's are both its cost.
struct SetPrices {
  float pulp = 0;
  float saw = 0;
};
SetPrices pricesOf(PriceSet set, const FinancialValues& values);

// One record's amounts at `prices`: a removal's returns, or a fertilization's cost (negative).
CashFlow eventFlow(const RegimeEvent& event, SetPrices prices);

// What an amount received at the end of `year` is divided by at `rate` (a fraction), and its
// present value as the analysis rounds it (-999.99 for a year before the first).
double discountDivisor(float rate, int year);
float presentValue(int year, float amount, double divisor);

// The stand standing at the end of `age`, before that year's treatments: a state record of
// that age, else the straight line between the records on either side.
StandingStock standingAt(const RegimeQuantities& quantities, int age);

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

// The LEV and IRR of both managements of a harvest table. Nothing for a table without a harvest;
// empty measures when the table's figures are not those of `values` (the financial values
// changed after the harvest).
struct HarvestMeasures {
  Measures pulpwood;
  Measures sawtimber;
};
std::optional<HarvestMeasures> harvestMeasures(const ReportTable& table,
                                               const FinancialValues& values);

}  // namespace keldovar::econ

// Cash flows of a harvested regime, valued in the financial analysis's own single-precision
// arithmetic so that the net present values agree with its table to the cent.
#include "econ/cash_flows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

#include "engine/number_text.h"

namespace keldovar::econ {
namespace {

std::string_view labelOf(const HistoryRecord& record) {
  return std::string_view(record.label, strnlen(record.label, kLabelLength));
}

// The set of record `count`: the harvest's for the last, then the first thinning's once, then
// the later thinnings'. Every non-state record closes the first-thinning choice.
PriceSet setFor(int count, int last, bool& firstThinOpen) {
  if (count == last) return PriceSet::Harvest;
  if (firstThinOpen) {
    firstThinOpen = false;
    return PriceSet::FirstThin;
  }
  return PriceSet::NextThin;
}

float amountOf(const CashFlow& flow, Management management) {
  return management == Management::Pulpwood ? flow.pulpwood : flow.sawtimber;
}

StandingStock stockOf(const HistoryRecord& record) {
  return {static_cast<int>(record.age), record.cords, record.topcords, record.bdft};
}

double valueAt(const RegimeFlows& regime, Management management, double rate) {
  double sum = regime.newPlantation ? -static_cast<double>(regime.values.establishmentCost) : 0;
  for (const CashFlow& flow : regime.flows) {
    sum += static_cast<double>(amountOf(flow, management)) / std::pow(1 + rate, flow.year);
  }
  return sum;
}

}  // namespace

std::optional<RegimeQuantities> harvestQuantities(const ReportTable& table) {
  return harvestQuantities(table.history, table.historyLast);
}

std::optional<RegimeQuantities> harvestQuantities(
    const std::array<HistoryRecord, kHistoryCapacity>& history, int last) {
  RegimeQuantities regime;
  if (!harvestQuantities(history, last, regime)) return std::nullopt;
  return regime;
}

bool harvestQuantities(const std::array<HistoryRecord, kHistoryCapacity>& history, int last,
                       RegimeQuantities& into) {
  if (last < 1 || last >= kHistoryCapacity) return false;
  const HistoryRecord& harvest = history[static_cast<std::size_t>(last)];
  if (labelOf(harvest) != "Harvest") return false;
  // Every history starts with "Planted"; a new plantation's initialization record says so.
  into.newPlantation = labelOf(history[1]) == "Initialized Plantation";
  into.startAge = into.newPlantation ? 0 : static_cast<int>(history[1].age);
  into.rotation = static_cast<int>(harvest.age);
  into.events.clear();
  into.standing.clear();
  into.standing.push_back(stockOf(history[0]));
  bool firstThinOpen = true;
  for (int count = 1; count <= last; ++count) {
    const HistoryRecord& record = history[static_cast<std::size_t>(count)];
    if (record.basal_area > 0) {
      into.standing.push_back(stockOf(record));
      continue;
    }
    PriceSet set = setFor(count, last, firstThinOpen);
    auto year = static_cast<int>(record.age);
    if (record.basal_area < 0) {
      into.events.push_back({year, set, record.cords, record.topcords, record.bdft});
    } else if (labelOf(record) == "Fertilization") {
      into.events.push_back({year, PriceSet::Fertilization, 0, 0, 0});
    }
  }
  return true;
}

SetPrices pricesOf(PriceSet set, const FinancialValues& v) {
  switch (set) {
    case PriceSet::FirstThin:
      return {v.oneThinPulp, v.oneThinSaw};
    case PriceSet::NextThin:
      return {v.nextThinPulp, v.nextThinSaw};
    case PriceSet::Harvest:
      return {v.harvestPulp, v.harvestSaw};
    case PriceSet::Fertilization:
      break;
  }
  return {v.midrotationFertCost, v.midrotationFertCost};
}

CashFlow eventFlow(const RegimeEvent& event, SetPrices prices) {
  CashFlow flow;
  flow.year = event.year;
  if (event.prices == PriceSet::Fertilization) {
    flow.pulpwood = flow.sawtimber = -prices.pulp;
    return flow;
  }
  if (event.pulpTons * (-1) > 0) {
    flow.pulpwood = static_cast<float>(static_cast<double>(prices.pulp) * event.pulpTons * (-1));
  }
  flow.sawtimber = static_cast<float>(static_cast<double>(prices.saw) * event.sawTons * (-1) +
                                      static_cast<double>(prices.pulp) * event.iuPulpTons * (-1));
  return flow;
}

RegimeFlows pricedFlows(const RegimeQuantities& quantities, const FinancialValues& values) {
  RegimeFlows regime;
  pricedFlows(quantities, values, regime);
  return regime;
}

void pricedFlows(const RegimeQuantities& quantities, const FinancialValues& values,
                 RegimeFlows& into) {
  into.newPlantation = quantities.newPlantation;
  into.rotation = quantities.rotation;
  into.values = values;
  into.flows.clear();
  for (const RegimeEvent& event : quantities.events) {
    into.flows.push_back(eventFlow(event, pricesOf(event.prices, values)));
  }
  into.harvestPulpTons = into.harvestSawTons = into.harvestIUPulpTons = 0;
  if (!quantities.events.empty()) {
    const RegimeEvent& harvest = quantities.events.back();
    into.harvestPulpTons = static_cast<float>(-harvest.pulpTons);
    into.harvestSawTons = static_cast<float>(-harvest.sawTons);
    into.harvestIUPulpTons = static_cast<float>(-harvest.iuPulpTons);
  }
}

std::optional<RegimeFlows> harvestFlows(const ReportTable& table, const FinancialValues& values) {
  std::optional<RegimeQuantities> quantities = harvestQuantities(table);
  if (!quantities) return std::nullopt;
  return pricedFlows(*quantities, values);
}

double discountDivisor(float rate, int year) {
  float base = 1 + rate;
  return std::pow(static_cast<double>(base), year);
}

float presentValue(int year, float amount, double divisor) {
  if (amount == 0) return 0;
  if (year <= 0) return -999.99f;
  return static_cast<float>(static_cast<double>(amount) / divisor);
}

StandingStock standingAt(const RegimeQuantities& quantities, int age) {
  const std::vector<StandingStock>& points = quantities.standing;
  auto after = std::find_if(points.begin(), points.end(),
                            [age](const StandingStock& s) { return s.age >= age; });
  if (after == points.end()) return points.empty() ? StandingStock{age} : points.back();
  if (after->age == age || after == points.begin()) return *after;
  const StandingStock& before = *(after - 1);
  double share = static_cast<double>(age - before.age) / (after->age - before.age);
  auto between = [share](double a, double b) { return a + (b - a) * share; };
  return {age, between(before.pulpTons, after->pulpTons),
          between(before.iuPulpTons, after->iuPulpTons), between(before.sawTons, after->sawTons)};
}

float netPresentValue(const RegimeFlows& regime, Management management) {
  float rate = regime.values.interestRate / 100;
  float sum = 0;
  for (const CashFlow& flow : regime.flows) {
    sum += presentValue(flow.year, amountOf(flow, management), discountDivisor(rate, flow.year));
  }
  return regime.newPlantation ? sum - regime.values.establishmentCost : sum;
}

std::optional<double> landExpectationValue(const RegimeFlows& regime, Management management) {
  float rate = regime.values.interestRate / 100;
  float base = 1 + rate;
  double growth = std::pow(static_cast<double>(base), regime.rotation);
  if (!(growth - 1 > 0) || !std::isfinite(growth)) return std::nullopt;
  return static_cast<double>(netPresentValue(regime, management)) * growth / (growth - 1);
}

namespace {

// The rates the search for the rate of return tries in turn: -99 %, then by one point to 100 %,
// then by 25 points to 1000 %, each the sum of the one before and its step.
constexpr int rateGridSize() {
  int n = 1;
  for (double high = -0.98; high <= 10.0 + 1e-9; high += high < 1 ? 0.01 : 0.25) ++n;
  return n;
}
using RateGrid = std::array<double, rateGridSize()>;
constexpr RateGrid kRateGrid = [] {
  RateGrid grid{};
  grid[0] = -0.99;
  std::size_t i = 1;
  for (double high = -0.98; high <= 10.0 + 1e-9; high += high < 1 ? 0.01 : 0.25) grid[i++] = high;
  return grid;
}();

// True when the yearly sums of the flows (the establishment cost at year 0) change sign once:
// the value as a polynomial in 1/(1+rate) then has exactly one root above -100 % (Descartes).
bool oneSignChange(const RegimeFlows& regime, Management management) {
  int changes = 0;
  int sign = 0;
  auto note = [&](double sum) {
    int s = (sum > 0) - (sum < 0);
    if (s != 0 && sign != 0 && s != sign) ++changes;
    if (s != 0) sign = s;
  };
  double sum = regime.newPlantation ? -static_cast<double>(regime.values.establishmentCost) : 0;
  int year = 0;
  for (const CashFlow& flow : regime.flows) {
    if (flow.year < year) return false;  // not in the order of time: no shortcut
    if (flow.year != year) {
      note(sum);
      sum = 0;
      year = flow.year;
    }
    sum += static_cast<double>(amountOf(flow, management));
  }
  note(sum);
  return changes == 1;
}

// The first grid point from which the value changes sign at the next, or is zero; by walking
// the grid, or, when the value has one root, by halving it: the signs along the grid then
// change once, so both find the same point. Nothing when the sign never changes.
std::optional<std::size_t> bracket(const RegimeFlows& regime, Management management,
                                   std::array<double, 2>& values) {
  auto value = [&](std::size_t i) { return valueAt(regime, management, kRateGrid[i]); };
  std::size_t last = kRateGrid.size() - 1;
  double first = value(0);
  if (first == 0) {
    values = {first, first};
    return 0;
  }
  if (oneSignChange(regime, management)) {
    bool below = first < 0;
    double end = value(last);
    if ((end < 0) == below) return std::nullopt;
    std::size_t low = 0, high = last;  // the sign at low is the first's, at high not
    double valueLow = first, valueHigh = end;
    while (high - low > 1) {
      std::size_t mid = low + (high - low) / 2;
      double v = value(mid);
      if ((v < 0) == below) {
        low = mid, valueLow = v;
      } else {
        high = mid, valueHigh = v;
      }
    }
    values = {valueLow, valueHigh};
    return low;
  }
  double valueLow = first;
  for (std::size_t i = 1; i <= last; ++i) {
    double valueHigh = value(i);
    if (valueLow == 0 || (valueLow < 0) != (valueHigh < 0)) {
      values = {valueLow, valueHigh};
      return i - 1;
    }
    valueLow = valueHigh;
  }
  return std::nullopt;
}

}  // namespace

std::optional<double> internalRateOfReturn(const RegimeFlows& regime, Management management) {
  bool gains = false;
  bool costs = regime.newPlantation && regime.values.establishmentCost > 0;
  for (const CashFlow& flow : regime.flows) {
    float amount = amountOf(flow, management);
    gains = gains || amount > 0;
    costs = costs || amount < 0;
  }
  if (!gains || !costs) return std::nullopt;
  // The lowest rate where the value changes sign, on a grid fine enough for forestry's rates,
  // then halved down to 1e-9.
  std::array<double, 2> values{};
  std::optional<std::size_t> at = bracket(regime, management, values);
  if (!at) return std::nullopt;
  double low = kRateGrid[*at];
  double high = kRateGrid[*at + 1];
  double valueLow = values[0];
  if (valueLow == 0) return low;
  for (int i = 0; i < 100 && high - low > 1e-9; ++i) {
    double mid = (low + high) / 2;
    double valueMid = valueAt(regime, management, mid);
    if ((valueMid < 0) == (valueLow < 0)) {
      low = mid;
      valueLow = valueMid;
    } else {
      high = mid;
    }
  }
  return (low + high) / 2;
}

bool agreesWithTable(const RegimeFlows& regime, const ReportTable& table) {
  int last = table.financialLast;
  if (last < 1 || last >= kFinancialLineCapacity) return false;
  auto printed = [&](int line, Management management) {
    std::string_view text = table.financialLines[static_cast<std::size_t>(line)];
    std::size_t dollar = text.rfind('$');
    if (dollar == std::string_view::npos) return false;
    std::size_t digits = text.find_first_not_of(' ', dollar + 1);
    char shown[kNumberRoom];
    std::size_t length =
        writeFixed(shown, static_cast<double>(netPresentValue(regime, management)), 2);
    return digits != std::string_view::npos &&
           text.substr(digits) == std::string_view(shown, length);
  };
  return printed(last - 1, Management::Pulpwood) && printed(last, Management::Sawtimber);
}

Measures measuresOf(const RegimeFlows& regime, Management management) {
  return {netPresentValue(regime, management), landExpectationValue(regime, management),
          internalRateOfReturn(regime, management)};
}

std::optional<HarvestMeasures> harvestMeasures(const ReportTable& table,
                                               const FinancialValues& values) {
  std::optional<RegimeFlows> flows = harvestFlows(table, values);
  if (!flows) return std::nullopt;
  HarvestMeasures m;
  if (agreesWithTable(*flows, table)) {
    m.pulpwood = measuresOf(*flows, Management::Pulpwood);
    m.sawtimber = measuresOf(*flows, Management::Sawtimber);
  }
  return m;
}

}  // namespace keldovar::econ

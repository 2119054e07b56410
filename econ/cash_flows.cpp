// Cash flows of a harvested regime, valued in the financial analysis's own single-precision
// arithmetic so that the net present values agree with its table to the cent.
#include "econ/cash_flows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "engine/report_text.h"

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
  int last = table.historyLast;
  if (last < 1 || last >= kHistoryCapacity) return std::nullopt;
  const HistoryRecord& harvest = table.history[static_cast<std::size_t>(last)];
  if (labelOf(harvest) != "Harvest") return std::nullopt;
  RegimeQuantities regime;
  // Every history starts with "Planted"; a new plantation's initialization record says so.
  regime.newPlantation = labelOf(table.history[1]) == "Initialized Plantation";
  regime.startAge = regime.newPlantation ? 0 : static_cast<int>(table.history[1].age);
  regime.rotation = static_cast<int>(harvest.age);
  regime.standing.push_back(stockOf(table.history[0]));
  bool firstThinOpen = true;
  for (int count = 1; count <= last; ++count) {
    const HistoryRecord& record = table.history[static_cast<std::size_t>(count)];
    if (record.basal_area > 0) {
      regime.standing.push_back(stockOf(record));
      continue;
    }
    PriceSet set = setFor(count, last, firstThinOpen);
    auto year = static_cast<int>(record.age);
    if (record.basal_area < 0) {
      regime.events.push_back({year, set, record.cords, record.topcords, record.bdft});
    } else if (labelOf(record) == "Fertilization") {
      regime.events.push_back({year, PriceSet::Fertilization, 0, 0, 0});
    }
  }
  return regime;
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
  regime.newPlantation = quantities.newPlantation;
  regime.rotation = quantities.rotation;
  regime.values = values;
  for (const RegimeEvent& event : quantities.events) {
    regime.flows.push_back(eventFlow(event, pricesOf(event.prices, values)));
  }
  if (!quantities.events.empty()) {
    const RegimeEvent& harvest = quantities.events.back();
    regime.harvestPulpTons = static_cast<float>(-harvest.pulpTons);
    regime.harvestSawTons = static_cast<float>(-harvest.sawTons);
    regime.harvestIUPulpTons = static_cast<float>(-harvest.iuPulpTons);
  }
  return regime;
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

std::optional<double> internalRateOfReturn(const RegimeFlows& regime, Management management) {
  bool gains = false;
  bool costs = regime.newPlantation && regime.values.establishmentCost > 0;
  for (const CashFlow& flow : regime.flows) {
    float amount = amountOf(flow, management);
    gains = gains || amount > 0;
    costs = costs || amount < 0;
  }
  if (!gains || !costs) return std::nullopt;
  // The lowest rate where the value changes sign, on a grid fine enough for forestry's rates.
  double low = -0.99;
  double valueLow = valueAt(regime, management, low);
  for (double high = -0.98; high <= 10.0 + 1e-9; high += high < 1 ? 0.01 : 0.25) {
    double valueHigh = valueAt(regime, management, high);
    if (valueLow == 0) return low;
    if ((valueLow < 0) != (valueHigh < 0)) {
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
    low = high;
    valueLow = valueHigh;
  }
  return std::nullopt;
}

bool agreesWithTable(const RegimeFlows& regime, const ReportTable& table) {
  int last = table.financialLast;
  if (last < 1 || last >= kFinancialLineCapacity) return false;
  auto printed = [&](int line, Management management) {
    const std::string& text = table.financialLines[static_cast<std::size_t>(line)];
    std::size_t dollar = text.rfind('$');
    if (dollar == std::string::npos) return false;
    std::size_t digits = text.find_first_not_of(' ', dollar + 1);
    std::string shown =
        formatText("%.2f", static_cast<double>(netPresentValue(regime, management)));
    return digits != std::string::npos && text.compare(digits, std::string::npos, shown) == 0;
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

// Cash flows of a harvested regime, valued in the financial analysis's own single-precision
// arithmetic so that the net present values agree with its table to the cent.
#include "econ/cash_flows.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "engine/report_text.h"

namespace keldovar::econ {
namespace {

std::string_view labelOf(const HistoryRecord& record) {
  return std::string_view(record.label, strnlen(record.label, kLabelLength));
}

// The present value of an amount received at the end of `year`, as the analysis discounts it.
float presentValue(int year, float amount, float rate) {
  if (amount == 0) return 0;
  if (year <= 0) return -999.99f;
  float base = 1 + rate;
  return static_cast<float>(static_cast<double>(amount) /
                            std::pow(static_cast<double>(base), year));
}

struct Prices {
  float pulp = 0;
  float saw = 0;
};

// The prices of record `count`: the harvest's for the last, then the first thinning's once,
// then the later thinnings'. Every non-state record closes the first-thinning choice.
Prices pricesFor(int count, int last, bool& firstThinOpen, const FinancialValues& v) {
  if (count == last) return {v.harvestPulp, v.harvestSaw};
  if (firstThinOpen) {
    firstThinOpen = false;
    return {v.oneThinPulp, v.oneThinSaw};
  }
  return {v.nextThinPulp, v.nextThinSaw};
}

CashFlow removalFlow(const HistoryRecord& record, Prices prices) {
  CashFlow flow;
  flow.year = static_cast<int>(record.age);
  if (record.cords * (-1) > 0) {
    flow.pulpwood = static_cast<float>(static_cast<double>(prices.pulp) * record.cords * (-1));
  }
  flow.sawtimber = static_cast<float>(static_cast<double>(prices.saw) * record.bdft * (-1) +
                                      static_cast<double>(prices.pulp) * record.topcords * (-1));
  return flow;
}

float amountOf(const CashFlow& flow, Management management) {
  return management == Management::Pulpwood ? flow.pulpwood : flow.sawtimber;
}

double valueAt(const RegimeFlows& regime, Management management, double rate) {
  double sum = regime.newPlantation ? -static_cast<double>(regime.values.establishmentCost) : 0;
  for (const CashFlow& flow : regime.flows) {
    sum += static_cast<double>(amountOf(flow, management)) / std::pow(1 + rate, flow.year);
  }
  return sum;
}

}  // namespace

std::optional<RegimeFlows> harvestFlows(const ReportTable& table, const FinancialValues& values) {
  int last = table.historyLast;
  if (last < 1 || last >= kHistoryCapacity) return std::nullopt;
  const HistoryRecord& harvest = table.history[static_cast<std::size_t>(last)];
  if (labelOf(harvest) != "Harvest") return std::nullopt;
  RegimeFlows regime;
  regime.values = values;
  // Every history starts with "Planted"; a new plantation's initialization record says so.
  regime.newPlantation = labelOf(table.history[1]) == "Initialized Plantation";
  regime.rotation = static_cast<int>(harvest.age);
  regime.harvestPulpTons = static_cast<float>(-harvest.cords);
  regime.harvestSawTons = static_cast<float>(-harvest.bdft);
  regime.harvestIUPulpTons = static_cast<float>(-harvest.topcords);
  bool firstThinOpen = true;
  for (int count = 1; count <= last; ++count) {
    const HistoryRecord& record = table.history[static_cast<std::size_t>(count)];
    if (record.basal_area > 0) continue;
    Prices prices = pricesFor(count, last, firstThinOpen, values);
    if (record.basal_area < 0) {
      regime.flows.push_back(removalFlow(record, prices));
    } else if (labelOf(record) == "Fertilization") {
      float cost = -values.midrotationFertCost;
      regime.flows.push_back({static_cast<int>(record.age), cost, cost});
    }
  }
  return regime;
}

float netPresentValue(const RegimeFlows& regime, Management management) {
  float rate = regime.values.interestRate / 100;
  float sum = 0;
  for (const CashFlow& flow : regime.flows) {
    sum += presentValue(flow.year, amountOf(flow, management), rate);
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

}  // namespace keldovar::econ

// The sensitivity of a harvested regime. Every figure is the financial analysis's own net present
// value at changed values; only the break-evens' solving runs in double precision.
#include "econ/sensitivity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace keldovar::econ {
namespace {

constexpr ByManagement<Management> kManagements = {Management::Pulpwood, Management::Sawtimber};

// A break-even is looked for this many representable values either side of the solved one.
constexpr int kNudgeSteps = 64;
// Beyond this a solved value means the field barely moves the NPV: no useful break-even.
constexpr double kLargestBreakEven = 1e12;

// The NPV without the analysis's single-precision rounding: exactly linear in every price and
// cost, which the break-evens' closed form needs.
double exactValue(const RegimeQuantities& regime, const FinancialValues& values,
                  Management management) {
  float rate = values.interestRate / 100;
  double sum = regime.newPlantation ? -static_cast<double>(values.establishmentCost) : 0;
  for (const RegimeEvent& event : regime.events) {
    SetPrices prices = pricesOf(event.prices, values);
    auto pulp = static_cast<double>(prices.pulp);
    auto saw = static_cast<double>(prices.saw);
    double amount = 0;
    if (event.prices == PriceSet::Fertilization) {
      amount = -pulp;
    } else if (management == Management::Pulpwood) {
      amount = -event.pulpTons > 0 ? pulp * -event.pulpTons : 0;
    } else {
      amount = saw * -event.sawTons + pulp * -event.iuPulpTons;
    }
    sum += amount / discountDivisor(rate, event.year);
  }
  return sum;
}

Measures valueAt(const RegimeQuantities& regime, const FinancialValues& values,
                 Management management) {
  RegimeFlows flows = pricedFlows(regime, values);
  return {netPresentValue(flows, management), landExpectationValue(flows, management), {}};
}

std::vector<TornadoBar> tornadoOf(const RegimeQuantities& regime, const FinancialValues& values,
                                  const SensitivityOptions& options) {
  std::vector<TornadoBar> bars;
  double share = options.swing / 100;
  for (std::size_t i = 0; i < kFinancialFields.size(); ++i) {
    float FinancialValues::*field = kFinancialFields[i].value;
    auto base = static_cast<double>(values.*field);
    TornadoBar bar;
    bar.field = i;
    bar.low = static_cast<float>(base * (1 - share));
    bar.high = static_cast<float>(base * (1 + share));
    FinancialValues low = values;
    low.*field = bar.low;
    FinancialValues high = values;
    high.*field = bar.high;
    for (Management m : kManagements) {
      bar.atLow[indexOf(m)] = valueAt(regime, low, m);
      bar.atHigh[indexOf(m)] = valueAt(regime, high, m);
    }
    std::size_t ordering = indexOf(options.management);
    bar.swing = std::abs(static_cast<double>(bar.atHigh[ordering].npv) -
                         static_cast<double>(bar.atLow[ordering].npv));
    bars.push_back(bar);
  }
  std::stable_sort(bars.begin(), bars.end(),
                   [](const TornadoBar& a, const TornadoBar& b) { return a.swing > b.swing; });
  return bars;
}

}  // namespace

std::string checkSensitivityOptions(const SensitivityOptions& options) {
  const RateRange& r = options.rates;
  if (!std::isfinite(r.from) || !std::isfinite(r.to) || !std::isfinite(r.step) || r.from < 0 ||
      r.to > kMaxRatePercent || r.from > r.to || !(r.step > 0)) {
    return "rates: give FROM:TO:STEP in percent, 0 <= FROM <= TO <= 100, STEP above 0";
  }
  if ((r.to - r.from) / r.step >= kMaxRatePoints) return "rates: at most 1001 rates";
  if (!(options.swing > 0 && options.swing <= 100)) {
    return "swing: give a percentage above 0 and at most 100";
  }
  return "";
}

std::vector<double> ratesOf(const RateRange& range) {
  // A rate a hair past `to` from the division's rounding still counts as `to`.
  auto steps = static_cast<int>(std::floor((range.to - range.from) / range.step + 1e-9));
  std::vector<double> rates;
  for (int k = 0; k <= steps; ++k) rates.push_back(range.from + k * range.step);
  return rates;
}

std::optional<float> breakEvenValue(const RegimeQuantities& regime, FinancialValues values,
                                    float FinancialValues::*field, Management management) {
  values.*field = 0;
  double atZero = exactValue(regime, values, management);
  values.*field = 1;
  double slope = exactValue(regime, values, management) - atZero;
  if (slope == 0) return std::nullopt;
  double solved = -atZero / slope;
  if (!(std::abs(solved) < kLargestBreakEven)) return std::nullopt;
  // The analysis rounds every present value to single precision: the representable value
  // nearest the exact root need not give the smallest printed NPV, one of its neighbours may.
  auto printedAt = [&](float value) {
    values.*field = value;
    return std::abs(netPresentValue(pricedFlows(regime, values), management));
  };
  auto best = static_cast<float>(solved);
  float bestGap = printedAt(best);
  for (float towards :
       {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
    float value = best;
    for (int k = 0; k < kNudgeSteps && bestGap > 0; ++k) {
      value = std::nextafter(value, towards);
      float gap = printedAt(value);
      if (gap >= bestGap) break;
      best = value;
      bestGap = gap;
    }
  }
  return best;
}

Sensitivity sensitivityOf(const RegimeQuantities& regime, const FinancialValues& values,
                          const SensitivityOptions& options) {
  Sensitivity result;
  RegimeFlows flows = pricedFlows(regime, values);
  for (Management m : kManagements) {
    std::size_t i = indexOf(m);
    result.base[i] = measuresOf(flows, m);
    result.breakEven.irr[i] = result.base[i].irr;
    result.breakEven.harvestPulp[i] =
        breakEvenValue(regime, values, &FinancialValues::harvestPulp, m);
    result.breakEven.harvestSaw[i] =
        breakEvenValue(regime, values, &FinancialValues::harvestSaw, m);
    result.breakEven.establishmentCost[i] =
        breakEvenValue(regime, values, &FinancialValues::establishmentCost, m);
  }
  for (double rate : ratesOf(options.rates)) {
    RatePoint point;
    point.rate = rate;
    flows.values.interestRate = static_cast<float>(rate);
    for (Management m : kManagements) {
      point.npv[indexOf(m)] = netPresentValue(flows, m);
      point.lev[indexOf(m)] = landExpectationValue(flows, m);
    }
    result.curve.push_back(point);
  }
  result.tornado = tornadoOf(regime, values, options);
  return result;
}

const ReportTable* newestHarvest(const TableStore& store) {
  for (int i = store.lastIndex; i >= 0; --i) {
    const ReportTable& table = store.tables[static_cast<std::size_t>(i)];
    if (harvestQuantities(table)) return &table;
  }
  return nullptr;
}

}  // namespace keldovar::econ

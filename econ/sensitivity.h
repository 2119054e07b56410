// How a harvested regime's value moves with its financial values: NPV and LEV over a range of
// interest rates, each value moved down and up (a tornado, largest effect first), and the values
// at which the regime breaks even.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "document/table_store.h"
#include "econ/cash_flows.h"

namespace keldovar::econ {

// A figure for each management, in the enum's order.
template <typename T>
using ByManagement = std::array<T, 2>;
inline constexpr std::size_t indexOf(Management management) {
  return management == Management::Pulpwood ? 0 : 1;
}

// The nine financial values as a chart or a table names them, in kFinancialFields' order.
inline constexpr std::array<const char*, kFinancialValueCount> kValueNames = {
    "Interest rate",       "First thin pulpwood",  "First thin sawtimber",
    "Later thin pulpwood", "Later thin sawtimber", "Harvest pulpwood",
    "Harvest sawtimber",   "Establishment cost",   "Fertilization cost"};

inline constexpr int kMaxRatePoints = 1001;
inline constexpr double kMaxRatePercent = 100;

// Interest rates in percent, from `from` to `to` by `step`, both ends included.
struct RateRange {
  double from = 2;
  double to = 12;
  double step = 0.5;
};

struct SensitivityOptions {
  RateRange rates;
  double swing = 30;  // percent each value is moved down and up, above 0 and at most 100
  Management management = Management::Sawtimber;  // whose NPV orders the tornado
};

// What is wrong with the options, or "".
std::string checkSensitivityOptions(const SensitivityOptions& options);
// The rates of a range checked by checkSensitivityOptions, each worked out from the range's
// start so that no step's rounding carries into the next.
std::vector<double> ratesOf(const RateRange& range);

struct RatePoint {
  double rate = 0;  // percent
  ByManagement<float> npv{};
  ByManagement<std::optional<double>> lev;
};

struct TornadoBar {
  std::size_t field = 0;  // in kFinancialFields
  float low = 0;          // the value moved down, and up
  float high = 0;
  ByManagement<Measures> atLow;
  ByManagement<Measures> atHigh;
  double swing = 0;  // how far the ordering management's NPV moves between the two
};

struct BreakEvens {
  ByManagement<std::optional<double>> irr;  // a fraction
  // The harvest prices and the establishment cost put back into the financial values give an
  // NPV (and so an LEV) of 0 to the cent; nothing where the value does not enter the NPV.
  ByManagement<std::optional<float>> harvestSaw;
  ByManagement<std::optional<float>> harvestPulp;
  ByManagement<std::optional<float>> establishmentCost;
};

struct Sensitivity {
  ByManagement<Measures> base;
  std::vector<RatePoint> curve;
  std::vector<TornadoBar> tornado;  // largest swing first; ties in the fields' order
  BreakEvens breakEven;
};

Sensitivity sensitivityOf(const RegimeQuantities& regime, const FinancialValues& values,
                          const SensitivityOptions& options);

// The value of `field` (one in which the NPV is linear: a price or a cost) at which the NPV of
// `management` is 0 to the cent, the others kept; nothing when the field does not move the NPV.
std::optional<float> breakEvenValue(const RegimeQuantities& regime, FinancialValues values,
                                    float FinancialValues::*field, Management management);

// The newest table of the store whose history ends with a harvest; nullptr when there is none.
const ReportTable* newestHarvest(const TableStore& store);

}  // namespace keldovar::econ

// The Carbon dialog without its window, shared by the script's `carbon` command and the search
// space: the carbon price and the crediting baseline, their ranges and messages.
#pragma once

#include <map>
#include <string>

#include "carbon/crediting.h"
#include "script/dialog_checks.h"

namespace keldovar {

enum class CarbonField { Price, Baseline };
struct CarbonTexts {
  std::string price;
  std::string baseline;
};

inline constexpr RealRange kCarbonPriceRange{0, 1000};      // dollars per tonne of CO2e
inline constexpr RealRange kCarbonBaselineRange{0, 10000};  // tonnes of CO2e per acre

CarbonTexts openCarbon(const carbon::CarbonValues& current);
Checked<carbon::CarbonValues, CarbonField> checkCarbon(const CarbonTexts& texts);

// The script's `carbon price=... baseline=...`: a key not given keeps its current value.
Checked<carbon::CarbonValues, CarbonField> checkCarbonKeys(
    const carbon::CarbonValues& current, const std::map<std::string, std::string>& keys);
const char* carbonKey(CarbonField field);

}  // namespace keldovar

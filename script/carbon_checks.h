// The Carbon dialog without its window, shared by the script's `carbon` command and the search
// space: the carbon price and the crediting baseline, checked as the rows of kCarbonFields.
#pragma once

#include <map>
#include <string>

#include "carbon/crediting.h"
#include "script/dialog_checks.h"

namespace keldovar {

CarbonTexts openCarbon(const carbon::CarbonValues& current);
Checked<carbon::CarbonValues, CarbonField> checkCarbon(const CarbonTexts& texts);

// The script's `carbon price=... baseline=...`: a key not given keeps its current value.
Checked<carbon::CarbonValues, CarbonField> checkCarbonKeys(
    const carbon::CarbonValues& current, const std::map<std::string, std::string>& keys);
const char* carbonKey(CarbonField field);

}  // namespace keldovar

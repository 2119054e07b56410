// Log rules: their names, their codes in the stand file and their conversion factors.
#pragma once

#include "engine/stand_state.h"

namespace keldovar {

inline constexpr const char* kLogRuleInternational = "INT 1/4";
inline constexpr const char* kLogRuleDoyle = "Doyle";
inline constexpr const char* kLogRuleScribner = "Scribner";

double internationalFactor(double x, int dbhClass);
double doyleFactor(double x, int dbhClass);
double scribnerFactor(double x, int dbhClass);

// 3 for "Scribner", 2 for "Doyle" (exact, case-sensitive), 1 for any other name.
int logRuleCode(const char* name);
// The name and routine of a code; any code but 2 and 3 is the International 1/4-inch rule.
const char* logRuleNameOf(int code);
LogRuleFactor logRuleFactorOf(int code);

}  // namespace keldovar

// Log-rule conversion factors by DBH class.
#include "engine/log_rule.h"

#include <cstring>

namespace keldovar {
namespace {

using FactorTable = double[10];  // classes 8 to 17
constexpr FactorTable kInternational = {2.63, 3.25, 3.72, 4.08, 4.36, 4.58, 4.76, 4.89, 5.03, 5.16};
constexpr FactorTable kDoyle = {2.35, 2.39, 2.45, 2.59, 2.81, 3.06, 3.33, 3.58, 3.91, 4.28};
constexpr FactorTable kScribner = {2.47, 3.07, 3.49, 3.78, 3.97, 4.09, 4.17, 4.22, 4.27, 4.29};

// Classes below 8 inches cut no sawlog, so they convert to nothing; above 17 the factor of 17.
double applyFactor(const FactorTable& table, double x, int dbhClass) {
  if (dbhClass < 8) return 0.0;
  int k = dbhClass > 17 ? 9 : dbhClass - 8;
  return x * table[k];
}

}  // namespace

double internationalFactor(double x, int dbhClass) {
  return applyFactor(kInternational, x, dbhClass);
}
double doyleFactor(double x, int dbhClass) {
  return applyFactor(kDoyle, x, dbhClass);
}
double scribnerFactor(double x, int dbhClass) {
  return applyFactor(kScribner, x, dbhClass);
}

int logRuleCode(const char* name) {
  if (std::strcmp(name, kLogRuleScribner) == 0) return 3;
  if (std::strcmp(name, kLogRuleDoyle) == 0) return 2;
  return 1;
}

const char* logRuleNameOf(int code) {
  if (code == 3) return kLogRuleScribner;
  if (code == 2) return kLogRuleDoyle;
  return kLogRuleInternational;
}

LogRuleFactor logRuleFactorOf(int code) {
  if (code == 3) return scribnerFactor;
  if (code == 2) return doyleFactor;
  return internationalFactor;
}

}  // namespace keldovar

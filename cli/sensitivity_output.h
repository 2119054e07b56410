// keldovar-cli sensitivity's three outputs: a report to read, JSON with every figure, and CSV
// with one figure a line.
#pragma once

#include <string>

#include "econ/sensitivity.h"

namespace keldovar::cli {

// What the figures were worked out for.
struct SensitivityReport {
  const econ::RegimeQuantities& regime;
  const FinancialValues& values;
  const econ::SensitivityOptions& options;
  const econ::Sensitivity& sensitivity;
};

std::string sensitivityText(const SensitivityReport& report);
std::string sensitivityJson(const SensitivityReport& report);
std::string sensitivityCsv(const SensitivityReport& report);

// "financial interest=5 one_thin_pulp=10 ...": the values as the script line that sets them.
std::string financialLine(const FinancialValues& values);
// {"interest": 5, "one_thin_pulp": 10, ...}
std::string valuesJson(const FinancialValues& values);
// "the harvest at age 32 (a new plantation)".
std::string harvestName(const econ::RegimeQuantities& regime);

}  // namespace keldovar::cli

// keldovar-cli risk's outputs: the Monte Carlo distribution of one regime, and the best regimes
// of a search under risk, each as text, JSON and CSV.
#pragma once

#include <string>
#include <vector>

#include "econ/risk_search.h"

namespace keldovar::cli {

struct RiskReport {
  const econ::RegimeQuantities& regime;
  const FinancialValues& values;
  const econ::RiskModel& model;
  const econ::Measures& steady;  // with steady prices and no loss
  const econ::RiskSummary& summary;
};

std::string riskText(const RiskReport& report);
std::string riskJson(const RiskReport& report);
std::string riskCsv(const RiskReport& report);

struct RiskSearchReport {
  const econ::RiskSearchResult& result;
  const econ::RiskModel& model;
  const std::vector<std::string>& startLines;  // as the space file gave them
};

std::string riskSearchText(const RiskSearchReport& report);
std::string riskSearchJson(const RiskSearchReport& report);
std::string riskSearchCsv(const RiskSearchReport& report);

}  // namespace keldovar::cli

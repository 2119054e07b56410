// Regimes side by side: what a harvested document's newest harvest says of its regime (its
// treatments, yields and financial measures) and the series its charts draw against age.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/document_content.h"
#include "econ/cash_flows.h"

namespace keldovar::econ {

struct ThinningSummary {
  int age = 0;
  std::string method;            // "Row", "Low", "Row/Low", "Thinomatic"
  double residualBasalArea = 0;  // sq ft/ac left standing
};

// One point of a regime's chart series: the stand after a state record, or the running present
// value after a cash flow.
struct AgePoint {
  int age = 0;
  double value = 0;
};

struct RegimeSummary {
  bool newPlantation = false;
  int rotation = 0;
  std::vector<ThinningSummary> thinnings;
  std::vector<int> fertilizations;  // their ages
  double harvestTotalTons = 0;      // all the harvest removed, tons/ac
  double harvestPulpTons = 0;       // of it, pulpwood under integrated utilization
  double harvestSawTons = 0;        // and sawtimber
  double removedTons = 0;           // every thinning's and the harvest's tons
  double meanAnnualIncrement = 0;   // removedTons a year of the rotation
  Measures pulpwood;
  Measures sawtimber;
  // The financial values differ from those the harvest table's analysis printed: its NPVs are
  // not the report's.
  bool valuesChanged = false;
  std::vector<AgePoint> basalArea;     // standing sq ft/ac at each state record
  std::vector<AgePoint> standingPulp;  // standing pulpwood tons (integrated utilization)
  std::vector<AgePoint> standingSaw;   // standing sawtimber tons
  std::vector<AgePoint> presentValue;  // sawtimber management's running PV, from 0
};

// The regime of the document's newest harvest valued at its financial values; nothing when the
// document holds no harvest.
std::optional<RegimeSummary> summarizeRegime(const DocumentContent& document);

// Which of `values` are the best (the highest; every one that ties): none when fewer than two
// regimes have a value.
std::vector<bool> bestOf(const std::vector<std::optional<double>>& values);

}  // namespace keldovar::econ

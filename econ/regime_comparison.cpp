// A harvested regime summed up for the comparison, read from its harvest table's history.
#include "econ/regime_comparison.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "econ/sensitivity.h"

namespace keldovar::econ {
namespace {

std::string_view labelOf(const HistoryRecord& record) {
  return std::string_view(record.label, strnlen(record.label, kLabelLength));
}

// "Row/Low Thinning" -> "Row/Low".
std::string methodOf(std::string_view label) {
  constexpr std::string_view kSuffix = " Thinning";
  if (label.size() > kSuffix.size() && label.substr(label.size() - kSuffix.size()) == kSuffix) {
    label.remove_suffix(kSuffix.size());
  }
  return std::string(label);
}

void readHistory(const ReportTable& table, RegimeSummary& s) {
  int last = table.historyLast;
  for (int count = 0; count <= last; ++count) {
    const HistoryRecord& r = table.history[static_cast<std::size_t>(count)];
    auto age = static_cast<int>(r.age);
    // An existing stand was not planted here: its series start where it was taken over.
    if (r.basal_area > 0 || (count == 0 && s.newPlantation)) {
      s.basalArea.push_back({age, r.basal_area});
      s.standingPulp.push_back({age, r.topcords});
      s.standingSaw.push_back({age, r.bdft});
      // The record after a thinning is what it left.
      if (!s.thinnings.empty() && s.thinnings.back().age == age &&
          s.thinnings.back().residualBasalArea == 0) {
        s.thinnings.back().residualBasalArea = r.basal_area;
      }
    } else if (r.basal_area < 0) {
      s.removedTons -= r.cords;
      if (count == last) {
        s.harvestTotalTons = -r.cords;
        s.harvestPulpTons = -r.topcords;
        s.harvestSawTons = -r.bdft;
      } else {
        s.thinnings.push_back({age, methodOf(labelOf(r)), 0});
      }
    } else if (labelOf(r) == "Fertilization") {
      s.fertilizations.push_back(age);
    }
  }
}

void runningPresentValue(const RegimeFlows& flows, RegimeSummary& s) {
  float cost = flows.newPlantation ? flows.values.establishmentCost : 0;
  float rate = flows.values.interestRate / 100;
  float sum = 0;
  int start = s.basalArea.empty() ? 0 : s.basalArea.front().age;
  s.presentValue.push_back({start, cost > 0 ? static_cast<double>(-cost) : 0.0});
  for (const CashFlow& flow : flows.flows) {
    sum += presentValue(flow.year, flow.sawtimber, discountDivisor(rate, flow.year));
    s.presentValue.push_back({flow.year, static_cast<double>(sum - cost)});
  }
}

}  // namespace

std::optional<RegimeSummary> summarizeRegime(const DocumentContent& document) {
  const ReportTable* harvest = newestHarvest(document.store);
  if (harvest == nullptr) return std::nullopt;
  std::optional<RegimeFlows> flows = harvestFlows(*harvest, document.settings.financial);
  if (!flows) return std::nullopt;
  RegimeSummary s;
  s.newPlantation = flows->newPlantation;
  s.rotation = flows->rotation;
  readHistory(*harvest, s);
  if (s.rotation > 0) s.meanAnnualIncrement = s.removedTons / s.rotation;
  s.pulpwood = measuresOf(*flows, Management::Pulpwood);
  s.sawtimber = measuresOf(*flows, Management::Sawtimber);
  s.valuesChanged = !agreesWithTable(*flows, *harvest);
  runningPresentValue(*flows, s);
  return s;
}

std::vector<bool> bestOf(const std::vector<std::optional<double>>& values) {
  std::vector<bool> best(values.size(), false);
  std::optional<double> top;
  int counted = 0;
  for (const std::optional<double>& v : values) {
    if (!v) continue;
    ++counted;
    if (!top || *v > *top) top = v;
  }
  if (counted < 2) return best;
  for (std::size_t i = 0; i < values.size(); ++i) best[i] = values[i] && *values[i] == *top;
  return best;
}

}  // namespace keldovar::econ

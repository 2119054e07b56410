// The comparison as JSON: every regime's figures at full precision and its chart series, and
// each row's best regimes.
#include "cli/compare_output.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "cli/output.h"
#include "engine/report_text.h"

namespace keldovar::cli {
namespace {

using econ::ComparedRegime;
using econ::RegimeSummary;

std::string seriesJson(const std::vector<econ::AgePoint>& points) {
  std::string out = "[";
  for (const econ::AgePoint& p : points) {
    out +=
        (out.size() > 1 ? ", [" : "[") + std::to_string(p.age) + ", " + jsonNumber(p.value) + "]";
  }
  return out + "]";
}

std::string regimeJson(const ComparedRegime& r) {
  const RegimeSummary& s = r.summary;
  std::string thinnings = "[";
  for (const econ::ThinningSummary& t : s.thinnings) {
    thinnings += (thinnings.size() > 1 ? ", " : "") +
                 formatText("{\"age\": %d, \"method\": ", t.age) + jsonString(t.method) +
                 ", \"residual_ba\": " + jsonNumber(t.residualBasalArea) + "}";
  }
  std::string fertilizations = "[";
  for (int age : s.fertilizations) {
    fertilizations += (fertilizations.size() > 1 ? ", " : "") + std::to_string(age);
  }
  auto optional = [](const std::optional<double>& v, double scale) {
    return v ? jsonNumber(*v * scale) : std::string("null");
  };
  return "    {\"name\": " + jsonString(r.name) +
         ", \"new_plantation\": " + (s.newPlantation ? "true" : "false") +
         ", \"rotation\": " + std::to_string(s.rotation) + ",\n     \"thinnings\": " + thinnings +
         "], \"fertilizations\": " + fertilizations +
         "],\n     \"harvest_tons\": {\"total\": " + jsonNumber(s.harvestTotalTons) +
         ", \"pulpwood\": " + jsonNumber(s.harvestPulpTons) +
         ", \"sawtimber\": " + jsonNumber(s.harvestSawTons) +
         "}, \"removed_tons\": " + jsonNumber(s.removedTons) +
         ", \"mai\": " + jsonNumber(s.meanAnnualIncrement) +
         ",\n     \"npv\": {\"pulpwood\": " + jsonNumber(s.pulpwood.npv) +
         ", \"sawtimber\": " + jsonNumber(s.sawtimber.npv) +
         "}, \"lev\": {\"pulpwood\": " + optional(s.pulpwood.lev, 1) +
         ", \"sawtimber\": " + optional(s.sawtimber.lev, 1) +
         "}, \"irr\": {\"pulpwood\": " + optional(s.pulpwood.irr, 100) +
         ", \"sawtimber\": " + optional(s.sawtimber.irr, 100) +
         "}, \"values_changed\": " + (s.valuesChanged ? "true" : "false") +
         ",\n     \"series\": {\"basal_area\": " + seriesJson(s.basalArea) +
         ",\n       \"standing_pulpwood_tons\": " + seriesJson(s.standingPulp) +
         ",\n       \"standing_sawtimber_tons\": " + seriesJson(s.standingSaw) +
         ",\n       \"present_value\": " + seriesJson(s.presentValue) + "}}";
}

}  // namespace

std::string comparisonJson(const std::vector<ComparedRegime>& regimes, UnitSystem units) {
  std::string out = "{\n";
  if (units == UnitSystem::Metric) out += "  \"units\": \"metric\",\n";
  out += "  \"regimes\": [\n";
  for (std::size_t i = 0; i < regimes.size(); ++i) {
    out += regimeJson(regimes[i]) + (i + 1 < regimes.size() ? ",\n" : "\n");
  }
  out += "  ],\n  \"best\": {";
  std::vector<econ::ComparisonRow> rows = econ::comparisonRows(regimes);
  bool first = true;
  for (const econ::ComparisonRow& row : rows) {
    if (std::none_of(row.best.begin(), row.best.end(), [](bool b) { return b; })) continue;
    std::string names;
    for (std::size_t c = 0; c < regimes.size(); ++c) {
      if (row.best[c]) names += (names.empty() ? "" : ", ") + jsonString(regimes[c].name);
    }
    out += (first ? "\n    " : ",\n    ") + jsonString(row.label) + ": [" + names + "]";
    first = false;
  }
  return out + "\n  }\n}\n";
}

}  // namespace keldovar::cli

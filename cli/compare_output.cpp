// The comparison's rows are built once, as text cells and the numbers that rank them, and each
// format writes the same rows; the JSON adds the chart series.
#include "cli/compare_output.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "cli/output.h"
#include "engine/report_text.h"

namespace keldovar::cli {
namespace {

using econ::RegimeSummary;

struct Row {
  std::string label;
  std::vector<std::string> cells;
  std::vector<bool> best;
};

std::string fixed(double value, int decimals) {
  return formatText("%.*f", decimals, value);
}

using Measure = std::function<std::optional<double>(const RegimeSummary&)>;

// A row of figures, its best marked when `ranked`.
Row figureRow(const std::vector<ComparedRegime>& regimes, std::string label, const Measure& of,
              int decimals, bool ranked) {
  Row row{std::move(label), {}, {}};
  std::vector<std::optional<double>> values;
  for (const ComparedRegime& r : regimes) {
    values.push_back(of(r.summary));
    row.cells.push_back(values.back() ? fixed(*values.back(), decimals) : "none");
  }
  row.best = ranked ? econ::bestOf(values) : std::vector<bool>(regimes.size(), false);
  return row;
}

Row textRow(const std::vector<ComparedRegime>& regimes, std::string label,
            const std::function<std::string(const RegimeSummary&)>& of) {
  Row row{std::move(label), {}, std::vector<bool>(regimes.size(), false)};
  for (const ComparedRegime& r : regimes) row.cells.push_back(of(r.summary));
  return row;
}

std::string thinningCell(const RegimeSummary& s, std::size_t n) {
  if (n >= s.thinnings.size()) return "";
  const econ::ThinningSummary& t = s.thinnings[n];
  return formatText("%d %s to %.1f", t.age, t.method.c_str(), t.residualBasalArea);
}

std::string fertilizationCell(const RegimeSummary& s) {
  std::string out;
  for (int age : s.fertilizations) out += (out.empty() ? "" : " ") + std::to_string(age);
  return out.empty() ? "none" : out;
}

std::vector<Row> rowsOf(const std::vector<ComparedRegime>& regimes) {
  std::vector<Row> rows;
  rows.push_back(figureRow(
      regimes, "Rotation (years)", [](const RegimeSummary& s) { return s.rotation; }, 0, false));
  std::size_t thinnings = 0;
  for (const ComparedRegime& r : regimes)
    thinnings = std::max(thinnings, r.summary.thinnings.size());
  for (std::size_t n = 0; n < thinnings; ++n) {
    rows.push_back(textRow(regimes, formatText("Thinning %zu (age, method, residual BA)", n + 1),
                           [n](const RegimeSummary& s) { return thinningCell(s, n); }));
  }
  rows.push_back(textRow(regimes, "Fertilizations (ages)", fertilizationCell));
  auto figure = [&](const char* label, const Measure& of, int decimals) {
    rows.push_back(figureRow(regimes, label, of, decimals, true));
  };
  figure(
      "Harvest total tons/ac", [](const RegimeSummary& s) { return s.harvestTotalTons; }, 1);
  figure(
      "Harvest pulpwood tons/ac (IU)", [](const RegimeSummary& s) { return s.harvestPulpTons; }, 1);
  figure(
      "Harvest sawtimber tons/ac", [](const RegimeSummary& s) { return s.harvestSawTons; }, 1);
  figure(
      "Total removals tons/ac", [](const RegimeSummary& s) { return s.removedTons; }, 1);
  figure(
      "MAI of total yield (tons/ac/yr)",
      [](const RegimeSummary& s) { return s.meanAnnualIncrement; }, 2);
  figure(
      "NPV pulpwood ($/ac)",
      [](const RegimeSummary& s) { return static_cast<double>(s.pulpwood.npv); }, 2);
  figure(
      "NPV sawtimber+pulpwood ($/ac)",
      [](const RegimeSummary& s) { return static_cast<double>(s.sawtimber.npv); }, 2);
  figure(
      "LEV pulpwood ($/ac)", [](const RegimeSummary& s) { return s.pulpwood.lev; }, 2);
  figure(
      "LEV sawtimber+pulpwood ($/ac)", [](const RegimeSummary& s) { return s.sawtimber.lev; }, 2);
  auto percent = [](const std::optional<double>& irr) {
    return irr ? std::optional<double>(*irr * 100) : std::nullopt;
  };
  figure(
      "IRR pulpwood (%)", [&](const RegimeSummary& s) { return percent(s.pulpwood.irr); }, 2);
  figure(
      "IRR sawtimber+pulpwood (%)",
      [&](const RegimeSummary& s) { return percent(s.sawtimber.irr); }, 2);
  return rows;
}

std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

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

std::string comparisonText(const std::vector<ComparedRegime>& regimes) {
  std::vector<Row> rows = rowsOf(regimes);
  std::size_t labelWidth = 0;
  for (const Row& row : rows) labelWidth = std::max(labelWidth, row.label.size());
  std::vector<std::size_t> widths;
  for (std::size_t c = 0; c < regimes.size(); ++c) {
    std::size_t w = regimes[c].name.size();
    for (const Row& row : rows) w = std::max(w, row.cells[c].size() + 1);
    widths.push_back(w);
  }
  auto line = [&](const std::string& label, const std::function<std::string(std::size_t)>& cell) {
    std::string out = label + std::string(labelWidth - label.size(), ' ');
    for (std::size_t c = 0; c < widths.size(); ++c) {
      std::string text = cell(c);
      out += "  " + std::string(widths[c] - std::min(widths[c], text.size()), ' ') + text;
    }
    return out + "\n";
  };
  std::string out = "Regimes compared, each at its document's financial values\n\n";
  out += line("", [&](std::size_t c) { return regimes[c].name; });
  for (const Row& row : rows) {
    out += line(row.label, [&](std::size_t c) {
      return row.cells[c] + (row.best[c] ? "*" : row.cells[c].empty() ? "" : " ");
    });
  }
  out += "\n* the best of the row\n";
  for (const ComparedRegime& r : regimes) {
    if (r.summary.valuesChanged) {
      out +=
          r.name + ": the financial values changed after the harvest; its report's NPVs differ\n";
    }
  }
  return out;
}

std::string comparisonJson(const std::vector<ComparedRegime>& regimes) {
  std::string out = "{\n  \"regimes\": [\n";
  for (std::size_t i = 0; i < regimes.size(); ++i) {
    out += regimeJson(regimes[i]) + (i + 1 < regimes.size() ? ",\n" : "\n");
  }
  out += "  ],\n  \"best\": {";
  std::vector<Row> rows = rowsOf(regimes);
  bool first = true;
  for (const Row& row : rows) {
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

std::string comparisonCsv(const std::vector<ComparedRegime>& regimes) {
  std::string out = "measure";
  for (const ComparedRegime& r : regimes) out += "," + csvCell(r.name);
  out += ",best\n";
  for (const Row& row : rowsOf(regimes)) {
    out += csvCell(row.label);
    std::string best;
    for (std::size_t c = 0; c < regimes.size(); ++c) {
      out += "," + csvCell(row.cells[c]);
      if (row.best[c]) best += (best.empty() ? "" : ";") + regimes[c].name;
    }
    out += "," + csvCell(best) + "\n";
  }
  return out;
}

}  // namespace keldovar::cli

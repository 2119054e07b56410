// The comparison's rows, built once as text cells and the numbers that rank them, and the two
// plain formats that write them: the aligned text and the CSV.
#include "econ/comparison_table.h"

#include <algorithm>
#include <functional>

#include "engine/report_text.h"

namespace keldovar::econ {
namespace {

std::string fixed(double value, int decimals) {
  return formatText("%.*f", decimals, value);
}

using Measure = std::function<std::optional<double>(const RegimeSummary&)>;

// A row of figures, its best marked when `ranked`.
ComparisonRow figureRow(const std::vector<ComparedRegime>& regimes, std::string label,
                        const Measure& of, int decimals, bool ranked) {
  ComparisonRow row{std::move(label), {}, {}};
  std::vector<std::optional<double>> values;
  for (const ComparedRegime& r : regimes) {
    values.push_back(of(r.summary));
    row.cells.push_back(values.back() ? fixed(*values.back(), decimals) : "none");
  }
  row.best = ranked ? bestOf(values) : std::vector<bool>(regimes.size(), false);
  return row;
}

ComparisonRow textRow(const std::vector<ComparedRegime>& regimes, std::string label,
                      const std::function<std::string(const RegimeSummary&)>& of) {
  ComparisonRow row{std::move(label), {}, std::vector<bool>(regimes.size(), false)};
  for (const ComparedRegime& r : regimes) row.cells.push_back(of(r.summary));
  return row;
}

std::string thinningCell(const RegimeSummary& s, std::size_t n, int decimals) {
  if (n >= s.thinnings.size()) return "";
  const ThinningSummary& t = s.thinnings[n];
  return formatText("%d %s to %.*f", t.age, t.method.c_str(), decimals, t.residualBasalArea);
}

std::string fertilizationCell(const RegimeSummary& s) {
  std::string out;
  for (int age : s.fertilizations) out += (out.empty() ? "" : " ") + std::to_string(age);
  return out.empty() ? "none" : out;
}

std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

namespace {

// A figure row's label in each system and what its figure measures.
struct FigureFace {
  const char* imperial;
  const char* metric;
  Quantity quantity;
};
constexpr FigureFace kHarvestTotal{"Harvest total tons/ac", "Harvest total t/ha",
                                   Quantity::MassPerArea};
constexpr FigureFace kHarvestPulp{"Harvest pulpwood tons/ac (IU)", "Harvest pulpwood t/ha (IU)",
                                  Quantity::MassPerArea};
constexpr FigureFace kHarvestSaw{"Harvest sawtimber tons/ac", "Harvest sawtimber t/ha",
                                 Quantity::MassPerArea};
constexpr FigureFace kRemovals{"Total removals tons/ac", "Total removals t/ha",
                               Quantity::MassPerArea};
constexpr FigureFace kMai{"MAI of total yield (tons/ac/yr)", "MAI of total yield (t/ha/yr)",
                          Quantity::MassPerArea};
constexpr FigureFace kNpvPulp{"NPV pulpwood ($/ac)", "NPV pulpwood ($/ha)", Quantity::MoneyPerArea};
constexpr FigureFace kNpvSaw{"NPV sawtimber+pulpwood ($/ac)", "NPV sawtimber+pulpwood ($/ha)",
                             Quantity::MoneyPerArea};
constexpr FigureFace kLevPulp{"LEV pulpwood ($/ac)", "LEV pulpwood ($/ha)", Quantity::MoneyPerArea};
constexpr FigureFace kLevSaw{"LEV sawtimber+pulpwood ($/ac)", "LEV sawtimber+pulpwood ($/ha)",
                             Quantity::MoneyPerArea};
constexpr FigureFace kIrrPulp{"IRR pulpwood (%)", "IRR pulpwood (%)", Quantity::Plain};
constexpr FigureFace kIrrSaw{"IRR sawtimber+pulpwood (%)", "IRR sawtimber+pulpwood (%)",
                             Quantity::Plain};

}  // namespace

std::vector<ComparisonRow> comparisonRows(const std::vector<ComparedRegime>& regimes,
                                          UnitSystem units) {
  bool metric = units == UnitSystem::Metric;
  std::vector<ComparisonRow> rows;
  rows.push_back(figureRow(
      regimes, "Rotation (years)", [](const RegimeSummary& s) { return s.rotation; }, 0, false));
  std::size_t thinnings = 0;
  for (const ComparedRegime& r : regimes)
    thinnings = std::max(thinnings, r.summary.thinnings.size());
  for (std::size_t n = 0; n < thinnings; ++n) {
    std::string label =
        formatText("Thinning %zu (age, method, residual BA%s)", n + 1, metric ? " m2/ha" : "");
    int decimals = metric ? metricDecimals(Quantity::BasalArea, 1) : 1;
    rows.push_back(textRow(regimes, label, [n, decimals](const RegimeSummary& s) {
      return thinningCell(s, n, decimals);
    }));
  }
  rows.push_back(textRow(regimes, "Fertilizations (ages)", fertilizationCell));
  auto figure = [&](const FigureFace& face, const Measure& of, int decimals) {
    if (metric && face.quantity != Quantity::Plain) {
      decimals = metricDecimals(face.quantity, decimals);
    }
    rows.push_back(figureRow(regimes, metric ? face.metric : face.imperial, of, decimals, true));
  };
  figure(
      kHarvestTotal, [](const RegimeSummary& s) { return s.harvestTotalTons; }, 1);
  figure(
      kHarvestPulp, [](const RegimeSummary& s) { return s.harvestPulpTons; }, 1);
  figure(
      kHarvestSaw, [](const RegimeSummary& s) { return s.harvestSawTons; }, 1);
  figure(
      kRemovals, [](const RegimeSummary& s) { return s.removedTons; }, 1);
  figure(
      kMai, [](const RegimeSummary& s) { return s.meanAnnualIncrement; }, 2);
  figure(
      kNpvPulp, [](const RegimeSummary& s) { return static_cast<double>(s.pulpwood.npv); }, 2);
  figure(
      kNpvSaw, [](const RegimeSummary& s) { return static_cast<double>(s.sawtimber.npv); }, 2);
  figure(
      kLevPulp, [](const RegimeSummary& s) { return s.pulpwood.lev; }, 2);
  figure(
      kLevSaw, [](const RegimeSummary& s) { return s.sawtimber.lev; }, 2);
  auto percent = [](const std::optional<double>& irr) {
    return irr ? std::optional<double>(*irr * 100) : std::nullopt;
  };
  figure(
      kIrrPulp, [&](const RegimeSummary& s) { return percent(s.pulpwood.irr); }, 2);
  figure(
      kIrrSaw, [&](const RegimeSummary& s) { return percent(s.sawtimber.irr); }, 2);
  return rows;
}

namespace {

// The columns' widths: the labels', then each regime's.
struct TextColumns {
  std::size_t label = 0;
  std::vector<std::size_t> regimes;
};

TextColumns textColumns(const std::vector<ComparedRegime>& regimes,
                        const std::vector<ComparisonRow>& rows) {
  TextColumns widths;
  for (const ComparisonRow& row : rows) widths.label = std::max(widths.label, row.label.size());
  for (std::size_t c = 0; c < regimes.size(); ++c) {
    std::size_t w = regimes[c].name.size();
    for (const ComparisonRow& row : rows) w = std::max(w, row.cells[c].size() + 1);
    widths.regimes.push_back(w);
  }
  return widths;
}

// The table of regimes [first, last) under the labels, with the key and their notes.
std::string textOfColumns(const std::vector<ComparedRegime>& regimes,
                          const std::vector<ComparisonRow>& rows, const TextColumns& widths,
                          std::size_t first, std::size_t last) {
  auto line = [&](const std::string& label, const std::function<std::string(std::size_t)>& cell) {
    std::string out = label + std::string(widths.label - label.size(), ' ');
    for (std::size_t c = first; c < last; ++c) {
      std::string text = cell(c);
      out += "  " + std::string(widths.regimes[c] - std::min(widths.regimes[c], text.size()), ' ') +
             text;
    }
    return out + "\n";
  };
  std::string out = "Regimes compared, each at its document's financial values\n\n";
  out += line("", [&](std::size_t c) { return regimes[c].name; });
  for (const ComparisonRow& row : rows) {
    out += line(row.label, [&](std::size_t c) {
      return row.cells[c] + (row.best[c] ? "*" : row.cells[c].empty() ? "" : " ");
    });
  }
  out += "\n* the best of the row\n";
  for (std::size_t c = first; c < last; ++c) {
    if (regimes[c].summary.valuesChanged) {
      out += regimes[c].name +
             ": the financial values changed after the harvest; its report's NPVs differ\n";
    }
  }
  return out;
}

}  // namespace

std::string comparisonText(const std::vector<ComparedRegime>& regimes, UnitSystem units) {
  std::vector<ComparisonRow> rows = comparisonRows(regimes, units);
  return textOfColumns(regimes, rows, textColumns(regimes, rows), 0, regimes.size());
}

std::vector<std::string> comparisonTextParts(const std::vector<ComparedRegime>& regimes,
                                             std::size_t width, UnitSystem units) {
  std::vector<ComparisonRow> rows = comparisonRows(regimes, units);
  TextColumns widths = textColumns(regimes, rows);
  std::vector<std::string> parts;
  std::size_t first = 0;
  while (first < regimes.size() || parts.empty()) {
    std::size_t last = first;
    std::size_t used = widths.label;
    while (last < regimes.size() && (last == first || used + 2 + widths.regimes[last] <= width)) {
      used += 2 + widths.regimes[last++];
    }
    parts.push_back(textOfColumns(regimes, rows, widths, first, last));
    first = last;
  }
  return parts;
}

std::string comparisonCsv(const std::vector<ComparedRegime>& regimes, UnitSystem units) {
  std::string out = "measure";
  for (const ComparedRegime& r : regimes) out += "," + csvCell(r.name);
  out += ",best\n";
  for (const ComparisonRow& row : comparisonRows(regimes, units)) {
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

}  // namespace keldovar::econ

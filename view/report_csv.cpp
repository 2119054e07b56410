// The comma-separated tables.
#include "view/report_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "carbon/wood_products.h"
#include "engine/numeric.h"
#include "engine/report_text.h"
#include "view/report_model.h"

namespace keldovar {
namespace {

std::string number(float value) {
  if (!std::isfinite(value)) return "null";
  return formatText("%.9g", static_cast<double>(value));
}

std::string number(double value) {
  if (!std::isfinite(value)) return "null";
  return formatText("%.17g", value);
}

// The carbon figures are written as the shortest text that reads back as the same double.
std::string shortest(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

// A stock row's carbon cells: the class's live trees, or on the totals row the stand's and
// the table's removal; `mass` turns short tons per acre into the shown unit.
std::string carbonCells(const TableStore& store, int index, int row, double mass) {
  auto tons = [mass](double kg) { return carbon::massIn(kg, carbon::MassUnit::ShortTon) * mass; };
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  bool totals = row == table.stockLast;
  double biomass = 0;
  if (totals) {
    biomass = carbon::standBiomass(table).tree();
  } else {
    const StockRow& r = table.stock[static_cast<std::size_t>(row)];
    if (r[1] > 0 && std::isfinite(r[0]) && std::isfinite(r[1])) {
      biomass = carbon::treeBiomass(static_cast<double>(r[0])).tree() * static_cast<double>(r[1]);
    }
  }
  double carbonKg = carbon::carbonOf(biomass);
  std::string out = "," + shortest(tons(biomass)) + "," + shortest(tons(carbonKg)) + "," +
                    shortest(tons(carbon::co2eOf(carbonKg)));
  std::optional<carbon::Removal> r = totals ? carbon::tableRemoval(store, index) : std::nullopt;
  if (!r) return out + ",,,,";
  return out + "," + shortest(tons(r->treeCarbon)) + "," + shortest(tons(r->pulpwoodCarbon)) + "," +
         shortest(tons(r->sawtimberCarbon)) + "," + shortest(tons(r->stored100()));
}

std::string classBoundsCells(const ReportTable& table, int r) {
  if (r == table.stockLast) return ",,";
  ClassBounds cm =
      classBoundsCm(truncToInt(static_cast<double>(table.stock[static_cast<std::size_t>(r)][0])));
  return "," + shortest(cm.low) + "," + shortest(cm.high);
}

std::string stockRowLine(const TableStore& store, int index, const ReportTable& table, int r,
                         UnitSystem units) {
  const StockRow& row = table.stock[static_cast<std::size_t>(r)];
  bool totals = r == table.stockLast;
  std::string out = std::to_string(index) + "," + std::to_string(table.bar.barAge) + ",";
  out += totals ? std::string("Total") : formatText("%d", truncToInt(static_cast<double>(row[0])));
  for (std::size_t c = 1; c < kStockTableColumns; ++c) {
    out += ",";
    if (!(totals && c == 2)) out += number(row[c]);
  }
  out += ",,,," + carbonCells(store, index, r, shownValue(units, Quantity::MassPerArea, 1));
  if (units == UnitSystem::Metric) out += classBoundsCells(table, r);
  return out + "\n";
}

std::string harvestLine(int index, const ReportTable& table, const HarvestCells& cells,
                        UnitSystem units) {
  double money = shownValue(units, Quantity::MoneyPerArea, 1);
  auto cell = [](const std::optional<double>& v, double scale) {
    return v ? number(*v * scale) : std::string();
  };
  return std::to_string(index) + "," +
         formatText("%.0f", table.history[static_cast<std::size_t>(table.historyLast)].age) +
         ",Harvest,,,,,,,," + cell(cells.levPulpwood, money) + "," +
         cell(cells.levSawtimber, money) + "," + cell(cells.irrPulpwood, 100) + "," +
         cell(cells.irrSawtimber, 100) + ",,,,,,," + (units == UnitSystem::Metric ? ",," : "") +
         "\n";
}

}  // namespace

std::string reportCsv(const TableStore& store, const HarvestValuation& valuation,
                      const CsvPart& part, UnitSystem units) {
  std::string out = units == UnitSystem::Metric ? kMetricCsvHeader : kCsvHeader;
  // Every section of every table, whatever the view shows.
  ReportOptions options{0, true, true};
  options.units = units;
  ReportModel model(store, options);
  for (int position = 0; position < model.size(); ++position) {
    ShownTable shown = model.table(position);
    bool chosen =
        part.rowsOfTable >= 0 ? shown.index == part.rowsOfTable : shown.index >= part.firstTable;
    if (!chosen) continue;
    const ReportTable& table = *shown.table;
    const ReportSection* stock = shown.find(SectionKind::Stock);
    int rows = stock != nullptr ? stock->rowCount : 0;
    int first = 0;
    int last = rows - 1;
    if (part.rowsOfTable >= 0) {
      first = std::clamp(std::min(part.firstRow, part.lastRow), 0, rows);
      last = std::min(std::max(part.firstRow, part.lastRow), rows - 1);
    }
    for (int r = first; r <= last; ++r) out += stockRowLine(store, shown.index, table, r, units);
    if (part.rowsOfTable >= 0 || !valuation) continue;
    const ReportTable& stored = store.tables[static_cast<std::size_t>(shown.index)];
    if (std::optional<HarvestCells> cells = valuation(stored)) {
      out += harvestLine(shown.index, table, *cells, units);
    }
  }
  return out;
}

}  // namespace keldovar

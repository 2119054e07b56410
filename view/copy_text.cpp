// Building the clipboard text from the stored tables.
#include "view/copy_text.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/numeric.h"
#include "engine/report_text.h"
#include "view/metric_table.h"
#include "view/report_model.h"

namespace keldovar {
namespace {

const ReportTable* tableAt(const TableStore& store, int table) {
  if (table < 0 || table > store.lastIndex || table >= kTableCapacity) return nullptr;
  return &store.tables[static_cast<std::size_t>(table)];
}

bool validCell(const ReportTable& table, int row, int column) {
  return row >= 0 && row <= table.stockLast && row < kStockRowCapacity && column >= 0 && column < 8;
}

float cellValue(const ReportTable& table, int row, int column) {
  return table.stock[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

// A stock table's cells as the metric view shows them.
ReportTable metricCells(const ReportTable& stored) {
  ReportTable converted;
  convertToMetric(stored, ShownUnits{UnitSystem::Metric}, converted);
  return converted;
}

std::string metricCellText(const ReportTable& converted, int row, int column) {
  return stockCellText(converted, row, column, 0, RowStyle{UnitSystem::Metric});
}

}  // namespace

std::string singleCellText(const TableStore& store, int table, int row, int column,
                           UnitSystem units) {
  const ReportTable* t = tableAt(store, table);
  if (t == nullptr || !validCell(*t, row, column)) return {};
  if (units == UnitSystem::Metric) return metricCellText(metricCells(*t), row, column);
  double value = static_cast<double>(cellValue(*t, row, column));
  if (column == 0) return formatText("%d", truncToInt(value));
  return formatText("%.1f", value);
}

namespace {

std::string cellsText(const ReportTable& t, int row0, int col0, int row1, int col1, char separator,
                      std::string_view lineEnd, UnitSystem units) {
  std::string text;
  std::optional<ReportTable> metric;
  if (units == UnitSystem::Metric) metric = metricCells(t);
  for (int row = std::min(row0, row1); row <= std::max(row0, row1); ++row) {
    if (row > std::min(row0, row1)) text += lineEnd;
    for (int column = std::min(col0, col1); column <= std::max(col0, col1); ++column) {
      if (column > std::min(col0, col1)) text += separator;
      if (!validCell(t, row, column)) continue;
      if (metric) {
        text += metricCellText(*metric, row, column);
        continue;
      }
      double value = static_cast<double>(cellValue(t, row, column));
      text += column == 0 ? formatText("%d", truncToInt(value + 0.555)) : formatText("%.1f", value);
    }
  }
  return text;
}

}  // namespace

std::string rectangleText(const TableStore& store, int table, int row0, int col0, int row1,
                          int col1, std::string_view lineEnd, UnitSystem units) {
  const ReportTable* t = tableAt(store, table);
  if (t == nullptr) return {};
  return cellsText(*t, row0, col0, row1, col1, '\t', lineEnd, units);
}

std::string rectangleCsvText(const TableStore& store, int table, int row0, int col0, int row1,
                             int col1, std::string_view lineEnd, UnitSystem units) {
  const ReportTable* t = tableAt(store, table);
  if (t == nullptr) return {};
  std::string text;
  int from = std::clamp(std::min(col0, col1), 0, kStockTableColumns - 1);
  int to = std::clamp(std::max(col0, col1), 0, kStockTableColumns - 1);
  for (int column = from; column <= to; ++column) {
    const StockColumnFace& face = stockColumnFaces(units)[static_cast<std::size_t>(column)];
    if (column > from) text += ',';
    if (!face.group.empty()) text.append(face.group).append(" ");
    text.append(face.headTop).append(" ").append(face.headBottom);
  }
  text += lineEnd;
  return text + cellsText(*t, row0, from, row1, to, ',', lineEnd, units);
}

std::string selectAllText(const TableStore& store, bool showFinancial, std::string_view lineEnd,
                          const CarbonOptions& carbon) {
  return selectAllText(store, store.firstShown, showFinancial, lineEnd, carbon);
}

std::string selectAllText(const TableStore& store, int first, bool showFinancial,
                          std::string_view lineEnd, const CarbonOptions& carbon) {
  return selectAllText(store, ReportOptions{first, showFinancial, false, carbon}, lineEnd);
}

std::string selectAllText(const TableStore& store, const ReportOptions& options,
                          std::string_view lineEnd) {
  // The bar graph is drawn, never copied.
  ReportOptions shownOptions = options;
  shownOptions.showBargraph = false;
  ReportModel model(store, shownOptions);
  std::string text;
  text.reserve(4096 * static_cast<std::size_t>(model.size()));
  auto line = [&](std::string_view s) {
    text += s;
    text += lineEnd;
  };
  auto lines = [&](std::span<const TableLine> all) {
    for (const TableLine& s : all) line(s);
  };
  auto blankLines = [&] {
    text += lineEnd;
    text += lineEnd;
  };
  for (int position = 0; position < model.size(); ++position) {
    ShownTable shown = model.table(position);
    const ReportTable& table = *shown.table;
    RowStyle style = rowStyleOf(shown);
    // The summary goes with the stock table: a table without stock rows is copied without it.
    if (const ReportSection* stock = shown.find(SectionKind::Stock)) {
      lines(table.titleLines);
      blankLines();
      lines(stock->heading);
      for (std::string_view s : stockTextHeading(shown.units)) line(s);
      for (int r = 0; r < stock->rowCount; ++r) {
        appendStockRow(text, table, r, style);
        text += lineEnd;
      }
    }
    text += lineEnd;
    line(shown.conversionLine());
    blankLines();
    if (const ReportSection* thinning = shown.find(SectionKind::Thinning)) {
      lines(thinning->heading);
      blankLines();
    }
    if (const ReportSection* history = shown.find(SectionKind::History)) {
      lines(history->heading);
      for (int r = 0; r < history->rowCount; ++r) {
        appendHistoryRow(text, table.history[static_cast<std::size_t>(r)], style);
        text += lineEnd;
      }
      lines(history->footing);
    }
    blankLines();
    if (const ReportSection* financial = shown.find(SectionKind::Financial)) {
      lines(financial->heading);
    }
    if (const ReportSection* carbonSection = shown.find(SectionKind::Carbon)) {
      blankLines();
      lines(carbonSection->heading);
      blankLines();
    }
  }
  return text;
}

}  // namespace keldovar

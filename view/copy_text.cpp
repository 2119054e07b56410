// Building the clipboard text from the stored tables.
#include "view/copy_text.h"

#include <algorithm>
#include <cstring>

#include "engine/numeric.h"
#include "engine/report_text.h"

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

}  // namespace

std::string historyRowText(const HistoryRecord& r) {
  std::string label(r.label, strnlen(r.label, kLabelLength));
  return formatText(" %2.0f %-24s% 8.1f % 6.1f  % 8.1f  % 8.1f   % 8.1f  % 8.1f", r.age,
                    label.c_str(), r.trees, r.basal_area, r.volume, r.cords, r.topcords, r.bdft);
}

std::string singleCellText(const TableStore& store, int table, int row, int column) {
  const ReportTable* t = tableAt(store, table);
  if (t == nullptr || !validCell(*t, row, column)) return {};
  double value = cellValue(*t, row, column);
  if (column == 0) return formatText("%d", truncToInt(value));
  return formatText("%.1f", value);
}

std::string rectangleText(const TableStore& store, int table, int row0, int col0, int row1,
                          int col1, std::string_view lineEnd) {
  const ReportTable* t = tableAt(store, table);
  if (t == nullptr) return {};
  std::string text;
  for (int row = std::min(row0, row1); row <= std::max(row0, row1); ++row) {
    if (row > std::min(row0, row1)) text += lineEnd;
    for (int column = std::min(col0, col1); column <= std::max(col0, col1); ++column) {
      if (column > std::min(col0, col1)) text += '\t';
      if (!validCell(*t, row, column)) continue;
      double value = cellValue(*t, row, column);
      text += column == 0 ? formatText("%d", truncToInt(value + 0.555)) : formatText("%.1f", value);
    }
  }
  return text;
}

std::string selectAllText(const TableStore& store, bool showFinancial, std::string_view lineEnd) {
  return selectAllText(store, store.firstShown, showFinancial, lineEnd);
}

std::string selectAllText(const TableStore& store, int first, bool showFinancial,
                          std::string_view lineEnd) {
  std::string text;
  auto line = [&](const std::string& s) {
    text += s;
    text += lineEnd;
  };
  auto blankLines = [&] {
    text += lineEnd;
    text += lineEnd;
  };
  int last = std::min(store.lastIndex, kTableCapacity - 1);
  for (int t = std::max(first, 0); t <= last; ++t) {
    const ReportTable& table = store.tables[static_cast<std::size_t>(t)];
    if (table.stockLast >= 0) {
      for (const std::string& s : table.titleLines) line(s);
      blankLines();
      line(table.beforeStockLines[0]);
      line("   -          -         -         -     Total     Total    Integrated-  Utilization");
      line(" DBH      Number   Average     Basal       OB      Pulp      Pulp       Sawtimber");
      line(" Class     Trees    Height      Area   Volume      Tons      Tons       Tons");
      int rows = std::min(table.stockLast, kStockRowCapacity - 1);
      for (int r = 0; r <= rows; ++r) {
        const StockRow& row = table.stock[static_cast<std::size_t>(r)];
        bool totals = r == table.stockLast;
        std::string s = totals ? std::string("Total") : formatText("%5d", truncToInt(row[0]));
        for (std::size_t c = 1; c < 8; ++c) {
          s += totals && c == 2 ? std::string(10, ' ')
                                : formatText("%10.1f", static_cast<double>(row[c]));
        }
        line(s);
      }
    }
    text += lineEnd;
    line(table.afterStockLines[0]);
    blankLines();
    if (table.hasThinningReport != 0) {
      for (const std::string& s : table.thinningLines) line(s);
      blankLines();
    }
    if (table.historyLast >= 0) {
      for (int i = 0; i <= 4; ++i) line(table.historyText[static_cast<std::size_t>(i)]);
      int rows = std::min(table.historyLast, kHistoryCapacity - 1);
      for (int r = 0; r <= rows; ++r)
        line(historyRowText(table.history[static_cast<std::size_t>(r)]));
      for (int i = 5; i <= 7; ++i) line(table.historyText[static_cast<std::size_t>(i)]);
    }
    blankLines();
    if (table.financialLast >= 0 && showFinancial) {
      int lines = std::min(table.financialLast, kFinancialLineCapacity - 1);
      for (int i = 0; i <= lines; ++i) line(table.financialLines[static_cast<std::size_t>(i)]);
    }
  }
  return text;
}

}  // namespace keldovar

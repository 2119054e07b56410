// Which sections of the stored tables are shown, and the row formats they are written with.
#include "view/report_model.h"

#include <algorithm>
#include <cstring>

#include "engine/number_text.h"
#include "engine/numeric.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

// Lines 0-4 of the history text head the rows, lines 5-7 follow them.
constexpr std::size_t kHistoryHeadingLines = 5;
constexpr std::size_t kHistoryFootingLines = 3;
constexpr int kTotalsHeightColumn = 2;

// Rows 0..last of a section whose last row is stored as `last`, within the capacity.
int rowsOf(int last, int capacity) {
  return std::clamp(last, -1, capacity - 1) + 1;
}

std::span<const TableLine> linesOf(std::span<const TableLine> lines, std::size_t from,
                                   std::size_t count) {
  return lines.subspan(from, count);
}

std::string_view label(const HistoryRecord& r) {
  return {r.label, strnlen(r.label, kLabelLength)};
}

}  // namespace

const ReportSection* ShownTable::find(SectionKind kind) const {
  for (const ReportSection& s : present()) {
    if (s.kind == kind) return &s;
  }
  return nullptr;
}

ReportModel::ReportModel(const TableStore& store, const ReportOptions& options)
    : store_(store), options_(options) {
  int last = std::min(store.lastIndex, kTableCapacity - 1);
  if (last < 0) return;
  // A foreign file may name a first table beyond the newest: show the newest then.
  first_ = std::clamp(options.first, 0, last);
  count_ = last - first_ + 1;
  if (!options.carbon.show) return;
  carbonLines_.reserve(static_cast<std::size_t>(count_));
  for (int position = 0; position < count_; ++position) {
    std::vector<std::string> lines = carbonSectionLines(store, first_ + position, options.carbon);
    carbonLines_.emplace_back(lines.begin(), lines.end());
  }
}

ReportModel::ReportModel(const TableStore& store, const ViewOptions& options)
    : ReportModel(store, ReportOptions{.first = store.firstShown,
                                       .showFinancial = options.showFinancial,
                                       .showBargraph = options.showBargraph,
                                       .units = options.units}) {}

ShownTable ReportModel::table(int position) const {
  ShownTable shown;
  shown.index = first_ + std::clamp(position, 0, std::max(count_ - 1, 0));
  const ReportTable& t = store_.tables[static_cast<std::size_t>(shown.index)];
  shown.table = &t;
  auto add = [&](ReportSection section) {
    shown.sections[static_cast<std::size_t>(shown.sectionCount++)] = section;
  };
  if (t.hasStandTable != 0) add({SectionKind::Summary, t.titleLines, 0, {}});
  int stockRows = rowsOf(t.stockLast, kStockRowCapacity);
  if (stockRows > 0) {
    add({SectionKind::Stock, linesOf(t.beforeStockLines, 0, 1), stockRows,
         linesOf(t.afterStockLines, 0, 1)});
  }
  int bars = rowsOf(t.bar.barLast, kBarCapacity);
  if (bars > 0 && options_.showBargraph) add({SectionKind::BarGraph, {}, bars, {}});
  if (t.hasThinningReport != 0) add({SectionKind::Thinning, t.thinningLines, 0, {}});
  int historyRows = rowsOf(t.historyLast, kHistoryCapacity);
  if (historyRows > 0) {
    add({SectionKind::History, linesOf(t.historyText, 0, kHistoryHeadingLines), historyRows,
         linesOf(t.historyText, kHistoryHeadingLines, kHistoryFootingLines)});
  }
  int financialLines = rowsOf(t.financialLast, kFinancialLineCapacity);
  if (financialLines > 0 && options_.showFinancial) {
    add({SectionKind::Financial,
         t.financialLines.first(static_cast<std::size_t>(financialLines)),
         0,
         {}});
  }
  auto carbonAt = static_cast<std::size_t>(shown.index - first_);
  if (carbonAt < carbonLines_.size() && !carbonLines_[carbonAt].empty()) {
    add({SectionKind::Carbon, carbonLines_[carbonAt], 0, {}});
  }
  return shown;
}

void appendStockCell(std::string& out, const ReportTable& table, int row, int column, int width) {
  if (row < 0 || row >= kStockRowCapacity || column < 0 || column >= kStockTableColumns) return;
  TextOut text(out);
  bool totals = row == table.stockLast;
  if (totals && column == 0) {
    text.right("Total", width);
  } else if (totals && column == kTotalsHeightColumn) {
    text.right("", width);
  } else {
    float value = table.stock[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (column == 0) {
      text.whole(truncToInt(static_cast<double>(value)), width);
    } else {
      text.fixed(static_cast<double>(value), width, 1);
    }
  }
}

std::string stockCellText(const ReportTable& table, int row, int column, int width) {
  std::string text;
  appendStockCell(text, table, row, column, width);
  return text;
}

void appendStockRow(std::string& out, const ReportTable& table, int row) {
  constexpr int kClassWidth = 5;
  constexpr int kValueWidth = 10;
  appendStockCell(out, table, row, 0, kClassWidth);
  for (int c = 1; c < kStockTableColumns; ++c) appendStockCell(out, table, row, c, kValueWidth);
}

std::string stockRowText(const ReportTable& table, int row) {
  std::string text;
  appendStockRow(text, table, row);
  return text;
}

namespace {

// " %2.0f %-24s% 8.1f % 6.1f  % 8.1f  % 8.1f   % 8.1f  % 8.1f", or as drawn with a label of 23
// and one blank less between the figures.
void appendHistoryRow(std::string& out, const HistoryRecord& r, bool drawn) {
  const char* gap = drawn ? " " : "  ";
  TextOut(out)
      .text(" ")
      .fixed(r.age, 2, 0)
      .text(" ")
      .left(label(r), drawn ? 23 : 24)
      .fixed(r.trees, 8, 1, Sign::Space)
      .text(" ")
      .fixed(r.basal_area, 6, 1, Sign::Space)
      .text(gap)
      .fixed(r.volume, 8, 1, Sign::Space)
      .text(gap)
      .fixed(r.cords, 8, 1, Sign::Space)
      .text(drawn ? "  " : "   ")
      .fixed(r.topcords, 8, 1, Sign::Space)
      .text(gap)
      .fixed(r.bdft, 8, 1, Sign::Space);
}

}  // namespace

void appendHistoryRow(std::string& out, const HistoryRecord& record) {
  appendHistoryRow(out, record, false);
}

std::string historyRowText(const HistoryRecord& record) {
  std::string text;
  appendHistoryRow(text, record, false);
  return text;
}

std::string historyRowDrawnText(const HistoryRecord& record) {
  std::string text;
  appendHistoryRow(text, record, true);
  return text;
}

std::string historySampleRowText() {
  HistoryRecord sample{51, "1wwwwwwwwwwwwwwwwwwwwww", 555551, 5551, 555551, 555551, 555551, 555551};
  return historyRowText(sample);
}

}  // namespace keldovar

// Which sections of the stored tables are shown, and the row formats they are written with.
#include "view/report_model.h"

#include <algorithm>
#include <cstring>

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

std::span<const std::string> linesOf(std::span<const std::string> lines, std::size_t from,
                                     std::size_t count) {
  return lines.subspan(from, count);
}

std::string label(const HistoryRecord& r) {
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
    carbonLines_.push_back(carbonSectionLines(store, first_ + position, options.carbon));
  }
}

ReportModel::ReportModel(const TableStore& store, const ViewOptions& options)
    : ReportModel(store,
                  ReportOptions{store.firstShown, options.showFinancial, options.showBargraph}) {}

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
         linesOf(t.financialLines, 0, static_cast<std::size_t>(financialLines)),
         0,
         {}});
  }
  auto carbonAt = static_cast<std::size_t>(shown.index - first_);
  if (carbonAt < carbonLines_.size() && !carbonLines_[carbonAt].empty()) {
    add({SectionKind::Carbon, carbonLines_[carbonAt], 0, {}});
  }
  return shown;
}

std::string stockCellText(const ReportTable& table, int row, int column, int width) {
  if (row < 0 || row >= kStockRowCapacity || column < 0 || column >= kStockTableColumns) return {};
  bool totals = row == table.stockLast;
  if (totals && column == 0) return formatText("%*s", width, "Total");
  if (totals && column == kTotalsHeightColumn) return formatText("%*s", width, "");
  float value = table.stock[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  if (column == 0) return formatText("%*d", width, truncToInt(static_cast<double>(value)));
  return formatText("%*.1f", width, static_cast<double>(value));
}

std::string stockRowText(const ReportTable& table, int row) {
  constexpr int kClassWidth = 5;
  constexpr int kValueWidth = 10;
  std::string text = stockCellText(table, row, 0, kClassWidth);
  for (int c = 1; c < kStockTableColumns; ++c) text += stockCellText(table, row, c, kValueWidth);
  return text;
}

std::string historyRowText(const HistoryRecord& r) {
  return formatText(" %2.0f %-24s% 8.1f % 6.1f  % 8.1f  % 8.1f   % 8.1f  % 8.1f", r.age,
                    label(r).c_str(), r.trees, r.basal_area, r.volume, r.cords, r.topcords, r.bdft);
}

std::string historyRowDrawnText(const HistoryRecord& r) {
  return formatText(" %2.0f %-23s% 8.1f % 6.1f % 8.1f % 8.1f  % 8.1f % 8.1f", r.age,
                    label(r).c_str(), r.trees, r.basal_area, r.volume, r.cords, r.topcords, r.bdft);
}

std::string historySampleRowText() {
  HistoryRecord sample{51, "1wwwwwwwwwwwwwwwwwwwwww", 555551, 5551, 555551, 555551, 555551, 555551};
  return historyRowText(sample);
}

}  // namespace keldovar

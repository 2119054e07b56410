// Which sections of the stored tables are shown, and the row formats they are written with.
#include "view/report_model.h"

#include <algorithm>
#include <cstring>

#include "engine/number_text.h"
#include "engine/numeric.h"
#include "engine/report_text.h"
#include "view/metric_table.h"

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
  bool metric = options.units == UnitSystem::Metric;
  ShownUnits style{options.units, options.currency, options.decimalSeparator};
  if (metric) {
    metric_.resize(static_cast<std::size_t>(count_));
    for (int position = 0; position < count_; ++position) {
      convertToMetric(store.tables[static_cast<std::size_t>(first_ + position)], style,
                      metric_[static_cast<std::size_t>(position)]);
    }
  }
  if (!options.carbon.show) return;
  carbonLines_.reserve(static_cast<std::size_t>(count_));
  for (int position = 0; position < count_; ++position) {
    std::vector<std::string> lines = carbonSectionLines(store, first_ + position, options.carbon);
    if (metric) {
      for (std::string& line : lines) line = metricLine(LineGroup::Carbon, line, style);
    }
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
  auto at = static_cast<std::size_t>(shown.index - first_);
  const ReportTable& t =
      at < metric_.size() ? metric_[at] : store_.tables[static_cast<std::size_t>(shown.index)];
  shown.table = &t;
  shown.units = options_.units;
  shown.decimalSeparator = options_.decimalSeparator;
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
  if (at < carbonLines_.size() && !carbonLines_[at].empty()) {
    add({SectionKind::Carbon, carbonLines_[at], 0, {}});
  }
  return shown;
}

const std::array<StockColumnFace, kStockTableColumns>& stockColumnFaces(UnitSystem units) {
  return units == UnitSystem::Metric ? kMetricStockColumnFaces : kStockColumnFaces;
}

const std::array<std::string_view, 3>& stockTextHeading(UnitSystem units) {
  return units == UnitSystem::Metric ? kMetricStockTextHeading : kStockTextHeading;
}

namespace {

void useSeparator(std::string& out, std::size_t from, char separator) {
  if (separator == '.') return;
  for (std::size_t i = from; i < out.size(); ++i) {
    if (out[i] == '.') out[i] = separator;
  }
}

// A metric stock value: the class by its centimetre bounds, the rest already converted.
void appendMetricCell(std::string& out, float value, int column, int width, char separator) {
  std::size_t from = out.size();
  if (column == 0) {
    ClassBounds cm = classBoundsCm(truncToInt(static_cast<double>(value)));
    std::string bounds;
    TextOut(bounds).fixed(cm.low, 0, 1).text("-").fixed(cm.high, 0, 1);
    TextOut(out).right(bounds, width);
  } else {
    int decimals = metricDecimals(kStockQuantities[static_cast<std::size_t>(column)], 1);
    TextOut(out).fixed(static_cast<double>(value), width, decimals);
  }
  useSeparator(out, from, separator);
}

}  // namespace

void appendStockCell(std::string& out, const ReportTable& table, int row, int column, int width,
                     RowStyle style) {
  if (row < 0 || row >= kStockRowCapacity || column < 0 || column >= kStockTableColumns) return;
  TextOut text(out);
  bool totals = row == table.stockLast;
  if (totals && column == 0) {
    text.right("Total", width);
  } else if (totals && column == kTotalsHeightColumn) {
    text.right("", width);
  } else {
    float value = table.stock[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (style.units == UnitSystem::Metric) {
      appendMetricCell(out, value, column, width, style.decimalSeparator);
    } else if (column == 0) {
      text.whole(truncToInt(static_cast<double>(value)), width);
    } else {
      text.fixed(static_cast<double>(value), width, 1);
    }
  }
}

std::string stockCellText(const ReportTable& table, int row, int column, int width,
                          RowStyle style) {
  std::string text;
  appendStockCell(text, table, row, column, width, style);
  return text;
}

void appendStockRow(std::string& out, const ReportTable& table, int row, RowStyle style) {
  constexpr int kClassWidth = 5;
  constexpr int kMetricClassWidth = 10;
  constexpr int kValueWidth = 10;
  bool metric = style.units == UnitSystem::Metric;
  appendStockCell(out, table, row, 0, metric ? kMetricClassWidth : kClassWidth, style);
  for (int c = 1; c < kStockTableColumns; ++c) {
    appendStockCell(out, table, row, c, kValueWidth, style);
  }
}

std::string stockRowText(const ReportTable& table, int row, RowStyle style) {
  std::string text;
  appendStockRow(text, table, row, style);
  return text;
}

namespace {

// " %2.0f %-24s% 8.1f % 6.1f  % 8.1f  % 8.1f   % 8.1f  % 8.1f", or as drawn with a label of 23
// and one blank less between the figures.
void appendImperialRow(std::string& out, const HistoryRecord& r, bool drawn) {
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

// The same fields for a converted record, each figure with its metric decimals.
void appendMetricRow(std::string& out, const HistoryRecord& r, bool drawn, char separator) {
  const char* gap = drawn ? " " : "  ";
  std::array<double, kHistoryQuantities.size()> figures{r.trees, r.basal_area, r.volume,
                                                        r.cords, r.topcords,   r.bdft};
  std::array<const char*, kHistoryQuantities.size()> before{"", " ", gap, gap, drawn ? "  " : "   ",
                                                            gap};
  std::array<int, kHistoryQuantities.size()> widths{8, 6, 8, 8, 8, 8};
  TextOut(out).text(" ").fixed(r.age, 2, 0).text(" ").left(label(r), drawn ? 23 : 24);
  std::size_t from = out.size();
  for (std::size_t i = 0; i < figures.size(); ++i) {
    int decimals = metricDecimals(kHistoryQuantities[i], 1);
    TextOut(out).text(before[i]).fixed(figures[i], widths[i], decimals, Sign::Space);
  }
  useSeparator(out, from, separator);
}

void appendRow(std::string& out, const HistoryRecord& r, bool drawn, RowStyle style) {
  if (style.units == UnitSystem::Metric) {
    appendMetricRow(out, r, drawn, style.decimalSeparator);
  } else {
    appendImperialRow(out, r, drawn);
  }
}

}  // namespace

void appendHistoryRow(std::string& out, const HistoryRecord& record, RowStyle style) {
  appendRow(out, record, false, style);
}

std::string historyRowText(const HistoryRecord& record, RowStyle style) {
  std::string text;
  appendRow(text, record, false, style);
  return text;
}

std::string historyRowDrawnText(const HistoryRecord& record, RowStyle style) {
  std::string text;
  appendRow(text, record, true, style);
  return text;
}

std::string historySampleRowText(RowStyle style) {
  HistoryRecord sample{51, "1wwwwwwwwwwwwwwwwwwwwww", 555551, 5551, 555551, 555551, 555551, 555551};
  return historyRowText(sample, style);
}

}  // namespace keldovar

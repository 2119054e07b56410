// Converting a stored table's numbers and lines for the metric view.
#include "view/metric_table.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace keldovar {
namespace {

template <typename Lines>
void convertLines(LineGroup group, std::span<const TableLine> stored, Lines& out,
                  const ShownUnits& style) {
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (!stored[i].empty()) out[i] = metricLine(group, stored[i], style);
  }
}

float metricFloat(Quantity quantity, float stored) {
  return static_cast<float>(toMetric(quantity, static_cast<double>(stored)));
}

void convertRecord(HistoryRecord& r) {
  r.trees = toMetric(kHistoryQuantities[0], r.trees);
  r.basal_area = toMetric(kHistoryQuantities[1], r.basal_area);
  r.volume = toMetric(kHistoryQuantities[2], r.volume);
  r.cords = toMetric(kHistoryQuantities[3], r.cords);
  r.topcords = toMetric(kHistoryQuantities[4], r.topcords);
  r.bdft = toMetric(kHistoryQuantities[5], r.bdft);
}

// The bars keep their outlines (they are drawn against the peak, which scales with them); the
// trees axis and the values on the bars count per hectare.
void convertGraph(BarGraph& graph) {
  graph.barMax = metricFloat(Quantity::PerArea, graph.barMax);
  for (int& value : graph.barValue) {
    value = static_cast<int>(std::lround(toMetric(Quantity::PerArea, value)));
  }
}

}  // namespace

BarGraph shownGraph(const BarGraph& stored, UnitSystem units) {
  BarGraph graph = stored;
  if (units == UnitSystem::Metric) convertGraph(graph);
  return graph;
}

void convertToMetric(const ReportTable& stored, const ShownUnits& style, ReportTable& out) {
  out = stored;
  int rows = std::min(stored.stockLast + 1, kStockRowCapacity);
  for (int r = 0; r < rows; ++r) {
    StockRow& row = out.stock[static_cast<std::size_t>(r)];
    for (std::size_t c = 1; c < kStockQuantities.size(); ++c)
      row[c] = metricFloat(kStockQuantities[c], row[c]);
  }
  int records = std::min(stored.historyLast + 1, kHistoryCapacity);
  for (int r = 0; r < records; ++r) convertRecord(out.history[static_cast<std::size_t>(r)]);
  convertGraph(out.bar);
  convertLines(LineGroup::Summary, stored.titleLines, out.titleLines, style);
  convertLines(LineGroup::Stock, stored.beforeStockLines, out.beforeStockLines, style);
  convertLines(LineGroup::Stock, stored.afterStockLines, out.afterStockLines, style);
  convertLines(LineGroup::Thinning, stored.thinningLines, out.thinningLines, style);
  convertLines(LineGroup::History, stored.historyText, out.historyText, style);
  int financial = std::min(stored.financialLast + 1, kFinancialLineCapacity);
  if (financial > 0) {
    convertLines(LineGroup::Financial,
                 stored.financialLines.first(static_cast<std::size_t>(financial)),
                 out.financialLines, style);
  }
}

}  // namespace keldovar

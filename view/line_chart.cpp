// The line chart's geometry: data ranges widened to round ticks, then mapped onto the plot.
#include "view/line_chart.h"

#include <algorithm>
#include <cmath>

#include "engine/report_text.h"

namespace keldovar {
namespace {

// Enough for any chart a page holds; bounds the tick loop whatever the range.
constexpr int kMaxTicks = 50;

std::string tickText(double value, double step) {
  int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  if (std::abs(value) < step * 1e-6) value = 0;  // no "-0"
  return formatText("%.*f", decimals, value);
}

struct Range {
  double low = 0;
  double high = 1;
};

Range rangeOf(const std::vector<ChartSeries>& series, double ChartPoint::*coordinate) {
  bool any = false;
  Range r;
  for (const ChartSeries& s : series) {
    for (const ChartPoint& p : s.points) {
      double v = p.*coordinate;
      if (!std::isfinite(v)) continue;
      r.low = any ? std::min(r.low, v) : v;
      r.high = any ? std::max(r.high, v) : v;
      any = true;
    }
  }
  return any ? r : Range{0, 1};
}

// A legend key: the sample line, a gap, the name, and a gap before the next key.
constexpr double kKeyLines = 2.4;
constexpr double kKeyGapLines = 1;

// The legend's keys in rows from `top`, each row as wide as `width` from `left` allows; the
// number of rows (at least one, the line a chart always keeps for it).
int layOutLegend(LineChartDrawing& d, double left, double width, double top,
                 const ChartTextWidth& textWidth) {
  double line = d.plot.lineHeight;
  double x = left;
  int rows = 1;
  for (std::size_t i = 0; i < d.lines.size(); ++i) {
    if (d.lines[i].dashed) continue;  // a regime's second quantity: the title says which
    double key = kKeyLines * line + textWidth(d.lines[i].name);
    if (x > left && x + key > left + width) {
      x = left;
      ++rows;
    }
    d.legend.push_back({x, top + (rows - 0.5) * line, i});
    x += key + kKeyGapLines * line;
  }
  return rows;
}

}  // namespace

std::vector<double> roundTicks(double low, double high, int count) {
  if (!(high > low)) {
    low -= 1;
    high += 1;
  }
  double raw = (high - low) / std::max(1, count);
  double power = std::pow(10.0, std::floor(std::log10(raw)));
  double ratio = raw / power;
  double step = power * (ratio <= 1 ? 1 : ratio <= 2 ? 2 : ratio <= 5 ? 5 : 10);
  std::vector<double> ticks;
  double first = std::floor(low / step) * step;
  for (int i = 0; i < kMaxTicks; ++i) {
    double v = first + i * step;
    ticks.push_back(v);
    if (v >= high - step * 1e-9) break;
  }
  return ticks;
}

LineChartDrawing drawLineChart(const std::string& title, const std::string& xName,
                               const std::string& yName, const std::vector<ChartSeries>& series,
                               const ChartBox& box, const ChartTextWidth& textWidth) {
  LineChartDrawing d{title, box.top, xName, yName, box, {}, {}, std::nullopt, series, {}};
  double left = box.left + box.labelWidth + box.lineHeight * 1.5;
  double right = box.left + box.width - box.lineHeight;
  int rows = layOutLegend(d, left, right - left, box.top + 1.3 * box.lineHeight, textWidth);
  double top = box.top + (1.5 + rows) * box.lineHeight;
  d.plot.left = left;
  d.plot.top = top;
  d.plot.width = std::max(1.0, right - left);
  d.plot.height = std::max(1.0, box.top + box.height - top - 2.5 * box.lineHeight);
  Range xr = rangeOf(series, &ChartPoint::x);
  Range yr = rangeOf(series, &ChartPoint::y);
  std::vector<double> xs = roundTicks(xr.low, xr.high, 8);
  std::vector<double> ys = roundTicks(std::min(yr.low, 0.0), yr.high, 5);
  double xStep = xs.size() > 1 ? xs[1] - xs[0] : 1;
  double yStep = ys.size() > 1 ? ys[1] - ys[0] : 1;
  auto atX = [&](double x) {
    return d.plot.left + (x - xs.front()) / (xs.back() - xs.front()) * d.plot.width;
  };
  auto atY = [&](double y) {
    return d.plot.top + d.plot.height - (y - ys.front()) / (ys.back() - ys.front()) * d.plot.height;
  };
  for (double x : xs) d.xTicks.push_back({atX(x), tickText(x, xStep)});
  for (double y : ys) d.yTicks.push_back({atY(y), tickText(y, yStep)});
  if (ys.front() < 0 && ys.back() > 0) d.zeroY = atY(0);
  for (ChartSeries& line : d.lines) {
    for (ChartPoint& p : line.points) p = {atX(p.x), atY(p.y)};
  }
  return d;
}

std::vector<LineChartDrawing> stackLineCharts(const std::vector<LineChartSpec>& charts,
                                              const ChartBox& area,
                                              const ChartTextWidth& textWidth) {
  std::vector<LineChartDrawing> out;
  double each = area.height / static_cast<double>(std::max<std::size_t>(1, charts.size()));
  for (std::size_t i = 0; i < charts.size(); ++i) {
    ChartBox box = area;
    box.top = area.top + each * static_cast<double>(i);
    box.height = each;
    const LineChartSpec& c = charts[i];
    out.push_back(drawLineChart(c.title, c.xName, c.yName, c.series, box, textWidth));
  }
  return out;
}

}  // namespace keldovar

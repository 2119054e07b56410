// A line chart of several series against one horizontal axis (age), worked out without a
// toolkit: the plot box, round-numbered ticks and each series as a polyline on the page. A small
// painter in view/qt draws it on a window or a PDF page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldovar {

struct ChartPoint {
  double x = 0;
  double y = 0;
};

struct ChartSeries {
  std::string name;
  int colour = 0;                  // an index into the painter's palette: one a regime
  bool dashed = false;             // a second quantity of the same regime
  std::vector<ChartPoint> points;  // in data units, in the order drawn
};

// Where the chart goes on the page (any units, y downwards) and the size of its text.
struct ChartBox {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  double lineHeight = 1;  // a line of text
  double labelWidth = 1;  // the widest tick label of the vertical axis
};

struct ChartTick {
  double at = 0;  // on the page
  std::string text;
};

// One regime's key in the legend: its sample line starts at (x, y), y the middle of its row.
struct ChartLegendEntry {
  double x = 0;
  double y = 0;
  std::size_t series = 0;  // an index into the drawing's lines
};

// The width of a text on the page, in the box's units: the painter's font metrics.
using ChartTextWidth = std::function<double(std::string_view)>;

struct LineChartDrawing {
  std::string title;
  double titleTop = 0;  // the title's line
  std::string xName;
  std::string yName;
  ChartBox plot;  // the plotting area inside the box, its lineHeight and labelWidth the box's
  std::vector<ChartTick> xTicks;
  std::vector<ChartTick> yTicks;
  std::optional<double> zeroY;     // the line of value 0 on the page, when the range crosses it
  std::vector<ChartSeries> lines;  // the series with their points on the page
  std::vector<ChartLegendEntry> legend;  // the solid series, in rows as wide as the plot
};

// The chart of `series` in `box`: a title line and the legend's rows above the plot (as many as
// its names take at `textWidth`), tick labels and the axis names below and at the left. An empty
// series list gives an empty plot of 0 to 1.
LineChartDrawing drawLineChart(const std::string& title, const std::string& xName,
                               const std::string& yName, const std::vector<ChartSeries>& series,
                               const ChartBox& box, const ChartTextWidth& textWidth);

// A chart before it is laid out: everything drawLineChart takes but the box.
struct LineChartSpec {
  std::string title;
  std::string xName;
  std::string yName;
  std::vector<ChartSeries> series;
};

// The charts one under another, each an equal share of `area`'s height, its text `area`'s.
std::vector<LineChartDrawing> stackLineCharts(const std::vector<LineChartSpec>& charts,
                                              const ChartBox& area,
                                              const ChartTextWidth& textWidth);

// Round ticks covering [low, high]: steps of 1, 2 or 5 times a power of ten, about `count` of
// them; the first at or below `low`, the last at or above `high`.
std::vector<double> roundTicks(double low, double high, int count);

}  // namespace keldovar

// The line chart's geometry: round ticks cover the data, the points land in the plot with the
// axes' ends at its edges, and the zero line is drawn only when the range crosses zero.
#include <gtest/gtest.h>

#include "view/line_chart.h"

namespace keldovar {
namespace {

// Every character five units wide.
const ChartTextWidth kWidth = [](std::string_view text) { return 5.0 * double(text.size()); };

TEST(LineChart, RoundTicksCoverTheRange) {
  struct Case {
    double low, high;
    std::vector<double> ticks;
  } cases[] = {
      {0, 32, {0, 5, 10, 15, 20, 25, 30, 35}},
      {-250, 976.46, {-500, 0, 500, 1000}},
      {3, 3, {2, 2.5, 3, 3.5, 4}},  // one value: widened around it
      {0.12, 0.19, {0.12, 0.14, 0.16, 0.18, 0.2}},
  };
  for (const Case& c : cases) {
    std::vector<double> ticks = roundTicks(c.low, c.high, c.low == 0 ? 8 : 5);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " " << c.high;
    for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9);
  }
}

TEST(LineChart, PointsLandInThePlot) {
  ChartBox box{100, 50, 800, 400, 10, 40};
  std::vector<ChartSeries> series = {{"a", 0, false, {{0, -250}, {16, 100}, {32, 456.64}}},
                                     {"b", 1, true, {{14, 0}, {26, 976.46}}}};
  LineChartDrawing d = drawLineChart("PV", "Age", "$/ac", series, box, kWidth);
  const ChartBox& p = d.plot;
  EXPECT_GT(p.left, box.left + box.labelWidth);
  EXPECT_LT(p.top + p.height, box.top + box.height);
  EXPECT_DOUBLE_EQ(d.xTicks.front().at, p.left);
  EXPECT_DOUBLE_EQ(d.yTicks.front().at, p.top + p.height);  // the lowest value at the bottom
  EXPECT_EQ(d.yTicks.back().text, "1000");
  ASSERT_TRUE(d.zeroY);
  for (const ChartSeries& s : d.lines) {
    for (const ChartPoint& point : s.points) {
      EXPECT_GE(point.x, p.left);
      EXPECT_LE(point.x, p.left + p.width);
      EXPECT_GE(point.y, p.top);
      EXPECT_LE(point.y, p.top + p.height);
    }
  }
  EXPECT_DOUBLE_EQ(d.lines[1].points[0].y, *d.zeroY);
  series = {{"c", 0, false, {{0, 10}, {5, 20}}}};
  EXPECT_FALSE(drawLineChart("", "", "", series, box, kWidth).zeroY);  // from 0 up: no line to draw
}

TEST(LineChart, TheLegendWrapsInsideThePlotsWidthAndPushesThePlotDown) {
  ChartBox box{0, 0, 400, 300, 10, 40};
  std::vector<ChartSeries> series;
  for (int i = 0; i < 9; ++i) {
    series.push_back({"regime-" + std::to_string(i) + "-with-a-long-name", i, false, {{0, 1}}});
    series.push_back({"pulp", i, true, {{0, 2}}});
  }
  LineChartDrawing one = drawLineChart("", "", "", {series[0]}, box, kWidth);
  LineChartDrawing d = drawLineChart("", "", "", series, box, kWidth);
  ASSERT_EQ(d.legend.size(), 9U);  // the dashed series have no key of their own
  double rows = (d.legend.back().y - d.legend.front().y) / box.lineHeight + 1;
  EXPECT_GT(rows, 2);
  EXPECT_DOUBLE_EQ(d.plot.top - one.plot.top, (rows - 1) * box.lineHeight);
  for (const ChartLegendEntry& e : d.legend) {
    EXPECT_FALSE(d.lines[e.series].dashed);
    EXPECT_GE(e.x, d.plot.left);
    double end = e.x + 2.4 * box.lineHeight + kWidth(d.lines[e.series].name);
    EXPECT_LE(end, d.plot.left + d.plot.width) << d.lines[e.series].name;
    EXPECT_LT(e.y, d.plot.top);
  }
}

}  // namespace
}  // namespace keldovar

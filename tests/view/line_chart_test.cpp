// The line chart's geometry: round ticks cover the data, the points land in the plot with the
// axes' ends at its edges, and the zero line is drawn only when the range crosses zero.
#include <gtest/gtest.h>

#include "view/line_chart.h"

namespace keldovar {
namespace {

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
  LineChartDrawing d = drawLineChart("PV", "Age", "$/ac", series, box);
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
  EXPECT_FALSE(drawLineChart("", "", "", series, box).zeroY);  // from 0 up: no line to draw
}

}  // namespace
}  // namespace keldovar

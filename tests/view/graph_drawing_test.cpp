// The bar graph's shapes on the page: columns, faces, labels, axis and titles.
#include "view/graph_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/view/report_fixture.h"

namespace keldovar::testing {
namespace {

class GraphDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BarGraph& g = store->tables[0].bar;
    g.barMax = 100;
    g.barAge = 25;
    g.barLast = 2;
    g.bars[0] = {1, -150, 217, -300};  // 50 trees
    g.bars[1] = {217, 0, 433, -300};   // 100 trees, the full scale
    g.bars[2] = {433, -300, 649, -300};
    g.barValue = {50, 100, 0};
    g.barClass = {6, 7, 8};
    LayoutParams params;
    params.showBargraph = true;
    layout = ReportLayout(*store, FixedPitchMetrics{10, 5}, params);
    shapes = drawBarGraph(g, layout, layout.tables()[0]);
  }
  std::vector<GraphShape> all(GraphShapeKind kind, GraphInk ink) const {
    std::vector<GraphShape> out;
    std::copy_if(shapes.begin(), shapes.end(), std::back_inserter(out),
                 [&](const GraphShape& s) { return s.kind == kind && s.ink == ink; });
    return out;
  }
  const GraphShape* withText(std::string_view text) const {
    auto it = std::find_if(shapes.begin(), shapes.end(),
                           [&](const GraphShape& s) { return s.text == text; });
    return it == shapes.end() ? nullptr : &*it;
  }
  static auto at(const GraphShape& s) { return std::make_tuple(s.x1, s.y1, s.x2, s.y2); }

  std::unique_ptr<TableStore> store = makeStore({TableShape{3, 3}});
  ReportLayout layout;
  std::vector<GraphShape> shapes;
};

TEST_F(GraphDrawingTest, ColumnsStandOnTheScaleWithTheirFacesAndValues) {
  // graphTitleY 212, graphBaseY 242, so the columns stand at 542; the margin is 30.
  auto fills = all(GraphShapeKind::Fill, GraphInk::Black);
  ASSERT_EQ(fills.size(), 2u);  // the empty class has none
  EXPECT_EQ(at(fills[0]), std::make_tuple(31, 392, 247, 543));
  EXPECT_EQ(at(all(GraphShapeKind::Fill, GraphInk::Green)[1]), std::make_tuple(248, 243, 462, 542));
  EXPECT_EQ(all(GraphShapeKind::Stroke, GraphInk::White).size(), 3u * 20u);

  const GraphShape* fifty = withText("50");
  ASSERT_NE(fifty, nullptr);
  EXPECT_EQ(std::make_tuple(fifty->x1, fifty->y1, fifty->ink),
            std::make_tuple(134, 394, GraphInk::White));
  const GraphShape* zero = withText("0");  // the empty class's value, above its base line
  EXPECT_EQ(std::make_tuple(zero->y1, zero->ink), std::make_tuple(530, GraphInk::Black));
  EXPECT_EQ(withText("8")->y1, 548);  // class labels below the ticks

  auto black = all(GraphShapeKind::Stroke, GraphInk::Black);
  auto has = [&](std::tuple<int, int, int, int> line) {
    return std::any_of(black.begin(), black.end(),
                       [&](const GraphShape& s) { return at(s) == line; });
  };
  EXPECT_TRUE(has({476, 222, 476, 522}));   // the right face down to the lower column after it
  EXPECT_FALSE(has({260, 372, 260, 222}));  // none where the next column is taller
  EXPECT_TRUE(has({463, 542, 679, 542}));   // the empty class's base line
  EXPECT_TRUE(has({692, 522, 692, 522}));   // the last column's right face ...
  EXPECT_TRUE(has({679, 541, 692, 521}));   // ... and its bottom edge
}

TEST_F(GraphDrawingTest, TreesAxisAndTitles) {
  auto labels = all(GraphShapeKind::CentredText, GraphInk::Black);
  ASSERT_EQ(labels.size(), 11u);  // 0 to 100 by 10
  EXPECT_EQ(labels.back().text, "100");
  EXPECT_EQ(at(labels.back()), std::make_tuple(31 - 20 - 6, 237, 25, 247));
  EXPECT_EQ(withText("         Diameter Distribution of the Stand   Age 25")->y1, 212);
  EXPECT_EQ(withText("Tree Diameter (inches)")->x1, 650 / 3);
  EXPECT_EQ(withText("T")->y1, 212 + 10 + 40);

  store->tables[0].bar.barMax = 0;  // no trees at all: the 0 tick alone, no division by zero
  auto bare = drawBarGraph(store->tables[0].bar, layout, layout.tables()[0]);
  EXPECT_EQ(
      std::count_if(bare.begin(), bare.end(),
                    [](const GraphShape& s) { return s.kind == GraphShapeKind::CentredText; }),
      1);

  ReportLayout hidden(*store, FixedPitchMetrics{10, 5}, LayoutParams{});
  EXPECT_TRUE(drawBarGraph(store->tables[0].bar, hidden, hidden.tables()[0]).empty());
}

TEST_F(GraphDrawingTest, MetricClassesAreNamedByTheirCentimetreMiddles) {
  BarGraph& g = store->tables[0].bar;
  g.barClass = {6, 7, 40};  // 15.24, 17.78 and 101.6 cm
  LayoutParams params;
  params.showBargraph = true;
  params.units = UnitSystem::Metric;
  ReportLayout metric(*store, FixedPitchMetrics{10, 5}, params);
  auto drawn = drawBarGraph(g, metric, metric.tables()[0]);
  auto find = [&](std::string_view text) {
    return std::find_if(drawn.begin(), drawn.end(),
                        [&](const GraphShape& s) { return s.text == text; });
  };
  // Centred under each column's tick (139, 355, 571), at half the label's width to the left.
  const std::tuple<std::string_view, int> labels[] = {
      {"15", 139 - 5}, {"18", 355 - 5}, {"102", 571 - 7}};
  for (auto [text, x] : labels) {
    ASSERT_NE(find(text), drawn.end()) << text;
    EXPECT_EQ(find(text)->x1, x) << text;
  }
  EXPECT_NE(find("Tree Diameter (cm, class midpoints)"), drawn.end());
  EXPECT_EQ(find("Tree Diameter (inches)"), drawn.end());
}

}  // namespace
}  // namespace keldovar::testing

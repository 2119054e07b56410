// Building the diameter bar graph from the class arrays.
#include <gtest/gtest.h>

#include <initializer_list>

#include "document/bar_graph.h"

namespace keldovar {
namespace {

StandState standWith(std::initializer_list<double> trees, double firstClass = 4) {
  StandState s;
  s.AG = 23.7;
  s.firstClass = firstClass;
  std::size_t i = 0;
  for (double t : trees) s.classTrees[i++] = t;
  return s;
}

TEST(BarGraph, PeaksAtTheFirstLocalMaximumAfterAPlateau) {
  BarGraph g;
  StandState s = standWith({0.3, 5, 5, 10, 4, 12, 0.2});
  EXPECT_EQ(buildBarGraph(g, s, 0), 23);
  EXPECT_EQ(g.barAge, 23);
  EXPECT_EQ(g.barMax, 10.0f);  // not the larger 12 after the dip
  // Ends at the first class after the peak under half a tree: classes 0..5.
  ASSERT_EQ(g.barLast, 5);
  int step = static_cast<int>(650.0f / 6.0f);
  EXPECT_EQ(g.bars[0].left, 1);
  EXPECT_EQ(g.bars[0].right, 1 + step);
  EXPECT_EQ(g.bars[1].left, 1 + step);
  EXPECT_EQ(g.bars[5].right, 1 + 6 * step);
  float unit = 300.0f / 10.0f;
  EXPECT_EQ(g.bars[3].top, -(300 - static_cast<int>(static_cast<double>(unit) * 10)));
  EXPECT_EQ(g.bars[3].top, 0);
  EXPECT_EQ(g.bars[1].top, -(300 - static_cast<int>(static_cast<double>(unit) * 5)));
  EXPECT_EQ(g.bars[5].top, 60);  // taller than the peak: above the graph's top
  for (int n = 0; n <= g.barLast; ++n) EXPECT_EQ(g.bars[static_cast<std::size_t>(n)].bottom, -300);
  EXPECT_EQ(g.barClass[0], 4);
  EXPECT_EQ(g.barClass[5], 9);
}

TEST(BarGraph, ClassUnderOneTreeGetsAFlatBar) {
  BarGraph g;
  buildBarGraph(g, standWith({0.3, 0.9, 5, 1}), 0);
  EXPECT_EQ(g.bars[0].top, -300);
  EXPECT_EQ(g.barValue[0], 0);
  EXPECT_EQ(g.bars[1].top, -300);  // 0.9 truncates to 0: flat, though it rounds to 1 tree
  EXPECT_EQ(g.barValue[1], 1);
  EXPECT_EQ(g.barValue[2], 5);
}

TEST(BarGraph, RunsToTheLastClassWhenNothingFallsUnderHalfATree) {
  StandState s;
  s.firstClass = 2;
  for (std::size_t i = 0; i < kClassCount; ++i)
    s.classTrees[i] = i < 5 ? 10.0 * static_cast<double>(i + 1) : 3;
  BarGraph g;
  buildBarGraph(g, s, 0);
  EXPECT_EQ(g.barLast, 24);
  EXPECT_EQ(g.barClass[24], 26);
  EXPECT_EQ(g.bars[0].right - g.bars[0].left, 26);  // 650 / 25
}

TEST(BarGraph, StartsAtTheFirstClassLeftByAThinning) {
  BarGraph g;
  StandState s = standWith({0, 0, 8, 20, 6, 0.1}, 7);  // firstClass already moved up by 2
  buildBarGraph(g, s, 2);
  EXPECT_EQ(g.barLast, 2);
  EXPECT_EQ(g.barClass[0], 7);
  EXPECT_EQ(g.barValue[1], 20);
  EXPECT_EQ(g.barMax, 20.0f);
}

TEST(BarGraph, NoBarsBeyondTheClasses) {
  BarGraph g;
  g.barLast = 3;
  buildBarGraph(g, standWith({5, 6}), kClassCount);
  EXPECT_EQ(g.barLast, -1);
}

TEST(BarGraph, TreesAxisTicks) {
  EXPECT_EQ(treesAxis(100).step, 10);
  EXPECT_EQ(treesAxis(100).count, 11);
  EXPECT_EQ(treesAxis(101).step, 50);
  EXPECT_EQ(treesAxis(101).count, 3);
  EXPECT_EQ(treesAxis(37.2f).count, 4);
}

}  // namespace
}  // namespace keldovar

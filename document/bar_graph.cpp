// Building the bar graph: bars from the first local peak's class range, scaled to 300 units.
#include "document/bar_graph.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/numeric.h"

namespace keldovar {

AxisTicks treesAxis(float barMax) {
  AxisTicks ticks;
  ticks.step = barMax <= 100 ? 10 : 50;
  ticks.count = truncToInt(std::ceil(static_cast<double>(barMax))) / ticks.step + 1;
  return ticks;
}

int buildBarGraph(BarGraph& graph, const StandState& stand, int first) {
  graph.barLast = -1;
  graph.barAge = truncToInt(stand.AG);
  if (first < 0 || first >= kClassCount) return graph.barAge;
  const auto& trees = stand.classTrees;
  auto at = [&trees](int i) { return trees[static_cast<std::size_t>(i)]; };

  // The first local maximum from `first`, not necessarily the largest class.
  int peak = first;
  while (peak + 1 < kClassCount && !(at(peak + 1) < at(peak))) ++peak;
  graph.barMax = static_cast<float>(at(peak));
  int end = kClassCount;
  for (int k = std::max(peak + 1, 1); k < kClassCount; ++k) {
    if (at(k) < 0.5) {
      end = k;
      break;
    }
  }
  int step = truncToInt(static_cast<double>(650.0f / static_cast<float>(end)));
  float unit = 300.0f / graph.barMax;

  int x = 1;
  int firstDBH = truncToInt(stand.firstClass + 0.5);
  for (int i = first, n = 0; i < end && n < kBarCapacity; ++i, ++n) {
    auto b = static_cast<std::size_t>(n);
    double value = at(i);
    BarRect rect;
    rect.left = x;
    rect.right = x + step;
    x = rect.right;
    rect.top = truncToInt(value) != 0 ? 300 - truncToInt(static_cast<double>(unit) * value) : 300;
    rect.bottom = 300;
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    rect.top = -rect.top;
    rect.bottom = -rect.bottom;
    graph.bars[b] = rect;
    graph.barValue[b] = truncToInt(value + 0.5);
    graph.barClass[b] = firstDBH + n;
    graph.barLast = n;
  }
  return graph.barAge;
}

}  // namespace keldovar

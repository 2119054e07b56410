// Placing the bar graph's columns, labels, trees axis and titles below a table's stock table.
#include "view/graph_drawing.h"

#include <algorithm>

#include "engine/numeric.h"
#include "engine/report_text.h"
#include "units/units.h"

namespace keldovar {
namespace {

constexpr int kScaleHeight = 300;  // graph units from the base line to the top of the scale
constexpr int kDepthX = 13;        // the 3-D faces run this far right ...
constexpr int kDepthY = 20;        // ... and this far up
constexpr int kTopStrokes = 20;
constexpr int kTickLength = 6;
constexpr int kLabelGap = 2;
constexpr int kAxisLabelChars = 4;
constexpr int kAxisTop = 20;  // the trees axis stops before a label would reach this high
constexpr int kMaxTicks = kScaleHeight + 1;

struct Frame {
  int base;    // graphBaseY: the top of the scale
  int bottom;  // the bottom of the scale, where the columns stand
  int h;
  int cw;
  const GraphGeometry& geometry;
};

// A column's corners on the page.
struct Column {
  int left, right, top, bottom;
};

Column columnAt(const BarGraph& g, int n, const Frame& f) {
  const BarRect& r = g.bars[static_cast<std::size_t>(n)];
  auto x = [&](int units) {
    return truncToInt(static_cast<double>(units) * static_cast<double>(f.geometry.scale) +
                      f.geometry.x);
  };
  return {x(r.left), x(r.right), f.base - r.top, f.base - r.bottom};
}

void stroke(std::vector<GraphShape>& out, int x1, int y1, int x2, int y2,
            GraphInk ink = GraphInk::Black) {
  out.push_back({GraphShapeKind::Stroke, x1, y1, x2, y2, ink, {}});
}

void text(std::vector<GraphShape>& out, int x, int y, std::string s, GraphInk ink) {
  out.push_back({GraphShapeKind::Text, x, y, x, y, ink, std::move(s)});
}

void drawColumn(const BarGraph& g, int n, const Frame& f, UnitSystem units,
                std::vector<GraphShape>& out) {
  Column c = columnAt(g, n, f);
  for (int s = 1; s <= kTopStrokes; ++s) {
    stroke(out, c.left + s, c.top, c.left + s + kDepthX, c.top - kDepthY, GraphInk::White);
  }
  stroke(out, c.left, c.top, c.left + kDepthX, c.top - kDepthY);
  stroke(out, c.right, c.top, c.right + kDepthX, c.top - kDepthY);
  stroke(out, c.left + kDepthX, c.top - kDepthY, c.right + kDepthX, c.top - kDepthY);
  int last = std::min(g.barLast, kBarCapacity - 1);
  if (n == last) {
    stroke(out, c.right + kDepthX, c.top - kDepthY, c.right + kDepthX, c.bottom - kDepthY);
    stroke(out, c.right, c.bottom - 1, c.right + kDepthX, c.bottom - kDepthY - 1);
  } else if (Column next = columnAt(g, n + 1, f); next.top > c.top) {
    stroke(out, c.right + kDepthX, c.top - kDepthY, c.right + kDepthX, next.top - kDepthY);
  }
  int value = g.barValue[static_cast<std::size_t>(n)];
  if (value != 0) {
    out.push_back(
        {GraphShapeKind::Fill, c.left, c.top, c.right, c.bottom + 1, GraphInk::Black, {}});
    out.push_back(
        {GraphShapeKind::Fill, c.left + 1, c.top + 1, c.right - 1, c.bottom, GraphInk::Green, {}});
  } else {
    stroke(out, c.left, f.bottom, c.right, f.bottom);
  }
  std::string label = formatText("%d", value);
  int middle = c.left + (c.right - c.left) / 2;
  // Inside a column tall enough for it, else just above the column.
  int labelX = middle - f.cw * static_cast<int>(label.size()) / 2;
  if (c.bottom - c.top > f.h + 4) {
    text(out, labelX, c.top + kLabelGap, std::move(label), GraphInk::White);
  } else {
    text(out, labelX, c.top - f.h - kLabelGap, std::move(label), GraphInk::Black);
  }
  stroke(out, middle, f.bottom, middle, f.bottom + kTickLength);
  int inchClass = g.barClass[static_cast<std::size_t>(n)];
  if (units == UnitSystem::Metric) {
    // A column is a few characters wide: the class's whole-centimetre middle, centred.
    std::string midpoint = formatText("%.0f", classMidpointCm(inchClass));
    int x = middle - f.cw * static_cast<int>(midpoint.size()) / 2;
    text(out, x, f.bottom + kTickLength, std::move(midpoint), GraphInk::Black);
    return;
  }
  text(out, middle - f.cw / 2, f.bottom + kTickLength, formatText("%d", inchClass),
       GraphInk::Black);
}

void drawTreesAxis(const BarGraph& g, const Frame& f, std::vector<GraphShape>& out) {
  AxisTicks ticks = treesAxis(g.barMax);
  // A graph without trees keeps its 0 tick only.
  double unit = g.barMax > 0 ? kScaleHeight / static_cast<double>(g.barMax) : 0;
  int firstLeft = g.bars[0].left + f.geometry.x;
  for (int k = 0; k < std::min(ticks.count, kMaxTicks); ++k) {
    int yk = truncToInt(k * ticks.step * unit);
    if (yk - kScaleHeight + f.h / 2 >= kAxisTop) break;
    int y = f.bottom - yk;
    out.push_back({GraphShapeKind::CentredText, firstLeft - kAxisLabelChars * f.cw - kTickLength,
                   y - f.h / 2, firstLeft - kTickLength, y + f.h / 2, GraphInk::Black,
                   formatText("%d", k * ticks.step)});
    stroke(out, firstLeft, y, firstLeft - kTickLength, y);
  }
}

}  // namespace

std::vector<GraphShape> drawBarGraph(const BarGraph& graph, const ReportLayout& layout,
                                     const TableLayout& table) {
  std::vector<GraphShape> out;
  if (!table.graphShown || graph.barLast < 0) return out;
  const SectionPositions& pos = table.positions;
  const int h = layout.lineHeight();
  Frame f{pos.graphBaseY, pos.graphBaseY + kScaleHeight, h, layout.charWidth(), layout.graph()};
  text(out, 0, pos.graphTitleY,
       formatText("         Diameter Distribution of the Stand   Age %d", graph.barAge),
       GraphInk::Black);
  // "Trees" runs downwards, one letter a line, after four empty lines.
  constexpr int letterX = 1;
  std::string_view trees = "Trees";
  for (std::size_t i = 0; i < trees.size(); ++i) {
    int y = pos.graphTitleY + h + (4 + static_cast<int>(i)) * h;
    text(out, letterX, y, std::string(1, trees[i]), GraphInk::Black);
  }
  text(out, layout.graph().width / 3, f.bottom + 2 * h,
       layout.units() == UnitSystem::Metric ? "Tree Diameter (cm, class midpoints)"
                                            : "Tree Diameter (inches)",
       GraphInk::Black);
  for (int n = 0; n <= std::min(graph.barLast, kBarCapacity - 1); ++n)
    drawColumn(graph, n, f, layout.units(), out);
  drawTreesAxis(graph, f, out);
  return out;
}

}  // namespace keldovar

// Drawing one table's diameter bar graph: 3-D columns, their values, and both axes.
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "view/bar_graph.h"
#include "view/qt/report_painter.h"
#include "view/qt/text_writer.h"

namespace keldovar {
namespace {

constexpr int kGraphHeight = 300;
constexpr int kDepthX = 13;  // the columns' top and right faces recede this far right
constexpr int kDepthY = 20;  // and this far up
constexpr int kStrokes = 20;
constexpr int kTick = 6;
constexpr int kMaxAxisTicks = 1000;
// Bar outlines from a foreign file may hold anything; the graph's own stay far inside this.
constexpr int kCoordinateLimit = 1000000;
const QColor kBarGreen(22, 220, 22);

std::string number(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return text;
}

// Where a bar goes on the page, y growing downwards: its top, its base at the bottom of the
// scale, and its sides scaled and shifted like the graph.
struct Column {
  int left, right, top, base;
};

Column place(const BarRect& bar, const GraphGeometry& g, int graphBase) {
  auto x = [&](int v) {
    float scaled = static_cast<float>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
    return static_cast<int>(scaled * g.scale) + g.x;
  };
  auto y = [&](int v) { return graphBase - std::clamp(v, -kCoordinateLimit, kCoordinateLimit); };
  return {x(bar.left), x(bar.right), y(bar.top), y(bar.bottom)};
}

struct GraphContext {
  QPainter& painter;
  const TextWriter& writer;
  const ReportLayout& layout;
  int scaleBottom;  // the base line of the bars
};

// The column's faces: the white strokes that clear its top, the top face, and the right face down
// to the base or to the lower next column.
void drawFaces(const GraphContext& c, const Column& col, const Column* next) {
  QPainter& p = c.painter;
  p.setPen(QPen(Qt::white, 0));
  for (int s = 1; s <= kStrokes; ++s) {
    p.drawLine(QPointF(col.left + s, col.top), QPointF(col.left + s + kDepthX, col.top - kDepthY));
  }
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(QPointF(col.left, col.top), QPointF(col.left + kDepthX, col.top - kDepthY));
  p.drawLine(QPointF(col.right, col.top), QPointF(col.right + kDepthX, col.top - kDepthY));
  p.drawLine(QPointF(col.left + kDepthX, col.top - kDepthY),
             QPointF(col.right + kDepthX, col.top - kDepthY));
  QPointF corner(col.right + kDepthX, col.top - kDepthY);
  if (next == nullptr) {
    p.drawLine(corner, QPointF(col.right + kDepthX, col.base - kDepthY));
    p.drawLine(QPointF(col.right, col.base - 1),
               QPointF(col.right + kDepthX, col.base - kDepthY - 1));
  } else if (next->top > col.top) {
    p.drawLine(corner, QPointF(col.right + kDepthX, next->top - kDepthY));
  }
}

void drawColumn(const GraphContext& c, const BarGraph& graph, int n, const Ink& ink) {
  const GraphGeometry& g = c.layout.graph();
  const int h = c.layout.lineHeight();
  const int cw = c.layout.charWidth();
  auto at = [&](int i) { return static_cast<std::size_t>(i); };
  Column col = place(graph.bars[at(n)], g, c.scaleBottom - kGraphHeight);
  std::optional<Column> next;
  if (n < graph.barLast) next = place(graph.bars[at(n + 1)], g, c.scaleBottom - kGraphHeight);
  drawFaces(c, col, next ? &*next : nullptr);
  QPainter& p = c.painter;
  if (graph.barValue[at(n)] != 0) {
    QRectF body(QPointF(col.left, col.top), QPointF(col.right, col.base + 1));
    p.fillRect(body, Qt::black);
    p.fillRect(body.adjusted(1, 1, -1, -1), kBarGreen);
  } else {
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(QPointF(col.left, c.scaleBottom), QPointF(col.right, c.scaleBottom));
  }
  std::string value = number(graph.barValue[at(n)]);
  int middle = col.left + (col.right - col.left) / 2;
  if (col.base - col.top > h + 4) {
    int x = middle - cw * static_cast<int>(value.size()) / 2;
    c.writer.write(x, col.top + 2, value, Ink{Qt::white, Qt::black, false});
  } else {
    c.writer.write(middle - cw * static_cast<int>(value.size()) / 2, col.top - h - 2, value,
                   Ink{Qt::black, Qt::white, true});
  }
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(QPointF(middle, c.scaleBottom), QPointF(middle, c.scaleBottom + kTick));
  c.writer.write(middle - cw / 2, c.scaleBottom + kTick, number(graph.barClass[at(n)]), ink);
}

// The trees axis left of the first column: a labelled tick every `step` trees, up to the top.
void drawTreesAxis(const GraphContext& c, const BarGraph& graph, int graphBase, const Ink& ink) {
  const int h = c.layout.lineHeight();
  const int cw = c.layout.charWidth();
  const int axisX = c.layout.graph().x + std::clamp(graph.bars[0].left, 0, kCoordinateLimit);
  AxisTicks ticks = treesAxis(graph.barMax);
  double unit = graph.barMax > 0 ? kGraphHeight / static_cast<double>(graph.barMax) : 0;
  int count = std::clamp(ticks.count, 1, kMaxAxisTicks);
  for (int k = 0; k < count; ++k) {
    double scaled = k * ticks.step * unit;
    int yk = scaled < kCoordinateLimit ? static_cast<int>(scaled) : kCoordinateLimit;
    if (yk - kGraphHeight + h / 2 >= 20) break;
    int tickY = graphBase + kGraphHeight - yk;
    QRectF box(QPointF(axisX - 4 * cw - kTick, tickY - h / 2.0),
               QPointF(axisX - kTick, tickY + h / 2.0));
    c.writer.centre(box, number(k * ticks.step), ink);
    c.painter.setPen(QPen(Qt::black, 0));
    c.painter.drawLine(QPointF(axisX, tickY), QPointF(axisX - kTick, tickY));
  }
}

}  // namespace

void drawBarGraph(QPainter& painter, const BarGraph& graph, const ReportLayout& layout,
                  const SectionPositions& positions, const Ink& ink) {
  QtTextMetrics metrics(painter.font());
  const int h = layout.lineHeight();
  TextWriter writer(painter, metrics, h);
  const int base = positions.graphBaseY;
  char title[80];
  std::snprintf(title, sizeof title, "         Diameter Distribution of the Stand   Age %d",
                graph.barAge);
  writer.write(0, positions.graphTitleY, title, ink);
  // "Trees" down the left margin, after four empty lines.
  constexpr std::string_view kTrees = "Trees";
  for (std::size_t i = 0; i < kTrees.size(); ++i) {
    int y = positions.graphTitleY + h + static_cast<int>(4 + i) * h;
    writer.write(1, y, kTrees.substr(i, 1), ink);
  }
  writer.write(layout.graph().width / 3, base + 2 * h + kGraphHeight, "Tree Diameter (inches)",
               ink);
  GraphContext context{painter, writer, layout, base + kGraphHeight};
  int last = std::min(graph.barLast, kBarCapacity - 1);
  for (int n = 0; n <= last; ++n) drawColumn(context, graph, n, ink);
  if (last >= 0) drawTreesAxis(context, graph, base, ink);
}

}  // namespace keldovar

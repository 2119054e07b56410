// The line chart on a painter: light grid, dark frame, one colour a regime, dashed for a
// regime's second quantity, the legend on the line under the title.
#include "view/qt/line_chart_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

const QColor kGrid(222, 222, 222);
const QColor kZero(190, 40, 40);

QRectF rectOf(const ChartBox& b) {
  return {b.left, b.top, b.width, b.height};
}

void paintAxes(QPainter& painter, const LineChartDrawing& c) {
  const ChartBox& p = c.plot;
  double line = p.lineHeight;
  for (const ChartTick& t : c.yTicks) {
    painter.setPen(kGrid);
    painter.drawLine(QPointF(p.left, t.at), QPointF(p.left + p.width, t.at));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(p.left - p.labelWidth - line / 2, t.at - line / 2, p.labelWidth, line),
                     Qt::AlignRight | Qt::AlignVCenter, fromLatin1(t.text));
  }
  for (const ChartTick& t : c.xTicks) {
    painter.setPen(kGrid);
    painter.drawLine(QPointF(t.at, p.top), QPointF(t.at, p.top + p.height));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(t.at - 3 * line, p.top + p.height + line * 0.2, 6 * line, line),
                     Qt::AlignCenter, fromLatin1(t.text));
  }
  if (c.zeroY) {
    painter.setPen(QPen(kZero, 0));
    painter.drawLine(QPointF(p.left, *c.zeroY), QPointF(p.left + p.width, *c.zeroY));
  }
  painter.setPen(Qt::black);
  painter.drawRect(rectOf(p));
  painter.drawText(QRectF(p.left, p.top + p.height + line * 1.2, p.width, line), Qt::AlignCenter,
                   fromLatin1(c.xName));
  painter.save();
  painter.translate(p.left - p.labelWidth - line * 1.4, p.top + p.height / 2);
  painter.rotate(-90);
  painter.drawText(QRectF(-p.height / 2, 0, p.height, line), Qt::AlignCenter, fromLatin1(c.yName));
  painter.restore();
}

QPen seriesPen(const ChartSeries& s, double width) {
  QPen pen(chartColour(s.colour), width);
  if (s.dashed) pen.setStyle(Qt::DashLine);
  return pen;
}

void paintLegend(QPainter& painter, const LineChartDrawing& c) {
  double line = c.plot.lineHeight;
  for (const ChartLegendEntry& e : c.legend) {
    const ChartSeries& s = c.lines[e.series];
    painter.setPen(seriesPen(s, line / 6));
    painter.drawLine(QPointF(e.x, e.y), QPointF(e.x + 2 * line, e.y));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(e.x + 2.4 * line, e.y + line * 0.3), fromLatin1(s.name));
  }
}

}  // namespace

QColor chartColour(int index) {
  static constexpr std::array<QRgb, 8> kPalette = {0x1f5ea8, 0xde7e24, 0x2e7d32, 0xb71c1c,
                                                   0x6a1b9a, 0x00838f, 0x795548, 0x546e7a};
  return QColor(kPalette[static_cast<std::size_t>(index) % kPalette.size()]);
}

ChartTextWidth chartTextWidth(const QFontMetricsF& metrics) {
  return [metrics](std::string_view text) { return metrics.horizontalAdvance(fromLatin1(text)); };
}

void paintLineChart(QPainter& painter, const LineChartDrawing& c) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(c.plot.left, c.titleTop, c.plot.width, c.plot.lineHeight),
                   Qt::AlignCenter, fromLatin1(c.title));
  paintAxes(painter, c);
  painter.setClipRect(rectOf(c.plot).adjusted(-1, -1, 1, 1));
  for (const ChartSeries& s : c.lines) {
    if (s.points.empty()) continue;
    QPainterPath path(QPointF(s.points.front().x, s.points.front().y));
    for (const ChartPoint& p : s.points) path.lineTo(p.x, p.y);
    painter.setPen(seriesPen(s, c.plot.lineHeight / 8));
    painter.drawPath(path);
  }
  painter.setClipping(false);
  paintLegend(painter, c);
  painter.restore();
}

}  // namespace keldovar

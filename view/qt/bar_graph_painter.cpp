// Painting one table's diameter bar graph from its drawing primitives.
#include <QPainter>

#include "view/graph_drawing.h"
#include "view/qt/report_painter.h"
#include "view/qt/text_writer.h"

namespace keldovar {
namespace {

const QColor kBarGreen(22, 220, 22);

QColor colourOf(GraphInk ink) {
  switch (ink) {
    case GraphInk::White:
      return Qt::white;
    case GraphInk::Green:
      return kBarGreen;
    case GraphInk::Black:
      break;
  }
  return Qt::black;
}

}  // namespace

void paintBarGraph(QPainter& painter, const BarGraph& graph, const ReportLayout& layout,
                   const TableLayout& table, const Ink& ink) {
  QtTextMetrics metrics(painter.font());
  TextWriter writer(painter, metrics, layout.lineHeight());
  // A value inside its column is white on the green; every other text is in the report's ink.
  const Ink onColumn{Qt::white, Qt::black, false};
  for (const GraphShape& shape : drawBarGraph(graph, layout, table)) {
    QPointF from(shape.x1, shape.y1);
    QPointF to(shape.x2, shape.y2);
    switch (shape.kind) {
      case GraphShapeKind::Stroke:
        // The device's thinnest line, as the report's pen.
        painter.setPen(QPen(colourOf(shape.ink), 0));
        painter.drawLine(from, to);
        break;
      case GraphShapeKind::Fill:
        painter.fillRect(QRectF(from, to), colourOf(shape.ink));
        break;
      case GraphShapeKind::Text:
        writer.write(shape.x1, shape.y1, shape.text, shape.ink == GraphInk::White ? onColumn : ink);
        break;
      case GraphShapeKind::CentredText:
        writer.centre(QRectF(from, to), shape.text, ink);
        break;
    }
  }
}

}  // namespace keldovar

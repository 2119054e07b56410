// The drawing pass: the start banner, or every shown table's lines, heads and cells.
#include "view/qt/report_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

#include "view/metric_table.h"
#include "view/pagination.h"
#include "view/qt/qt_text_metrics.h"
#include "view/qt/text_writer.h"

namespace keldovar {
namespace {

constexpr double kUnitsPerInch = 100.0;
constexpr int kBannerInset = 2;

// A raised edge: light above and left, dark below and right, two device pixels deep whatever
// the device's resolution.
void drawRaisedEdge(QPainter& painter, const QRectF& pageRect) {
  QRect r = painter.transform().mapRect(pageRect).toAlignedRect().adjusted(0, 0, -1, -1);
  painter.save();
  painter.resetTransform();
  auto ring = [&](const QRect& box, QColor light, QColor dark) {
    painter.setPen(light);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
  };
  ring(r, QColor(227, 227, 227), QColor(105, 105, 105));
  ring(r.adjusted(1, 1, -1, -1), Qt::white, QColor(160, 160, 160));
  painter.restore();
}

void drawBanner(QPainter& painter, const QtTextMetrics& metrics, int windowWidth) {
  BannerBox box = bannerBox(metrics, windowWidth);
  QRectF outer(box.x, box.y, box.width, box.height);
  drawRaisedEdge(painter, outer);
  QRectF inner = outer.translated(1, 1);
  drawRaisedEdge(painter, inner);
  inner.adjust(kBannerInset, kBannerInset, -kBannerInset, -kBannerInset);
  TextWriter writer(painter, metrics, metrics.lineHeight());
  double y = inner.y();
  for (const char* line : kBannerLines) {
    writer.centre(QRectF(inner.x(), y, inner.width(), metrics.lineHeight()), line, Ink{});
    y += metrics.lineHeight();
  }
}

bool overlaps(const QRectF& visible, double top, double bottom) {
  return visible.isNull() || (bottom >= visible.top() && top <= visible.bottom());
}

bool shown(const DrawOptions& options, const LayoutItem& item) {
  const QRectF& area = options.visible;
  if (options.wholeLines && !area.isNull()) {
    return printedWithin(item, static_cast<int>(std::lround(area.top())),
                         static_cast<int>(std::lround(area.height())));
  }
  return overlaps(area, item.y, item.y + item.height);
}

void drawTable(QPainter& painter, const TextWriter& writer, const TableLayout& table,
               const ReportLayout& layout, const TableStore& store, const Selection& selection,
               const DrawOptions& options) {
  const bool inverted = options.highlight && selection.selectAll();
  const Ink ink = inverted ? Ink{Qt::white, Qt::black, true} : Ink{};
  const Ink selected{Qt::white, Qt::black, false};
  for (const LayoutItem& item : table.items) {
    if (!shown(options, item)) continue;
    QRectF box(item.x, item.y, item.width, item.height);
    switch (item.kind) {
      case ItemKind::Line:
        writer.write(item.x, item.y, item.text, ink);
        break;
      case ItemKind::Heading:
        writer.centre(box, item.text, ink);
        break;
      case ItemKind::Cell:
        if (options.highlight && !inverted &&
            selection.isSelected(table.index, item.row, item.column)) {
          painter.fillRect(box, Qt::black);
          writer.centre(box, item.text, selected);
        } else {
          writer.centre(box, item.text, ink);
        }
        break;
      case ItemKind::BarGraph: {
        const BarGraph& stored = store.tables[static_cast<std::size_t>(table.index)].bar;
        if (layout.units() == UnitSystem::Metric) {
          paintBarGraph(painter, shownGraph(stored, layout.units()), layout, table, ink);
        } else {
          paintBarGraph(painter, stored, layout, table, ink);
        }
      } break;
    }
  }
}

}  // namespace

QTransform pageTransform(const QPaintDevice& device, QPointF origin) {
  QTransform transform;
  transform.scale(device.logicalDpiX() / kUnitsPerInch, device.logicalDpiY() / kUnitsPerInch);
  transform.translate(-origin.x(), -origin.y());
  return transform;
}

void drawReport(QPainter& painter, const ReportLayout& layout, const TableStore& store,
                const Selection& selection, const DrawOptions& options) {
  painter.save();
  painter.setFont(options.font);
  painter.setBackgroundMode(Qt::TransparentMode);
  QtTextMetrics metrics(options.font);
  if (store.lastIndex < 0 || layout.tables().empty()) {
    drawBanner(painter, metrics, options.windowWidth);
  } else {
    TextWriter writer(painter, metrics, layout.lineHeight());
    for (const TableLayout& table : layout.tables()) {
      if (!overlaps(options.visible, table.top, table.bottom)) continue;
      drawTable(painter, writer, table, layout, store, selection, options);
    }
  }
  painter.restore();
}

}  // namespace keldovar

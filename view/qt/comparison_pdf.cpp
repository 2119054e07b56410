// The comparison's pages: text lines fitted to the page's width, then the stacked charts.
#include "view/qt/comparison_pdf.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <algorithm>

#include "keldovar_version.h"
#include "view/qt/line_chart_painter.h"
#include "view/qt/qt_text.h"
#include "view/qt/report_print.h"

namespace keldovar {
namespace {

constexpr double kTextPoints = 9;
// Smaller than this a table is unreadable on paper; wider tables are cut at the page's edge.
constexpr double kSmallestPoints = 4;

// The fixed-pitch font in which the widest of `lines` fits `width` on `device`.
QFont fittedFont(const QStringList& lines, double width, QPaintDevice& device) {
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  mono.setPointSizeF(kTextPoints);
  double widest = 0;
  QFontMetricsF metrics(mono, &device);
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  if (widest > width) mono.setPointSizeF(std::max(kSmallestPoints, kTextPoints * width / widest));
  return mono;
}

void paintText(QPainter& painter, QPdfWriter& writer, const QStringList& lines) {
  QRectF page = painter.viewport();
  painter.setFont(fittedFont(lines, page.width(), writer));
  QFontMetricsF metrics(painter.font(), &writer);
  double y = metrics.ascent();
  for (const QString& line : lines) {
    if (y + metrics.descent() > page.height()) {
      writer.newPage();
      y = metrics.ascent();
    }
    painter.drawText(QPointF(0, y), line);
    y += metrics.lineSpacing();
  }
}

void paintCharts(QPainter& painter, const std::vector<LineChartSpec>& charts,
                 QPaintDevice& device) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSizeF(kTextPoints);
  painter.setFont(font);
  QFontMetricsF metrics(font, &device);
  QRectF page = painter.viewport();
  ChartBox area{
      0, 0, page.width(), page.height(), metrics.height(), metrics.horizontalAdvance("-00000")};
  for (const LineChartDrawing& d : stackLineCharts(charts, area)) paintLineChart(painter, d);
}

}  // namespace

QByteArray comparisonPdf(const std::string& tableText, const std::vector<LineChartSpec>& charts,
                         const QString& title, QPageSize::PageSizeId paper) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QString::fromLatin1(kAboutVersionText));
    writer.setResolution(300);
    QPageLayout page = defaultPageLayout(paper);
    page.setOrientation(QPageLayout::Landscape);  // a column a regime: as wide as paper goes
    writer.setPageLayout(page);
    QPainter painter(&writer);
    QString text = fromLatin1(tableText);
    if (text.endsWith('\n')) text.chop(1);
    paintText(painter, writer, text.split('\n'));
    writer.newPage();
    paintCharts(painter, charts, writer);
  }
  return bytes;
}

}  // namespace keldovar

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
// The table is cut into parts of as many regimes as fit the page at this size or larger.
constexpr double kTablePoints = 6;
// Smaller than this a table is unreadable on paper: a wider single regime's column is cut.
constexpr double kSmallestPoints = 4;
// A plot lower than this many lines of text shows little more than its frame.
constexpr double kLowestPlotLines = 8;

// The fixed-pitch font in which the widest of `lines` fits `width` on `device`.
QFont monoFont(double points) {
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  mono.setPointSizeF(points);
  return mono;
}

QFont fittedFont(const QStringList& lines, double width, QPaintDevice& device) {
  QFont mono = monoFont(kTextPoints);
  double widest = 0;
  QFontMetricsF metrics(mono, &device);
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  if (widest > width) mono.setPointSizeF(std::max(kSmallestPoints, kTextPoints * width / widest));
  return mono;
}

void paintText(QPainter& painter, QPdfWriter& writer, const std::string& text) {
  QStringList lines = fromLatin1(text).split(u'\n');
  if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
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

// The charts together on one page, or each on a page of its own when the legends of many
// regimes would leave a plot too low to read.
void paintCharts(QPainter& painter, const std::vector<LineChartSpec>& charts, QPdfWriter& writer) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSizeF(kTextPoints);
  painter.setFont(font);
  QFontMetricsF metrics(font, &writer);
  QRectF page = painter.viewport();
  ChartBox area{0,
                0,
                page.width(),
                page.height(),
                metrics.height(),
                metrics.horizontalAdvance(QStringLiteral("-00000"))};
  std::vector<LineChartDrawing> stacked = stackLineCharts(charts, area, chartTextWidth(metrics));
  bool readable = std::all_of(stacked.begin(), stacked.end(), [&](const LineChartDrawing& d) {
    return d.plot.height >= kLowestPlotLines * metrics.height();
  });
  if (readable) {
    for (const LineChartDrawing& d : stacked) paintLineChart(painter, d);
    return;
  }
  for (std::size_t i = 0; i < charts.size(); ++i) {
    if (i > 0) writer.newPage();
    paintLineChart(painter, stackLineCharts({charts[i]}, area, chartTextWidth(metrics)).front());
  }
}

}  // namespace

QByteArray comparisonPdf(const ComparisonTableParts& tableParts,
                         const std::vector<LineChartSpec>& charts, const QString& title,
                         QPageSize::PageSizeId paper) {
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
    QFontMetricsF table(monoFont(kTablePoints), &writer);
    double columns = painter.viewport().width() / table.horizontalAdvance(u'0');
    for (const std::string& part : tableParts(static_cast<std::size_t>(std::max(1.0, columns)))) {
      paintText(painter, writer, part);
      writer.newPage();
    }
    paintCharts(painter, charts, writer);
  }
  return bytes;
}

}  // namespace keldovar

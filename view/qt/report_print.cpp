// Printing: the print layout, page by page, each with its footer.
#include "view/qt/report_print.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "keldovar_version.h"
#include "view/pagination.h"
#include "view/print_defaults.h"
#include "view/qt/qt_text.h"
#include "view/qt/qt_text_metrics.h"
#include "view/qt/report_painter.h"
#include "view/qt/view_font.h"

namespace keldovar {
namespace {

constexpr double kPdfMarginInches = 0.5;

void drawFooter(QPainter& painter, const QPaintDevice& device, const FooterBand& band,
                const QFont& font, double printableWidth) {
  painter.setTransform(pageTransform(device, QPointF(0, 0)));
  painter.setClipping(false);
  painter.fillRect(QRectF(0, band.top, printableWidth, band.bottom - band.top), Qt::white);
  painter.setFont(font);
  painter.setPen(Qt::black);
  QtTextMetrics metrics(font);
  painter.drawText(QPointF(0, band.top + metrics.ascent()), fromLatin1(band.text));
  painter.setPen(QPen(Qt::black, 0));
  painter.drawLine(QPointF(0, band.top), QPointF(band.ruleLength, band.top));
}

}  // namespace

PrintPlan::PrintPlan(const QPaintDevice& device, const TableStore& store,
                     const ViewOptions& options, const QFont& font, const CarbonOptions& carbon)
    : printable(devicePageRect(device)),
      setup(pageSetup(static_cast<int>(printable.width()), static_cast<int>(printable.height()),
                      QtTextMetrics(font))),
      layout(printLayout(store, QtTextMetrics(font), setup, options.showFinancial,
                         options.showBargraph, carbon)),
      pages(layout, setup) {}

int printReport(QPagedPaintDevice& device, const TableStore& store, const ViewOptions& options,
                const QFont& font, const QString& title, PageRange range,
                const CarbonOptions& carbon) {
  if (store.lastIndex < 0) return 0;
  PrintPlan plan(device, store, options, font, carbon);
  const int count = plan.pages.pageCount();
  int first = std::clamp(range.from > 0 ? range.from : 1, 1, count);
  int last = std::clamp(range.to > 0 ? range.to : count, first, count);
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  DrawOptions draw;
  draw.font = font;
  draw.highlight = false;
  draw.wholeLines = true;
  const Selection noSelection;
  const std::string name = toLatin1(title);
  for (int n = first; n <= last; ++n) {
    if (n > first) device.newPage();
    PageOrigin origin = plan.pages.origin(n);
    painter.setTransform(pageTransform(device, QPointF(origin.x, origin.y)));
    FooterBand footer = plan.pages.footer(n, name);
    // Across, the whole printable area: a character across the page's edge is printed whole
    // here and again at the start of the next page column. Down, the lines above the footer.
    QRectF printable(QPointF(origin.x, origin.y), plan.printable.size());
    painter.setClipRect(printable);
    draw.visible = QRectF(printable.topLeft(), QSizeF(printable.width(), footer.top));
    drawReport(painter, plan.layout, store, noSelection, draw);
    drawFooter(painter, device, footer, font, plan.printable.width());
  }
  painter.end();
  return last - first + 1;
}

int printReport(QPrinter& printer, const TableStore& store, const ViewOptions& options,
                const QFont& font, const QString& title, const CarbonOptions& carbon) {
  PageRange range;
  if (printer.printRange() == QPrinter::PageRange) range = {printer.fromPage(), printer.toPage()};
  return printReport(static_cast<QPagedPaintDevice&>(printer), store, options, font, title, range,
                     carbon);
}

QPageSize::PageSizeId defaultPaper() {
  return localePaper() == Paper::A4 ? QPageSize::A4 : QPageSize::Letter;
}

bool writeReportPdf(const TableStore& store, const ViewOptions& options, const std::string& title,
                    QByteArray& out, QPageSize::PageSizeId paper, const FontDescription& font) {
  if (store.lastIndex < 0) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(fromLatin1(title));
    writer.setCreator(QString::fromLatin1(kAboutVersionText));
    writer.setPageLayout(QPageLayout(
        QPageSize(paper), QPageLayout::Portrait,
        QMarginsF(kPdfMarginInches, kPdfMarginInches, kPdfMarginInches, kPdfMarginInches),
        QPageLayout::Inch));
    if (printReport(writer, store, options, reportFont(font), fromLatin1(title)) == 0) {
      return false;
    }
  }
  out = bytes;
  return true;
}

}  // namespace keldovar

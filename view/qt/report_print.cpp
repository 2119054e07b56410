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
constexpr double kUnitsPerInch = 100.0;

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

// The page layout's printable area in page units: what the device paints on, without the
// rounding of its resolution, so that a printer, its preview and a PDF cut the same pages.
QRectF printableArea(const QPagedPaintDevice& device) {
  QRectF paint = device.pageLayout().paintRect(QPageLayout::Inch);
  return QRectF(0, 0, paint.width() * kUnitsPerInch, paint.height() * kUnitsPerInch);
}

PageSetup setupFor(const QPagedPaintDevice& device, const QRectF& printable, const QFont& font) {
  PageSetup setup = pageSetup(static_cast<int>(printable.width()),
                              static_cast<int>(printable.height()), QtTextMetrics(font));
  const QPageLayout page = device.pageLayout();
  const QRectF paper = page.fullRect(QPageLayout::Inch);
  const QRectF paint = page.paintRect(QPageLayout::Inch);
  setup.bottomMargin = static_cast<int>((paper.bottom() - paint.bottom()) * kUnitsPerInch);
  setup.rightMargin = static_cast<int>((paper.right() - paint.right()) * kUnitsPerInch);
  return setup;
}

// The print layout; fitting the width sets the setup's scale and lays the report out again for
// the taller page a shrunk report has.
ReportLayout fittedLayout(const TableStore& store, const ViewOptions& options, const QFont& font,
                          const CarbonOptions& carbon, const PrintChoices& choices,
                          PageSetup& setup) {
  QtTextMetrics metrics(font);
  ShownUnits units{options.units, choices.currency, choices.decimalSeparator};
  ReportLayout layout = printLayout(store, metrics, setup, options.showFinancial,
                                    options.showBargraph, carbon, units);
  if (!choices.fitWidth) return layout;
  setup.scale = fitWidthScale(setup, layout.docWidth());
  if (setup.scale >= 1.0) return layout;
  return printLayout(store, metrics, setup, options.showFinancial, options.showBargraph, carbon,
                     units);
}

}  // namespace

PrintPlan::PrintPlan(const QPagedPaintDevice& device, const TableStore& store,
                     const ViewOptions& options, const QFont& font, const CarbonOptions& carbon,
                     const PrintChoices& choices)
    : printable(printableArea(device)),
      setup(setupFor(device, printable, font)),
      layout(fittedLayout(store, options, font, carbon, choices, setup)),
      pages(layout, setup) {}

int printReport(QPagedPaintDevice& device, const TableStore& store, const ViewOptions& options,
                const QFont& font, const QString& title, PageRange range,
                const CarbonOptions& carbon, const PrintChoices& choices) {
  if (store.lastIndex < 0) return 0;
  PrintPlan plan(device, store, options, font, carbon, choices);
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
  const double scale = plan.setup.scale;
  // Across, the whole printable area: a character across the page's edge is printed whole
  // here and again at the start of the next page column. Down, the lines above the footer.
  const QSizeF reportArea = plan.printable.size() / scale;
  for (int n = first; n <= last; ++n) {
    if (n > first) device.newPage();
    PageOrigin origin = plan.pages.origin(n);
    QTransform transform = pageTransform(device, QPointF(0, 0));
    transform.scale(scale, scale);
    transform.translate(-origin.x, -origin.y);
    painter.setTransform(transform);
    QRectF printable(QPointF(origin.x, origin.y), reportArea);
    painter.setClipRect(printable);
    draw.visible =
        QRectF(printable.topLeft(), QSizeF(printable.width(), plan.setup.reportBandHeight()));
    drawReport(painter, plan.layout, store, noSelection, draw);
    drawFooter(painter, device, plan.pages.footer(n, name), font, plan.printable.width());
  }
  painter.end();
  return last - first + 1;
}

int printReport(QPrinter& printer, const TableStore& store, const ViewOptions& options,
                const QFont& font, const QString& title, const CarbonOptions& carbon,
                const PrintChoices& choices) {
  PageRange range;
  if (printer.printRange() == QPrinter::PageRange) range = {printer.fromPage(), printer.toPage()};
  return printReport(static_cast<QPagedPaintDevice&>(printer), store, options, font, title, range,
                     carbon, choices);
}

QPageSize::PageSizeId defaultPaper() {
  return localePaper() == Paper::A4 ? QPageSize::A4 : QPageSize::Letter;
}

QPageLayout defaultPageLayout(QPageSize::PageSizeId paper) {
  return QPageLayout(
      QPageSize(paper), QPageLayout::Portrait,
      QMarginsF(kPdfMarginInches, kPdfMarginInches, kPdfMarginInches, kPdfMarginInches),
      QPageLayout::Inch);
}

bool writeReportPdf(const TableStore& store, const ViewOptions& options, const std::string& title,
                    QByteArray& out, QPageSize::PageSizeId paper, const FontDescription& font) {
  return writeReportPdf(store, options, title, out, defaultPageLayout(paper), font, {}, {});
}

bool writeReportPdf(const TableStore& store, const ViewOptions& options, const std::string& title,
                    QByteArray& out, const QPageLayout& page, const FontDescription& font,
                    const CarbonOptions& carbon, const PrintChoices& choices) {
  if (store.lastIndex < 0) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(fromLatin1(title));
    writer.setCreator(QString::fromLatin1(kAboutVersionText));
    writer.setPageLayout(page);
    if (printReport(writer, store, options, reportFont(font), fromLatin1(title), {}, carbon,
                    choices) == 0) {
      return false;
    }
  }
  out = bytes;
  return true;
}

}  // namespace keldovar

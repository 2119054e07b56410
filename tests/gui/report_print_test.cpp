// Printing the report: pages and footers of a PDF printed through the view, checked with
// Poppler's pdfinfo, pdftotext and pdftoppm; no selection on paper; the PDF export.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "tests/gui/gui_test_registry.h"
#include "tests/gui/report_document.h"
#include "view/qt/keldovar_view.h"
#include "view/qt/print_dialogs.h"
#include "view/qt/report_print.h"

namespace keldovar::test {
namespace {

constexpr int kRenderDpi = 50;

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path) {
  QRegularExpression pages("Pages:\\s+(\\d+)");
  return pages.match(run("pdfinfo", {path})).captured(1).toInt();
}

// The text of every page in the order it was drawn: the footer last.
QStringList pdfText(const QString& path) {
  QStringList pages = run("pdftotext", {"-raw", path, "-"}).split('\f');
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// One page rendered in grey at 50 dots per inch.
QImage pdfPage(const QString& path, int page, const QTemporaryDir& dir) {
  QString stem = dir.filePath("page");
  QString n = QString::number(page);
  run("pdftoppm",
      {"-r", QString::number(kRenderDpi), "-gray", "-f", n, "-l", n, "-singlefile", path, stem});
  return QImage(stem + ".pgm");
}

void setUpPdf(QPrinter& printer, const QString& path, QPageSize paper) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageLayout(
      QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
  printer.setDocName("Stand 7");
}

bool hasFooter(const QString& page, int n) {
  return page.contains(QRegularExpression(QString("Stand 7\\s+page\\s+%1\\s*$").arg(n)));
}

// The three-table report, to be printed into a PDF on the given paper.
struct Printout {
  explicit Printout(const QPageSize& paper)
      : ready(doc.threeSteps()), view(doc.controller), printer(QPrinter::HighResolution) {
    setUpPdf(printer, path(), paper);
  }
  QString path() const { return dir.filePath("report.pdf"); }
  PrintPlan plan() const {
    return PrintPlan(printer, doc.controller.store(), doc.controller.options(), view.reportFont());
  }
  QStringList print() {
    view.print(printer);
    return pdfText(path());
  }

  QTemporaryDir dir;
  ReportDocument doc;
  bool ready;
  CKELDOVARView view;
  QPrinter printer;
};

}  // namespace

class ReportPrintTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void printsEveryPageWithItsFooterAndNoSelection() {
    Printout out(QPageSize(QPageSize::Letter));
    QVERIFY(out.ready);
    CKELDOVARView& view = out.view;
    view.resize(900, 700);
    view.show();
    view.resetShown();
    const Qt::KeyboardModifiers move = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(&view, Qt::Key_Right, move);
    for (int i = 0; i < 3; ++i) QTest::keyClick(&view, Qt::Key_Right, move);
    QVERIFY(view.selection().isSelected(0, 0, 3));
    const int count = view.printPageCount(out.printer);
    QVERIFY(count >= 3);
    QStringList pages = out.print();
    QCOMPARE(pdfPages(out.path()), count);
    QCOMPARE(pages.size(), count);
    for (int n = 1; n <= count; ++n) QVERIFY2(hasFooter(pages[n - 1], n), qPrintable(pages[n - 1]));
    QVERIFY(pages[0].contains("STAND SUMMARY"));

    // The selected cell on paper: its text, but not the black box.
    PrintPlan plan = out.plan();
    const TableLayout& t = plan.layout.tables()[0];
    QRectF cell(t.colLeft[3], t.positions.firstRowY, t.colWidth[3], plan.layout.lineHeight());
    QVERIFY(cell.bottom() < plan.setup.pageHeight);  // on page 1
    QImage page = pdfPage(out.path(), 1, out.dir);
    QVERIFY(!page.isNull());
    QPointF margin = out.printer.pageLayout().paintRect(QPageLayout::Inch).topLeft() * 100;
    QRect pixels =
        QRectF((cell.topLeft() + margin) * kRenderDpi / 100.0, cell.size() * kRenderDpi / 100.0)
            .toRect()
            .adjusted(1, 1, -1, -1);
    int dark = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
      for (int x = pixels.left(); x <= pixels.right(); ++x) dark += qGray(page.pixel(x, y)) < 128;
    }
    QVERIFY(dark > 0);                                     // the value is printed
    QVERIFY(dark < pixels.width() * pixels.height() / 3);  // not inverted

    // On the screen the selection is still there and drawn.
    QVERIFY(view.selection().isSelected(0, 0, 3));
    const TableLayout& screen = view.reportLayout().tables()[0];
    view.verticalScrollBar()->setValue(screen.positions.firstRowY - 50);
    QImage shown = view.viewport()->grab().toImage();
    double scale = view.viewport()->logicalDpiX() / 100.0;
    QPoint inside = QPointF((screen.colLeft[3] + 3) * scale, 52 * scale).toPoint();
    QCOMPARE(QColor(shown.pixel(inside)), QColor(Qt::black));
  }

  void aWideReportPrintsInPageColumns() {
    Printout out(QPageSize(QSizeF(5, 11), QPageSize::Inch, "narrow"));
    QVERIFY(out.ready);
    PrintPlan plan = out.plan();
    QVERIFY(plan.pages.across() >= 2);
    QCOMPARE(plan.pages.pageCount(), plan.pages.across() * plan.pages.down());
    QStringList pages = out.print();
    QCOMPARE(pages.size(), plan.pages.pageCount());
    // Page 2 is the top strip's second column: a column head found there.
    const int width = plan.setup.pageWidth;
    const LayoutItem* head = nullptr;
    for (const LayoutItem& item : plan.layout.tables()[0].items) {
      if (item.kind == ItemKind::Heading && item.x >= width && item.x + item.width < 2 * width) {
        head = &item;
        break;
      }
    }
    QVERIFY(head != nullptr);
    QVERIFY(pages[1].contains(QString::fromStdString(head->text)));
    QVERIFY(!pages[1].contains("STAND SUMMARY"));
    QVERIFY(hasFooter(pages[1], 2));
  }

  // A paper so short that the footer would cut the first table's conversions line in half.
  void noLineIsCutAtTheFooter() {
    ReportDocument probe;
    QVERIFY(probe.threeSteps());
    const ReportLayout screen = CKELDOVARView(probe.controller).reportLayout();
    const int h = screen.lineHeight();
    const int cut = screen.tables()[0].positions.afterStockY + h / 2;  // the footer's top
    Printout out(QPageSize(QSizeF(8.5, (cut + h + 100) / 100.0), QPageSize::Inch, "short"));
    QVERIFY(out.ready);
    PrintPlan plan = out.plan();
    QVERIFY(std::abs(plan.pages.footer(1, "").top - cut) < h / 4);
    QStringList pages = out.print();
    QCOMPARE(pages.size(), plan.pages.pageCount());
    // The line is printed once, whole, on the next page down, and not cut on the first.
    const int across = plan.pages.across();
    QVERIFY(!pages[0].contains("Volume Conversions"));
    QVERIFY(pages[across].contains("Volume Conversions"));
    QCOMPARE(pages.join("").count("Volume Conversions"), 3);
  }

  // The preview opens with every page and leaves the screen's selection alone; Print, Preview
  // and Setup do nothing without a table.
  void previewShowsThePages() {
    Printout out(QPageSize(QPageSize::Letter));
    QVERIFY(out.ready);
    QTest::keyClick(&out.view, Qt::Key_Right, Qt::ShiftModifier);
    int shown = -1;
    QTimer::singleShot(0, [&shown] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) return;
      if (auto* pages = dialog->findChild<QPrintPreviewWidget*>()) shown = pages->pageCount();
      dialog->close();
    });
    showPrintPreview(out.view, out.printer, "Stand 7", nullptr);
    QCOMPARE(shown, out.view.printPageCount(out.printer));
    QVERIFY(out.view.selection().isSelected(0, 0, 0));

    ReportDocument empty;
    CKELDOVARView view(empty.controller);
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        opened = true;
        dialog->close();
      }
    });
    showPrintPreview(view, out.printer, "Stand 7", nullptr);
    QVERIFY(!printWithDialog(view, out.printer, "Stand 7", nullptr));
    QCoreApplication::processEvents();
    QVERIFY(!opened);
  }

  void pdfExportAndAnEmptyStore() {
    QTemporaryDir dir;
    ReportDocument doc;
    QVERIFY(doc.threeSteps());
    QByteArray pdf;
    QVERIFY(writeReportPdf(doc.controller.store(), doc.controller.options(), "Stand 7", pdf,
                           QPageSize::Letter));
    QVERIFY(pdf.startsWith("%PDF-"));
    QString path = dir.filePath("export.pdf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    QVERIFY(run("pdfinfo", {path}).contains(QRegularExpression("Title:\\s+Stand 7")));
    QStringList pages = pdfText(path);
    QVERIFY(pages.size() >= 3);
    QVERIFY(hasFooter(pages.back(), static_cast<int>(pages.size())));

    ReportDocument empty;
    CKELDOVARView view(empty.controller);
    QVERIFY(!view.canPrint());
    QCOMPARE(view.printPageCount(QPrinter()), 0);
    QVERIFY(!writeReportPdf(empty.controller.store(), empty.controller.options(), "", pdf));
    QPrinter printer(QPrinter::HighResolution);
    setUpPdf(printer, dir.filePath("empty.pdf"), QPageSize(QPageSize::Letter));
    view.print(printer);
    QVERIFY(!QFile::exists(dir.filePath("empty.pdf")));
  }
};
KELDOVAR_GUI_TEST(ReportPrintTest);

}  // namespace keldovar::test

#include "report_print_test.moc"

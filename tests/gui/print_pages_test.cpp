// The worked examples on paper through the program's own commands: the preview, the printer and
// Export PDF cut the same pages, none of them only a footer; the PDF is named and titled as the
// batch runner names it; Page Setup's landscape and Fit to Page Width reach every path and the
// next run.
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

QString output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path) {
  return QRegularExpression("Pages:\\s+(\\d+)")
      .match(output("pdfinfo", {path}))
      .captured(1)
      .toInt();
}

// The example's document as the batch runner saves it.
QString exampleStand(const QString& name, const QTemporaryDir& dir) {
  QString stand = dir.filePath(name + ".kdv");
  QProcess cli;
  cli.start(KELDOVAR_CLI_PATH, {"run", QString(KELDOVAR_SOURCE_DIR) + "/examples/" + name + ".kdr",
                                "--clock", "2024-03-05 14:07:09", "--out", stand});
  cli.waitForFinished();
  return cli.exitCode() == 0 ? stand : QString();
}

// Runs Print Preview and gives the number of pages it showed.
int previewPages(CMainFrame& frame) {
  int shown = -1;
  whenModal([&shown](QWidget* dialog) {
    if (auto* pages = dialog->findChild<QPrintPreviewWidget*>()) shown = pages->pageCount();
    dialog->close();
  });
  frame.runCommand(cmd::kPrintPreview);
  return shown;
}

// Print through the print dialog into a PDF file.
void printTo(CMainFrame& frame, const QString& path) {
  frame.output().printer().setOutputFileName(path);
  whenModal([](QWidget* dialog) { qobject_cast<QPrintDialog*>(dialog)->accept(); });
  frame.runCommand(cmd::kPrint);
}

// Export PDF; the name the dialog suggested goes to `suggested`.
void exportTo(CMainFrame& frame, const QString& path, QString* suggested = nullptr) {
  whenModal([path, suggested](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (suggested != nullptr) *suggested = QFileInfo(dialog->selectedFiles().value(0)).fileName();
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
  frame.runCommand(cmd::kExportPdf);
}

}  // namespace

class PrintPagesTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void examplesPrintTheSamePagesEverywhere_data() {
    QTest::addColumn<QString>("example");
    for (const char* name :
         {"plantation-thin-harvest", "thinned-stand", "unthinned-thinomatic-fertilize"}) {
      QTest::newRow(name) << name;
    }
  }
  void examplesPrintTheSamePagesEverywhere() {
    QFETCH(QString, example);
    QTemporaryDir dir;
    QString stand = exampleStand(example, dir);
    QVERIFY(!stand.isEmpty());
    TestProgram program;
    program.app->start({stand});
    CMainFrame& frame = program.frame();
    const int preview = previewPages(frame);
    printTo(frame, dir.filePath("printed.pdf"));
    QString suggested;
    exportTo(frame, dir.filePath("exported.pdf"), &suggested);
    QCOMPARE(suggested, example + ".pdf");
    QVERIFY(preview > 1);
    qInfo("%s: %d pages", qPrintable(example), preview);
    QCOMPARE(pdfPages(dir.filePath("printed.pdf")), preview);
    QCOMPARE(pdfPages(dir.filePath("exported.pdf")), preview);
    QString info = output("pdfinfo", {dir.filePath("exported.pdf")});
    QVERIFY2(info.contains(QRegularExpression("Title:\\s+" + example + "\\n")), qPrintable(info));
    // Every page holds more than its footer, and the footers count on without a gap.
    for (int n = 1; n <= preview; ++n) {
      QString page = output("pdftotext", {"-layout", "-f", QString::number(n), "-l",
                                          QString::number(n), dir.filePath("exported.pdf"), "-"});
      QStringList lines;
      for (const QString& line : page.split('\n')) {
        if (!line.trimmed().isEmpty()) lines << line;
      }
      QVERIFY2(lines.size() > 1, qPrintable(QString("page %1 holds only its footer").arg(n)));
      // A long name is cut short so that the page number stays on the paper.
      QRegularExpression footer("^\\s+" + example.left(20) + "\\S*\\s+page\\s+" +
                                QString::number(n) + "\\s*$");
      QVERIFY2(lines.last().contains(footer), qPrintable(lines.last()));
    }
  }

  // The footer's white band ends at the paper's edge, not below it in the preview.
  void theFooterBandStaysOnThePaper() {
    QTemporaryDir dir;
    TestProgram program;
    program.app->start({exampleStand("thinned-stand", dir)});
    CKELDOVARView& view = program.active().view();
    QPrinter& printer = program.frame().output().printer();
    PrintPlan plan(printer, program.active().controller().store(),
                   program.active().controller().options(), view.reportFont());
    QCOMPARE(plan.pages.footer(1, "").bottom, plan.setup.paperHeight + 50);
  }

  // Landscape from Page Setup prints, previews and exports, and the next run starts with it;
  // Fit to Page Width puts every table on one page column.
  void landscapeAndFitToPageWidth() {
    QTemporaryDir dir;
    QString stand = exampleStand("plantation-thin-harvest", dir);
    {
      TestProgram program;
      program.app->start({stand});
      whenModal([](QWidget* dialog) {
        dialog->findChild<QRadioButton*>("landscape")->click();
        qobject_cast<QDialog*>(dialog)->accept();
      });
      program.frame().runCommand(cmd::kPrintSetup);
      QVERIFY(!program.frame().action(cmd::kFitPageWidth)->isChecked());
      program.frame().runCommand(cmd::kFitPageWidth);
    }
    TestProgram program;
    program.app->start({stand});
    CMainFrame& frame = program.frame();
    QCOMPARE(frame.output().printer().pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(frame.action(cmd::kFitPageWidth)->isChecked());
    exportTo(frame, dir.filePath("wide.pdf"));
    QString info = output("pdfinfo", {dir.filePath("wide.pdf")});
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+792 x 612")), qPrintable(info));
    PrintPlan plan(frame.output().printer(), program.active().controller().store(),
                   program.active().controller().options(), program.active().view().reportFont(),
                   {}, frame.output().choices());
    QCOMPARE(plan.pages.across(), 1);
    QCOMPARE(pdfPages(dir.filePath("wide.pdf")), plan.pages.pageCount());
    QCOMPARE(previewPages(frame), plan.pages.pageCount());
  }
};
KELDOVAR_GUI_TEST(PrintPagesTest);

#include "print_pages_test.moc"

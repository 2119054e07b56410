// Compare Regimes through the real window: the open documents with a harvest are listed and
// ticked, unticking one drops its column, the best cell is marked, and the CSV it exports is
// keldovar-cli compare's for the same files.
#include <QListWidget>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/compare_window.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

QByteArray cliOutput(const QStringList& args) {
  QProcess cli;
  cli.start(KELDOVAR_CLI_PATH, args);
  cli.waitForFinished();
  return cli.readAllStandardOutput();
}

// A PDF's text as pdftotext gives it, page by page; empty without Poppler's tools.
QByteArray pdfText(const QString& pdf) {
  QProcess tool;
  tool.start("pdftotext", {"-raw", pdf, "-"});
  tool.waitForFinished();
  return tool.readAllStandardOutput();
}

}  // namespace

class CompareWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void comparesTheOpenHarvestsAndExportsTheCliTable() {
    QTemporaryDir folder;
    QStringList files;
    for (const char* name : {"plantation-thin-harvest", "unthinned-thinomatic-fertilize"}) {
      files << folder.filePath(QString(name) + ".kdv");
      cliOutput({"run", QString(KELDOVAR_SOURCE_DIR) + "/examples/" + name + ".kdr", "--out",
                 files.back()});
    }
    TestProgram program;
    program.app->start(files);
    CMainFrame& frame = program.frame();
    frame.runCommand(cmd::kNew);  // no harvest: not listed
    frame.runCommand(cmd::kCompareRegimes);
    auto* window = frame.findChild<CompareWindow*>();
    QVERIFY(window != nullptr);
    auto* documents = window->findChild<QListWidget*>("documents");
    auto* table = window->findChild<QTableWidget*>("comparisonTable");
    QCOMPARE(documents->count(), 2);
    QCOMPARE(table->columnCount(), 2);
    // The rows follow the most thinnings of a regime shown.
    auto npv = [table](int column) {
      for (int r = 0; r < table->rowCount(); ++r) {
        if (table->verticalHeaderItem(r)->text() == "NPV sawtimber+pulpwood ($/ac)") {
          return table->item(r, column);
        }
      }
      return static_cast<QTableWidgetItem*>(nullptr);
    };
    QCOMPARE(npv(0)->text(), QString("456.64"));
    QCOMPARE(npv(1)->text(), QString("976.46 *"));
    QVERIFY(npv(1)->font().bold() && !npv(0)->font().bold());

    QVERIFY(window->exportCsv(folder.filePath("window.csv")));
    QCOMPARE(fileBytes(folder.filePath("window.csv")),
             cliOutput(QStringList{"compare"} + files + QStringList{"--format", "csv"}));
    QVERIFY(window->exportPdf(folder.filePath("window.pdf")));
    QVERIFY(fileBytes(folder.filePath("window.pdf")).startsWith("%PDF"));
    // The window's pages are those keldovar-cli compare --pdf writes of the same files.
    cliOutput(QStringList{"compare"} + files + QStringList{"--pdf", folder.filePath("cli.pdf")});
    QByteArray pages = pdfText(folder.filePath("window.pdf"));
    QVERIFY(pages.contains("Standing basal area") || pages.isEmpty());  // empty: no pdftotext
    QCOMPARE(pages, pdfText(folder.filePath("cli.pdf")));

    // Metric Units reaches the open window: its CSV is then compare --units metric's.
    frame.runCommand(cmd::kMetricUnits);
    QVERIFY(window->exportCsv(folder.filePath("metric.csv")));
    QCOMPARE(fileBytes(folder.filePath("metric.csv")),
             cliOutput(QStringList{"compare"} + files +
                       QStringList{"--format", "csv", "--units", "metric"}));
    frame.runCommand(cmd::kMetricUnits);

    documents->item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(table->columnCount(), 1);
    QCOMPARE(window->regimes().front().name, std::string("unthinned-thinomatic-fertilize"));
    QCOMPARE(npv(0)->text(), QString("976.46"));  // alone: nothing to beat

    // Closing a document takes it out of the comparison.
    frame.children().at(1)->close();
    QTRY_COMPARE_WITH_TIMEOUT(documents->count(), 1, kEventWait);
    QCOMPARE(table->columnCount(), 0);
  }
};
KELDOVAR_GUI_TEST(CompareWindowTest);

#include "compare_window_test.moc"

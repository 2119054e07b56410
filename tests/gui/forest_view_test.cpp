// File > Open Inventory through its own widgets: the stands listed with their bad rows, a regime
// chosen and run on the worker, the forest's years those of keldovar-cli inventory, numeric
// sorting, Cancel, and a stand opened as the document keldovar-cli run makes of its script.
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/forest_frame.h"
#include "tests/cli/inventory_maker.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

const char* kForest =
    "stand,acres,kind,age,trees,ba,si,thinage,pcttrees,survival,control,owner\n"
    "P1,40,plantation,,600,,65,,,85,herbwoody,North\n"
    "U2,25.5,unthinned,12,550,100,60,,,,,South\n"
    "T3,10,thinned,18,300,80,62,14,30,,,East\n"
    "B4,0,plantation,,600,,65,,,85,none,West\n"
    "B5,12,plantation,,50,,65,,,85,none,West\n"
    "P6,120,plantation,,800,,70,,,90,woody,North\n";

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

void chooseFile(const QString& path) {
  whenModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return;
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

QPushButton* button(QWidget* frame, const char* name) {
  return frame->findChild<QPushButton*>(name);
}

QString shown(const QAbstractItemModel* model, int row, int column) {
  return model->index(row, column).data().toString();
}

}  // namespace

class ForestViewTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void runsTheForestAndOpensAStand() {
    QTemporaryDir folder;
    QString stands = folder.filePath("stands.csv");
    QString regime = folder.filePath("prescription.kdr");
    writeFile(stands, kForest);
    writeFile(regime, cli::kPrescription);
    TestProgram program;
    program.app->start({});
    CMainFrame& main = program.frame();
    QVERIFY(main.action(cmd::kOpenInventory)->isEnabled());
    chooseFile(stands);
    main.runCommand(cmd::kOpenInventory);
    auto* forest = qobject_cast<ForestFrame*>(main.mdiArea().activeSubWindow());
    QVERIFY(forest != nullptr);
    QVERIFY(!button(forest, "forestRun")->isEnabled());  // no regime yet
    auto* view = forest->findChild<QTableView*>("forestStands");
    const QAbstractItemModel* rows = view->model();
    QCOMPARE(rows->rowCount(), 6);
    QCOMPARE(shown(rows, 3, 4), "bad row");
    QCOMPARE(shown(rows, 3, 9), "acres: give the stand's area, a number of acres above 0");
    QCOMPARE(rows->headerData(10, Qt::Horizontal).toString(), "owner");

    chooseFile(regime);
    button(forest, "forestChoose")->click();
    QCOMPARE(forest->findChild<QLabel*>("forestRegime")->text(), "prescription.kdr");
    QSignalSpy finished(forest, &ForestFrame::runFinished);
    button(forest, "forestRun")->click();
    QVERIFY(finished.wait(60000));
    QCOMPARE(forest->findChild<QLabel*>("forestSummary")->text(),
             "6 stands ran, 2 failed; 4 ran through on 195.5 acres");
    QCOMPARE(shown(rows, 4, 4), "failed");
    QCOMPARE(shown(rows, 4, 9), "trees: Enter an integer between 100 and 1500.");

    // The same years as the batch runner's forest, to the cent.
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH,
              {"inventory", stands, "--regime", regime, "--format", "csv", "--jobs", "1"});
    QVERIFY(cli.waitForFinished());
    QStringList lines = QString(cli.readAllStandardOutput()).trimmed().split('\n');
    const YearsModel& years = forest->years();
    QCOMPARE(years.rowCount(), lines.size() - 1);
    for (int row = 0; row < years.rowCount(); ++row) {
      QStringList cells = lines[row + 1].split(',');
      QCOMPARE(shown(&years, row, 0), QString::number(cells[0].toDouble(), 'f', 1));
      QCOMPARE(shown(&years, row, 2), QString::number(cells[2].toDouble(), 'f', 1));
      QCOMPARE(shown(&years, row, 11), QString::number(cells[26].toDouble(), 'f', 2));
    }
    QCOMPARE(forest->chart().years().size(), static_cast<std::size_t>(years.rowCount()));
    QVERIFY(!forest->grab().isNull());  // the chart paints

    // NPV sorts as numbers, the stands without one last.
    view->horizontalHeader()->setSortIndicator(6, Qt::AscendingOrder);
    QList<double> npvs;
    for (int row = 0; row < 4; ++row) npvs << shown(rows, row, 6).toDouble();
    QVERIFY(std::is_sorted(npvs.begin(), npvs.end()));

    // Double-clicking P6 opens the document `keldovar-cli run` makes of its script.
    view->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    view->scrollTo(view->model()->index(5, 1));
    QRect cell = view->visualRect(view->model()->index(5, 1));
    // An item view takes a double click as the second click of a pair.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(main.children().size(), 2);
    CChildFrame& opened = program.active();
    QCOMPARE(opened.controller().store().lastIndex, 4);
    QVERIFY(opened.controller().modified());
    QTemporaryDir out;
    writeFile(out.filePath("p6.kdr"), QByteArray("financial interest=6\n"
                                                 "plantation si=70 trees=800 survival=90 "
                                                 "control=woody\ngrow +5\nthin thinomatic ba=55\n"
                                                 "grow +10\nharvest\n"));
    QProcess run;
    run.start(KELDOVAR_CLI_PATH, {"run", out.filePath("p6.kdr"), "--clock", "2000-01-01 00:00:00",
                                  "--out", out.filePath("cli.kdv")});
    QVERIFY(run.waitForFinished());
    QVERIFY(opened.document().saveTo(out.filePath("desktop.kdv")).ok());
    QCOMPARE(fileBytes(out.filePath("desktop.kdv")), fileBytes(out.filePath("cli.kdv")));
  }

  // Cancel stops a long run early; closing the window in the middle of a run is safe.
  void cancelStopsTheRun() {
    QTemporaryDir folder;
    QString stands = folder.filePath("stands.csv");
    writeFile(stands, QByteArray::fromStdString(cli::makeInventory(4000, 7).csv));
    writeFile(folder.filePath("regime.kdr"), cli::kPrescription);
    QMdiArea area;
    ForestFrame* forest = openInventoryFile(nullptr, area, stands, [](DocumentContent) {});
    QVERIFY(forest != nullptr);
    QVERIFY(forest->setRegime(folder.filePath("regime.kdr")));
    QSignalSpy finished(forest, &ForestFrame::runFinished);
    button(forest, "forestRun")->click();
    QVERIFY(button(forest, "forestCancel")->isEnabled());
    QVERIFY(!button(forest, "forestChoose")->isEnabled());
    button(forest, "forestCancel")->click();
    QVERIFY(finished.wait(60000));
    QVERIFY(forest->findChild<QLabel*>("forestSummary")->text().startsWith("Cancelled: "));
    QVERIFY(button(forest, "forestRun")->isEnabled());
    button(forest, "forestRun")->click();
    forest->close();  // joins the worker
    QCOMPARE(area.subWindowList().size(), 0);
  }
};
KELDOVAR_GUI_TEST(ForestViewTest);

#include "forest_view_test.moc"

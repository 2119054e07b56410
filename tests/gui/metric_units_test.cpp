// Options > Metric Units through the program's menus and dialogs: kept in the settings, every
// open window switched at once, and a regime typed in metric stored as its imperial script.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "document/settings.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/modal_script.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

bool allIn(CMainFrame& frame, UnitSystem units) {
  for (CChildFrame* child : frame.children()) {
    if (child->controller().options().units != units) return false;
  }
  return !frame.children().isEmpty();
}

QString storedHintOf(QWidget* dialog, const QString& key) {
  auto* hint = dialog->findChild<QLabel*>(key + "Stored");
  return hint != nullptr ? hint->text() : QString("(no hint)");
}

// The imperial value a hint names: "= 60 ft" gives "60".
QString hintValue(const QString& hint) {
  return hint.section(' ', 1, 1);
}

}  // namespace

class MetricUnitsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  // The report copied in metric writes the locale's money and decimal separator.
  void theOptionIsKeptAndSwitchesEveryWindow() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    {
      TestProgram program;
      program.app->start({});
      CMainFrame& frame = program.frame();
      frame.runCommand(cmd::kNew);
      plantExample(program, "16");
      frame.runCommand(cmd::kHarvest);
      QVERIFY(allIn(frame, UnitSystem::Imperial));
      QVERIFY(!frame.action(cmd::kMetricUnits)->isChecked());
      frame.runCommand(cmd::kMetricUnits);
      QVERIFY(allIn(frame, UnitSystem::Metric));
      QVERIFY(frame.action(cmd::kMetricUnits)->isChecked());
      frame.runCommand(cmd::kSelectAll);
      frame.runCommand(cmd::kCopy);
      QString copied = QApplication::clipboard()->text();
      QVERIFY2(copied.contains(QRegularExpression("Basal Area +\\d+,\\d m2/ha")),
               qPrintable(copied));
      QVERIFY(copied.contains("Establishment Cost: R$"));
      frame.runCommand(cmd::kNew);
      QVERIFY(allIn(frame, UnitSystem::Metric));
    }
    QLocale::setDefault(saved);
    QSettings stored(kScratchIdentity.organization, kScratchIdentity.application);
    QCOMPARE(stored.value("Options/Units").toString(), QString("metric"));
    // The next start opens in metric, and switching back reaches every window again.
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.runCommand(cmd::kNew);
    QVERIFY(allIn(frame, UnitSystem::Metric));
    frame.runCommand(cmd::kMetricUnits);
    QVERIFY(allIn(frame, UnitSystem::Imperial));
  }

  // New Plantation and Row thinning typed in metric, the hints read as the user types: the
  // document saves the batch runner's file of the script the hints spell out.
  void aRegimeTypedInMetricStoresItsImperialScript() {
    QTemporaryDir folder;
    TestProgram program(true, true);
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.runCommand(cmd::kMetricUnits);
    frame.runCommand(cmd::kNew);

    ModalScript script;
    QString placeholder;
    QStringList hints;
    script.type("initPlantDlg", {{"si", "18.3"}, {"trees", "100"}, {"survival", "85"}})
        .on("initPlantDlg", [&](QWidget* w) {
          placeholder = fieldOf(w, "trees")->placeholderText();
          hints << storedHintOf(w, "si") << storedHintOf(w, "trees") << storedHintOf(w, "survival");
        });
    script.ok("initPlantDlg").box();
    script.type("initPlantDlg", {{"trees", "1500"}}).on("initPlantDlg", [&](QWidget* w) {
      hints << storedHintOf(w, "trees");
    });
    script.ok("initPlantDlg").ok("growDlg", {{"age", "20"}});
    script.type("resBasalDlg", {{"ba", "16"}}).on("resBasalDlg", [&](QWidget* w) {
      hints << storedHintOf(w, "ba");
    });
    script.ok("resBasalDlg");
    frame.runCommand(cmd::kInitPlantation);
    frame.runCommand(cmd::kGrow);
    frame.runCommand(cmd::kRowThin);
    frame.runCommand(cmd::kHarvest);
    QVERIFY(script.finished());
    QCOMPARE(placeholder, QString("248-3706"));
    QCOMPARE(script.boxTexts(), QStringList({"Enter a number between 248 and 3706."}));
    QCOMPARE(hints, QStringList({"= 60 ft", "= 40 per ac", "(no hint)", "= 607 per ac",
                                 "= 69.696 sq ft/ac"}));
    QCOMPARE(program.active().controller().store().lastIndex, 3);
    QString saved = folder.filePath("desktop.kdv");
    QVERIFY(program.active().document().saveTo(saved).ok());

    QFile file(folder.filePath("regime.kdr"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString("plantation si=%1 trees=%2 survival=85 control=none\n"
                       "grow 20\nthin row ba=%3\nharvest\n")
                   .arg(hintValue(hints[0]), hintValue(hints[3]), hintValue(hints[4]))
                   .toLatin1());
    file.close();
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH, {"run", file.fileName(), "--clock", "2024-03-05 14:07:09", "--out",
                                  folder.filePath("cli.kdv")});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);
    QByteArray batch = fileBytes(folder.filePath("cli.kdv"));
    QVERIFY(!batch.isEmpty());
    QCOMPARE(fileBytes(saved), batch);
    // The dialog remembers the imperial values the model took.
    QCOMPARE(program.active().controller().content().remembered.plantTrees, 607);
  }
};
KELDOVAR_GUI_TEST(MetricUnitsTest);

#include "metric_units_test.moc"

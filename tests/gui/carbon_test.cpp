// Carbon in the desktop program: Include Carbon remembered like the other report options and
// drawn below each table, and the Carbon Values dialog typed into through its real fields.
#include <QSettings>
#include <QTest>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/modal_script.h"
#include "view/copy_text.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

class CarbonTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void includeCarbonIsRememberedAndDrawnBelowEachTable() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    QVERIFY(!frame.action(cmd::kIncludeCarbon)->isChecked());
    program.source.answer({{"si", "65"}, {"trees", "600"}, {"survival", "85"}});
    frame.runCommand(cmd::kInitPlantation);
    const ReportLayout& layout = program.active().view().reportLayout();
    int plainHeight = layout.docHeight();
    QCOMPARE(layout.tables()[0].carbonY, 0);

    program.active().controller().markSaved();
    frame.runCommand(cmd::kIncludeCarbon);
    QVERIFY(frame.action(cmd::kIncludeCarbon)->isChecked());
    QCOMPARE(QSettings(kScratchIdentity.organization, kScratchIdentity.application)
                 .value("Options/Carbon")
                 .toInt(),
             1);
    const ReportLayout& shown = program.active().view().reportLayout();
    QVERIFY(shown.tables()[0].carbonY > 0);
    QVERIFY(shown.docHeight() > plainHeight);
    QVERIFY(!program.active().controller().modified());  // nothing the stand file holds changed
    frame.runCommand(cmd::kNew);
    QVERIFY(program.active().controller().options().showCarbon);
  }

  void carbonValuesDialogChecksAndKeepsItsDefault() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    ModalScript script;
    QStringList opened;
    script.read("CarbonDlg", {"price", "baseline"}, &opened);
    script.ok("CarbonDlg", {{"price", "-5"}}).box().noteFocus("CarbonDlg");
    script.tick("CarbonDlg", "makedefault").ok("CarbonDlg", {{"price", "12"}, {"baseline", "3"}});
    frame.runCommand(cmd::kCarbonValues);

    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"0", "0"}));
    QCOMPARE(script.boxTexts(), QStringList({"Enter a number between 0 and 1000."}));
    QCOMPARE(script.focusedFields(), QStringList({"price"}));
    QCOMPARE(program.active().controller().content().carbon, (CarbonValues{12, 3}));
    QSettings settings(kScratchIdentity.organization, kScratchIdentity.application);
    QCOMPARE(settings.value("Carbon/price").toString(), QString("12.00"));
    QCOMPARE(settings.value("Carbon/baseline").toString(), QString("3.00"));
    frame.runCommand(cmd::kNew);
    QCOMPARE(program.active().controller().content().carbon, (CarbonValues{12, 3}));

    ModalScript cancelled;
    cancelled.type("CarbonDlg", {{"price", "7"}}).cancel("CarbonDlg");
    frame.runCommand(cmd::kCarbonValues);
    QVERIFY(cancelled.finished());
    QCOMPARE(program.active().controller().content().carbon, (CarbonValues{12, 3}));
  }
};
KELDOVAR_GUI_TEST(CarbonTest);

#include "carbon_test.moc"

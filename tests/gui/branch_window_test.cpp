// New Document From Here through the real window: the Edit command on the table at the window's
// top and the report's context menu on the table under the mouse; the branch continued and
// saved is the batch runner's file of the same steps.
#include <QContextMenuEvent>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

// Scrolls so that table `index` starts at the window's top.
void showAtTop(CChildFrame& frame, int index) {
  CKELDOVARView& view = frame.view();
  view.verticalScrollBar()->setValue(view.reportLayout().table(index)->top);
}

// Opens the report's context menu at the window's top left and picks its first entry.
void chooseFromReportMenu(CKELDOVARView& view) {
  QString shown;
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, &shown] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    timer->stop();
    timer->deleteLater();
    // The menu is gone once it returns: keep what it showed.
    shown = menu->actions().constFirst()->text();
    menu->setActiveAction(menu->actions().constFirst());
    QTest::keyClick(menu, Qt::Key_Return);
  });
  timer->start();
  QPoint at(4, 4);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
  QApplication::sendEvent(view.viewport(), &event);
  QCOMPARE(shown, QString("New Document &From Here"));
}

}  // namespace

class BranchWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void branchesTheChosenTableAndSavesTheBatchRunnersFile() {
    QTemporaryDir folder;
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH,
              {"run", "-", "--clock", "2024-03-05 14:07:09", "--out", folder.filePath("cli.kdv")});
    cli.write(
        "plantation si=65 trees=600 survival=85 control=herbwoody\ngrow 16\n"
        "thin thinomatic ba=80\ngrow 30\nharvest\n");
    cli.closeWriteChannel();
    QVERIFY(cli.waitForFinished());
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    program.source.answer(
        {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}});
    frame.runCommand(cmd::kInitPlantation);
    program.source.answer({{"age", "16"}});
    frame.runCommand(cmd::kGrow);
    program.source.answer({{"ba", "75"}, {"row", "33"}});
    frame.runCommand(cmd::kRowLowThin);
    program.source.answer({{"age", "26"}});
    frame.runCommand(cmd::kGrow);
    CChildFrame& source = program.active();
    QCOMPARE(source.controller().store().lastIndex, 3);

    showAtTop(source, 1);
    frame.runCommand(cmd::kNewFromHere);
    CChildFrame& branch = program.active();
    QVERIFY(&branch != &source);
    QCOMPARE(branch.document().title(), QString("KLDVR1 (from age 16)"));
    QCOMPARE(branch.controller().store().lastIndex, 1);
    QVERIFY(branch.controller().modified());
    QCOMPARE(source.controller().store().lastIndex, 3);
    program.source.answer({{"ba", "80"}});
    frame.runCommand(cmd::kThinomatic);
    program.source.answer({{"age", "30"}});
    frame.runCommand(cmd::kGrow);
    frame.runCommand(cmd::kHarvest);
    QVERIFY(branch.document().saveTo(folder.filePath("branch.kdv")).ok());
    QCOMPARE(fileBytes(folder.filePath("branch.kdv")), fileBytes(folder.filePath("cli.kdv")));

    frame.mdiArea().setActiveSubWindow(&source);
    showAtTop(source, 2);
    chooseFromReportMenu(source.view());
    CChildFrame& fromMenu = program.active();
    QVERIFY(&fromMenu != &source && &fromMenu != &branch);
    QCOMPARE(fromMenu.controller().store().lastIndex, 2);
    QCOMPARE(fromMenu.document().title(), QString("KLDVR1 (from age 16)"));
  }
};
KELDOVAR_GUI_TEST(BranchWindowTest);

#include "branch_window_test.moc"

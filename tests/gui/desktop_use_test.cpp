// What went wrong when the desktop program was used by keyboard and mouse: the status bar, the
// scroll position and the keyboard focus after the View menu, the main window's title, and the
// recovery copy of a document nobody saved yet.
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include "desktop/find_regime_dlg.h"
#include "document/settings.h"
#include "document/step_messages.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

// Planted, grown to 16 and 20, thinned at 20, grown to 26 and harvested: six tables, taller than
// any window.
void longRegime(TestProgram& program) {
  plantExample(program, "16");
  program.source.answer({{"age", "20"}});
  program.frame().runCommand(cmd::kGrow);
  program.source.answer({{"ba", "70"}});
  program.frame().runCommand(cmd::kThinomatic);
  program.source.answer({{"age", "26"}});
  program.frame().runCommand(cmd::kGrow);
  program.frame().runCommand(cmd::kHarvest);
}

// Rotations 20 and 21 without thinning: a search of a moment.
void tinySpace(QWidget* dialog) {
  dialog->findChild<QSpinBox*>("rotationFrom")->setValue(20);
  dialog->findChild<QSpinBox*>("rotationTo")->setValue(21);
  for (const char* name : {"thinnings1", "thinnings2"})
    dialog->findChild<QCheckBox*>(name)->setChecked(false);
}

}  // namespace

class DesktopUseTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  // A refusal's reason stays only until the next command.
  void theNextCommandClearsARefusal() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    longRegime(program);
    plantExample(program, "16");
    program.source.answer({{"ba", "70"}});
    frame.runCommand(cmd::kThinomatic);
    program.source.answer({{"ba", "60"}});
    frame.runCommand(cmd::kThinomatic);
    QCOMPARE(frame.statusBar()->currentMessage(), QString(kThinRefusedReason));
    program.source.answer({{"age", "20"}});
    frame.runCommand(cmd::kGrow);
    QCOMPARE(frame.statusBar()->currentMessage(), QString("Ready"));
  }

  // Off, View All Tables shows the newest step's table from its top-left corner.
  void allTablesOffShowsTheOrigin() {
    TestProgram program;
    program.app->start({});
    program.frame().resize(900, 600);
    longRegime(program);
    CKELDOVARView& view = program.active().view();
    view.horizontalScrollBar()->setValue(40);
    QVERIFY(view.verticalScrollBar()->value() > 0);
    program.frame().runCommand(cmd::kAllTables);
    QCOMPARE(view.scrollPosition(), QPoint(0, 0));
  }

  // The document's name appears once in the main window's title, maximized or not.
  void theTitleNamesTheDocumentOnce() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(program.active().isMaximized());
    QTRY_COMPARE_WITH_TIMEOUT(frame.windowTitle().count("KLDVR1"), 1, kEventWait);
    program.frame().runCommand(cmd::kNew);
    QTRY_COMPARE_WITH_TIMEOUT(frame.windowTitle().count("KLDVR2"), 1, kEventWait);
    QVERIFY(!frame.windowTitle().contains("KLDVR1"));
    program.active().showNormal();
    QTRY_COMPARE_WITH_TIMEOUT(frame.windowTitle(), QString("KELDOVAR - KLDVR2"), kEventWait);
  }

  // Whatever was toggled on the View menu, Page Down still scrolls the report; and the document
  // window, when the MDI area gives it the focus on activation, passes it on to the report.
  void theReportKeepsTheKeyboard() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.resize(900, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    longRegime(program);
    CKELDOVARView& view = program.active().view();
    for (int id : {cmd::kToolbar, cmd::kStatusBar, cmd::kAllTables, cmd::kAllTables, cmd::kToolbar,
                   cmd::kStatusBar}) {
      QTest::keyClick(&frame, Qt::Key_V, Qt::AltModifier);
      QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget() != nullptr, kEventWait);
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      menu->setActiveAction(frame.action(id));
      QTest::keyClick(menu, Qt::Key_Return);
      QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), &view, kEventWait);
      view.verticalScrollBar()->setValue(0);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
      QVERIFY2(view.verticalScrollBar()->value() > 0, qPrintable(QString::number(id)));
    }
    program.active().setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), &view, kEventWait);
  }

  // The bar tells of the search of the fields shown; the plot always says what it draws and why.
  void findBestRegimeSaysWhatItShows() {
    FindRegimeDlg dialog(nullptr, builtInDefaults().settings);
    auto* plot = dialog.findChild<RotationPlot*>();
    const QString before = plot->title();
    QVERIFY2(before.startsWith("LEV ($/acre, sawtimber and pulpwood)") &&
                 before.contains("LEV ranks a new plantation"),
             qPrintable(before));
    tinySpace(&dialog);
    QSignalSpy finished(&dialog, &FindRegimeDlg::searchFinished);
    dialog.findChild<QPushButton*>("search")->click();
    QVERIFY(finished.wait(60000));
    auto* bar = dialog.findChild<QProgressBar*>();
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(plot->title(), before);
    QTest::keyClick(dialog.findChild<QLineEdit*>("si"), Qt::Key_Backspace);
    QCOMPARE(bar->value(), 0);
  }

  // The regime Find Best Regime opens is unsaved: it gets its recovery copy like any other.
  void aFoundRegimeHasItsRecoveryCopy() {
    QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
    QDir(folder).removeRecursively();
    qputenv("KELDOVAR_AUTOSAVE_MS", "20");
    {
      TestProgram program(true, false, true);
      program.app->start({});
      whenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<FindRegimeDlg*>(modal);
        tinySpace(dialog);
        QObject::connect(dialog, &FindRegimeDlg::searchFinished, dialog,
                         [dialog] { dialog->findChild<QPushButton*>("open")->click(); });
        dialog->findChild<QPushButton*>("search")->click();
      });
      program.frame().runCommand(cmd::kFindRegime);
      QCOMPARE(program.frame().children().size(), 2);
      QTRY_COMPARE_WITH_TIMEOUT(QDir(folder).entryList({"*.kdv"}, QDir::Files).size(), 1,
                                kEventWait);
    }
    qunsetenv("KELDOVAR_AUTOSAVE_MS");
    QDir(folder).removeRecursively();
  }
};
KELDOVAR_GUI_TEST(DesktopUseTest);

#include "desktop_use_test.moc"

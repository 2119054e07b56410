// The desktop program's recovery copies: a run that ends without Exit leaves its unsaved
// documents behind, the next start offers them, and a recovered document is titled and saved as
// the one it came from.
#include <QDialog>
#include <QStandardPaths>
#include <QTest>

#include "app/qt/recovery_dialog.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

QString recoveryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
}

QStringList copies() {
  return QDir(recoveryFolder()).entryList({"*.kdv"}, QDir::Files);
}

void plantAndGrow(TestProgram& program, const char* age) {
  program.source.answer({{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "none"}});
  program.frame().runCommand(cmd::kInitPlantation);
  program.source.answer({{"age", age}});
  program.frame().runCommand(cmd::kGrow);
}

// The open windows' titles and whether each holds unsaved changes.
QStringList windows(TestProgram& program) {
  QStringList shown;
  for (CChildFrame* frame : program.frame().children()) {
    shown << frame->document().title() + (frame->controller().modified() ? "*" : "");
  }
  shown.sort();
  return shown;
}

}  // namespace

class DesktopRecoveryTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    clearScratchSettings();
    QDir(recoveryFolder()).removeRecursively();
    qputenv("KELDOVAR_AUTOSAVE_MS", "20");
  }
  void cleanup() {
    qunsetenv("KELDOVAR_AUTOSAVE_MS");
    QDir(recoveryFolder()).removeRecursively();
  }

  void unsavedDocumentsComeBackTitledAsBeforeAndSaveAsksFirst() {
    CurrentDirectoryGuard guard;
    QTemporaryDir dir;
    const QString saved = dir.filePath("north.kdv");
    QString untitledReport, savedReport;
    {
      TestProgram crashed(true, false, true);
      crashed.app->start({});
      plantAndGrow(crashed, "16");
      untitledReport = crashed.reportText();
      crashed.frame().newDocument();
      plantAndGrow(crashed, "20");
      QVERIFY(crashed.active().document().saveTo(saved).ok());
      QTRY_COMPARE(copies().size(), 1);  // Save took the second one's copy away
      crashed.source.answer({{"age", "24"}});
      crashed.frame().runCommand(cmd::kGrow);
      savedReport = crashed.reportText();
      QTRY_COMPARE(copies().size(), 2);
      // The program goes without Exit, as in a crash or a lost session.
    }
    TestProgram next(true, false, true);
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    next.app->start({});
    QCOMPARE(windows(next), QStringList({"KLDVR1*", "north.kdv*"}));
    QCOMPARE(next.reportText(), savedReport);
    // Save asks before it replaces the file the copy was made from.
    QString question;
    answerMessageBox(QMessageBox::Yes, &question);
    next.frame().runCommand(cmd::kSave);
    QVERIFY(question.startsWith(QDir::toNativeSeparators(saved) + " holds a document recovered"));
    QVERIFY(!next.active().controller().modified());
    next.frame().newDocument();
    QCOMPARE(windows(next), QStringList({"KLDVR1*", "KLDVR2", "north.kdv"}));
    for (CChildFrame* frame : next.frame().children()) {
      if (frame->document().title() != "KLDVR1") continue;
      next.frame().mdiArea().setActiveSubWindow(frame);
      QCOMPARE(next.reportText(), untitledReport);
    }
    // Exit with No to the save question leaves nothing behind.
    answerMessageBox(QMessageBox::No);
    QVERIFY(next.frame().close());
    QCOMPARE(QDir(recoveryFolder()).entryList(QDir::Files), QStringList());
  }
};
KELDOVAR_GUI_TEST(DesktopRecoveryTest);

#include "desktop_recovery_test.moc"

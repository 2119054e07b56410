// The desktop program's recovery copies: a run that ends without Exit leaves its unsaved
// documents behind, the next start offers them, and a recovered document is titled and saved as
// the one it came from; and the program killed at random moments loses no step older than the
// autosave interval.
#include <signal.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <system_error>

#include "desktop/recovery_dialog.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/recovery_regime.h"
#include "tests/gui/recovery_rig.h"

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

qint64 monotonicMs() {
  QElapsedTimer now;
  now.start();
  return now.msecsSinceReference();
}

// The crash test's program, with its settings and recovery copies kept in `dir`.
void startKilledProgram(QProcess& program, const QString& dir) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("KELDOVAR_AUTOSAVE_MS", "100");
  environment.insert("XDG_DATA_HOME", dir + "/data");
  environment.insert("XDG_CONFIG_HOME", dir + "/config");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(environment);
  program.start(KELDOVAR_RECOVERY_HARNESS, {"30"});
}

}  // namespace

class DesktopRecoveryTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() {
    clearScratchSettings();
    QDir(recoveryFolder()).removeRecursively();
    qputenv("KELDOVAR_AUTOSAVE_MS", "20");
  }
  void cleanup() {
    qunsetenv("KELDOVAR_AUTOSAVE_MS");
    QDir(recoveryFolder()).removeRecursively();
    QFile::remove(recoveryFolder());
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
      QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1,
                                kEventWait);  // Save took the second one's copy away
      crashed.source.answer({{"age", "24"}});
      crashed.frame().runCommand(cmd::kGrow);
      savedReport = crashed.reportText();
      QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 2, kEventWait);
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
  // A recovery folder that cannot be made, and a copy that cannot be written: each is said in
  // the status bar and a note that does not block the window, a failing copy once.
  void anUnprotectedDocumentIsSaidOnce() {
    auto notes = [](TestProgram& program) {
      return program.frame().findChildren<QMessageBox*>("protectionNote");
    };
    QVERIFY(QDir().mkpath(QFileInfo(recoveryFolder()).absolutePath()));
    QFile(recoveryFolder()).open(QIODevice::WriteOnly);  // a file where the folder belongs
    {
      TestProgram program(true, false, true);
      program.app->start({});
      QCOMPARE(notes(program).size(), 1);
      QVERIFY(notes(program)[0]->isVisible() && !notes(program)[0]->isModal());
      QCOMPARE(notes(program)[0]->text(),
               "Documents are not protected against a crash: the recovery folder " +
                   QDir::toNativeSeparators(recoveryFolder()) + " cannot be used (" +
                   QString::fromStdString(std::generic_category().message(ENOTDIR)) + ").");
      QCOMPARE(program.frame().statusBar()->currentMessage(), notes(program)[0]->text());
    }
    QVERIFY(QFile::remove(recoveryFolder()));
    TestProgram program(true, false, true);
    program.app->start({});
    QVERIFY(notes(program).isEmpty());
    // The first document's copy has a folder in its place.
    QString tag = QString::fromStdString(program.app->recovery()->instanceTag());
    QVERIFY(QDir(recoveryFolder()).mkdir(tag + "_1.kdv"));
    plantAndGrow(program, "16");
    QTRY_COMPARE_WITH_TIMEOUT(notes(program).size(), 1, kEventWait);
    QVERIFY(notes(program)[0]->text().startsWith(
        "Documents are not protected against a crash: a recovery copy could not be written in"));
    program.source.answer({{"age", "20"}});
    program.frame().runCommand(cmd::kGrow);
    program.app->recovery()->waitForWrites();
    QCoreApplication::processEvents();
    QCOMPARE(notes(program).size(), 1);
  }

  // The real program, started with a new document and working a regime through its menu
  // commands, is killed with SIGKILL at a random moment, 50 times. It runs with a 100 ms
  // autosave interval instead of 2 s (KELDOVAR_AUTOSAVE_MS) so that the runs stay short; every
  // step it reported more than 1 s before the kill (the interval and time for a slow disk)
  // must be in the copy the next start offers, and no run may leave a damaged copy.
  void killedProgramLosesNoStepOlderThanTheInterval() {
    constexpr int kRuns = 50;
    constexpr qint64 kSettled = 1000;
    // What the document holds after each step, made through the same commands here.
    std::vector<std::vector<std::uint8_t>> reference;
    {
      TestProgram model;
      model.app->start({});
      reference.push_back(activeStandBytes(model));
      for (int n = 0; n < kRegimeSteps; ++n) {
        runRegimeStep(model, n);
        reference.push_back(activeStandBytes(model));
        QVERIFY2(reference.back() != reference[reference.size() - 2],
                 qPrintable(QString::number(n)));
      }
    }
    QTemporaryDir dir;
    const QString folder =
        dir.path() + "/data/KELDOVAR Test Organization/KELDOVAR Crash Test/recovery";
    QRandomGenerator random(20261207);
    int checkedSteps = 0;
    for (int run = 0; run < kRuns; ++run) {
      QProcess program;
      startKilledProgram(program, dir.path());
      QVERIFY(program.waitForStarted());
      const qint64 pid = program.processId();
      QVERIFY(program.waitForReadyRead(10000));
      QCOMPARE(program.readLine(), QByteArray("ready\n"));
      const qint64 killAt = monotonicMs() + random.bounded(50, 1800);
      int settled = 0;
      auto readLines = [&] {
        while (program.canReadLine()) {
          const QList<QByteArray> line = program.readLine().trimmed().split(' ');
          if (line.size() == 3 && line[2].toLongLong() <= killAt - kSettled) {
            settled = line[1].toInt();
          }
        }
      };
      for (qint64 now = monotonicMs(); now < killAt; now = monotonicMs()) {
        program.waitForReadyRead(static_cast<int>(killAt - now));
        readLines();
      }
      ::kill(static_cast<pid_t>(pid), SIGKILL);
      QVERIFY(program.waitForFinished(10000));
      readLines();

      RecoveryManager::Options options;
      options.folder = folder;
      RecoveryManager next(options);
      QVERIFY(next.start());
      QVERIFY2(next.damagedCopies().empty(), qPrintable(QString("run %1").arg(run)));
      QVERIFY(next.pendingCopies().size() <= 1);
      if (next.pendingCopies().empty()) {
        QCOMPARE(settled, 0);
      } else {
        const RecoveryEntry entry = next.pendingCopies()[0];
        QCOMPARE(entry.record.processId, pid);
        QCOMPARE(entry.displayName, QString("KLDVR1"));
        SteppedDocument recovered;
        QVERIFY(next.recover(entry, next.newDocumentId(), recovered.controller()).ok());
        auto found = std::find(reference.begin(), reference.end(), recovered.bytes());
        QVERIFY2(found - reference.begin() >= settled,
                 qPrintable(QString("run %1: %2 settled steps, copy after step %3")
                                .arg(run)
                                .arg(settled)
                                .arg(found - reference.begin())));
        QVERIFY(found != reference.end());
      }
      checkedSteps += settled;
      next.shutdown();
      QCOMPARE(QDir(folder).entryList({"*.kdv", "*.rec"}, QDir::Files), QStringList());
    }
    // The runs must have tested something: most kills came after settled steps.
    QVERIFY(checkedSteps > kRuns);
  }
};
KELDOVAR_GUI_TEST(DesktopRecoveryTest);

#include "desktop_recovery_test.moc"

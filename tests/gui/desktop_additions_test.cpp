// What a forester missed, through the program's own keys and menus: Undo Last Step, the Window
// menu's list, zooming the report, and Export Tables as CSV.
#include <QFileDialog>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "view/qt/view_font.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

void answerSaveDialog(const QString& path) {
  whenModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

// What `keldovar-cli run` prints or saves of the script, at the tests' clock.
QByteArray batchRun(const QString& script, const QStringList& extra, const QTemporaryDir& dir) {
  QFile file(dir.filePath("regime.kdr"));
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(script.toUtf8());
  file.close();
  QProcess cli;
  cli.start(KELDOVAR_CLI_PATH,
            QStringList{"run", file.fileName(), "--clock", "2024-03-05 14:07:09"} + extra);
  cli.waitForFinished();
  return cli.readAllStandardOutput();
}

void wheel(QWidget* widget, int delta, Qt::KeyboardModifiers modifiers) {
  QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                    modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

}  // namespace

class DesktopAdditionsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  // Ctrl+Z takes back the thinning and the fertilization (what the document then saves is the
  // undo tests' business), then the rest; Undo is enabled only while a step is left.
  void undoLastStep() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QVERIFY(!frame.action(cmd::kUndo)->isEnabled());
    plantExample(program, "16");
    const QString grown = program.reportText();
    program.source.answer({{"n", "200"}, {"p", "yes"}});
    frame.runCommand(cmd::kFertilize);
    program.source.answer({{"ba", "70"}});
    frame.runCommand(cmd::kThinomatic);
    QCOMPARE(program.active().controller().store().lastIndex, 2);
    QVERIFY(frame.action(cmd::kUndo)->isEnabled());
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(program.active().controller().store().lastIndex, 1);
    QCOMPARE(program.reportText(), grown);
    // Back to the new document it was: nothing to save or take back.
    frame.runCommand(cmd::kUndo);
    frame.runCommand(cmd::kUndo);
    QCOMPARE(program.active().controller().store().lastIndex, -1);
    QVERIFY(!frame.action(cmd::kUndo)->isEnabled());
    QVERIFY(!program.active().controller().modified());
  }

  void theWindowMenuListsTheDocuments() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.runCommand(cmd::kNew);
    frame.runCommand(cmd::kNew);
    QStringList shown;
    for (int i = 1; i <= kWindowListCount; ++i) {
      auto* action = frame.findChild<QAction*>(QString("window%1").arg(i));
      if (action->isVisible()) shown << action->text() + (action->isChecked() ? "*" : "");
    }
    QCOMPARE(shown, QStringList({"&1 KLDVR1", "&2 KLDVR2", "&3 KLDVR3*"}));
    frame.findChild<QAction*>("window1")->trigger();
    QCOMPARE(program.active().document().title(), QString("KLDVR1"));
    QVERIFY(frame.findChild<QAction*>("window1")->isChecked());
    QVERIFY(!frame.findChild<QAction*>("window3")->isChecked());
  }

  // Ctrl+wheel, Ctrl+= and Ctrl+- step the font as Increase and Decrease do, Ctrl+0 goes back
  // to the first size, each written to the font file; Fit Width fits the widest line.
  void zoomingTheReport() {
    QTemporaryDir appFolder;
    CurrentDirectoryGuard guard;
    QDir::setCurrent(appFolder.path());
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    plantExample(program, "16");
    CKELDOVARView& view = program.active().view();
    auto height = [&view] { return view.fontDescription().height; };
    const QString fontFile = appFolder.filePath(kFontFileName);
    const std::pair<std::function<void()>, int> steps[] = {
        {[&] { wheel(view.viewport(), 240, Qt::ControlModifier); }, 30},
        {[&] { QTest::keyClick(&view, Qt::Key_Minus, Qt::ControlModifier); }, 29},
        {[&] { QTest::keyClick(&view, Qt::Key_Equal, Qt::ControlModifier); }, 30},
        {[&] { QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier); }, 28},
        {[&] { wheel(view.viewport(), -120, Qt::ControlModifier); }, 27},
    };
    for (const auto& [step, expected] : steps) {
      step();
      QCOMPARE(height(), expected);
      QCOMPARE(loadFontFile(fontFile).value_or(FontDescription{}).height, expected);
    }
    const int scrolled = view.verticalScrollBar()->value();
    wheel(view.viewport(), -120, Qt::NoModifier);  // no Ctrl: the wheel scrolls
    QCOMPARE(height(), 27);
    QVERIFY(view.verticalScrollBar()->value() > scrolled);

    frame.runCommand(cmd::kFitWidth);
    const int window = view.clientPageSize().width();
    QVERIFY(view.reportLayout().docWidth() <= window);
    frame.runCommand(cmd::kIncreaseFont);
    QVERIFY(view.reportLayout().docWidth() > window);
    QCOMPARE(view.fitWidthSteps(), -1);
  }

  // The shown tables as the batch runner writes them; a selection, its rows.
  void exportTablesAsCsv() {
    QTemporaryDir dir;
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    plantExample(program, "16");
    frame.runCommand(cmd::kHarvest);
    answerSaveDialog(dir.filePath("all.csv"));
    frame.runCommand(cmd::kExportCsv);
    QByteArray batch =
        batchRun("plantation si=65 trees=600 survival=85 control=herbwoody\ngrow 16\nharvest\n",
                 {"--format", "csv"}, dir);
    QVERIFY(batch.contains(",Harvest,"));
    QCOMPARE(fileBytes(dir.filePath("all.csv")), batch);

    CKELDOVARView& view = program.active().view();
    view.resetShown();
    const Qt::KeyboardModifiers move = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(&view, Qt::Key_Right, move);  // table 0, row 0
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    answerSaveDialog(dir.filePath("rows.csv"));
    frame.runCommand(cmd::kExportCsv);
    QList<QByteArray> lines = fileBytes(dir.filePath("rows.csv")).split('\n');
    QList<QByteArray> all = batch.split('\n');
    QCOMPARE(lines, all.mid(0, 4) + QList<QByteArray>{""});
  }
};
KELDOVAR_GUI_TEST(DesktopAdditionsTest);

#include "desktop_additions_test.moc"

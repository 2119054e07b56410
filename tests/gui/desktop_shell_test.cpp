// The desktop program's shell: menus, keys, enabling, the "Modified" pane, settings written at
// start, shutdown and on every toggle, Save / Open / Reset View, the window rectangle, help.
#include <QClipboard>
#include <QFileDialog>
#include <QMenuBar>
#include <QMimeData>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/stand_file.h"
#include "document/settings.h"
#include "document/step_messages.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "view/copy_text.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

const FieldTexts kPlantation{
    {"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}};

QStringList visibleMenus(QMainWindow& window) {
  QStringList titles;
  for (QAction* action : window.menuBar()->actions()) {
    if (action->isVisible()) titles << action->text();
  }
  return titles;
}

void answerFileDialog(const QString& path) {
  whenModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return;
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

QSettings scratchSettings() {
  return QSettings(kScratchIdentity.organization, kScratchIdentity.application);
}

// A stand of two tables in the active document.
void plantAndGrow(TestProgram& program, const char* age = "16") {
  program.source.answer(kPlantation);
  program.frame().runCommand(cmd::kInitPlantation);
  program.source.answer({{"age", age}});
  program.frame().runCommand(cmd::kGrow);
}

}  // namespace

class DesktopShellTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void menusToolbarAndKeysComeFromTheCommandTable() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    QCOMPARE(visibleMenus(frame),
             QStringList({"&File", "&Edit", "&Stand", "&Options", "&View", "&Window", "&Help"}));
    QCOMPARE(frame.action(cmd::kFertilize)->shortcut(), QKeySequence("Ctrl+F"));
    QCOMPARE(frame.action(cmd::kRowThin)->shortcut(), QKeySequence("Ctrl+R"));
    QVERIFY(frame.action(cmd::kResetView)->shortcut().isEmpty());
    QCOMPARE(frame.action(cmd::kCopy)->shortcuts(),
             QList<QKeySequence>({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
    QStringList buttons;
    for (QAction* action : frame.findChild<QToolBar*>()->actions()) {
      buttons << (action->isSeparator() ? QString("|") : action->toolTip());
      QVERIFY(action->isSeparator() || !action->icon().isNull());
    }
    QCOMPARE(buttons.join(","),
             QString("New,|,Reset View,|,Open,Save,|,Copy,|,Help Topics,|,Print,|,"
                     "Initialize Existing Unthinned,Initialize Existing Thinned,"
                     "Initialize New Plantation,|,Fertilize,|,Row thin,Low thin,Row and Low thin,"
                     "Thinomatic,|,Grow,|,Harvest"));
    program.active().close();
    QTRY_COMPARE_WITH_TIMEOUT(visibleMenus(frame), QStringList({"&File", "&View", "&Help"}),
                              kEventWait);
    QVERIFY(!frame.action(cmd::kGrow)->isEnabled());
    QVERIFY(frame.action(cmd::kOpen)->isEnabled());
  }

  // Ctrl+F fertilizes (the menu always said so); Ctrl+R row-thins and Reset View has no key.
  void ctrlFAndCtrlRReachTheirCommands() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(program.source.messages.back(), "The stand must have been initialized first.");
    // Ctrl+W is New Plantation's, not the document window's Close.
    program.source.answer(kPlantation);
    QTest::keyClick(&frame, Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(program.active().controller().store().lastIndex, 0);
    plantAndGrow(program);
    program.source.answer({{"n", "150"}});
    QTest::keyClick(&frame, Qt::Key_F, Qt::ControlModifier);
    const StandSnapshot& snapshot = program.active().controller().store().snapshot;
    QCOMPARE(snapshot.fertRecordPending, 1);
    QCOMPARE(snapshot.iFertAge, 16);
    program.source.answer({{"ba", "70"}});
    QTest::keyClick(&frame, Qt::Key_R, Qt::ControlModifier);
    const TableStore& store = program.active().controller().store();
    QCOMPARE(store.lastIndex, 3);
    QCOMPARE(store.tables[3].hasThinningReport, 1);
    // A second thinning at the same age is refused; the status bar says why.
    program.source.answer({{"ba", "60"}});
    frame.runCommand(cmd::kThinomatic);
    QCOMPARE(store.lastIndex, 3);
    QCOMPARE(frame.statusBar()->currentMessage(), QString(kThinRefusedReason));
  }

  void enablingTheModifiedPaneAndCopy() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    auto* pane = frame.findChild<QLabel*>("modifiedPane");
    for (int id : {cmd::kSave, cmd::kSaveAs, cmd::kSelectAll, cmd::kCopy}) {
      QVERIFY2(!frame.action(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    QCOMPARE(pane->text(), QString());
    QVERIFY(pane->minimumWidth() >= pane->fontMetrics().horizontalAdvance(QString(19, ' ')));
    program.source.answer(kPlantation);
    frame.runCommand(cmd::kInitPlantation);
    for (int id : {cmd::kSave, cmd::kSaveAs, cmd::kSelectAll})
      QVERIFY(frame.action(id)->isEnabled());
    QVERIFY(!frame.action(cmd::kCopy)->isEnabled());
    QCOMPARE(pane->text(), QString("Modified"));
    QVERIFY(program.active().isWindowModified());
    QCOMPARE(program.active().windowTitle(), QString("KLDVR1[*]"));
    frame.runCommand(cmd::kSelectAll);
    QVERIFY(frame.action(cmd::kCopy)->isEnabled());
    frame.runCommand(cmd::kCopy);
    const TableStore& store = program.active().controller().store();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString::fromLatin1(selectAllText(store, true, kWindowsLineEnd)));
    // A cancelled step changes nothing, and says so.
    frame.runCommand(cmd::kGrow);
    QCOMPARE(program.source.messages.back(), "Returning to previous conditions. Function aborted.");
    QCOMPARE(store.lastIndex, 0);
  }

  void optionsAreWrittenAtOnceAndStartTheNextDocument() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    QVERIFY(frame.action(cmd::kIncludeFinancial)->isChecked());
    QVERIFY(!frame.action(cmd::kIncludeBargraph)->isChecked());
    QVERIFY(frame.action(cmd::kAllTables)->isChecked());
    for (int id : {cmd::kIncludeFinancial, cmd::kIncludeBargraph, cmd::kAllTables}) {
      frame.runCommand(id);
    }
    QSettings settings = scratchSettings();
    QCOMPARE(settings.value("Options/Financial").toInt(), 0);
    QCOMPARE(settings.value("Options/Bargraph").toInt(), 1);
    QCOMPARE(settings.value("Options/AllTables").toInt(), 0);
    QVERIFY(!frame.action(cmd::kIncludeFinancial)->isChecked());
    QVERIFY(frame.action(cmd::kIncludeBargraph)->isChecked());
    frame.runCommand(cmd::kNew);
    const ViewOptions& options = program.active().controller().options();
    QVERIFY(!options.showFinancial && options.showBargraph && !options.showAllTables);
  }

  void saveOpenAndTheLastFolder() {
    QTemporaryDir folder;
    CurrentDirectoryGuard guard;
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    plantAndGrow(program);
    QString path = folder.filePath("stand.kdv");
    answerFileDialog(path);
    frame.runCommand(cmd::kSave);
    QVERIFY(!program.active().controller().modified());
    QCOMPARE(program.active().windowTitle(), QString("stand.kdv[*]"));
    QCOMPARE(frame.findChild<QAction*>("recentFile1")->text(), QString("&1 stand.kdv"));
    QString shown = program.reportText();
    QVERIFY(QFile::copy(path, folder.filePath("copy.kdv")));
    answerFileDialog(folder.filePath("copy.kdv"));
    frame.runCommand(cmd::kOpen);
    QCOMPARE(frame.children().size(), 2);
    QCOMPARE(program.active().document().title(), QString("copy.kdv"));
    QCOMPARE(program.reportText(), shown);
    QCOMPARE(QFileInfo(scratchSettings().value("Directories/LastCurDir").toString()),
             QFileInfo(folder.path()));
    // The same file again only brings its window forward.
    QCOMPARE(frame.openDocument(path), frame.children().constFirst());
    QCOMPARE(frame.children().size(), 2);
    QDir::setCurrent(QDir::tempPath());
    // A .kdv on the command line opens, and the start goes to the folder of the last Open.
    TestProgram next;
    next.app->start({path});
    QCOMPARE(next.frame().children().size(), 1);
    QCOMPARE(next.active().document().title(), QString("stand.kdv"));
    QCOMPARE(QFileInfo(QDir::currentPath()), QFileInfo(folder.path()));
    QCOMPARE(next.frame().findChild<QAction*>("recentFile2")->text(), QString("&2 copy.kdv"));
  }

  // The folder vanished (a pulled drive): the save says why and nothing is lost.
  void aFailedSaveLeavesTheDocumentAndTheOldFile() {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("drive");
    TestProgram program;
    program.app->start({});
    plantAndGrow(program);
    QString path = folder.filePath("drive/stand.kdv");
    answerFileDialog(path);
    program.frame().runCommand(cmd::kSave);
    QByteArray saved = fileBytes(path);
    QVERIFY(!saved.isEmpty());
    program.source.answer({{"age", "20"}});
    program.frame().runCommand(cmd::kGrow);
    QVERIFY(QDir(folder.path()).rename("drive", "elsewhere"));
    QString text;
    answerMessageBox(QMessageBox::Ok, &text);
    program.frame().runCommand(cmd::kSave);
    QVERIFY2(text.contains(path) && text.contains("No such file or directory"), qPrintable(text));
    QVERIFY(program.active().controller().modified());
    QCOMPARE(program.frame().findChild<QLabel*>("modifiedPane")->text(), QString("Modified"));
    QCOMPARE(fileBytes(folder.filePath("elsewhere/stand.kdv")), saved);
  }

  // Export PDF is disabled on an empty report, writes the printed pages, and leaves an old file
  // whole when it cannot write.
  void exportPdfWritesThePrintedReport() {
    QTemporaryDir folder;
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.runCommand(cmd::kNew);
    for (int id : {cmd::kPrint, cmd::kPrintPreview, cmd::kExportPdf}) {
      QVERIFY(!frame.action(id)->isEnabled());
    }
    plantAndGrow(program);
    QVERIFY(frame.action(cmd::kExportPdf)->isEnabled());
    QString path = folder.filePath("report.pdf");
    answerFileDialog(path);
    frame.runCommand(cmd::kExportPdf);
    QVERIFY(fileBytes(path).startsWith("%PDF-"));
    QString blocked = folder.filePath("missing/report.pdf");
    answerFileDialog(blocked);
    QString text;
    answerMessageBox(QMessageBox::Ok, &text);
    frame.runCommand(cmd::kExportPdf);
    QVERIFY2(text.contains("No such file or directory"), qPrintable(text));
  }

  void resetViewAnswers() {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("drive");
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    const DocumentController& controller = program.active().controller();
    plantAndGrow(program);
    QString question;
    answerMessageBox(QMessageBox::Cancel, &question);
    frame.runCommand(cmd::kResetView);
    QCOMPARE(question, QString("Save KLDVR1 before resetting?"));
    QCOMPARE(controller.store().lastIndex, 1);
    // Yes, and the save fails: everything stays as it was.
    answerFileDialog(folder.filePath("drive/stand.kdv"));
    frame.runCommand(cmd::kSave);
    program.source.answer({{"age", "20"}});
    frame.runCommand(cmd::kGrow);
    QString shown = program.reportText();
    QVERIFY(QDir(folder.path()).rename("drive", "elsewhere"));
    QString failure;
    whenModal([&failure](QWidget* modal) {
      answerMessageBox(QMessageBox::Ok, &failure);
      qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
    });
    frame.runCommand(cmd::kResetView);
    QVERIFY(failure.contains("stand.kdv"));
    QCOMPARE(controller.store().lastIndex, 2);
    QVERIFY(controller.modified());
    QCOMPARE(program.reportText(), shown);
    answerMessageBox(QMessageBox::No);
    frame.runCommand(cmd::kResetView);
    QCOMPARE(controller.store().lastIndex, -1);
    QVERIFY(!controller.modified());
    QCOMPARE(frame.findChild<QLabel*>("modifiedPane")->text(), QString());
    QVERIFY(!frame.action(cmd::kSave)->isEnabled());
  }

  void windowRectangleRules_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("on screen") << "0100 0050 0900 0700" << QRect(100, 50, 800, 650);
    QTest::newRow("left of the screen") << "-100 0050 0900 0700" << QRect(10, 10, 490, 390);
    QTest::newRow("malformed") << "wide" << QRect(10, 10, 490, 390);
  }
  void windowRectangleRules() {
    QFETCH(QString, stored);
    QFETCH(QRect, expected);
    scratchSettings().setValue("Window size/Rect", stored);
    TestProgram program;
    program.app->start({});
    QCOMPARE(program.frame().normalGeometry(), expected);
    QCOMPARE(program.frame().windowState(), Qt::WindowNoState);
  }

  void iconAndMax() {
    QSettings settings = scratchSettings();
    using States = std::pair<std::pair<int, int>, Qt::WindowStates>;
    for (auto [stored, state] :
         {States{{0, 1}, Qt::WindowMaximized}, States{{1, 0}, Qt::WindowMinimized},
          States{{1, 1}, Qt::WindowMinimized | Qt::WindowMaximized}}) {
      settings.setValue("Window size/Icon", stored.first);
      settings.setValue("Window size/Max", stored.second);
      settings.sync();
      TestProgram program;
      program.app->start({});
      QCOMPARE(program.frame().windowState(), state);
      program.frame().close();
      settings.sync();
      QCOMPARE(settings.value("Window size/Icon").toInt(), stored.first);
      QCOMPARE(settings.value("Window size/Max").toInt(), stored.second);
    }
    // A window left of the screen is written as it was, and refused at the next start.
    settings.setValue("Window size/Max", 0);
    settings.setValue("Window size/Icon", 0);
    settings.sync();
    TestProgram program;
    program.app->start({});
    program.frame().setGeometry(-100, 50, 800, 650);
    QVERIFY(program.frame().close());
    settings.sync();
    QCOMPARE(settings.value("Window size/Rect").toString(), QString("-100 0050 0700 0700"));
    QVERIFY(settings.contains("KELDOVARBarState/State"));
  }

  void closingAModifiedDocumentAsks() {
    TestProgram program;
    program.app->start({});
    plantAndGrow(program);
    QString question;
    answerMessageBox(QMessageBox::Cancel, &question);
    QVERIFY(!program.frame().close());
    QCOMPARE(question, QString("Save changes to KLDVR1?"));
    QCOMPARE(program.frame().children().size(), 1);
    answerMessageBox(QMessageBox::No);
    QVERIFY(program.frame().close());
  }

  void unreadableFilesOpenNothing() {
    QTemporaryDir folder;
    TestProgram program;
    program.app->start({});
    plantAndGrow(program);
    std::vector<std::uint8_t> good = writeStandFile(program.active().controller().content());
    QFile wrong(folder.filePath("wrong.kdv"));
    QVERIFY(wrong.open(QIODevice::WriteOnly) && wrong.write("KDV!....") == 8);
    wrong.close();
    QFile shortFile(folder.filePath("short.kdv"));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(reinterpret_cast<const char*>(good.data()), 100);
    shortFile.close();
    const std::pair<const char*, QString> cases[] = {
        {"wrong.kdv", kWrongVersionMessage},
        {"short.kdv", kBadFormatMessage},
        {"missing.kdv", "Unable to open the file \"" + folder.filePath("missing.kdv") + "\"."}};
    for (const auto& [name, message] : cases) {
      QString text;
      answerMessageBox(QMessageBox::Ok, &text);
      QVERIFY(program.frame().openDocument(folder.filePath(name)) == nullptr);
      QVERIFY2(text.startsWith(message), qPrintable(text));
      QCOMPARE(program.frame().children().size(), 1);
    }
  }

  void aDroppedFileOpens() {
    QTemporaryDir folder;
    TestProgram program;
    program.app->start({});
    plantAndGrow(program);
    QString path = folder.filePath("dropped.kdv");
    QVERIFY(saveStandFile(path.toStdString(), program.active().controller().content()).ok());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&program.frame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&program.frame(), &drop);
    QCOMPARE(program.frame().children().size(), 2);
    QCOMPARE(program.active().document().title(), QString("dropped.kdv"));
    QCOMPARE(program.active().controller().store().lastIndex, 1);
  }

  void helpAndManualOpenFromTheApplicationDirectory() {
    QTemporaryDir appFolder, otherFolder;
    CurrentDirectoryGuard guard;
    QDir::setCurrent(appFolder.path());
    QString directory = QDir::currentPath() + "/";
    TestProgram program(false);
    program.app->start({});
    QCOMPARE(program.app->applicationDirectory(), directory);
    QString text;
    answerMessageBox(QMessageBox::Ok, &text);
    program.frame().runCommand(cmd::kHelp);
    QCOMPARE(text, "Unable to find  " + directory + "Keldovar.chm");
    QFile(directory + "Keldovar.chm").open(QIODevice::WriteOnly);
    answerMessageBox(QMessageBox::Ok, &text);
    program.frame().runCommand(cmd::kContextHelp);
    QCOMPARE(text, QString("Unable to launch Keldovar.chm"));
    QCOMPARE(program.openedUrls.last(), QUrl::fromLocalFile(directory + "Keldovar.chm"));
    QStringList manualMessages;
    auto answerAbout = [&manualMessages](QWidget* about) {
      for (int i = 0; i < 2; ++i) {
        whenModal([&manualMessages](QWidget* box) {
          manualMessages << qobject_cast<QMessageBox*>(box)->text();
          qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        about->findChild<QPushButton*>("manualButton")->click();
        QFile(QDir::currentPath() + "/" + kManualFileName).open(QIODevice::WriteOnly);
      }
      qobject_cast<QDialog*>(about)->accept();
    };
    whenModal(answerAbout);
    program.frame().runCommand(cmd::kAbout);
    QCOMPARE(manualMessages,
             QStringList({"Unable to find  " + directory + kManualFileName,
                          "The Adobe Acrobat Reader must be installed on your computer before you "
                          "may view the user manual.\n https://get.adobe.com/reader/"}));
    // Started with a file from another folder, the help is still looked for where it was.
    program.frame().close();
    QDir::setCurrent(otherFolder.path());
    TestProgram withFile(false);
    answerMessageBox(QMessageBox::Ok);
    withFile.app->start({otherFolder.filePath("none.kdv")});
    QCOMPARE(withFile.app->applicationDirectory(), directory);
    QCOMPARE(fontFileLocation(directory), directory + kFontFileName);
    QVERIFY(fontFileLocation("/nonexistent/")
                .startsWith(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
  }
};
KELDOVAR_GUI_TEST(DesktopShellTest);

#include "desktop_shell_test.moc"

// Several documents over the one engine, and the desktop program storing what the batch runner
// stores for the same steps.
#include <QProcess>
#include <QStatusBar>
#include <QTest>

#include "app/safe_file.h"
#include "app/stand_file.h"
#include "document/settings.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "view/copy_text.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

struct Step {
  int command;
  std::vector<FieldTexts> answers;
};

const std::vector<Step> kStandA = {
    {cmd::kInitPlantation,
     {{{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}}},
    {cmd::kGrow, {{{"age", "16"}}}},
};
const std::vector<Step> kStandB = {
    {cmd::kInitUnthinned, {{{"age", "14"}, {"trees", "700"}, {"ba", "110"}, {"si", "60"}}}},
    {cmd::kThinomatic, {{{"ba", "80"}}}},
};
const Step kGrowATo22{cmd::kGrow, {{{"age", "22"}}}};

void run(TestProgram& program, const Step& step) {
  for (const FieldTexts& answer : step.answers) program.source.answer(answer);
  program.frame().runCommand(step.command);
}

// The same steps through a document of its own, with nothing else sharing its engine.
std::string aloneReport(const std::vector<Step>& steps) {
  FixedClock clock(kTestTime);
  Session session(&clock);
  MemorySettingsStore store;
  ScriptedSource source;
  CheckedPrompts prompts(source);
  DocumentDefaults defaults = builtInDefaults();
  DocumentController controller(session, prompts, store, defaults.settings, defaults.options);
  for (const Step& step : steps) {
    for (const FieldTexts& answer : step.answers) source.answer(answer);
    if (step.command == cmd::kInitPlantation) controller.initialize(kNewPlantation);
    if (step.command == cmd::kInitUnthinned) controller.initialize(kExistingUnthinned);
    if (step.command == cmd::kGrow) controller.grow();
  }
  return selectAllText(controller.store(), true, kUnixLineEnd);
}

// Answers Save's question with `button` and keeps its text; No is followed by Save As, which
// is cancelled.
void answerSaveQuestion(QMessageBox::StandardButton button, QString* question) {
  whenModal([button, question](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) {
      static_cast<QDialog*>(modal)->reject();
      return;
    }
    *question = box->text();
    if (button == QMessageBox::No) {
      whenModal([](QWidget* saveAs) { static_cast<QDialog*>(saveAs)->reject(); });
    }
    box->button(button)->click();
  });
}

}  // namespace

class DesktopDocumentsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  // A grows, B thins, A grows again from its own stand; and while A's step waits for its
  // dialog, a command for B is refused rather than run on the shared engine.
  void interleavedDocumentsKeepTheirOwnStands() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    CChildFrame* a = &program.active();
    for (const Step& step : kStandA) run(program, step);
    CChildFrame* b = frame.newDocument();
    for (const Step& step : kStandB) run(program, step);
    QCOMPARE(b->controller().store().lastIndex, 1);
    QCOMPARE(b->controller().store().tables[1].hasThinningReport, 1);
    frame.mdiArea().setActiveSubWindow(a);
    program.source.whileAsked([&] {
      frame.mdiArea().setActiveSubWindow(b);
      program.source.answer({{"age", "30"}});
      frame.runCommand(cmd::kGrow);
      frame.mdiArea().setActiveSubWindow(a);
    });
    program.source.answer(kGrowATo22.answers[0]);
    frame.runCommand(cmd::kGrow);
    QCOMPARE(b->controller().store().lastIndex, 1);
    QCOMPARE(frame.statusBar()->currentMessage(),
             QString("Finish or cancel the open dialog first."));
    QCOMPARE(a->controller().store().lastIndex, 2);
    std::vector<Step> aAlone = kStandA;
    aAlone.push_back(kGrowATo22);
    QCOMPARE(selectAllText(a->controller().store(), true, kUnixLineEnd), aloneReport(aAlone));
  }

  // Another program (or window) saved over the open file: Save asks before it replaces that
  // work, No gives Save As, and a file unchanged or gone is saved without a word.
  void saveAsksBeforeReplacingAFileChangedElsewhere() {
    CurrentDirectoryGuard guard;
    QTemporaryDir folder;
    const QString path = folder.filePath("real.kdv");
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH, {"run", "-", "--out", path});
    cli.write("plantation si=65 trees=600 survival=85\ngrow 16\n");
    cli.closeWriteChannel();
    QVERIFY(cli.waitForFinished() && cli.exitCode() == 0);
    const QByteArray base = fileBytes(path);
    auto write = [&path](const QByteArray& bytes, QIODevice::OpenMode mode) {
      QFile file(path);
      QVERIFY(file.open(mode));
      file.write(bytes);
    };
    struct Change {
      const char* what;
      bool asks;
      std::function<void()> make;
    };
    const Change changes[] = {
        {"unchanged", false, [] {}},
        {"saved over", true,
         [&] {
           std::vector<std::uint8_t> bytes(base.begin(), base.end());
           QCOMPARE(replaceFileContents(path.toStdString(), bytes), 0);
         }},
        {"written in place", true, [&] { write("x", QIODevice::Append); }},
        {"removed", false, [&] { QVERIFY(QFile::remove(path)); }},
    };
    for (const auto& [what, asks, change] : changes) {
      write(base, QIODevice::WriteOnly | QIODevice::Truncate);
      TestProgram program;
      program.app->start({});
      CChildFrame* frame = program.frame().openDocument(path);
      QVERIFY(frame != nullptr);
      run(program, kGrowATo22);
      change();
      const QByteArray before = fileBytes(path);
      const std::vector<std::uint8_t> mine = writeStandFile(frame->controller().content());
      const QByteArray expected(reinterpret_cast<const char*>(mine.data()), qsizetype(mine.size()));
      QString question;
      if (asks) {
        answerSaveQuestion(QMessageBox::No, &question);
        program.frame().runCommand(cmd::kSave);
        QCOMPARE(question, QDir::toNativeSeparators(path) +
                               " was changed by another program since it was opened or saved "
                               "here. Replace it with this document?");
        QCOMPARE(fileBytes(path), before);
        QVERIFY(frame->controller().modified());
        answerSaveQuestion(QMessageBox::Yes, &question);
      }
      program.frame().runCommand(cmd::kSave);
      QVERIFY2(!frame->controller().modified(), what);
      QCOMPARE(fileBytes(path), expected);
      // Saved here: the next Save asks nothing.
      run(program, {cmd::kGrow, {{{"age", "26"}}}});
      program.frame().runCommand(cmd::kSave);
      QVERIFY2(!frame->controller().modified(), what);
    }
  }

  void theSameStepsStoreTheBatchRunnersFile() {
    QTemporaryDir folder;
    QString script = folder.filePath("regime.kdr");
    QFile scriptFile(script);
    QVERIFY(scriptFile.open(QIODevice::WriteOnly));
    scriptFile.write(
        "plantation si=65 trees=600 survival=85 control=herbwoody\n"
        "grow 16\n"
        "fertilize n=150 p=yes\n"
        "thin rowlow ba=75 row=33\n"
        "grow 26\n"
        "thin low dbh=7\n"
        "grow 32\n"
        "harvest\n");
    scriptFile.close();
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH, {"run", script, "--clock", "2024-03-05 14:07:09", "--out",
                                  folder.filePath("cli.kdv")});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);

    TestProgram program;
    program.app->start({});
    const std::vector<Step> steps = {
        kStandA[0],
        kStandA[1],
        {cmd::kFertilize, {{{"n", "150"}, {"p", "yes"}}}},
        {cmd::kRowLowThin, {{{"ba", "75"}, {"row", "33"}}}},
        {cmd::kGrow, {{{"age", "26"}}}},
        {cmd::kLowThin, {{{"method", "dbh"}}, {{"dbh", "7"}}}},
        {cmd::kGrow, {{{"age", "32"}}}},
        {cmd::kHarvest, {}},
    };
    for (const Step& step : steps) run(program, step);
    QCOMPARE(program.active().controller().store().lastIndex, 6);
    QString path = folder.filePath("desktop.kdv");
    QVERIFY(program.active().document().saveTo(path).ok());
    QByteArray batch = fileBytes(folder.filePath("cli.kdv"));
    QVERIFY(!batch.isEmpty());
    QCOMPARE(fileBytes(path), batch);
  }
};
KELDOVAR_GUI_TEST(DesktopDocumentsTest);

#include "desktop_documents_test.moc"

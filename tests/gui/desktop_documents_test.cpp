// Several documents over the one engine, and the desktop program storing what the batch runner
// stores for the same steps.
#include <QProcess>
#include <QStatusBar>
#include <QTest>

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

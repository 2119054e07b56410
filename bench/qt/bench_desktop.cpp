// The desktop program with a 100-table document: start-up to a painted main window, and a
// command from its keypress to the repainted window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "app/stand_file.h"
#include "bench/bench_time.h"
#include "desktop/keldovar_app.h"
#include "document/settings.h"
#include "script/checked_prompts.h"

namespace keldovar::bench {
namespace {

const AppIdentity kIdentity{QStringLiteral("KELDOVAR Bench Organization"),
                            QStringLiteral("KELDOVAR Bench")};

// Every dialog answered with the same texts: an unthinned stand, again and again.
class SameAnswers final : public FieldSource {
 public:
  std::optional<FieldTexts> fields(DialogId) override {
    return FieldTexts{{"age", "16"}, {"trees", "550"}, {"ba", "95"}, {"si", "62"}};
  }
  void showMessage(const Message&) override {}
};

QApplication& application() {
  static int argc = 1;
  static char name[] = "bench_desktop";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  static QApplication app(argc, argv);
  return app;
}

// A stand file of 100 tables, made once.
const QString& hundredTableFile() {
  static QTemporaryDir folder;
  static QString path = [] {
    FixedClock clock(benchTime());
    Session session(&clock);
    MemorySettingsStore settings;
    SameAnswers answers;
    CheckedPrompts prompts(answers);
    DocumentDefaults defaults = builtInDefaults();
    DocumentController document(session, prompts, settings, defaults.settings, defaults.options);
    for (int i = 0; i < kTableCapacity; ++i) document.initialize(kExistingUnthinned);
    QString file = folder.filePath(QStringLiteral("hundred.kdv"));
    saveStandFile(file.toStdString(), document.content());
    return file;
  }();
  return path;
}

struct Program {
  Program() {
    QSettings(kIdentity.organization, kIdentity.application).clear();
    StartOptions options;
    options.identity = kIdentity;
    options.clock = &clock;
    options.makePrompts = [this](QWidget*) -> std::unique_ptr<Prompts> {
      return std::make_unique<CheckedPrompts>(answers);
    };
    options.openUrl = [](const QUrl&) { return false; };
    app = std::make_unique<CKELDOVARApp>(std::move(options));
  }
  FixedClock clock{benchTime()};
  SameAnswers answers;
  std::unique_ptr<CKELDOVARApp> app;
};

void BM_StartupToPaintedWindow(benchmark::State& state) {
  application();
  const QString& file = hundredTableFile();
  for (auto _ : state) {
    auto program = std::make_unique<Program>();
    program->app->start({file});
    program->app->mainFrame().repaint();
    state.PauseTiming();
    program.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupToPaintedWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// A command on the open 100-table document, then the window painted again.
template <typename Command>
void measureCommand(benchmark::State& state, Command command) {
  application();
  Program program;
  program.app->start({hundredTableFile()});
  CMainFrame& frame = program.app->mainFrame();
  frame.activateWindow();
  if (!QTest::qWaitForWindowActive(&frame)) state.SkipWithError("the window never became active");
  for (auto _ : state) {
    command(frame);
    frame.repaint();
  }
}

void BM_KeypressInitializeToRepaint(benchmark::State& state) {
  // The store is full: every step replaces the newest table.
  measureCommand(
      state, [](CMainFrame& frame) { QTest::keyClick(&frame, Qt::Key_U, Qt::ControlModifier); });
}
BENCHMARK(BM_KeypressInitializeToRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ViewAllTablesToRepaint(benchmark::State& state) {
  measureCommand(state, [](CMainFrame& frame) { frame.runCommand(command_ids::kAllTables); });
}
BENCHMARK(BM_ViewAllTablesToRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeypressCopyToRepaint(benchmark::State& state) {
  measureCommand(state, [](CMainFrame& frame) {
    frame.runCommand(command_ids::kSelectAll);
    QTest::keyClick(&frame, Qt::Key_C, Qt::ControlModifier);
  });
}
BENCHMARK(BM_KeypressCopyToRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace keldovar::bench

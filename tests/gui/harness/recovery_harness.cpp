// The desktop program as the crash test starts and kills it: the real start-up, windows and
// recovery copies, with the dialogs' answers scripted and a timer that works a regime through
// the menu commands. It prints "ready", then "stored N T" once N steps are stored, T being the
// system's monotonic clock in milliseconds, for the test to tell which steps had settled.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "tests/gui/recovery_regime.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName("KELDOVAR Test Organization");
  QApplication::setApplicationName("KELDOVAR Crash Test");
  if (argc != 2) {
    std::fprintf(stderr, "usage: recovery_harness STEP_MILLISECONDS\n");
    return 2;
  }
  keldovar::test::TestProgram program(true, false, true);
  program.app->start({});
  int steps = 0;
  QTimer stepper;
  QObject::connect(&stepper, &QTimer::timeout, &stepper, [&] {
    if (steps >= keldovar::test::kRegimeSteps) return;
    const std::vector<std::uint8_t> before = keldovar::test::activeStandBytes(program);
    keldovar::test::runRegimeStep(program, steps);
    if (keldovar::test::activeStandBytes(program) == before) {
      std::fprintf(stderr, "step %d stored nothing\n", steps);
      for (const std::string& message : program.source.messages) {
        std::fprintf(stderr, "%s\n", message.c_str());
      }
      QApplication::exit(1);
      return;
    }
    ++steps;
    QElapsedTimer now;
    now.start();
    std::printf("stored %d %lld\n", steps, static_cast<long long>(now.msecsSinceReference()));
    std::fflush(stdout);
  });
  stepper.start(QString::fromLocal8Bit(argv[1]).toInt());
  std::printf("ready\n");
  std::fflush(stdout);
  return QApplication::exec();
}

// A program the crash test kills: one untitled document that takes a step every few
// milliseconds, with its recovery copies kept as the desktop program keeps them. It prints
// "ready" and then "stored N" once N steps are stored, for the test to time its kill by.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "tests/gui/recovery_rig.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: recovery_harness FOLDER STEP_MILLISECONDS\n");
    return 2;
  }
  keldovar::RecoveryManager::Options options;
  options.folder = QString::fromLocal8Bit(argv[1]);
  keldovar::RecoveryManager manager(options);
  if (!manager.start()) return 1;
  keldovar::test::SteppedDocument document;
  int id = manager.newDocumentId();
  keldovar::test::RecoveryForwarder forwarder(manager, id, {QString(), 1}, document.controller());
  document.controller().setListener(&forwarder);
  int steps = 0;
  QTimer stepper;
  QObject::connect(&stepper, &QTimer::timeout, [&] {
    if (steps >= 90 || !document.step(steps)) return;
    ++steps;
    std::printf("stored %d\n", steps);
    std::fflush(stdout);
  });
  stepper.start(QString::fromLocal8Bit(argv[2]).toInt());
  std::printf("ready\n");
  std::fflush(stdout);
  return QCoreApplication::exec();
}

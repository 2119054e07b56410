// Runs every registered QtTest class offscreen, with settings kept away from the user's.
#include <QApplication>
#include <QStandardPaths>
#include <QTest>

#include "tests/gui/gui_test_registry.h"

namespace keldovar::test {
std::vector<GuiTestFactory>& guiTests() {
  static std::vector<GuiTestFactory> tests;
  return tests;
}
}  // namespace keldovar::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName("KELDOVAR Test Organization");
  QApplication::setApplicationName("KELDOVAR Tests");
  // KELDOVAR_GUI_TEST=ClassName runs that class alone, for a quick turn while working on it.
  QByteArray only = qgetenv("KELDOVAR_GUI_TEST");
  int failures = 0;
  for (const auto& make : keldovar::test::guiTests()) {
    auto test = make();
    if (!only.isEmpty() && only != test->metaObject()->className()) continue;
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}

// The GUI test binary starts, and the toolkit's offscreen platform is in use.
#include <QGuiApplication>
#include <QTest>

#include "tests/gui/gui_test_registry.h"

class SmokeTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void runsOffscreen() { QCOMPARE(QGuiApplication::platformName(), QString("offscreen")); }
};
KELDOVAR_GUI_TEST(SmokeTest);

#include "smoke_test.moc"

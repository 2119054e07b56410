// The desktop program.
#include <QApplication>
#include <QIcon>

#include "desktop/keldovar_app.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Brakkel Forestry"));
  QApplication::setApplicationName(QStringLiteral("KELDOVAR"));
  keldovar::StartOptions options;
  options.recoveryCopies = true;
  keldovar::CKELDOVARApp program(std::move(options));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/keldovar.svg")));
  program.start(QApplication::arguments().mid(1));
  return QApplication::exec();
}

// Help and manual. A file that is missing is told apart from one that no viewer opens.
#include "desktop/help_launcher.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace keldovar {
namespace {

QString notFound(const QString& applicationDirectory, const char* fileName) {
  return "Unable to find  " + applicationDirectory + fileName;
}

}  // namespace

UrlOpener desktopUrlOpener() {
  return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QString launchHelp(const QString& applicationDirectory, const UrlOpener& open) {
  QString path = applicationDirectory + kHelpFileName;
  if (!QFileInfo(path).isFile()) return notFound(applicationDirectory, kHelpFileName);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool opened = open(QUrl::fromLocalFile(path));
  QApplication::restoreOverrideCursor();
  return opened ? QString() : QString("Unable to launch Keldovar.chm");
}

QString launchManual(const QString& applicationDirectory, const UrlOpener& open) {
  QString path = applicationDirectory + kManualFileName;
  if (!QFileInfo(path).isFile()) return notFound(applicationDirectory, kManualFileName);
  // The desktop does not say why it could not open a file that exists: the likely reason is
  // that no PDF reader is installed.
  if (open(QUrl::fromLocalFile(path))) return {};
  return QString(
             "The Adobe Acrobat Reader must be installed on your computer before you may view "
             "the user manual.\n ") +
         kReaderAddress;
}

void showLauncherMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "KELDOVAR", text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace keldovar

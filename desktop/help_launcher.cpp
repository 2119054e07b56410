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
  return QStringLiteral("Unable to find  ") + applicationDirectory + QString::fromUtf8(fileName);
}

}  // namespace

UrlOpener desktopUrlOpener() {
  return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QString launchHelp(const QString& applicationDirectory, const UrlOpener& open) {
  QString path = applicationDirectory + QString::fromUtf8(kHelpFileName);
  if (!QFileInfo(path).isFile()) return notFound(applicationDirectory, kHelpFileName);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool opened = open(QUrl::fromLocalFile(path));
  QApplication::restoreOverrideCursor();
  return opened ? QString() : QStringLiteral("Unable to launch Keldovar.chm");
}

QString launchManual(const QString& applicationDirectory, const UrlOpener& open) {
  QString path = applicationDirectory + QString::fromUtf8(kManualFileName);
  if (!QFileInfo(path).isFile()) return notFound(applicationDirectory, kManualFileName);
  // The desktop does not say why it could not open a file that exists: the likely reason is
  // that no PDF reader is installed.
  if (open(QUrl::fromLocalFile(path))) return {};
  return QStringLiteral(
             "The Adobe Acrobat Reader must be installed on your computer before you may view "
             "the user manual.\n ") +
         QString::fromLatin1(kReaderAddress);
}

void showLauncherMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("KELDOVAR"), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace keldovar

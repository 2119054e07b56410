// Help and manual. A file that is missing is told apart from one that no viewer opens.
#include "desktop/help_launcher.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

namespace keldovar {
namespace {

constexpr int kQueryTimeoutMs = 5000;

QString notFound(const QString& applicationDirectory, const char* fileName) {
  return "Unable to find  " + applicationDirectory + fileName;
}

bool noViewer(const Launcher& launcher, const char* type) {
  std::optional<bool> known = launcher.hasViewer ? launcher.hasViewer(type) : std::nullopt;
  return known.has_value() && !*known;
}

}  // namespace

UrlOpener desktopUrlOpener() {
  return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

ViewerCheck desktopViewerCheck() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  return [](const QString& mimeType) -> std::optional<bool> {
    QString tool = QStandardPaths::findExecutable("xdg-mime");
    if (tool.isEmpty()) return std::nullopt;
    QProcess query;
    query.start(tool, {"query", "default", mimeType});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
      query.kill();
      query.waitForFinished();
      return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return std::nullopt;
    return !query.readAllStandardOutput().trimmed().isEmpty();
  };
#else
  return [](const QString&) -> std::optional<bool> { return std::nullopt; };
#endif
}

QString launchHelp(const QString& applicationDirectory, const Launcher& launcher) {
  QString path = applicationDirectory + kHelpFileName;
  if (!QFileInfo(path).isFile()) return notFound(applicationDirectory, kHelpFileName);
  const QString failed("Unable to launch Keldovar.chm");
  if (noViewer(launcher, kHelpFileType)) return failed;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool opened = launcher.open(QUrl::fromLocalFile(path));
  QApplication::restoreOverrideCursor();
  return opened ? QString() : failed;
}

QString launchManual(const QString& applicationDirectory, const Launcher& launcher) {
  QString path = applicationDirectory + kManualFileName;
  if (!QFileInfo(path).isFile()) return notFound(applicationDirectory, kManualFileName);
  const QString noReader = QString(
                               "The Adobe Acrobat Reader must be installed on your computer "
                               "before you may view the user manual.\n ") +
                           kReaderAddress;
  std::optional<bool> known =
      launcher.hasViewer ? launcher.hasViewer(kManualFileType) : std::nullopt;
  if (known.has_value() && !*known) return noReader;
  if (launcher.open(QUrl::fromLocalFile(path))) return {};
  // A desktop that cannot tell whether a reader exists does not say why the file would not
  // open: the likely reason is that none is installed.
  return known.has_value()
             ? QString("Unable to launch KELDOVAR Documentation and User's Manual.pdf")
             : noReader;
}

void showLauncherMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "KELDOVAR", text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace keldovar

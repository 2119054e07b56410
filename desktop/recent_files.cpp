// Recent files: newest first, no repeats, written at once so another start sees them.
#include "desktop/recent_files.h"

#include <QDir>
#include <QFileInfo>

namespace keldovar {
namespace {

constexpr const char* kSection = "Recent File List";

QString entryKey(int index) {
  return QStringLiteral("%1/File%2").arg(QLatin1String(kSection)).arg(index + 1);
}

}  // namespace

RecentFiles::RecentFiles(QSettings& settings, const std::array<QAction*, kRecentFileCount>& actions)
    : settings_(settings), actions_(actions) {
  for (int i = 0; i < kRecentFileCount; ++i) {
    QString path = settings_.value(entryKey(i)).toString();
    if (!path.isEmpty() && !paths_.contains(path)) paths_.append(path);
  }
  show();
}

void RecentFiles::add(const QString& path) {
  QString absolute = QFileInfo(path).absoluteFilePath();
  paths_.removeAll(absolute);
  paths_.prepend(absolute);
  while (paths_.size() > kRecentFileCount) paths_.removeLast();
  write();
  show();
}

void RecentFiles::remove(const QString& path) {
  paths_.removeAll(QFileInfo(path).absoluteFilePath());
  write();
  show();
}

void RecentFiles::show() {
  for (int i = 0; i < kRecentFileCount; ++i) {
    QAction* action = actions_[static_cast<std::size_t>(i)];
    bool used = i < paths_.size();
    action->setVisible(used);
    if (!used) continue;
    const QString& path = paths_[i];
    action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    action->setStatusTip(QDir::toNativeSeparators(path));
    action->setData(path);
  }
}

void RecentFiles::write() {
  for (int i = 0; i < kRecentFileCount; ++i) {
    if (i < paths_.size()) {
      settings_.setValue(entryKey(i), paths_[i]);
    } else {
      settings_.remove(entryKey(i));
    }
  }
  settings_.sync();
}

}  // namespace keldovar

// The File menu's list of the eight most recently used documents, kept in the settings.
#pragma once

#include <QAction>
#include <QSettings>
#include <QStringList>
#include <array>

#include "script/commands.h"

namespace keldovar {

class RecentFiles {
 public:
  // The actions are the menus' numbered entries; each stays hidden while it names no file.
  RecentFiles(QSettings& settings, const std::array<QAction*, kRecentFileCount>& actions);

  void add(const QString& path);
  void remove(const QString& path);
  const QStringList& paths() const { return paths_; }

 private:
  void show();
  void write();

  QSettings& settings_;
  std::array<QAction*, kRecentFileCount> actions_;
  QStringList paths_;
};

}  // namespace keldovar

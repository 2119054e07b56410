// The main window's actions, menus and toolbar, all made from the command table.
#pragma once

#include <QAction>
#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <array>
#include <functional>
#include <map>

#include "script/commands.h"

namespace keldovar {

class CommandActions {
 public:
  // `run` receives the command identifier of every action triggered.
  CommandActions(QMainWindow& window, const std::function<void(int)>& run);

  QAction* action(int id) const;
  const std::array<QAction*, kRecentFileCount>& recentFileActions() const { return recent_; }
  // The Window menu's list: the first documents' titles, numbered, the active one checked.
  void showWindows(const QStringList& titles, int active);
  // The commands that need a document window.
  bool needsDocument(int id) const;
  const std::map<int, QAction*>& actions() const { return actions_; }

  // The menus without a document (File, View, Help) and with one (the full menu).
  void buildMenus(QMainWindow& window);
  void showDocumentMenus(bool documentOpen);
  QToolBar* buildToolBar(QMainWindow& window);

 private:
  QMenu* addMenu(QMainWindow& window, const char* title, std::initializer_list<int> ids);
  void addCommands(QMenu* menu, std::initializer_list<int> ids);
  void addRecentFiles(QMenu* menu);
  // Numbered entries that run `first` + i, hidden until they name something.
  template <std::size_t N>
  void makeNumbered(QMainWindow& window, const std::function<void(int)>& run, int first,
                    const char* name, std::array<QAction*, N>& out);

  std::map<int, QAction*> actions_;
  std::array<QAction*, kRecentFileCount> recent_{};
  std::array<QAction*, kWindowListCount> windows_{};
  QList<QMenu*> withoutDocument_;
  QList<QMenu*> withDocument_;
};

}  // namespace keldovar

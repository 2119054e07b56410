// Placement under "Window size", the toolbar layout under "KELDOVARBarState".
#include "desktop/window_state.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/window_placement.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

using settings_keys::kWindowSize;
constexpr const char* kBarState = "KELDOVARBarState/State";

ShowState currentShowState(const QMainWindow& window) {
  Qt::WindowStates state = window.windowState();
  bool maximized = state.testFlag(Qt::WindowMaximized);
  if (state.testFlag(Qt::WindowMinimized)) {
    return maximized ? ShowState::MinimizedRestoringMaximized : ShowState::Minimized;
  }
  return maximized ? ShowState::Maximized : ShowState::Normal;
}

}  // namespace

void restoreWindowState(QMainWindow& window, QtSettingsStore& settings) {
  QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  std::string text = settings.readString(kWindowSize, "Rect").value_or("");
  WindowRect rect = acceptedWindowRect(text, screen.width(), screen.height());
  window.setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  window.restoreState(settings.settings().value(kBarState).toByteArray());
  ShowState show = showStateFrom(settings.readInt(kWindowSize, "Icon").value_or(0),
                                 settings.readInt(kWindowSize, "Max").value_or(0));
  switch (show) {
    case ShowState::Normal:
      window.showNormal();
      break;
    case ShowState::Maximized:
      window.showMaximized();
      break;
    case ShowState::Minimized:
      window.showMinimized();
      break;
    case ShowState::MinimizedRestoringMaximized:
      window.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
      window.show();
      break;
  }
}

void saveWindowState(const QMainWindow& window, QtSettingsStore& settings) {
  QRect normal = window.normalGeometry();
  WindowRect rect{normal.left(), normal.top(), normal.left() + normal.width(),
                  normal.top() + normal.height()};
  StoredShowState stored = storedShowState(currentShowState(window));
  settings.writeString(kWindowSize, "Rect", formatWindowRect(rect));
  settings.writeInt(kWindowSize, "Icon", stored.icon);
  settings.writeInt(kWindowSize, "Max", stored.max);
  settings.settings().setValue(kBarState, window.saveState());
  settings.settings().sync();
}

}  // namespace keldovar

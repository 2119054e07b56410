// The main window's placement and toolbar layout, read at start-up and written at shutdown.
#pragma once

#include <QMainWindow>

#include "desktop/qt_settings_store.h"

namespace keldovar {

// Applies the stored rectangle (or the default one), the toolbar layout and the show state,
// and shows the window.
void restoreWindowState(QMainWindow& window, QtSettingsStore& settings);
void saveWindowState(const QMainWindow& window, QtSettingsStore& settings);

}  // namespace keldovar

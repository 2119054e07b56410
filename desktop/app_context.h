// What every window of one program run shares: the engine, the settings, the way dialogs are
// answered and the application directory.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "desktop/qt_settings_store.h"
#include "document/document_controller.h"
#include "document/prompts.h"

namespace keldovar {

class RecoveryManager;

// The folder of the last File Open, where the next start begins.
inline constexpr const char* kLastDirectoryKey = "Directories/LastCurDir";

// Makes the prompts of one document window; the window is the dialogs' parent.
using PromptsFactory = std::function<std::unique_ptr<Prompts>(QWidget* parentWindow)>;

struct AppContext {
  Session& session;
  QtSettingsStore& settings;
  PromptsFactory makePrompts;
  QString applicationDirectory;         // ends in a separator; the help and the manual are here
  RecoveryManager* recovery = nullptr;  // the recovery copies; none when not asked for
};

}  // namespace keldovar

// The application object: start-up from the settings and the command line, the application
// directory, and the main window.
#pragma once

#include <QStringList>
#include <memory>

#include "desktop/app_context.h"
#include "desktop/help_launcher.h"
#include "desktop/main_frame.h"
#include "desktop/recovery_manager.h"
#include "engine/clock.h"
#include "view/font_file.h"

namespace keldovar {

struct StartOptions {
  AppIdentity identity;
  const Clock* clock = nullptr;  // the system clock when none is given
  PromptsFactory makePrompts;    // the dialogs when none is given
  UrlOpener openUrl;             // the desktop's viewers when none is given
  ViewerCheck hasViewer;         // the desktop's MIME database when none is given
  // Help Topics: the program's own help window, or the CHM file through the desktop. The CHM
  // is the help of the Windows build; Linux and macOS come with no viewer for it.
#ifdef Q_OS_WIN
  bool helpWindow = false;
#else
  bool helpWindow = true;
#endif
  // Recovery copies of unsaved documents, and the start-up offer of those a crash left: the
  // program's own runs, never a test's.
  bool recoveryCopies = false;
};

class CKELDOVARApp {
 public:
  explicit CKELDOVARApp(StartOptions options = {});
  ~CKELDOVARApp();
  CKELDOVARApp(const CKELDOVARApp&) = delete;
  CKELDOVARApp& operator=(const CKELDOVARApp&) = delete;

  // Start-up with the program's arguments, the program's own name left out: a .kdv argument
  // opens, no argument gives a new empty document.
  void start(const QStringList& arguments);

  CMainFrame& mainFrame() { return *mainFrame_; }
  QtSettingsStore& settings() { return settings_; }
  // Ends in a separator.
  const QString& applicationDirectory() const { return context_.applicationDirectory; }

 private:
  void findApplicationDirectory(bool startedWithFile);

  SystemClock systemClock_;
  Session session_;
  QtSettingsStore settings_;
  AppContext context_;
  Launcher launcher_;
  bool helpWindow_ = true;
  // Outlives the windows, which tell it when they go.
  std::unique_ptr<RecoveryManager> recovery_;
  std::unique_ptr<CMainFrame> mainFrame_;
};

// Where the font description is kept: the application directory, or the per-user configuration
// folder when the application directory cannot be written (a read-only install).
QString fontFileLocation(const QString& applicationDirectory);

}  // namespace keldovar

// Start-up: settings, application directory, main window, the command line, the placement and
// the last folder used.
#include "desktop/keldovar_app.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "desktop/dialogs/qt_prompts.h"
#include "desktop/recovery_dialog.h"
#include "desktop/window_state.h"

// Resources of a static library are registered by hand, from the global namespace.
static void registerResources() {
  Q_INIT_RESOURCE(keldovar_icons);
  Q_INIT_RESOURCE(help_pages);
}

namespace keldovar {
namespace {

constexpr const char* kApplicationKey = "Directories/Application";

PromptsFactory dialogPrompts(const SettingsStore& settings) {
  return [&settings](QWidget* parentWindow) -> std::unique_ptr<Prompts> {
    return std::make_unique<QtPrompts>(parentWindow, &settings);
  };
}

QString withSeparator(QString directory) {
  if (!directory.endsWith(QLatin1Char('/'))) directory += QLatin1Char('/');
  return directory;
}

}  // namespace

CKELDOVARApp::CKELDOVARApp(StartOptions options)
    : session_(options.clock != nullptr ? options.clock : &systemClock_),
      settings_(options.identity),
      context_{session_, settings_,
               options.makePrompts ? std::move(options.makePrompts) : dialogPrompts(settings_),
               QString(), nullptr},
      launcher_{options.openUrl ? std::move(options.openUrl) : desktopUrlOpener(),
                options.hasViewer ? std::move(options.hasViewer) : desktopViewerCheck()},
      helpWindow_(options.helpWindow) {
  registerResources();
  if (options.recoveryCopies) recovery_ = std::make_unique<RecoveryManager>();
}

CKELDOVARApp::~CKELDOVARApp() = default;

void CKELDOVARApp::findApplicationDirectory(bool startedWithFile) {
  // Folder names are kept as Unicode text, not in the core's 8-bit strings.
  QSettings& settings = settings_.settings();
  if (startedWithFile) {
    // A file opened from elsewhere starts in its folder: the directory recorded at the last
    // plain start still holds the help. Never recorded: the folder the program starts in.
    QString stored = settings.value(kApplicationKey).toString();
    context_.applicationDirectory = withSeparator(stored.isEmpty() ? QDir::currentPath() : stored);
    return;
  }
  context_.applicationDirectory = withSeparator(QDir::currentPath());
  settings.setValue(kApplicationKey, context_.applicationDirectory);
  settings.sync();
}

void CKELDOVARApp::start(const QStringList& arguments) {
  findApplicationDirectory(!arguments.isEmpty());
  // Without a usable folder the program runs on, without recovery copies, and says so.
  if (recovery_ && recovery_->start()) context_.recovery = recovery_.get();
  mainFrame_ = std::make_unique<CMainFrame>(context_, launcher_, helpWindow_);
  restoreWindowState(*mainFrame_, settings_);
  if (recovery_ && context_.recovery == nullptr) {
    showProtectionNote(*mainFrame_, recovery_->startFailure());
  }
  if (context_.recovery != nullptr) {
    QObject::connect(
        recovery_.get(), &RecoveryManager::protectionLost, mainFrame_.get(),
        [frame = mainFrame_.get()](const QString& text) { showProtectionNote(*frame, text); });
  }
  // A file that cannot be read says why; the program stays open without a document.
  // Recovered documents come first, so that a new one is not given a recovered one's title.
  bool recovered = false;
  if (context_.recovery != nullptr) {
    offerRecovery(*recovery_, mainFrame_.get(), [this, &recovered](const RecoveryEntry& entry) {
      recovered = mainFrame_->recoverDocument(entry) != nullptr || recovered;
    });
  }
  for (const QString& path : arguments) mainFrame_->openDocument(path);
  if (arguments.isEmpty() && !recovered) mainFrame_->newDocument();
  QString lastDirectory = settings_.settings().value(kLastDirectoryKey).toString();
  if (!lastDirectory.isEmpty()) QDir::setCurrent(lastDirectory);
}

QString fontFileLocation(const QString& applicationDirectory) {
  QFileInfo directory(applicationDirectory);
  if (directory.isDir() && directory.isWritable())
    return applicationDirectory + QString::fromLatin1(kFontFileName);
  QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return withSeparator(config) + QString::fromLatin1(kFontFileName);
}

}  // namespace keldovar

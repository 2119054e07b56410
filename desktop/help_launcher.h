// Opening the help file and the user manual from the application directory, and the messages
// when they cannot be opened.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace keldovar {

inline constexpr const char* kHelpFileName = "Keldovar.chm";
inline constexpr const char* kManualFileName = "KELDOVAR 3.0 Documentation and User's Manual.pdf";
inline constexpr const char* kReaderAddress = "https://get.adobe.com/reader/";

// Hands a file to the desktop's viewer for it; false when none took it. The program uses
// QDesktopServices::openUrl; tests record the request instead.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener desktopUrlOpener();

// The message to show, or an empty text when the file was opened.
QString launchHelp(const QString& applicationDirectory, const UrlOpener& open);
QString launchManual(const QString& applicationDirectory, const UrlOpener& open);

// The launchers' plain message box: OK only, the program's title as caption.
void showLauncherMessage(QWidget* parent, const QString& text);

}  // namespace keldovar

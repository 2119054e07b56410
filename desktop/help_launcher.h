// Opening the help file and the user manual from the application directory, and the messages
// when they cannot be opened.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class QWidget;

namespace keldovar {

inline constexpr const char* kHelpFileName = "Keldovar.chm";
inline constexpr const char* kManualFileName = "KELDOVAR 3.0 Documentation and User's Manual.pdf";
inline constexpr const char* kReaderAddress = "https://get.adobe.com/reader/";
inline constexpr const char* kHelpFileType = "application/vnd.ms-htmlhelp";
inline constexpr const char* kManualFileType = "application/pdf";

// Hands a file to the desktop's viewer for it; false when none took it. The program uses
// QDesktopServices::openUrl; tests record the request instead.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener desktopUrlOpener();

// Whether the desktop has a program for files of a MIME type: true or false when it can tell,
// nothing when it cannot, and then only the opener's answer counts.
using ViewerCheck = std::function<std::optional<bool>(const QString& mimeType)>;
// On Linux and the BSDs the desktop's MIME database, through `xdg-mime query default`: the
// opener there starts xdg-open and reports success whether or not anything can show the file.
// Elsewhere the opener itself says when nothing can.
ViewerCheck desktopViewerCheck();

// How the help file and the manual reach the user.
struct Launcher {
  UrlOpener open;
  ViewerCheck hasViewer;
};

// The message to show, or an empty text when the file was opened.
QString launchHelp(const QString& applicationDirectory, const Launcher& launcher);
QString launchManual(const QString& applicationDirectory, const Launcher& launcher);

// The launchers' plain message box: OK only, the program's title as caption.
void showLauncherMessage(QWidget* parent, const QString& text);

}  // namespace keldovar

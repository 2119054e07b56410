// The About box: the program's icon and version, and the button that opens the user manual.
#pragma once

#include <QDialog>

#include "desktop/help_launcher.h"

namespace keldovar {

class CAboutDlg final : public QDialog {
  Q_OBJECT
 public:
  CAboutDlg(QString applicationDirectory, UrlOpener open, QWidget* parent);

 private:
  void viewManual();

  QString applicationDirectory_;
  UrlOpener open_;
};

}  // namespace keldovar

// The About box: the program's icon and version, and the button that opens the user manual.
#pragma once

#include <QDialog>

#include "desktop/help_launcher.h"

namespace keldovar {

class CAboutDlg final : public QDialog {
  Q_OBJECT
 public:
  CAboutDlg(QString applicationDirectory, Launcher launcher, QWidget* parent);

 private:
  void viewManual();

  QString applicationDirectory_;
  Launcher launcher_;
};

}  // namespace keldovar

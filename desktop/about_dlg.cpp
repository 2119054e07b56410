// About KELDOVAR.
#include "desktop/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "keldovar_version.h"

namespace keldovar {

CAboutDlg::CAboutDlg(QString applicationDirectory, Launcher launcher, QWidget* parent)
    : QDialog(parent),
      applicationDirectory_(std::move(applicationDirectory)),
      launcher_(std::move(launcher)) {
  setWindowTitle("About KELDOVAR");
  auto* icon = new QLabel;
  icon->setPixmap(QIcon(":/keldovar.svg").pixmap(48, 48));
  auto* version = new QLabel(kAboutVersionText);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(version, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QPushButton* manual =
      buttons->addButton("View KELDOVAR user manual", QDialogButtonBox::ActionRole);
  manual->setObjectName("manualButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(manual, &QPushButton::clicked, this, &CAboutDlg::viewManual);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
}

void CAboutDlg::viewManual() {
  QString message = launchManual(applicationDirectory_, launcher_);
  if (!message.isEmpty()) showLauncherMessage(this, message);
}

}  // namespace keldovar

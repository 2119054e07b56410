// The program's modal message box.
#include "desktop/dialogs/message_box.h"

#include <QMessageBox>

#include "view/qt/qt_text.h"

namespace keldovar {

void showMessageBox(QWidget* parent, const Message& message) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  if (message.icon == MessageIcon::Exclamation) icon = QMessageBox::Warning;
  if (message.icon == MessageIcon::Information) icon = QMessageBox::Information;
  QString caption =
      message.caption.empty() ? QString::fromLatin1(kProgramTitle) : fromLatin1(message.caption);
  QMessageBox box(icon, caption, fromLatin1(message.text), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace keldovar

// The program's modal message box.
#include "desktop/dialogs/message_box.h"

#include <QMessageBox>

#include "view/qt/qt_text.h"

namespace keldovar {

void showMessageBox(QWidget* parent, const Message& message) {
  QMessageBox::Icon icon =
      message.icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information;
  QString caption =
      message.caption.empty() ? QString::fromLatin1(kProgramTitle) : fromLatin1(message.caption);
  QMessageBox box(icon, caption, fromLatin1(message.text), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace keldovar

// Answers modal windows the way a user would: each step waits for the named dialog (or a
// message box) to be the active modal window, then types, ticks and presses its buttons.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <vector>

class QLineEdit;

namespace keldovar::test {

using Texts = std::map<QString, QString>;

// A message box as it was shown.
struct ShownBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Where the keyboard was after a step: the focused field and its selected text.
struct FocusState {
  QString field;
  QString selected;
};

class ModalScript : public QObject {
 public:
  using Action = std::function<void(QWidget*)>;
  ModalScript();
  // A window that never comes (or a step that leaves one open) fails the test instead of hanging:
  // after this many polls every modal window is closed.
  static constexpr int kPollLimit = 3000;

  // `window` is a dialog's class name, or "QMessageBox".
  ModalScript& on(const QString& window, Action action);
  ModalScript& type(const QString& dialog, const Texts& texts);
  ModalScript& ok(const QString& dialog, const Texts& texts = {});
  ModalScript& cancel(const QString& dialog);
  // Records the box into `boxes` and presses its OK.
  ModalScript& box();
  // Records the focus of the dialog into `focus`.
  ModalScript& noteFocus(const QString& dialog);
  // Records the texts of the named fields into `out`.
  ModalScript& read(const QString& dialog, const QStringList& fields, QStringList* out);
  // Ticks (or clears) a check box or radio button.
  ModalScript& tick(const QString& dialog, const QString& button, bool checked = true);

  QStringList boxTexts() const;
  QStringList focusedFields() const;

  // True when every step ran and nothing had to be closed by force.
  bool finished() const { return steps_.empty() && !timedOut_; }

  std::vector<ShownBox> boxes;
  std::vector<FocusState> focus;

 private:
  void poll();
  std::deque<std::pair<QString, Action>> steps_;
  // A box that was answered but is not gone yet: its dialog has not yet seen the answer.
  QPointer<QWidget> answeredBox_;
  QTimer timer_;
  int polls_ = 0;
  bool timedOut_ = false;
};

QLineEdit* fieldOf(QWidget* dialog, const QString& name);
// Presses a button once the current event has been handled, as a user's click would come.
void pressLater(QWidget* dialog, QMessageBox::StandardButton which);

}  // namespace keldovar::test

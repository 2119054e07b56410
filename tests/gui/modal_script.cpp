// Answers modal windows step by step from a polling timer, so the steps keep running inside the
// nested event loops of the dialogs and boxes they open.
#include "tests/gui/modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

namespace keldovar::test {

ModalScript::ModalScript() {
  timer_.setInterval(5);
  connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
}

ModalScript& ModalScript::on(const QString& window, Action action) {
  steps_.emplace_back(window, std::move(action));
  timer_.start();
  return *this;
}

ModalScript& ModalScript::type(const QString& dialog, const Texts& texts) {
  return on(dialog, [texts](QWidget* w) {
    for (const auto& [name, text] : texts) fieldOf(w, name)->setText(text);
  });
}

ModalScript& ModalScript::ok(const QString& dialog, const Texts& texts) {
  return on(dialog, [texts](QWidget* w) {
    for (const auto& [name, text] : texts) fieldOf(w, name)->setText(text);
    pressLater(w, QMessageBox::Ok);
  });
}

ModalScript& ModalScript::cancel(const QString& dialog) {
  return on(dialog, [](QWidget* w) { pressLater(w, QMessageBox::Cancel); });
}

ModalScript& ModalScript::box() {
  return on(QStringLiteral("QMessageBox"), [this](QWidget* w) {
    auto* shown = static_cast<QMessageBox*>(w);
    boxes.push_back({shown->windowTitle(), shown->text(), shown->icon()});
    answeredBox_ = w;
    pressLater(w, QMessageBox::Ok);
  });
}

ModalScript& ModalScript::noteFocus(const QString& dialog) {
  return on(dialog, [this](QWidget* w) {
    auto* field = qobject_cast<QLineEdit*>(w->focusWidget());
    focus.push_back(field ? FocusState{field->objectName(), field->selectedText()} : FocusState{});
  });
}

ModalScript& ModalScript::read(const QString& dialog, const QStringList& fields, QStringList* out) {
  return on(dialog, [fields, out](QWidget* w) {
    for (const QString& name : fields) out->append(fieldOf(w, name)->text());
  });
}

ModalScript& ModalScript::tick(const QString& dialog, const QString& button, bool checked) {
  return on(dialog, [button, checked](QWidget* w) {
    auto* found = w->findChild<QAbstractButton*>(button);
    if (!found) qFatal("%s has no button %s", qPrintable(w->objectName()), qPrintable(button));
    found->setChecked(checked);
  });
}

QStringList ModalScript::boxTexts() const {
  QStringList texts;
  for (const ShownBox& shown : boxes) texts.append(shown.text);
  return texts;
}

QStringList ModalScript::focusedFields() const {
  QStringList fields;
  for (const FocusState& state : focus) fields.append(state.field);
  return fields;
}

void ModalScript::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (++polls_ > kPollLimit) {
    timedOut_ = true;
    steps_.clear();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
    return;
  }
  if (steps_.empty()) {
    timer_.stop();
    return;
  }
  // The event loop may serve this timer between a box closing and the code that showed it going
  // on (focusing a field, say); the box is destroyed only once that code runs.
  if (answeredBox_ || !modal || !modal->isVisible()) return;
  const QString& expected = steps_.front().first;
  bool isBox = modal->inherits("QMessageBox");
  if (isBox ? expected != QLatin1String("QMessageBox") : modal->objectName() != expected) return;
  Action action = std::move(steps_.front().second);
  steps_.pop_front();
  action(modal);
}

QLineEdit* fieldOf(QWidget* dialog, const QString& name) {
  auto* field = dialog->findChild<QLineEdit*>(name);
  if (!field) qFatal("%s has no field %s", qPrintable(dialog->objectName()), qPrintable(name));
  return field;
}

void pressLater(QWidget* dialog, QMessageBox::StandardButton which) {
  QAbstractButton* button = nullptr;
  if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
    button = box->button(which);
  } else if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
    button = buttons->button(static_cast<QDialogButtonBox::StandardButton>(which));
  }
  if (!button) qFatal("%s has no such button", qPrintable(dialog->objectName()));
  QTimer::singleShot(0, button, &QAbstractButton::click);
}

}  // namespace keldovar::test

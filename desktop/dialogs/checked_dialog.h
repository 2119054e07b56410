// What every input dialog shares: its fields named after the dialog's field keys, the OK/Cancel
// box, and the way a failed check is shown (rewrites, message box, focus on the named field).
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "desktop/dialogs/message_box.h"
#include "script/dialog_checks.h"
#include "view/qt/qt_text.h"

class QCheckBox;
class QFormLayout;
class QRadioButton;

namespace keldovar {

class CheckedDialog : public QDialog {
  Q_OBJECT

 protected:
  enum class Buttons { OkCancel, OkOnly };

  // The object name is the dialog's class name, by which tests and the shell find it.
  CheckedDialog(QWidget* parent, const char* className, const char* title);

  // A labelled field on its own row of the dialog, or of the given form.
  QLineEdit* addField(const char* label, const char* name, const std::string& text,
                      QFormLayout* into = nullptr);
  QCheckBox* addCheckBox(const char* label, const char* name, bool checked);
  QRadioButton* addRadio(const char* label, const char* name, bool checked);
  void addNote(const char* text);
  void addRow(QWidget* widget);
  // "Site Index" "or" "Dominant Height" side by side, each field under its label.
  void addSiteOrHeight(QLineEdit* siteIndex, QLineEdit* height);
  // The button box closes the layout; call it last.
  void addButtons(Buttons buttons = Buttons::OkCancel);
  // A field not yet placed on a row.
  QLineEdit* makeField(const char* name, const std::string& text);

  static std::string textOf(const QLineEdit* field) { return toLatin1(field->text()); }
  // Focus with the whole text selected, as a dialog opens and after a failed check.
  static void focusField(QLineEdit* field);

  template <typename Field, std::size_t N>
  static QLineEdit* at(const std::array<QLineEdit*, N>& fields, Field field) {
    return fields.at(static_cast<std::size_t>(field));
  }

  // The accepted values, or, after showing what the first failed check asks for, nothing; the
  // fields are in the order of the check's field enumeration.
  template <typename Entry, typename Field, std::size_t N>
  std::optional<Entry> settle(const Checked<Entry, Field>& checked,
                              const std::array<QLineEdit*, N>& fields) {
    if (checked.ok()) return checked.accepted();
    const CheckFailure<Field>& failure = checked.failure();
    for (const FieldText<Field>& rewrite : failure.newTexts) {
      at(fields, rewrite.field)->setText(fromLatin1(rewrite.text));
    }
    showMessageBox(this, failure.message());
    if (failure.focus) focusField(at(fields, *failure.focus));
    return std::nullopt;
  }

 private:
  QFormLayout* form_;
};

// A dialog that hands back one accepted entry.
template <typename Entry>
class EntryDialog : public CheckedDialog {
 public:
  // Valid once the dialog was accepted.
  const Entry& entry() const { return entry_.value(); }

 protected:
  using CheckedDialog::CheckedDialog;

  // Closes with OK when the check passed; otherwise shows its failure and stays open.
  template <typename Field, std::size_t N>
  void acceptChecked(const Checked<Entry, Field>& checked,
                     const std::array<QLineEdit*, N>& fields) {
    entry_ = settle(checked, fields);
    if (entry_) QDialog::accept();
  }

 private:
  std::optional<Entry> entry_;
};

}  // namespace keldovar

// What every input dialog shares: fields made from the dialog's table (named by their script
// keys, their allowed range as tooltip and placeholder), the OK/Cancel box, the focus on the
// first field, and the way a failed check is shown (rewrites, message box, focus on the field).
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "desktop/dialogs/message_box.h"
#include "script/dialog_checks.h"
#include "script/field_units.h"
#include "view/qt/qt_text.h"

class QCheckBox;
class QFormLayout;
class QLabel;
class QRadioButton;

namespace keldovar {

// A field of a dialog's table as a line edit: named by its key, holding the stored value's
// `text` as the unit system shows it, showing the table's range unless the dialog shows a
// narrower one.
QLineEdit* makeTableField(QWidget* dialog, const DialogField& field, const std::string& text,
                          UnitSystem units = UnitSystem::Imperial);
// Shows the range the stand allows (in stored values) as the field's tooltip and placeholder.
void showRange(QLineEdit* edit, const DialogField& field, Bounds bounds,
               UnitSystem units = UnitSystem::Imperial);
// Beside a field typed in metric: the value the model will use, kept up with the typing. The
// label is named after the field's key with "Stored" after it.
QLabel* makeStoredHint(QWidget* dialog, QLineEdit* edit, const DialogField& field,
                       UnitSystem units);

// The line edits of a dialog's table, made in the order the dialog lays them out.
template <typename Texts, typename Field, std::size_t N>
class TableEdits {
 public:
  explicit TableEdits(const FieldTable<Texts, Field, N>& table) : table_(table) {}

  QLineEdit* make(QWidget* dialog, Field field, const Texts& opening,
                  UnitSystem units = UnitSystem::Imperial) {
    const TextField<Texts, Field>& row = table_[index(field)];
    edits_[index(field)] = makeTableField(dialog, row.spec, opening.*row.text, units);
    return edits_[index(field)];
  }
  QLineEdit* operator[](Field field) const { return edits_.at(index(field)); }
  const DialogField& spec(Field field) const { return table_[index(field)].spec; }
  // The texts as typed, over `texts`, whose other members the dialog fills.
  Texts read(Texts texts) const {
    for (std::size_t i = 0; i < N; ++i) texts.*table_[i].text = toLatin1(edits_[i]->text());
    return texts;
  }
  const std::array<QLineEdit*, N>& edits() const { return edits_; }

 private:
  static std::size_t index(Field field) { return static_cast<std::size_t>(field); }
  const FieldTable<Texts, Field, N>& table_;
  std::array<QLineEdit*, N> edits_{};
};

class CheckedDialog : public QDialog {
  Q_OBJECT

 protected:
  enum class Buttons { OkCancel, OkOnly };

  // The object name is the dialog's class name, by which tests and the shell find it. In
  // metric the fields converted are typed and shown in metric units.
  CheckedDialog(QWidget* parent, const char* className, const char* title,
                UnitSystem units = UnitSystem::Imperial);

  UnitSystem units() const { return units_; }

  // A field on its own row of the dialog, or of the given form, under the table's label or
  // the one given.
  void addField(QLineEdit* edit, const DialogField& field, QFormLayout* into = nullptr,
                const char* label = nullptr);
  template <typename Texts, typename Field, std::size_t N>
  QLineEdit* addField(TableEdits<Texts, Field, N>& edits, Field field, const Texts& opening) {
    QLineEdit* edit = edits.make(this, field, opening, units_);
    addField(edit, edits.spec(field));
    return edit;
  }
  QCheckBox* addCheckBox(const char* label, const char* name, bool checked);
  QRadioButton* addRadio(const Choice& choice, bool checked);
  void addNote(const char* text);
  void addRow(QWidget* widget);
  // "Site Index" "or" "Dominant Height" side by side, each field under its label.
  void addSiteOrHeight(QLineEdit* siteIndex, QLineEdit* height);
  // The dialog's check run on the typed texts of its table, converted when they are metric.
  template <typename Entry, typename Texts, typename Field, std::size_t N, typename Check>
  Checked<Entry, Field> checkFields(const TableEdits<Texts, Field, N>& edits,
                                    const FieldTable<Texts, Field, N>& table, Texts typed,
                                    Check check, std::vector<TypedField> fields = {}) const {
    return checkTyped<Entry>(units_, table, edits.read(std::move(typed)), check, std::move(fields));
  }
  // The button box closes the layout and the focus goes to the first field: call it last.
  void addButtons(Buttons buttons = Buttons::OkCancel);

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
  // The first field in reading order, as the dialog laid it out; a radio group's choice.
  void focusFirstField();

  QFormLayout* form_;
  UnitSystem units_;
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

// The input dialogs' shared form, fields, button box, first focus and failure display.
#include "desktop/dialogs/checked_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <cmath>

namespace keldovar {

QLineEdit* makeTableField(QWidget* dialog, const DialogField& field, const std::string& text,
                          UnitSystem units) {
  auto* edit = new QLineEdit(fromLatin1(shownText(field, text, units)), dialog);
  edit->setObjectName(QString::fromLatin1(field.key));
  // Wide enough for any value the checks accept, with room to spare.
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
  // A bound the stand sets is shown by the dialog that knows the stand.
  if (field.bounds && !std::isinf(field.bounds->high)) {
    showRange(edit, field, *field.bounds, units);
  }
  return edit;
}

void showRange(QLineEdit* edit, const DialogField& field, Bounds bounds, UnitSystem units) {
  ValueRange shown = shownRange(field, valueRange(bounds), units);
  Bounds shownBounds{static_cast<float>(shown.low), static_cast<float>(shown.high)};
  edit->setPlaceholderText(fromLatin1(rangeText(shownBounds)));
  edit->setToolTip(fromLatin1(rangeTip(field, shownBounds)));
}

QLabel* makeStoredHint(QWidget* dialog, QLineEdit* edit, const DialogField& field,
                       UnitSystem units) {
  auto* hint = new QLabel(dialog);
  hint->setObjectName(QString::fromLatin1(field.key) + QStringLiteral("Stored"));
  // As wide as its longest text, so that the dialog keeps its size while the user types.
  hint->setMinimumWidth(
      hint->fontMetrics().horizontalAdvance(QStringLiteral("= 0000.00000 sq ft/ac")));
  auto show = [hint, &field, units](const QString& typed) {
    hint->setText(fromLatin1(storedHint(field, toLatin1(typed), units)));
  };
  QObject::connect(edit, &QLineEdit::textChanged, hint, show);
  show(edit->text());
  return hint;
}

CheckedDialog::CheckedDialog(QWidget* parent, const char* className, const char* title,
                             UnitSystem units)
    : QDialog(parent), form_(new QFormLayout(this)), units_(units) {
  setObjectName(QString::fromLatin1(className));
  setWindowTitle(QString::fromLatin1(title));
  form_->setSizeConstraint(QLayout::SetFixedSize);
}

void CheckedDialog::addField(QLineEdit* edit, const DialogField& field, QFormLayout* into,
                             const char* label) {
  std::string text = fieldLabel(label != nullptr ? label : field.label, field.quantity, units_);
  auto* caption = new QLabel(fromLatin1(text), this);
  caption->setBuddy(edit);
  QFormLayout* form = into != nullptr ? into : form_;
  if (!typedConverted(field, units_)) {
    form->addRow(caption, edit);
    return;
  }
  auto* row = new QHBoxLayout;
  row->addWidget(edit);
  row->addWidget(makeStoredHint(this, edit, field, units_));
  form->addRow(caption, row);
}

QCheckBox* CheckedDialog::addCheckBox(const char* label, const char* name, bool checked) {
  auto* box = new QCheckBox(QString::fromLatin1(label), this);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  form_->addRow(box);
  return box;
}

QRadioButton* CheckedDialog::addRadio(const Choice& choice, bool checked) {
  auto* radio = new QRadioButton(QString::fromLatin1(choice.label), this);
  radio->setObjectName(QString::fromLatin1(choice.word));
  radio->setChecked(checked);
  form_->addRow(radio);
  return radio;
}

void CheckedDialog::addNote(const char* text) {
  form_->addRow(new QLabel(QString::fromLatin1(text), this));
}

void CheckedDialog::addRow(QWidget* widget) {
  form_->addRow(widget);
}

void CheckedDialog::addSiteOrHeight(QLineEdit* siteIndex, QLineEdit* height) {
  auto* grid = new QGridLayout;
  auto* siteLabel = new QLabel(fromLatin1(fieldLabel(kSiteIndexTextField, units_)), this);
  auto* heightLabel = new QLabel(fromLatin1(fieldLabel(kDominantHeightField, units_)), this);
  siteLabel->setBuddy(siteIndex);
  heightLabel->setBuddy(height);
  grid->addWidget(siteLabel, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("or"), this), 0, 1, Qt::AlignCenter);
  grid->addWidget(heightLabel, 0, 2);
  grid->addWidget(siteIndex, 1, 0);
  grid->addWidget(height, 1, 2);
  if (units_ == UnitSystem::Metric) {
    grid->addWidget(makeStoredHint(this, siteIndex, kSiteIndexTextField, units_), 2, 0);
    grid->addWidget(makeStoredHint(this, height, kDominantHeightField, units_), 2, 2);
  }
  form_->addRow(grid);
}

void CheckedDialog::addButtons(Buttons buttons) {
  QDialogButtonBox::StandardButtons shown = QDialogButtonBox::Ok;
  if (buttons == Buttons::OkCancel) shown |= QDialogButtonBox::Cancel;
  auto* box = new QDialogButtonBox(shown, this);
  // A little air between the last field and the buttons.
  form_->addItem(new QSpacerItem(0, box->fontMetrics().height() / 2));
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form_->addRow(box);
  focusFirstField();
}

// Every widget is made in the order the dialog lays it out, so the focus chain, which Tab
// follows, is the reading order, and its first field is the one a forester types into first.
void CheckedDialog::focusFirstField() {
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
    if (!w->isEnabled()) continue;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      focusField(edit);
      return;
    }
    auto* radio = qobject_cast<QRadioButton*>(w);
    if (radio != nullptr && radio->isChecked()) {
      radio->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

void CheckedDialog::focusField(QLineEdit* field) {
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

}  // namespace keldovar

// The input dialogs' shared form, button box and failure display.
#include "desktop/dialogs/checked_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace keldovar {

CheckedDialog::CheckedDialog(QWidget* parent, const char* className, const char* title)
    : QDialog(parent), form_(new QFormLayout(this)) {
  setObjectName(QString::fromLatin1(className));
  setWindowTitle(QString::fromLatin1(title));
  form_->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* CheckedDialog::makeField(const char* name, const std::string& text) {
  auto* field = new QLineEdit(fromLatin1(text), this);
  field->setObjectName(QString::fromLatin1(name));
  // Wide enough for any value the checks accept, with room to spare.
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
  return field;
}

QLineEdit* CheckedDialog::addField(const char* label, const char* name, const std::string& text,
                                   QFormLayout* into) {
  QLineEdit* field = makeField(name, text);
  auto* caption = new QLabel(QString::fromLatin1(label), this);
  caption->setBuddy(field);
  (into ? into : form_)->addRow(caption, field);
  return field;
}

namespace {

template <typename Button>
Button* makeButton(QWidget* dialog, const char* label, const char* name, bool checked) {
  auto* button = new Button(QString::fromLatin1(label), dialog);
  button->setObjectName(QString::fromLatin1(name));
  button->setChecked(checked);
  return button;
}

}  // namespace

QCheckBox* CheckedDialog::addCheckBox(const char* label, const char* name, bool checked) {
  auto* box = makeButton<QCheckBox>(this, label, name, checked);
  form_->addRow(box);
  return box;
}

QRadioButton* CheckedDialog::addRadio(const char* label, const char* name, bool checked) {
  auto* radio = makeButton<QRadioButton>(this, label, name, checked);
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
  auto* siteLabel = new QLabel(QStringLiteral("Site Index"), this);
  auto* heightLabel = new QLabel(QStringLiteral("Dominant Height"), this);
  siteLabel->setBuddy(siteIndex);
  heightLabel->setBuddy(height);
  grid->addWidget(siteLabel, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("or"), this), 0, 1, Qt::AlignCenter);
  grid->addWidget(heightLabel, 0, 2);
  grid->addWidget(siteIndex, 1, 0);
  grid->addWidget(height, 1, 2);
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
}

void CheckedDialog::focusField(QLineEdit* field) {
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

}  // namespace keldovar

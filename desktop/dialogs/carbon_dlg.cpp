// Carbon Values, with the crediting rule in one line under the fields.
#include "desktop/dialogs/carbon_dlg.h"

#include <QCheckBox>

#include "document/settings.h"

namespace keldovar {

CarbonDlg::CarbonDlg(QWidget* parent, const CarbonValues& current, UnitSystem units)
    : EntryDialog(parent, "CarbonDlg", "Carbon Values", units) {
  CarbonTexts t = openCarbon(current);
  for (CarbonField field : {CarbonField::Price, CarbonField::Baseline}) addField(fields_, field, t);
  addNote(
      "Paid yearly on the growth of the stand's carbon above the baseline, debited when\n"
      "thinnings and the harvest take it; the carbon kept in wood products for 100 years\n"
      "is credited. A price of 0 leaves every value the timber's own.");
  makeDefault_ = addCheckBox("Make These Values the Default", "makedefault", false);
  addButtons();
}

void CarbonDlg::accept() {
  acceptChecked(checkFields<CarbonValues>(fields_, kCarbonFields, {}, checkCarbon),
                fields_.edits());
}

bool CarbonDlg::makeDefault() const {
  return makeDefault_->isChecked();
}

bool editCarbonValues(QWidget* parent, DocumentController& document, SettingsStore& settings) {
  CarbonDlg dialog(parent, document.content().carbon, readUnitSystem(settings));
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return false;
  document.setCarbonValues(dialog.entry());
  if (dialog.makeDefault() && !writeCarbonValues(settings, dialog.entry())) {
    showMessageBox(parent, {"", kDefaultsNotSaved, MessageIcon::Exclamation});
  }
  return true;
}

}  // namespace keldovar

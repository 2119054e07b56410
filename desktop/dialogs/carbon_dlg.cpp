// Carbon Values, with the crediting rule in one line under the fields.
#include "desktop/dialogs/carbon_dlg.h"

#include <QCheckBox>

#include "document/settings.h"

namespace keldovar {

CarbonDlg::CarbonDlg(QWidget* parent, const CarbonValues& current)
    : EntryDialog(parent, "CarbonDlg", "Carbon Values") {
  CarbonTexts t = openCarbon(current);
  fields_[0] = addField("Carbon Price ($ per tonne CO2e, 0 - 1000)", "price", t.price);
  fields_[1] = addField("Baseline (tonnes CO2e per acre, 0 - 10000)", "baseline", t.baseline);
  addNote(
      "Paid yearly on the growth of the stand's carbon above the baseline, debited when\n"
      "thinnings and the harvest take it; the carbon kept in wood products for 100 years\n"
      "is credited. A price of 0 leaves every value the timber's own.");
  makeDefault_ = addCheckBox("Make These Values the Default", "makedefault", false);
  addButtons();
  focusField(at(fields_, CarbonField::Price));
}

void CarbonDlg::accept() {
  acceptChecked(checkCarbon({textOf(fields_[0]), textOf(fields_[1])}), fields_);
}

bool CarbonDlg::makeDefault() const {
  return makeDefault_->isChecked();
}

bool editCarbonValues(QWidget* parent, DocumentController& document, SettingsStore& settings) {
  CarbonDlg dialog(parent, document.content().carbon);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return false;
  document.setCarbonValues(dialog.entry());
  if (dialog.makeDefault() && !writeCarbonValues(settings, dialog.entry())) {
    showMessageBox(parent, {"", kDefaultsNotSaved, MessageIcon::Exclamation});
  }
  return true;
}

}  // namespace keldovar

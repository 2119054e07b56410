// Initialize Existing Unthinned Plantation: Basal Area follows the age as it is typed.
#include "desktop/dialogs/init_dlg.h"

namespace keldovar {

initDlg::initDlg(QWidget* parent, const RememberedValues& remembered, UnitSystem units)
    : EntryDialog(parent, "initDlg", "Initialize Existing Unthinned Plantation", units) {
  using F = UnthinnedField;
  UnthinnedTexts t = openUnthinned(remembered);
  addField(fields_, F::Trees, t);
  QLineEdit* age = addField(fields_, F::Age, t);
  QLineEdit* basalArea = addField(fields_, F::BasalArea, t);
  QLineEdit* siteIndex = fields_.make(this, F::SiteIndex, t, units);
  addSiteOrHeight(siteIndex, fields_.make(this, F::Height, t, units));
  addButtons();

  auto enableBasalArea = [basalArea](const QString& ageText) {
    basalArea->setEnabled(unthinnedBasalAreaEnabled(toLatin1(ageText)));
  };
  connect(age, &QLineEdit::textChanged, this, enableBasalArea);
  enableBasalArea(age->text());
}

void initDlg::accept() {
  acceptChecked(checkFields<UnthinnedEntry>(fields_, kUnthinnedFields, {}, checkUnthinned),
                fields_.edits());
}

}  // namespace keldovar

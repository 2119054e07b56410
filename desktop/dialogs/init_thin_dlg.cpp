// Initialize Existing Thinned Plantation.
#include "desktop/dialogs/init_thin_dlg.h"

namespace keldovar {

initThinDlg::initThinDlg(QWidget* parent, const RememberedValues& remembered, UnitSystem units)
    : EntryDialog(parent, "initThinDlg", "Initialize Existing Thinned Plantation", units) {
  using F = ThinnedField;
  ThinnedTexts t = openThinned(remembered);
  for (F field : {F::Age, F::BasalArea, F::Trees, F::ThinAge}) addField(fields_, field, t);
  QLineEdit* siteIndex = fields_.make(this, F::SiteIndex, t, units);
  addSiteOrHeight(siteIndex, fields_.make(this, F::Height, t, units));
  addButtons();
}

void initThinDlg::accept() {
  acceptChecked(checkFields<ThinnedEntry>(fields_, kThinnedFields, {}, checkThinned),
                fields_.edits());
}

}  // namespace keldovar

// Initialize Existing Thinned Plantation.
#include "desktop/dialogs/init_thin_dlg.h"

namespace keldovar {

initThinDlg::initThinDlg(QWidget* parent, const RememberedValues& remembered)
    : EntryDialog(parent, "initThinDlg", "Initialize Existing Thinned Plantation") {
  using F = ThinnedField;
  ThinnedTexts t = openThinned(remembered);
  for (F field : {F::Age, F::BasalArea, F::Trees, F::ThinAge}) addField(fields_, field, t);
  QLineEdit* siteIndex = fields_.make(this, F::SiteIndex, t);
  addSiteOrHeight(siteIndex, fields_.make(this, F::Height, t));
  addButtons();
}

void initThinDlg::accept() {
  acceptChecked(checkThinned(fields_.read({})), fields_.edits());
}

}  // namespace keldovar

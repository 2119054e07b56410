// Thinning to a residual basal area.
#include "desktop/dialogs/res_basal_dlg.h"

namespace keldovar {

resBasalDlg::resBasalDlg(QWidget* parent, const RememberedValues& remembered,
                         const StandFacts& stand)
    : EntryDialog(parent, "resBasalDlg", "Thinning-  Row, Low or Thinomatic"), stand_(stand) {
  residual_ = addField("Residual Basal Area", "residual", openResidualBA(remembered));
  addButtons();
  focusField(residual_);
}

void resBasalDlg::accept() {
  acceptChecked(checkResidualBA(textOf(residual_), stand_), std::array{residual_});
}

}  // namespace keldovar

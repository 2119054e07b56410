// Thinning to a residual basal area.
#include "desktop/dialogs/res_basal_dlg.h"

namespace keldovar {

resBasalDlg::resBasalDlg(QWidget* parent, const RememberedValues& remembered,
                         const StandFacts& stand)
    : EntryDialog(parent, "resBasalDlg", "Thinning-  Row, Low or Thinomatic"), stand_(stand) {
  const DialogField& spec = field_.spec(SoleField::Value);
  QLineEdit* residual = addField(field_, SoleField::Value, SoleText{openResidualBA(remembered)});
  showRange(residual, spec, residualBounds(spec, stand));
  addButtons();
}

void resBasalDlg::accept() {
  acceptChecked(checkResidualBA(field_.read({}).value, stand_), field_.edits());
}

}  // namespace keldovar

// Thinning to a residual basal area.
#include "desktop/dialogs/res_basal_dlg.h"

namespace keldovar {

resBasalDlg::resBasalDlg(QWidget* parent, const RememberedValues& remembered,
                         const StandFacts& stand, UnitSystem units)
    : EntryDialog(parent, "resBasalDlg", "Thinning-  Row, Low or Thinomatic", units),
      stand_(stand) {
  const DialogField& spec = field_.spec(SoleField::Value);
  QLineEdit* residual = addField(field_, SoleField::Value, SoleText{openResidualBA(remembered)});
  showRange(residual, spec, residualBounds(spec, stand), units);
  addButtons();
}

void resBasalDlg::accept() {
  const DialogField& spec = field_.spec(SoleField::Value);
  auto check = [this](const SoleText& t) { return checkResidualBA(t.value, stand_); };
  std::vector<TypedField> typed{{&spec, residualRange(spec, stand_)}};
  acceptChecked(checkFields<float>(field_, kResidualBAFields, {}, check, typed), field_.edits());
}

}  // namespace keldovar

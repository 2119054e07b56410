// Row and low thinning.
#include "desktop/dialogs/row_low_thin_dlg.h"

namespace keldovar {

rowLowThinDlg::rowLowThinDlg(QWidget* parent, const RememberedValues& remembered,
                             const StandFacts& stand)
    : EntryDialog(parent, "rowLowThinDlg", "Row and Low Thin"), stand_(stand) {
  RowLowTexts t = openRowLow(remembered);
  QLineEdit* residual = addField("Residual Basal Area", "residual", t.residual);
  QLineEdit* rowPercent = addField("Percentage Removed by Row Thinning", "row", t.rowPercent);
  addButtons();
  fields_ = {residual, rowPercent};
  focusField(residual);
}

void rowLowThinDlg::accept() {
  using F = RowLowField;
  RowLowTexts t{textOf(at(fields_, F::Residual)), textOf(at(fields_, F::RowPercent))};
  acceptChecked(checkRowLow(t, stand_), fields_);
}

}  // namespace keldovar

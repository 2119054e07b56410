// Row and low thinning.
#include "desktop/dialogs/row_low_thin_dlg.h"

namespace keldovar {

rowLowThinDlg::rowLowThinDlg(QWidget* parent, const RememberedValues& remembered,
                             const StandFacts& stand)
    : EntryDialog(parent, "rowLowThinDlg", "Row and Low Thin"), stand_(stand) {
  using F = RowLowField;
  RowLowTexts t = openRowLow(remembered);
  QLineEdit* residual = addField(fields_, F::Residual, t);
  showRange(residual, fields_.spec(F::Residual), residualBounds(fields_.spec(F::Residual), stand));
  addField(fields_, F::RowPercent, t);
  addButtons();
}

void rowLowThinDlg::accept() {
  acceptChecked(checkRowLow(fields_.read({}), stand_), fields_.edits());
}

}  // namespace keldovar

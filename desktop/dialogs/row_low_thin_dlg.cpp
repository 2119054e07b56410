// Row and low thinning.
#include "desktop/dialogs/row_low_thin_dlg.h"

namespace keldovar {

rowLowThinDlg::rowLowThinDlg(QWidget* parent, const RememberedValues& remembered,
                             const StandFacts& stand, UnitSystem units)
    : EntryDialog(parent, "rowLowThinDlg", "Row and Low Thin", units), stand_(stand) {
  using F = RowLowField;
  RowLowTexts t = openRowLow(remembered);
  QLineEdit* residual = addField(fields_, F::Residual, t);
  showRange(residual, fields_.spec(F::Residual), residualBounds(fields_.spec(F::Residual), stand),
            units);
  addField(fields_, F::RowPercent, t);
  addButtons();
}

void rowLowThinDlg::accept() {
  using F = RowLowField;
  auto check = [this](const RowLowTexts& t) { return checkRowLow(t, stand_); };
  std::vector<TypedField> typed = typedFields(kRowLowFields);
  typed[static_cast<std::size_t>(F::Residual)].range =
      residualRange(fields_.spec(F::Residual), stand_);
  acceptChecked(checkFields<RowLowEntry>(fields_, kRowLowFields, {}, check, typed),
                fields_.edits());
}

}  // namespace keldovar

// Percent removed at the last thinning: one of the two percentages, not both.
#include "desktop/dialogs/pcnt_rem_dlg.h"

namespace keldovar {

pcntRemDlg::pcntRemDlg(QWidget* parent, const RememberedValues& remembered)
    : EntryDialog(parent, "pcntRemDlg", "Percent to Removed") {
  PercentRemovedTexts t = openPercentRemoved(remembered);
  addNote("Enter only one of the following values:");
  QLineEdit* trees = addField("Percent of Trees Removed", "pcttrees", t.trees);
  addNote("OR");
  QLineEdit* basalArea = addField("Percent of Basal Area Removed", "pctba", t.basalArea);
  addButtons();
  fields_ = {trees, basalArea};
  focusField(trees);
}

void pcntRemDlg::accept() {
  using F = PercentRemovedField;
  PercentRemovedTexts t{textOf(at(fields_, F::Trees)), textOf(at(fields_, F::BasalArea))};
  acceptChecked(checkPercentRemoved(t), fields_);
}

}  // namespace keldovar

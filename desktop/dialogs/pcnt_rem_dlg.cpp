// Percent removed at the last thinning: one of the two percentages, not both.
#include "desktop/dialogs/pcnt_rem_dlg.h"

namespace keldovar {

pcntRemDlg::pcntRemDlg(QWidget* parent, const RememberedValues& remembered)
    : EntryDialog(parent, "pcntRemDlg", "Percent to Removed") {
  using F = PercentRemovedField;
  PercentRemovedTexts t = openPercentRemoved(remembered);
  addNote("Enter only one of the following values:");
  addField(fields_, F::Trees, t);
  addNote("OR");
  addField(fields_, F::BasalArea, t);
  addButtons();
}

void pcntRemDlg::accept() {
  acceptChecked(checkPercentRemoved(fields_.read({})), fields_.edits());
}

}  // namespace keldovar

// Grow: the field opens empty whatever was grown to before, since the last age is always past.
#include "desktop/dialogs/grow_dlg.h"

namespace keldovar {

growDlg::growDlg(QWidget* parent, const StandFacts& stand)
    : EntryDialog(parent, "growDlg", "Grow"), stand_(stand) {
  age_ = addField("Grow to Age", "grow", "");
  addButtons();
  focusField(age_);
}

void growDlg::accept() {
  acceptChecked(checkGrowAge(textOf(age_), stand_), std::array{age_});
}

}  // namespace keldovar

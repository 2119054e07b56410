// Grow: the field opens empty whatever was grown to before, since the last age is always past.
#include "desktop/dialogs/grow_dlg.h"

namespace keldovar {

growDlg::growDlg(QWidget* parent, const StandFacts& stand)
    : EntryDialog(parent, "growDlg", "Grow"), stand_(stand) {
  QLineEdit* age = addField(field_, SoleField::Value, SoleText{});
  showRange(age, field_.spec(SoleField::Value), growAgeBounds(stand));
  addButtons();
}

void growDlg::accept() {
  acceptChecked(checkGrowAge(field_.read({}).value, stand_), field_.edits());
}

}  // namespace keldovar

// Low thinning by diameter.
#include "desktop/dialogs/thinto_dbh_dlg.h"

namespace keldovar {

thintoDBHdlg::thintoDBHdlg(QWidget* parent, const RememberedValues& remembered,
                           const StandFacts& stand)
    : EntryDialog(parent, "thintoDBHdlg", "DBH to Thin to"), stand_(stand) {
  QLineEdit* dbh = addField(field_, SoleField::Value, SoleText{openThinToDBH(remembered)});
  DBHBounds bounds = thinToDBHBounds(stand);
  showRange(dbh, field_.spec(SoleField::Value),
            Bounds{static_cast<float>(bounds.lower), static_cast<float>(bounds.upper)});
  addButtons();
}

void thintoDBHdlg::accept() {
  acceptChecked(checkThinToDBH(field_.read({}).value, stand_), field_.edits());
}

}  // namespace keldovar

// Low thinning by diameter.
#include "desktop/dialogs/thinto_dbh_dlg.h"

namespace keldovar {

thintoDBHdlg::thintoDBHdlg(QWidget* parent, const RememberedValues& remembered,
                           const StandFacts& stand)
    : EntryDialog(parent, "thintoDBHdlg", "DBH to Thin to"), stand_(stand) {
  dbh_ = addField("Final DBH", "dbh", openThinToDBH(remembered));
  addButtons();
  focusField(dbh_);
}

void thintoDBHdlg::accept() {
  acceptChecked(checkThinToDBH(textOf(dbh_), stand_), std::array{dbh_});
}

}  // namespace keldovar

// Low thinning by diameter.
#include "desktop/dialogs/thinto_dbh_dlg.h"

namespace keldovar {

thintoDBHdlg::thintoDBHdlg(QWidget* parent, const RememberedValues& remembered,
                           const StandFacts& stand, UnitSystem units)
    : EntryDialog(parent, "thintoDBHdlg", "DBH to Thin to", units), stand_(stand) {
  QLineEdit* dbh = addField(field_, SoleField::Value, SoleText{openThinToDBH(remembered)});
  DBHBounds bounds = thinToDBHBounds(stand);
  showRange(dbh, field_.spec(SoleField::Value),
            Bounds{static_cast<float>(bounds.lower), static_cast<float>(bounds.upper)}, units);
  addButtons();
}

void thintoDBHdlg::accept() {
  auto check = [this](const SoleText& t) { return checkThinToDBH(t.value, stand_); };
  std::vector<TypedField> typed{{&field_.spec(SoleField::Value), thinToDBHRange(stand_)}};
  acceptChecked(checkFields<float>(field_, kThinToDBHFields, {}, check, typed), field_.edits());
}

}  // namespace keldovar

// Merchantability Limits.
#include "desktop/dialogs/merch_limit_dlg.h"

#include <QCheckBox>

namespace keldovar {

merchLimitDlg::merchLimitDlg(QWidget* parent, const DocumentSettings& current, UnitSystem units)
    : EntryDialog(parent, "merchLimitDlg", "Merchantability Limits", units) {
  using F = MerchField;
  MerchTexts t = openMerchLimits(current);
  addNote(
      "NOTE: If you wish to keep the current stand data, \n  cancel this message and SAVE "
      "first.");
  for (F field : {F::TopDiameter, F::SawThreshold, F::PulpThreshold}) addField(fields_, field, t);
  makeDefault_ = addCheckBox("Make values the default", "makedefault", t.makeDefault);
  addButtons();
}

void merchLimitDlg::accept() {
  MerchTexts t;
  t.makeDefault = makeDefault_->isChecked();
  acceptChecked(checkFields<MerchEntry>(fields_, kMerchFields, t, checkMerchLimits),
                fields_.edits());
}

}  // namespace keldovar

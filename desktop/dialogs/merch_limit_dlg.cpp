// Merchantability Limits.
#include "desktop/dialogs/merch_limit_dlg.h"

#include <QCheckBox>

namespace keldovar {

merchLimitDlg::merchLimitDlg(QWidget* parent, const DocumentSettings& current)
    : EntryDialog(parent, "merchLimitDlg", "Merchantability Limits") {
  MerchTexts t = openMerchLimits(current);
  addNote(
      "NOTE: If you wish to keep the current stand data, \n  cancel this message and SAVE "
      "first.");
  QLineEdit* top = addField("Outside Bark Top Diameter (in) for Pulpwood", "top", t.topDiameter);
  QLineEdit* saw = addField("Threshold Sawtimber DBH (in)", "saw", t.sawThreshold);
  QLineEdit* pulp = addField("Threshold Pulpwood DBH (in)", "pulp", t.pulpThreshold);
  makeDefault_ = addCheckBox("Make values the default", "makedefault", t.makeDefault);
  addButtons();
  fields_ = {top, saw, pulp};
  focusField(top);
}

void merchLimitDlg::accept() {
  using F = MerchField;
  MerchTexts t{textOf(at(fields_, F::TopDiameter)), textOf(at(fields_, F::SawThreshold)),
               textOf(at(fields_, F::PulpThreshold)), makeDefault_->isChecked()};
  acceptChecked(checkMerchLimits(t), fields_);
}

}  // namespace keldovar

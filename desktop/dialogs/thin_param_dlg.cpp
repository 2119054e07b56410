// Low Thin: the choice of method.
#include "desktop/dialogs/thin_param_dlg.h"

#include <QRadioButton>

namespace keldovar {

thinParamDlg::thinParamDlg(QWidget* parent) : CheckedDialog(parent, "thinParamDlg", "Low Thin ") {
  byDBH_ = addRadio("Specify DBH", "bydbh", kLowThinOpening == LowThinChoice::ByDBH);
  byBasalArea_ =
      addRadio("Specify Basal Area", "byba", kLowThinOpening == LowThinChoice::ByBasalArea);
  addButtons(Buttons::OkOnly);
}

LowThinChoice thinParamDlg::choice() const {
  if (byDBH_->isChecked()) return LowThinChoice::ByDBH;
  if (byBasalArea_->isChecked()) return LowThinChoice::ByBasalArea;
  return LowThinChoice::Neither;
}

}  // namespace keldovar

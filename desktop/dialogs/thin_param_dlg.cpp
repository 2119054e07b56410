// Low Thin: the choice of method.
#include "desktop/dialogs/thin_param_dlg.h"

#include <QRadioButton>

namespace keldovar {

thinParamDlg::thinParamDlg(QWidget* parent) : CheckedDialog(parent, "thinParamDlg", "Low Thin ") {
  // The choices count from ByDBH.
  for (std::size_t i = 0; i < methods_.size(); ++i) {
    bool opening = static_cast<std::size_t>(kLowThinOpening) == i + 1;
    methods_[i] = addRadio(kLowThinMethods[i], opening);
  }
  addButtons(Buttons::OkOnly);
}

LowThinChoice thinParamDlg::choice() const {
  for (std::size_t i = 0; i < methods_.size(); ++i) {
    if (methods_[i]->isChecked()) return static_cast<LowThinChoice>(i + 1);
  }
  return LowThinChoice::Neither;
}

}  // namespace keldovar

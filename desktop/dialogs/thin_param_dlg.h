// Low Thin: by diameter or by basal area. It has no Cancel: the step must know the method.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class thinParamDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  explicit thinParamDlg(QWidget* parent);
  LowThinChoice choice() const;
  // Escape and the close box end nothing.
  void reject() override {}

 private:
  // In the order of kLowThinMethods.
  std::array<QRadioButton*, kLowThinMethods.size()> methods_{};
};

}  // namespace keldovar

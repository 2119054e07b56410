// Thinning to a residual basal area: row, low by basal area, or Thinomatic.
#pragma once

#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

// Opened only on a stand that thinningOpeningRefusal lets through.
class resBasalDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  resBasalDlg(QWidget* parent, const RememberedValues& remembered, const StandFacts& stand);
  float entry() const { return entry_.value(); }
  void accept() override;

 private:
  StandFacts stand_;
  QLineEdit* residual_;
  std::optional<float> entry_;
};

}  // namespace keldovar

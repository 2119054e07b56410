// Merchantability Limits: the pulpwood top and the two DBH thresholds, optionally the default.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class merchLimitDlg final : public EntryDialog<MerchEntry> {
  Q_OBJECT

 public:
  merchLimitDlg(QWidget* parent, const DocumentSettings& current);
  void accept() override;

 private:
  std::array<QLineEdit*, 3> fields_{};  // in the order of MerchField
  QCheckBox* makeDefault_;
};

}  // namespace keldovar

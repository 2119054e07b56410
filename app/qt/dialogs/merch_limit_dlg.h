// Merchantability Limits: the pulpwood top and the two DBH thresholds, optionally the default.
#pragma once

#include <array>
#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class merchLimitDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  merchLimitDlg(QWidget* parent, const DocumentSettings& current);
  const MerchEntry& entry() const { return entry_.value(); }
  void accept() override;

 private:
  std::array<QLineEdit*, 3> fields_{};  // in the order of MerchField
  QCheckBox* makeDefault_;
  std::optional<MerchEntry> entry_;
};

}  // namespace keldovar

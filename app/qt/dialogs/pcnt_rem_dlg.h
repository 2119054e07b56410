// Percent removed at the last thinning of an existing thinned plantation.
#pragma once

#include <array>
#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class pcntRemDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  pcntRemDlg(QWidget* parent, const RememberedValues& remembered);
  const PercentRemovedEntry& entry() const { return entry_.value(); }
  void accept() override;

 private:
  std::array<QLineEdit*, 2> fields_{};  // in the order of PercentRemovedField
  std::optional<PercentRemovedEntry> entry_;
};

}  // namespace keldovar

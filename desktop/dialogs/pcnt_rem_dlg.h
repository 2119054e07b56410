// Percent removed at the last thinning of an existing thinned plantation.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class pcntRemDlg final : public EntryDialog<PercentRemovedEntry> {
  Q_OBJECT

 public:
  pcntRemDlg(QWidget* parent, const RememberedValues& remembered);
  void accept() override;

 private:
  std::array<QLineEdit*, 2> fields_{};  // in the order of PercentRemovedField
};

}  // namespace keldovar

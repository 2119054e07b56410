// Initialize Existing Thinned Plantation.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class initThinDlg final : public EntryDialog<ThinnedEntry> {
  Q_OBJECT

 public:
  initThinDlg(QWidget* parent, const RememberedValues& remembered);
  void accept() override;

 private:
  std::array<QLineEdit*, 6> fields_{};  // in the order of ThinnedField
};

}  // namespace keldovar

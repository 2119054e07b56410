// Initialize Existing Unthinned Plantation.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class initDlg final : public EntryDialog<UnthinnedEntry> {
  Q_OBJECT

 public:
  initDlg(QWidget* parent, const RememberedValues& remembered);
  void accept() override;

 private:
  std::array<QLineEdit*, 5> fields_{};  // in the order of UnthinnedField
};

}  // namespace keldovar

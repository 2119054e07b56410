// Initialize Existing Unthinned Plantation.
#pragma once

#include <array>
#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class initDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  initDlg(QWidget* parent, const RememberedValues& remembered);
  // Valid once the dialog was accepted.
  const UnthinnedEntry& entry() const { return entry_.value(); }
  void accept() override;

 private:
  std::array<QLineEdit*, 5> fields_{};  // in the order of UnthinnedField
  std::optional<UnthinnedEntry> entry_;
};

}  // namespace keldovar

// Initialize Existing Thinned Plantation.
#pragma once

#include <array>
#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class initThinDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  initThinDlg(QWidget* parent, const RememberedValues& remembered);
  const ThinnedEntry& entry() const { return entry_.value(); }
  void accept() override;

 private:
  std::array<QLineEdit*, 6> fields_{};  // in the order of ThinnedField
  std::optional<ThinnedEntry> entry_;
};

}  // namespace keldovar

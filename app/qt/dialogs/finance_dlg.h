// Financial Analysis Values: the document's prices and costs, optionally made the default.
#pragma once

#include <array>
#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class financeDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  financeDlg(QWidget* parent, const FinancialValues& current);
  const FinanceEntry& entry() const { return entry_.value(); }
  void accept() override;

 private:
  std::array<QLineEdit*, kFinanceFieldCount> fields_{};  // in the order of FinanceField
  QCheckBox* makeDefault_;
  std::optional<FinanceEntry> entry_;
};

}  // namespace keldovar

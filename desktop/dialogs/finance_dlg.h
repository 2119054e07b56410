// Financial Analysis Values: the document's prices and costs, optionally made the default.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class financeDlg final : public EntryDialog<FinanceEntry> {
  Q_OBJECT

 public:
  financeDlg(QWidget* parent, const FinancialValues& current,
             UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  std::array<QLineEdit*, kFinanceFieldCount> fields_{};  // in the order of FinanceField
  QCheckBox* makeDefault_;
};

}  // namespace keldovar

// Row and low thinning: the residual basal area and the share taken by the rows.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

// Opened only on a stand that thinningOpeningRefusal lets through.
class rowLowThinDlg final : public EntryDialog<RowLowEntry> {
  Q_OBJECT

 public:
  rowLowThinDlg(QWidget* parent, const RememberedValues& remembered, const StandFacts& stand,
                UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  StandFacts stand_;
  TableEdits<RowLowTexts, RowLowField, 2> fields_{kRowLowFields};
};

}  // namespace keldovar

// Thinning to a residual basal area: row, low by basal area, or Thinomatic.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

// Opened only on a stand that thinningOpeningRefusal lets through.
class resBasalDlg final : public EntryDialog<float> {
  Q_OBJECT

 public:
  resBasalDlg(QWidget* parent, const RememberedValues& remembered, const StandFacts& stand,
              UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  StandFacts stand_;
  TableEdits<SoleText, SoleField, 1> field_{kResidualBAFields};
};

}  // namespace keldovar

// Low thinning by diameter: the DBH to thin to.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class thintoDBHdlg final : public EntryDialog<float> {
  Q_OBJECT

 public:
  thintoDBHdlg(QWidget* parent, const RememberedValues& remembered, const StandFacts& stand,
               UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  StandFacts stand_;
  TableEdits<SoleText, SoleField, 1> field_{kThinToDBHFields};
};

}  // namespace keldovar

// Grow: the age to project the stand to.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class growDlg final : public EntryDialog<int> {
  Q_OBJECT

 public:
  growDlg(QWidget* parent, const StandFacts& stand);
  void accept() override;

 private:
  StandFacts stand_;
  TableEdits<SoleText, SoleField, 1> field_{kGrowFields};
};

}  // namespace keldovar

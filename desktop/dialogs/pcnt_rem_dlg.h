// Percent removed at the last thinning of an existing thinned plantation.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class pcntRemDlg final : public EntryDialog<PercentRemovedEntry> {
  Q_OBJECT

 public:
  pcntRemDlg(QWidget* parent, const RememberedValues& remembered);
  void accept() override;

 private:
  TableEdits<PercentRemovedTexts, PercentRemovedField, 2> fields_{kPercentRemovedFields};
};

}  // namespace keldovar

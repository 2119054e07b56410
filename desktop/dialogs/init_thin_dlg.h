// Initialize Existing Thinned Plantation.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class initThinDlg final : public EntryDialog<ThinnedEntry> {
  Q_OBJECT

 public:
  initThinDlg(QWidget* parent, const RememberedValues& remembered,
              UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  TableEdits<ThinnedTexts, ThinnedField, 6> fields_{kThinnedFields};
};

}  // namespace keldovar

// Initialize Existing Unthinned Plantation.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class initDlg final : public EntryDialog<UnthinnedEntry> {
  Q_OBJECT

 public:
  initDlg(QWidget* parent, const RememberedValues& remembered,
          UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  TableEdits<UnthinnedTexts, UnthinnedField, 5> fields_{kUnthinnedFields};
};

}  // namespace keldovar

// Merchantability Limits: the pulpwood top and the two DBH thresholds, optionally the default.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class merchLimitDlg final : public EntryDialog<MerchEntry> {
  Q_OBJECT

 public:
  merchLimitDlg(QWidget* parent, const DocumentSettings& current,
                UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  TableEdits<MerchTexts, MerchField, 3> fields_{kMerchFields};
  QCheckBox* makeDefault_;
};

}  // namespace keldovar

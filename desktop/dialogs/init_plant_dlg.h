// Initialize a New Plantation.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class initPlantDlg final : public EntryDialog<PlantationEntry> {
  Q_OBJECT

 public:
  initPlantDlg(QWidget* parent, const RememberedValues& remembered);
  void accept() override;

 private:
  std::array<QLineEdit*, 3> fields_{};  // in the order of PlantationField
  // In the order of VegetationControl.
  std::array<QRadioButton*, 3> controls_{};
};

}  // namespace keldovar

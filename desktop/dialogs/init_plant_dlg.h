// Initialize a New Plantation.
#pragma once

#include <array>

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class initPlantDlg final : public EntryDialog<PlantationEntry> {
  Q_OBJECT

 public:
  initPlantDlg(QWidget* parent, const RememberedValues& remembered,
               UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  TableEdits<PlantationTexts, PlantationField, 3> fields_{kPlantationFields};
  // In the order of VegetationControl.
  std::array<QRadioButton*, kVegetationControls.size()> controls_{};
};

}  // namespace keldovar

// Fertilization: the nitrogen applied and whether phosphorus went with it.
#pragma once

#include "desktop/dialogs/checked_dialog.h"

namespace keldovar {

class dlgFertilize final : public EntryDialog<FertilizeEntry> {
  Q_OBJECT

 public:
  explicit dlgFertilize(QWidget* parent, UnitSystem units = UnitSystem::Imperial);
  void accept() override;

 private:
  TableEdits<FertilizeTexts, SoleField, 1> field_{kFertilizeFields};
  QCheckBox* phosphorus_;
};

}  // namespace keldovar

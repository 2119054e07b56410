// Fertilization: the nitrogen applied and whether phosphorus went with it.
#pragma once

#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class dlgFertilize final : public CheckedDialog {
  Q_OBJECT

 public:
  explicit dlgFertilize(QWidget* parent);
  const FertilizeEntry& entry() const { return entry_.value(); }
  void accept() override;

 private:
  QLineEdit* nitrogen_;
  QCheckBox* phosphorus_;
  std::optional<FertilizeEntry> entry_;
};

}  // namespace keldovar

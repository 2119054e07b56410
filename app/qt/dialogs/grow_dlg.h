// Grow: the age to project the stand to.
#pragma once

#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class growDlg final : public CheckedDialog {
  Q_OBJECT

 public:
  growDlg(QWidget* parent, const StandFacts& stand);
  int entry() const { return entry_.value(); }
  void accept() override;

 private:
  StandFacts stand_;
  QLineEdit* age_;
  std::optional<int> entry_;
};

}  // namespace keldovar

// Low thinning by diameter: the DBH to thin to.
#pragma once

#include <optional>

#include "app/qt/dialogs/checked_dialog.h"

namespace keldovar {

class thintoDBHdlg final : public CheckedDialog {
  Q_OBJECT

 public:
  thintoDBHdlg(QWidget* parent, const RememberedValues& remembered, const StandFacts& stand);
  float entry() const { return entry_.value(); }
  void accept() override;

 private:
  StandFacts stand_;
  QLineEdit* dbh_;
  std::optional<float> entry_;
};

}  // namespace keldovar

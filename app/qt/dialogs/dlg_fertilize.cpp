// Fertilization; nothing of it is remembered, so it always opens the same way.
#include "app/qt/dialogs/dlg_fertilize.h"

#include <QCheckBox>

namespace keldovar {

dlgFertilize::dlgFertilize(QWidget* parent)
    : CheckedDialog(parent, "dlgFertilize", "Fertilization") {
  FertilizeTexts t;
  nitrogen_ = addField("Nitrogen", "nitrogen", t.nitrogen);
  phosphorus_ = addCheckBox("Phosphorus", "phosphorus", t.phosphorus);
  addButtons();
  focusField(nitrogen_);
}

void dlgFertilize::accept() {
  FertilizeTexts t{textOf(nitrogen_), phosphorus_->isChecked()};
  entry_ = settle(checkFertilize(t), std::array{nitrogen_});
  if (entry_) QDialog::accept();
}

}  // namespace keldovar

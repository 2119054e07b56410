// Fertilization; nothing of it is remembered, so it always opens the same way.
#include "desktop/dialogs/dlg_fertilize.h"

#include <QCheckBox>

namespace keldovar {

dlgFertilize::dlgFertilize(QWidget* parent) : EntryDialog(parent, "dlgFertilize", "Fertilization") {
  FertilizeTexts t;
  nitrogen_ = addField("Nitrogen", "nitrogen", t.nitrogen);
  phosphorus_ = addCheckBox("Phosphorus", "phosphorus", t.phosphorus);
  addButtons();
  focusField(nitrogen_);
}

void dlgFertilize::accept() {
  FertilizeTexts t{textOf(nitrogen_), phosphorus_->isChecked()};
  acceptChecked(checkFertilize(t), std::array{nitrogen_});
}

}  // namespace keldovar

// Fertilization; nothing of it is remembered, so it always opens the same way.
#include "desktop/dialogs/dlg_fertilize.h"

#include <QCheckBox>

namespace keldovar {

dlgFertilize::dlgFertilize(QWidget* parent, UnitSystem units)
    : EntryDialog(parent, "dlgFertilize", "Fertilization", units) {
  FertilizeTexts t;
  addField(field_, SoleField::Value, t);
  const Choice& ticked = kPhosphorusChoice.choices.front();
  phosphorus_ = addCheckBox(ticked.label, kPhosphorusChoice.key, t.phosphorus);
  addButtons();
}

void dlgFertilize::accept() {
  FertilizeTexts t;
  t.phosphorus = phosphorus_->isChecked();
  acceptChecked(checkFields<FertilizeEntry>(field_, kFertilizeFields, t, checkFertilize),
                field_.edits());
}

}  // namespace keldovar

// Initialize a New Plantation: site, planting, survival and the vegetation control.
#include "desktop/dialogs/init_plant_dlg.h"

#include <QRadioButton>

namespace keldovar {

initPlantDlg::initPlantDlg(QWidget* parent, const RememberedValues& remembered, UnitSystem units)
    : EntryDialog(parent, "initPlantDlg", "Initialize a New Plantation", units) {
  using F = PlantationField;
  PlantationTexts t = openPlantation(remembered);
  for (F field : {F::SiteIndex, F::Trees, F::Survival}) addField(fields_, field, t);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    controls_[i] = addRadio(kVegetationControls[i], static_cast<std::size_t>(t.control) == i);
  }
  addButtons();
}

void initPlantDlg::accept() {
  PlantationTexts t;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i]->isChecked()) t.control = static_cast<VegetationControl>(i);
  }
  acceptChecked(checkFields<PlantationEntry>(fields_, kPlantationFields, t, checkPlantation),
                fields_.edits());
}

}  // namespace keldovar

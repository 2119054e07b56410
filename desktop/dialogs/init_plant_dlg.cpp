// Initialize a New Plantation: site, planting, survival and the vegetation control.
#include "desktop/dialogs/init_plant_dlg.h"

#include <QRadioButton>

namespace keldovar {

initPlantDlg::initPlantDlg(QWidget* parent, const RememberedValues& remembered)
    : EntryDialog(parent, "initPlantDlg", "Initialize a New Plantation") {
  PlantationTexts t = openPlantation(remembered);
  QLineEdit* siteIndex = addField("Site Index", "si", t.siteIndex);
  QLineEdit* trees = addField("Number of Trees", "trees", t.trees);
  QLineEdit* survival = addField("Percent Surviving After 1 Year", "survival", t.survival);
  controls_ = {addRadio("No Chemical Control", "none", t.control == VegetationControl::None),
               addRadio("Woody Chemical Control", "woody", t.control == VegetationControl::Woody),
               addRadio("Herb and Woody Chemical Control", "herbwoody",
                        t.control == VegetationControl::HerbAndWoody)};
  addButtons();
  fields_ = {siteIndex, trees, survival};
  focusField(trees);
}

void initPlantDlg::accept() {
  using F = PlantationField;
  PlantationTexts t{textOf(at(fields_, F::SiteIndex)), textOf(at(fields_, F::Trees)),
                    textOf(at(fields_, F::Survival)), VegetationControl::None};
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i]->isChecked()) t.control = static_cast<VegetationControl>(i);
  }
  acceptChecked(checkPlantation(t), fields_);
}

}  // namespace keldovar

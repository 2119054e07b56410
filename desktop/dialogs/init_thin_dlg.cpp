// Initialize Existing Thinned Plantation.
#include "desktop/dialogs/init_thin_dlg.h"

namespace keldovar {

initThinDlg::initThinDlg(QWidget* parent, const RememberedValues& remembered)
    : EntryDialog(parent, "initThinDlg", "Initialize Existing Thinned Plantation") {
  ThinnedTexts t = openThinned(remembered);
  QLineEdit* age = addField("Age", "age", t.age);
  QLineEdit* basalArea = addField("Basal Area", "ba", t.basalArea);
  QLineEdit* trees = addField("Trees per Acre", "trees", t.trees);
  QLineEdit* thinAge = addField("Thinning Age", "thinage", t.thinAge);
  QLineEdit* siteIndex = makeField("si", t.siteIndex);
  QLineEdit* height = makeField("height", t.height);
  addSiteOrHeight(siteIndex, height);
  addButtons();
  fields_ = {age, basalArea, trees, thinAge, height, siteIndex};
  static_assert(static_cast<int>(ThinnedField::SiteIndex) == 5);
  focusField(age);
}

void initThinDlg::accept() {
  using F = ThinnedField;
  ThinnedTexts t{textOf(at(fields_, F::Age)),    textOf(at(fields_, F::BasalArea)),
                 textOf(at(fields_, F::Trees)),  textOf(at(fields_, F::ThinAge)),
                 textOf(at(fields_, F::Height)), textOf(at(fields_, F::SiteIndex))};
  acceptChecked(checkThinned(t), fields_);
}

}  // namespace keldovar

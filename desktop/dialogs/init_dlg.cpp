// Initialize Existing Unthinned Plantation: Basal Area follows the age as it is typed.
#include "desktop/dialogs/init_dlg.h"

namespace keldovar {

initDlg::initDlg(QWidget* parent, const RememberedValues& remembered)
    : EntryDialog(parent, "initDlg", "Initialize Existing Unthinned Plantation") {
  using F = UnthinnedField;
  UnthinnedTexts t = openUnthinned(remembered);
  QLineEdit* trees = addField("Trees per Acre", "trees", t.trees);
  QLineEdit* age = addField("Age", "age", t.age);
  QLineEdit* basalArea = addField("Basal Area", "ba", t.basalArea);
  QLineEdit* siteIndex = makeField("si", t.siteIndex);
  QLineEdit* height = makeField("height", t.height);
  addSiteOrHeight(siteIndex, height);
  addButtons();
  fields_ = {trees, age, basalArea, height, siteIndex};
  static_assert(static_cast<int>(F::SiteIndex) == 4);

  auto enableBasalArea = [basalArea](const QString& ageText) {
    basalArea->setEnabled(unthinnedBasalAreaEnabled(toLatin1(ageText)));
  };
  connect(age, &QLineEdit::textChanged, this, enableBasalArea);
  enableBasalArea(age->text());
  focusField(age);
}

void initDlg::accept() {
  using F = UnthinnedField;
  UnthinnedTexts t{textOf(at(fields_, F::Trees)), textOf(at(fields_, F::Age)),
                   textOf(at(fields_, F::BasalArea)), textOf(at(fields_, F::Height)),
                   textOf(at(fields_, F::SiteIndex))};
  acceptChecked(checkUnthinned(t), fields_);
}

}  // namespace keldovar

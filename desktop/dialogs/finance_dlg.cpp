// Financial Analysis Values, grouped by when the wood is sold.
#include "desktop/dialogs/finance_dlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <string_view>

namespace keldovar {
namespace {

// A table label "First Thin: Value of Pulpwood ($/ton)" is the group and the field's label.
struct GroupedLabel {
  std::string group;  // empty: on the dialog's own rows
  std::string label;
};

GroupedLabel groupedLabel(std::string_view label) {
  std::size_t colon = label.find(": ");
  if (colon == std::string_view::npos) return {{}, std::string(label)};
  return {std::string(label.substr(0, colon)), std::string(label.substr(colon + 2))};
}

}  // namespace

financeDlg::financeDlg(QWidget* parent, const FinancialValues& current, UnitSystem units)
    : EntryDialog(parent, "financeDlg", "Financial Analysis Values", units) {
  FinanceTexts t = openFinance(current);
  QFormLayout* groupForm = nullptr;
  std::string groupName;
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    const DialogField& field = kFinanceFields[i];
    GroupedLabel shown = groupedLabel(field.label);
    if (!shown.group.empty() && shown.group != groupName) {
      auto* group = new QGroupBox(fromLatin1(shown.group), this);
      groupForm = new QFormLayout(group);
      addRow(group);
    }
    groupName = shown.group;
    fields_[i] = makeTableField(this, field, t.fields[i], units);
    addField(fields_[i], field, shown.group.empty() ? nullptr : groupForm, shown.label.c_str());
  }
  makeDefault_ = addCheckBox("Make These Values the Default", "makedefault", t.makeDefault);
  addButtons();
}

void financeDlg::accept() {
  FinanceTexts t;
  t.makeDefault = makeDefault_->isChecked();
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) t.fields[i] = textOf(fields_[i]);
  acceptChecked(checkFinanceTyped(units(), t), fields_);
}

}  // namespace keldovar

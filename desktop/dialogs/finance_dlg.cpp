// Financial Analysis Values, grouped by when the wood is sold.
#include "desktop/dialogs/finance_dlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>

namespace keldovar {
namespace {

// The field names are the batch script's keys for the same values.
struct FinanceFieldView {
  const char* group;  // nullptr: on the dialog's own rows
  const char* label;
  const char* name;
};
constexpr std::array<FinanceFieldView, kFinanceFieldCount> kFinanceViews{{
    {nullptr, "Interest Rate (1.0% - 20.0%)", "interest"},
    {"First Thin", "Value of Pulpwood ($/ton)", "one_thin_pulp"},
    {"First Thin", "Value of Sawtimber ($/ton)", "one_thin_saw"},
    {"Subsequent Thins", "Value of Pulpwood ($/ton)", "next_thin_pulp"},
    {"Subsequent Thins", "Value of Sawtimber ($/ton)", "next_thin_saw"},
    {"Harvest", "Value of Pulpwood ($/ton)", "harvest_pulp"},
    {"Harvest", "Value of Sawtimber ($/ton)", "harvest_saw"},
    {nullptr, "Establishment Costs ($/ac)", "establishment_cost"},
    {nullptr, "Mid-rotation fertilization costs ($/ac)", "midrotation_fert_cost"},
}};

}  // namespace

financeDlg::financeDlg(QWidget* parent, const FinancialValues& current)
    : EntryDialog(parent, "financeDlg", "Financial Analysis Values") {
  FinanceTexts t = openFinance(current);
  QFormLayout* groupForm = nullptr;
  const char* groupName = nullptr;
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    const FinanceFieldView& view = kFinanceViews[i];
    if (view.group && view.group != groupName) {
      auto* group = new QGroupBox(QString::fromLatin1(view.group), this);
      groupForm = new QFormLayout(group);
      addRow(group);
    }
    groupName = view.group;
    fields_[i] = addField(view.label, view.name, t.fields[i], view.group ? groupForm : nullptr);
  }
  makeDefault_ = addCheckBox("Make These Values the Default", "makedefault", t.makeDefault);
  addButtons();
  focusField(at(fields_, FinanceField::InterestRate));
}

void financeDlg::accept() {
  FinanceTexts t;
  t.makeDefault = makeDefault_->isChecked();
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) t.fields[i] = textOf(fields_[i]);
  acceptChecked(checkFinance(t), fields_);
}

}  // namespace keldovar

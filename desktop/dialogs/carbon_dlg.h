// Carbon Values: the carbon price and crediting baseline of the document, optionally made the
// default of new documents. The Financial Values dialog keeps to timber.
#pragma once

#include "desktop/dialogs/checked_dialog.h"
#include "document/document_controller.h"
#include "script/carbon_checks.h"

namespace keldovar {

class CarbonDlg final : public EntryDialog<CarbonValues> {
  Q_OBJECT

 public:
  CarbonDlg(QWidget* parent, const CarbonValues& current, UnitSystem units = UnitSystem::Imperial);
  void accept() override;
  bool makeDefault() const;

 private:
  TableEdits<CarbonTexts, CarbonField, 2> fields_{kCarbonFields};
  QCheckBox* makeDefault_;
};

// The Carbon Values command: on OK the document takes the values (and shows them at once) and,
// with the box ticked, they become the stored defaults. False when cancelled.
bool editCarbonValues(QWidget* parent, DocumentController& document, SettingsStore& settings);

}  // namespace keldovar

// Prompts answered by the input dialogs.
#include "desktop/dialogs/qt_prompts.h"

#include <type_traits>
#include <utility>

#include "desktop/dialogs/dlg_fertilize.h"
#include "desktop/dialogs/finance_dlg.h"
#include "desktop/dialogs/grow_dlg.h"
#include "desktop/dialogs/init_dlg.h"
#include "desktop/dialogs/init_plant_dlg.h"
#include "desktop/dialogs/init_thin_dlg.h"
#include "desktop/dialogs/merch_limit_dlg.h"
#include "desktop/dialogs/message_box.h"
#include "desktop/dialogs/pcnt_rem_dlg.h"
#include "desktop/dialogs/res_basal_dlg.h"
#include "desktop/dialogs/row_low_thin_dlg.h"
#include "desktop/dialogs/thin_param_dlg.h"
#include "desktop/dialogs/thinto_dbh_dlg.h"
#include "document/settings.h"

namespace keldovar {
namespace {

bool runModal(QDialog& dialog) {
  dialog.setWindowModality(Qt::ApplicationModal);
  return dialog.exec() == QDialog::Accepted;
}

// The dialog's accepted entry, or nothing when it was cancelled.
template <typename Dialog, typename... Args>
auto ask(QWidget* parent, const Args&... args)
    -> std::optional<std::decay_t<decltype(std::declval<Dialog>().entry())>> {
  Dialog dialog(parent, args...);
  if (!runModal(dialog)) return std::nullopt;
  return dialog.entry();
}

}  // namespace

UnitSystem QtPrompts::units() const {
  return settings_ != nullptr ? readUnitSystem(*settings_) : UnitSystem::Imperial;
}

void QtPrompts::showMessage(const Message& message) {
  showMessageBox(parent_, message);
}

std::optional<UnthinnedEntry> QtPrompts::askUnthinned(const RememberedValues& remembered) {
  return ask<initDlg>(parent_, remembered, units());
}

std::optional<ThinnedEntry> QtPrompts::askThinned(const RememberedValues& remembered) {
  return ask<initThinDlg>(parent_, remembered, units());
}

std::optional<PercentRemovedEntry> QtPrompts::askPercentRemoved(
    const RememberedValues& remembered) {
  return ask<pcntRemDlg>(parent_, remembered);
}

std::optional<PlantationEntry> QtPrompts::askPlantation(const RememberedValues& remembered) {
  return ask<initPlantDlg>(parent_, remembered, units());
}

std::optional<int> QtPrompts::askGrowAge(const StandFacts& stand) {
  return ask<growDlg>(parent_, stand);
}

std::optional<float> QtPrompts::askResidualBA(const RememberedValues& remembered,
                                              const StandFacts& stand) {
  if (std::optional<Message> refused = thinningOpeningRefusal(stand, units())) {
    showMessage(*refused);
    return std::nullopt;
  }
  return ask<resBasalDlg>(parent_, remembered, stand, units());
}

std::optional<float> QtPrompts::askThinToDBH(const RememberedValues& remembered,
                                             const StandFacts& stand) {
  return ask<thintoDBHdlg>(parent_, remembered, stand, units());
}

// The dialog refuses Escape and its close box, so only OK ends it; were it ended some other way
// (its window destroyed under it), neither method was chosen.
int QtPrompts::askLowThinMethod() {
  thinParamDlg dialog(parent_);
  LowThinChoice choice = runModal(dialog) ? dialog.choice() : LowThinChoice::Neither;
  return static_cast<int>(choice);
}

std::optional<RowLowEntry> QtPrompts::askRowLow(const RememberedValues& remembered,
                                                const StandFacts& stand) {
  if (std::optional<Message> refused = thinningOpeningRefusal(stand, units())) {
    showMessage(*refused);
    return std::nullopt;
  }
  return ask<rowLowThinDlg>(parent_, remembered, stand, units());
}

std::optional<FertilizeEntry> QtPrompts::askFertilize() {
  return ask<dlgFertilize>(parent_, units());
}

std::optional<FinanceEntry> QtPrompts::askFinance(const FinancialValues& current) {
  return ask<financeDlg>(parent_, current, units());
}

std::optional<MerchEntry> QtPrompts::askMerchLimits(const DocumentSettings& current) {
  return ask<merchLimitDlg>(parent_, current, units());
}

}  // namespace keldovar

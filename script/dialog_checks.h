// The input dialogs without their windows: what each dialog opens with, and its OK checks in
// their order with their messages and the field they focus. The fields themselves, their
// ranges and messages, are the tables of script/dialog_fields.h.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "document/dialog_values.h"
#include "document/document_settings.h"
#include "document/field_text.h"
#include "document/prompts.h"
#include "script/dialog_fields.h"

namespace keldovar {

// ---- The outcome of OK ---------------------------------------------------------------------

template <typename Field>
struct FieldText {
  Field field;
  std::string text;
};

// The first check that failed: its message box, the field to focus (none when the check names
// no field) and the fields whose text the checks replaced before it.
template <typename Field>
struct CheckFailure {
  std::string text;
  MessageIcon icon = MessageIcon::Exclamation;
  std::optional<Field> focus;
  std::vector<FieldText<Field>> newTexts;

  // The box carries the program's own title.
  Message message() const { return Message{"", text, icon}; }
};

template <typename Entry, typename Field>
class Checked {
 public:
  Checked(Entry accepted) : result_(std::move(accepted)) {}
  Checked(CheckFailure<Field> failure) : result_(std::move(failure)) {}

  bool ok() const { return result_.index() == 0; }
  const Entry& accepted() const { return std::get<0>(result_); }
  const CheckFailure<Field>& failure() const { return std::get<1>(result_); }

 private:
  std::variant<Entry, CheckFailure<Field>> result_;
};

// ---- Existing unthinned plantation (initDlg) ------------------------------------------------

UnthinnedTexts openUnthinned(const RememberedValues& remembered);
// Young stands start at age 8 with a predicted basal area, so the field is of no use to them.
bool unthinnedBasalAreaEnabled(std::string_view ageText);
Checked<UnthinnedEntry, UnthinnedField> checkUnthinned(const UnthinnedTexts& texts);

// ---- Existing thinned plantation (initThinDlg) ----------------------------------------------

ThinnedTexts openThinned(const RememberedValues& remembered);
Checked<ThinnedEntry, ThinnedField> checkThinned(const ThinnedTexts& texts);

// ---- Percent removed at the last thinning (pcntRemDlg) --------------------------------------

PercentRemovedTexts openPercentRemoved(const RememberedValues& remembered);
Checked<PercentRemovedEntry, PercentRemovedField> checkPercentRemoved(
    const PercentRemovedTexts& texts);

// ---- New plantation (initPlantDlg) ----------------------------------------------------------

PlantationTexts openPlantation(const RememberedValues& remembered);
Checked<PlantationEntry, PlantationField> checkPlantation(const PlantationTexts& texts);

// ---- Grow (growDlg); its field always opens empty -------------------------------------------

// From the age after the stand's own to the last age its kind of stand grows to.
Bounds growAgeBounds(const StandFacts& stand);
Checked<int, SoleField> checkGrowAge(std::string_view ageText, const StandFacts& stand);

// ---- Thinning dialogs (resBasalDlg, thintoDBHdlg, rowLowThinDlg) ----------------------------

// resBasalDlg and rowLowThinDlg refuse to open on a stand too thin to thin; the message ends
// the dialog as cancelled. In metric it names the basal areas in m2/ha.
std::optional<Message> thinningOpeningRefusal(const StandFacts& stand,
                                              UnitSystem units = UnitSystem::Imperial);

// A residual basal area from the field's least up to the stand's own, to a tenth.
Bounds residualBounds(const DialogField& field, const StandFacts& stand);
std::string openResidualBA(const RememberedValues& remembered);
Checked<float, SoleField> checkResidualBA(std::string_view text, const StandFacts& stand);

struct DBHBounds {
  int lower;
  int upper;
};
// From the smallest class left standing up to the largest diameter of the unthinned stand.
DBHBounds thinToDBHBounds(const StandFacts& stand);
std::string openThinToDBH(const RememberedValues& remembered);
Checked<float, SoleField> checkThinToDBH(std::string_view text, const StandFacts& stand);

RowLowTexts openRowLow(const RememberedValues& remembered);
Checked<RowLowEntry, RowLowField> checkRowLow(const RowLowTexts& texts, const StandFacts& stand);

// ---- Fertilization (dlgFertilize); not remembered ------------------------------------------

Checked<FertilizeEntry, SoleField> checkFertilize(const FertilizeTexts& texts);

// ---- Financial values (financeDlg) ----------------------------------------------------------

FinanceTexts openFinance(const FinancialValues& current);
Checked<FinanceEntry, FinanceField> checkFinance(const FinanceTexts& texts);

// ---- Merchantability limits (merchLimitDlg) -------------------------------------------------

MerchTexts openMerchLimits(const DocumentSettings& current);
Checked<MerchEntry, MerchField> checkMerchLimits(const MerchTexts& texts);

}  // namespace keldovar

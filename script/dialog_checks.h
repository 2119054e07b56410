// The input dialogs without their windows: what each dialog opens with, and its OK checks in
// their order with their messages and the field they focus.
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

// Dialogs with a single text field.
enum class SoleField { Value };

// ---- Existing unthinned plantation (initDlg) ------------------------------------------------

enum class UnthinnedField { Trees, Age, BasalArea, Height, SiteIndex };
struct UnthinnedTexts {
  std::string trees, age, basalArea, height, siteIndex;
};
UnthinnedTexts openUnthinned(const RememberedValues& remembered);
// Young stands start at age 8 with a predicted basal area, so the field is of no use to them.
bool unthinnedBasalAreaEnabled(std::string_view ageText);
Checked<UnthinnedEntry, UnthinnedField> checkUnthinned(const UnthinnedTexts& texts);

// ---- Existing thinned plantation (initThinDlg) ----------------------------------------------

enum class ThinnedField { Age, BasalArea, Trees, ThinAge, Height, SiteIndex };
struct ThinnedTexts {
  std::string age, basalArea, trees, thinAge, height, siteIndex;
};
ThinnedTexts openThinned(const RememberedValues& remembered);
Checked<ThinnedEntry, ThinnedField> checkThinned(const ThinnedTexts& texts);

// ---- Percent removed at the last thinning (pcntRemDlg) --------------------------------------

enum class PercentRemovedField { Trees, BasalArea };
struct PercentRemovedTexts {
  std::string trees, basalArea;
};
PercentRemovedTexts openPercentRemoved(const RememberedValues& remembered);
Checked<PercentRemovedEntry, PercentRemovedField> checkPercentRemoved(
    const PercentRemovedTexts& texts);

// ---- New plantation (initPlantDlg) ----------------------------------------------------------

enum class PlantationField { SiteIndex, Trees, Survival };
struct PlantationTexts {
  std::string siteIndex, trees, survival;
  VegetationControl control = VegetationControl::None;
};
PlantationTexts openPlantation(const RememberedValues& remembered);
Checked<PlantationEntry, PlantationField> checkPlantation(const PlantationTexts& texts);

// ---- Grow (growDlg); its field always opens empty -------------------------------------------

Checked<int, SoleField> checkGrowAge(std::string_view ageText, const StandFacts& stand);

// ---- Thinning dialogs (resBasalDlg, thintoDBHdlg, rowLowThinDlg) ----------------------------

// resBasalDlg and rowLowThinDlg refuse to open on a stand too thin to thin; the message ends
// the dialog as cancelled.
std::optional<Message> thinningOpeningRefusal(const StandFacts& stand);

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

enum class RowLowField { Residual, RowPercent };
struct RowLowTexts {
  std::string residual, rowPercent;
};
RowLowTexts openRowLow(const RememberedValues& remembered);
Checked<RowLowEntry, RowLowField> checkRowLow(const RowLowTexts& texts, const StandFacts& stand);

// ---- Low thinning method (thinParamDlg): two radio buttons and OK only ---------------------

// LowThinChoice (the hook's answer) lives with the engine's step entries.
inline constexpr LowThinChoice kLowThinOpening = LowThinChoice::ByBasalArea;

// ---- Fertilization (dlgFertilize); not remembered ------------------------------------------

struct FertilizeTexts {
  std::string nitrogen = "0";
  bool phosphorus = true;
};
Checked<FertilizeEntry, SoleField> checkFertilize(const FertilizeTexts& texts);

// ---- Financial values (financeDlg) ----------------------------------------------------------

enum class FinanceField {
  InterestRate,
  OneThinPulp,
  OneThinSaw,
  NextThinPulp,
  NextThinSaw,
  HarvestPulp,
  HarvestSaw,
  EstablishmentCost,
  MidrotationFertCost,
};
// In the order of kFinancialFields.
inline constexpr std::size_t kFinanceFieldCount = kFinancialValueCount;
struct FinanceTexts {
  std::array<std::string, kFinanceFieldCount> fields;  // indexed by FinanceField
  bool makeDefault = false;

  std::string& operator[](FinanceField f) { return fields[static_cast<std::size_t>(f)]; }
  const std::string& operator[](FinanceField f) const {
    return fields[static_cast<std::size_t>(f)];
  }
};
FinanceTexts openFinance(const FinancialValues& current);
Checked<FinanceEntry, FinanceField> checkFinance(const FinanceTexts& texts);

// ---- Merchantability limits (merchLimitDlg) -------------------------------------------------

enum class MerchField { TopDiameter, SawThreshold, PulpThreshold };
struct MerchTexts {
  std::string topDiameter, sawThreshold, pulpThreshold;
  bool makeDefault = false;
};
MerchTexts openMerchLimits(const DocumentSettings& current);
Checked<MerchEntry, MerchField> checkMerchLimits(const MerchTexts& texts);

}  // namespace keldovar

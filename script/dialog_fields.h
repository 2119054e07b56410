// The input dialogs' fields, one table per dialog in the order the dialog's checks read them:
// the script key (also the name of the dialog's widget), the label, the kind, the allowed range
// and the message of a value outside it. The checks, the script reader and its prompts, the
// desktop program's dialogs and Find Best Regime all read these tables.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/dialog_memory.h"
#include "engine/financial_values.h"
#include "units/units.h"

namespace keldovar {

enum class DialogId {
  Unthinned,
  Thinned,
  PercentRemoved,
  Plantation,
  Grow,
  ResidualBA,
  ThinToDBH,
  LowThinMethod,
  RowLow,
  Fertilize,
  Finance,
  MerchLimits,
  Carbon,
};
inline constexpr std::size_t kDialogCount = 13;

enum class FieldKind {
  Integer,      // exchanged: "Enter an integer." when the text is no whole number
  Real,         // exchanged, single precision: "Enter a number."
  IntegerText,  // read as text: its leading whole number, anything else 0
  RealText,     // read as text: its leading decimal number, anything else 0
};

// How a field says "not given".
enum class Unset { Never, ByZero, ByEmpty };

struct Bounds {
  float low;
  float high;
};
// An upper bound that the stand sets when the dialog opens.
inline constexpr float kStandBound = std::numeric_limits<float>::infinity();

struct DialogField {
  const char* key = nullptr;    // the script key and the dialog's widget name
  const char* label = nullptr;  // as the dialog shows it
  FieldKind kind = FieldKind::Integer;
  // The widest values allowed; the stand or another field may narrow them.
  std::optional<Bounds> bounds = std::nullopt;
  // The field's own refusal of a value outside its bounds: a printf format given the bounds
  // (low, high) as doubles. Without one, the exchange refuses "Enter an integer between %1 and
  // %2." or "Enter a number between %1 and %2.".
  const char* message = nullptr;
  Unset unset = Unset::Never;
  // A remembered value opens with one decimal ("%0.1f") rather than in its shortest form.
  bool oneDecimal = false;
  // What the value measures: in metric the field takes and shows it converted.
  Quantity quantity = Quantity::Plain;
};

// A row of a dialog's table: its field and where the dialog's texts hold it.
template <typename Texts, typename Field>
struct TextField {
  Field field;
  std::string Texts::*text;
  DialogField spec;
};

template <typename Texts, typename Field, std::size_t N>
using FieldTable = std::array<TextField<Texts, Field>, N>;

// True when row i of the table is the field numbered i: the enumeration and the table agree.
template <typename Texts, typename Field, std::size_t N>
constexpr bool inFieldOrder(const FieldTable<Texts, Field, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(table[i].field) != i) return false;
  }
  return true;
}

// A radio group or check box: the script words of its choices and their labels.
struct Choice {
  const char* word;
  const char* label;
};
struct ChoiceField {
  const char* key;
  std::span<const Choice> choices;
};

// Dialogs with a single text field.
enum class SoleField { Value };
struct SoleText {
  std::string value;
};

// ---- The site index of every dialog that takes one ----------------------------------------

inline constexpr Bounds kSiteIndexBounds{39, 95};

// ---- The fields both existing-stand dialogs take -------------------------------------------

inline constexpr DialogField kTreesPerAcreField{.key = "trees",
                                                .label = "Trees per Acre",
                                                .kind = FieldKind::Integer,
                                                .bounds = Bounds{80, 1500},
                                                .quantity = Quantity::PerArea};
// Read as text: the derivation takes one of the two.
inline constexpr DialogField kDominantHeightField{
    .key = "height",
    .label = "Dominant Height",
    .kind = FieldKind::RealText,
    .bounds = Bounds{20, 90},
    .message = "Please specify Dominant Height between\n%.0f and %.0f",
    .unset = Unset::ByEmpty,
    .oneDecimal = true,
    .quantity = Quantity::Length};
inline constexpr DialogField kSiteIndexTextField{
    .key = "si",
    .label = "Site Index",
    .kind = FieldKind::IntegerText,
    .bounds = kSiteIndexBounds,
    .message = "Please specify Site Index between\n%.0f and %.0f",
    .unset = Unset::ByEmpty,
    .quantity = Quantity::Length};

// ---- Existing unthinned plantation (initDlg) ------------------------------------------------

enum class UnthinnedField { Trees, Age, BasalArea, Height, SiteIndex };
struct UnthinnedTexts {
  std::string trees, age, basalArea, height, siteIndex;
};
inline constexpr FieldTable<UnthinnedTexts, UnthinnedField, 5> kUnthinnedFields{{
    {UnthinnedField::Trees, &UnthinnedTexts::trees, kTreesPerAcreField},
    {UnthinnedField::Age,
     &UnthinnedTexts::age,
     {.key = "age", .label = "Age", .kind = FieldKind::Real, .bounds = Bounds{1, 40}}},
    {UnthinnedField::BasalArea,
     &UnthinnedTexts::basalArea,
     {.key = "ba",
      .label = "Basal Area",
      .kind = FieldKind::RealText,
      .bounds = Bounds{20, 200},
      .message = "Please specify Basal Area between\n%.0f and %.0f",
      .unset = Unset::ByEmpty,
      .oneDecimal = true,
      .quantity = Quantity::BasalArea}},
    {UnthinnedField::Height, &UnthinnedTexts::height, kDominantHeightField},
    {UnthinnedField::SiteIndex, &UnthinnedTexts::siteIndex, kSiteIndexTextField},
}};

// ---- Existing thinned plantation (initThinDlg) ----------------------------------------------

enum class ThinnedField { Age, BasalArea, Trees, ThinAge, Height, SiteIndex };
struct ThinnedTexts {
  std::string age, basalArea, trees, thinAge, height, siteIndex;
};
inline constexpr FieldTable<ThinnedTexts, ThinnedField, 6> kThinnedFields{{
    {ThinnedField::Age,
     &ThinnedTexts::age,
     {.key = "age", .label = "Age", .kind = FieldKind::Integer, .bounds = Bounds{8, 45}}},
    {ThinnedField::BasalArea,
     &ThinnedTexts::basalArea,
     {.key = "ba",
      .label = "Basal Area",
      .kind = FieldKind::Real,
      .bounds = Bounds{10, 250},
      .message = "Please specify Basal Area\nbetween %.0f and %.0f  or equal to 0",
      .unset = Unset::ByZero,
      .quantity = Quantity::BasalArea}},
    {ThinnedField::Trees, &ThinnedTexts::trees, kTreesPerAcreField},
    // The thinning cannot be later than the stand's age.
    {ThinnedField::ThinAge,
     &ThinnedTexts::thinAge,
     {.key = "thinage",
      .label = "Thinning Age",
      .kind = FieldKind::Integer,
      .bounds = Bounds{8, 39},
      .message = "Please specify the Thinning age\nbetween %.0f and %.0f"}},
    {ThinnedField::Height, &ThinnedTexts::height, kDominantHeightField},
    {ThinnedField::SiteIndex, &ThinnedTexts::siteIndex, kSiteIndexTextField},
}};

// ---- Percent removed at the last thinning (pcntRemDlg): one of the two ---------------------

enum class PercentRemovedField { Trees, BasalArea };
struct PercentRemovedTexts {
  std::string trees, basalArea;
};
inline constexpr FieldTable<PercentRemovedTexts, PercentRemovedField, 2> kPercentRemovedFields{{
    {PercentRemovedField::Trees,
     &PercentRemovedTexts::trees,
     {.key = "pcttrees",
      .label = "Percent of Trees Removed",
      .kind = FieldKind::Integer,
      .bounds = Bounds{1, 99},
      .message = "Please specify the percent of Trees removed at thinning\n between %.0f and %.0f",
      .unset = Unset::ByEmpty}},
    {PercentRemovedField::BasalArea,
     &PercentRemovedTexts::basalArea,
     {.key = "pctba",
      .label = "Percent of Basal Area Removed",
      .kind = FieldKind::Integer,
      .bounds = Bounds{1, 99},
      .message =
          "Please specify the percent of Basal Area removed at thinning\n between %.0f and %.0f",
      .unset = Unset::ByEmpty}},
}};

// ---- New plantation (initPlantDlg) ----------------------------------------------------------

enum class PlantationField { SiteIndex, Trees, Survival };
struct PlantationTexts {
  std::string siteIndex, trees, survival;
  VegetationControl control = VegetationControl::None;
};
inline constexpr FieldTable<PlantationTexts, PlantationField, 3> kPlantationFields{{
    {PlantationField::SiteIndex,
     &PlantationTexts::siteIndex,
     {.key = "si",
      .label = "Site Index",
      .kind = FieldKind::Integer,
      .bounds = kSiteIndexBounds,
      .quantity = Quantity::Length}},
    {PlantationField::Trees,
     &PlantationTexts::trees,
     {.key = "trees",
      .label = "Number of Trees",
      .kind = FieldKind::Integer,
      .bounds = Bounds{100, 1500},
      .quantity = Quantity::PerArea}},
    {PlantationField::Survival,
     &PlantationTexts::survival,
     {.key = "survival",
      .label = "Percent Surviving After 1 Year",
      .kind = FieldKind::Real,
      .bounds = Bounds{1, 100}}},
}};
// In the order of VegetationControl.
inline constexpr std::array<Choice, 3> kVegetationControls{{
    {"none", "No Chemical Control"},
    {"woody", "Woody Chemical Control"},
    {"herbwoody", "Herb and Woody Chemical Control"},
}};
inline constexpr ChoiceField kControlChoice{"control", kVegetationControls};

// ---- Grow (growDlg); its field always opens empty -------------------------------------------

// Thinned stands grow to 45, unthinned ones to 40; never to an age already reached.
inline constexpr FieldTable<SoleText, SoleField, 1> kGrowFields{{
    {SoleField::Value,
     &SoleText::value,
     {.key = "age",
      .label = "Grow to Age",
      .kind = FieldKind::Integer,
      .bounds = Bounds{8, 45},
      .message = "The projection age must be between\n %.0f and %.0f \nfor thinned stands. "}},
}};
inline constexpr int kUnthinnedGrowLimit = 40;
inline constexpr const char* kUnthinnedGrowMessage =
    "The projection age must be between \n %.0f and %.0f \nfor unthinned stands. ";

// ---- Thinning dialogs (resBasalDlg, thintoDBHdlg, rowLowThinDlg) ----------------------------

inline constexpr FieldTable<SoleText, SoleField, 1> kResidualBAFields{{
    {SoleField::Value,
     &SoleText::value,
     {.key = "ba",
      .label = "Residual Basal Area",
      .kind = FieldKind::Real,
      .bounds = Bounds{20, kStandBound},
      .message = "Please enter a Residual Basal Area in the range\n %.1f - %.1f",
      .quantity = Quantity::BasalArea}},
}};

// The bounds come from the stand's distribution alone.
inline constexpr FieldTable<SoleText, SoleField, 1> kThinToDBHFields{{
    {SoleField::Value,
     &SoleText::value,
     {.key = "dbh",
      .label = "Final DBH",
      .kind = FieldKind::Real,
      .message = "The diameter you want to thin to must be in the range\n%.0f - %.0f",
      .quantity = Quantity::Diameter}},
}};

enum class RowLowField { Residual, RowPercent };
struct RowLowTexts {
  std::string residual, rowPercent;
};
inline constexpr FieldTable<RowLowTexts, RowLowField, 2> kRowLowFields{{
    {RowLowField::Residual,
     &RowLowTexts::residual,
     {.key = "ba",
      .label = "Residual Basal Area",
      .kind = FieldKind::Real,
      .bounds = Bounds{20, kStandBound},
      .message = "Please choose a Basal Area between\n %.0f - %.1f",
      .quantity = Quantity::BasalArea}},
    {RowLowField::RowPercent,
     &RowLowTexts::rowPercent,
     {.key = "row",
      .label = "Percentage Removed by Row Thinning",
      .kind = FieldKind::Real,
      .bounds = Bounds{1, 100}}},
}};

// ---- Low thinning method (thinParamDlg): two radio buttons and OK only ---------------------

// In the order of LowThinChoice from ByDBH; the script gives the method by the key it uses.
inline constexpr std::array<Choice, 2> kLowThinMethods{{
    {"dbh", "Specify DBH"},
    {"ba", "Specify Basal Area"},
}};
inline constexpr ChoiceField kMethodChoice{"method", kLowThinMethods};
inline constexpr LowThinChoice kLowThinOpening = LowThinChoice::ByBasalArea;

// ---- Fertilization (dlgFertilize); not remembered ------------------------------------------

struct FertilizeTexts {
  std::string nitrogen = "0";
  bool phosphorus = true;
};
inline constexpr FieldTable<FertilizeTexts, SoleField, 1> kFertilizeFields{{
    {SoleField::Value,
     &FertilizeTexts::nitrogen,
     {.key = "n",
      .label = "Nitrogen",
      .kind = FieldKind::Real,
      .bounds = Bounds{50, 300},
      .quantity = Quantity::WeightPerArea}},
}};
// The check box, ticked for "yes".
inline constexpr std::array<Choice, 2> kPhosphorusChoices{{{"yes", "Phosphorus"}, {"no", ""}}};
inline constexpr ChoiceField kPhosphorusChoice{"p", kPhosphorusChoices};

// ---- Financial values (financeDlg): the rows of kFinancialFields ---------------------------

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
inline constexpr std::size_t kFinanceFieldCount = kFinancialValueCount;
struct FinanceTexts {
  std::array<std::string, kFinanceFieldCount> fields;  // indexed by FinanceField
  bool makeDefault = false;

  std::string& operator[](FinanceField f) { return fields[static_cast<std::size_t>(f)]; }
  const std::string& operator[](FinanceField f) const {
    return fields[static_cast<std::size_t>(f)];
  }
};
constexpr Quantity quantityOf(FinancialBasis basis) {
  switch (basis) {
    case FinancialBasis::PerTon:
      return Quantity::MoneyPerMass;
    case FinancialBasis::PerAcre:
      return Quantity::MoneyPerArea;
    case FinancialBasis::Rate:
      break;
  }
  return Quantity::Plain;
}
// The label is "Group: Label" for the values grouped by when the wood is sold.
constexpr std::array<DialogField, kFinanceFieldCount> financeFields() {
  std::array<DialogField, kFinanceFieldCount> rows{};
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    const FinancialField& value = kFinancialFields[i];
    rows[i] = {.key = value.scriptKey,
               .label = value.label,
               .kind = FieldKind::Real,
               .bounds = Bounds{value.min, value.max},
               .quantity = quantityOf(value.basis)};
  }
  return rows;
}
inline constexpr std::array<DialogField, kFinanceFieldCount> kFinanceFields = financeFields();

// ---- Merchantability limits (merchLimitDlg) -------------------------------------------------

enum class MerchField { TopDiameter, SawThreshold, PulpThreshold };
struct MerchTexts {
  std::string topDiameter, sawThreshold, pulpThreshold;
  bool makeDefault = false;
};
inline constexpr FieldTable<MerchTexts, MerchField, 3> kMerchFields{{
    {MerchField::TopDiameter,
     &MerchTexts::topDiameter,
     {.key = "top",
      .label = "Outside Bark Top Diameter (in) for Pulpwood",
      .kind = FieldKind::Real,
      .bounds = Bounds{2, 6},
      .message = "Please specify the Outside Bark top diameter between %.0f and %.0f",
      .quantity = Quantity::Diameter}},
    {MerchField::SawThreshold,
     &MerchTexts::sawThreshold,
     {.key = "saw",
      .label = "Threshold Sawtimber DBH (in)",
      .kind = FieldKind::Integer,
      .bounds = Bounds{8, 20},
      .quantity = Quantity::Diameter}},
    // At most the sawtimber threshold less one.
    {MerchField::PulpThreshold,
     &MerchTexts::pulpThreshold,
     {.key = "pulp",
      .label = "Threshold Pulpwood DBH (in)",
      .kind = FieldKind::Integer,
      .bounds = Bounds{4, 19},
      .message = "Please specify the Threshold Pulpwood between %.0f and (Threshold Sawtimber - 1)",
      .quantity = Quantity::Diameter}},
}};

// ---- Carbon values (CarbonDlg) -------------------------------------------------------------

enum class CarbonField { Price, Baseline };
struct CarbonTexts {
  std::string price;
  std::string baseline;
};
inline constexpr FieldTable<CarbonTexts, CarbonField, 2> kCarbonFields{{
    {CarbonField::Price,
     &CarbonTexts::price,
     {.key = "price",
      .label = "Carbon Price ($ per tonne CO2e)",
      .kind = FieldKind::Real,
      .bounds = Bounds{0, 1000}}},
    {CarbonField::Baseline,
     &CarbonTexts::baseline,
     {.key = "baseline",
      .label = "Baseline (tonnes CO2e per acre)",
      .kind = FieldKind::Real,
      .bounds = Bounds{0, 10000},
      .quantity = Quantity::PerArea}},
}};

static_assert(inFieldOrder(kCarbonFields) && inFieldOrder(kUnthinnedFields) &&
              inFieldOrder(kThinnedFields) && inFieldOrder(kPercentRemovedFields) &&
              inFieldOrder(kPlantationFields) && inFieldOrder(kRowLowFields) &&
              inFieldOrder(kMerchFields));

// ---- Every dialog ---------------------------------------------------------------------------

// A dialog's text fields in the order of its checks, and its radio groups and check boxes.
struct DialogFields {
  std::vector<const DialogField*> texts;
  std::vector<const ChoiceField*> choices;
};
DialogFields dialogFields(DialogId dialog);

// The row of a dialog's table that holds this field.
template <typename Texts, typename Field, std::size_t N>
constexpr const DialogField& fieldSpec(const FieldTable<Texts, Field, N>& table, Field field) {
  return table[static_cast<std::size_t>(field)].spec;
}

// The widest allowed range as a field shows it: "39-95".
std::string rangeText(Bounds bounds);
// The range with what leaves the field unset: "20-200, or empty".
std::string rangeTip(const DialogField& field, Bounds bounds);

// The index of a choice's word, matched without regard to case.
std::optional<std::size_t> choiceIndex(const ChoiceField& field, std::string_view word);

}  // namespace keldovar

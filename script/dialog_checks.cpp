// The input dialogs' opening texts and OK checks, over the fields of their tables.
#include "script/dialog_checks.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/models.h"
#include "engine/numeric.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

std::string shownOrEmpty(const DialogField&, int value) {
  return value == 0 ? "" : std::to_string(value);
}
std::string shownOrEmpty(const DialogField& field, float value) {
  if (value == 0) return "";
  return field.oneDecimal ? formatText("%0.1f", static_cast<double>(value)) : formatReal(value);
}

// The texts a dialog opens with: each field's remembered value, 0 shown as an empty field.
template <typename Texts, typename Field, std::size_t N, typename Memory>
Texts openFrom(const FieldTable<Texts, Field, N>& table, const Memory& memory,
               const RememberedValues& r) {
  static_assert(std::tuple_size_v<Memory> == N, "one remembered value per field");
  Texts texts;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((texts.*table[I].text = shownOrEmpty(table[I].spec, r.*std::get<I>(memory).slot)), ...);
  }
  (std::make_index_sequence<N>{});
  return texts;
}

// The exchange checks the range itself unless the field has a message of its own for it.
Exchanged<int> integerOf(const DialogField& field, std::string_view text) {
  if (field.message != nullptr || !field.bounds) return exchangeInteger(text);
  Bounds b = *field.bounds;
  return exchangeInteger(text, IntRange{static_cast<int>(b.low), static_cast<int>(b.high)});
}
Exchanged<float> realOf(const DialogField& field, std::string_view text) {
  if (field.message != nullptr || !field.bounds) return exchangeReal(text);
  return exchangeReal(text, RealRange{field.bounds->low, field.bounds->high});
}

bool outside(double value, Bounds b) {
  return value < static_cast<double>(b.low) || value > static_cast<double>(b.high);
}

// The field's own message, naming the bounds.
std::string messageOf(const DialogField& field, Bounds b) {
  return formatText(field.message, static_cast<double>(b.low), static_cast<double>(b.high));
}

// A refusal that focuses a field, with the field texts the checks replaced before it.
template <typename Field>
CheckFailure<Field> refusal(Field focus, std::string text,
                            std::vector<FieldText<Field>> newTexts = {}) {
  return CheckFailure<Field>{std::move(text), MessageIcon::Exclamation, focus, std::move(newTexts)};
}

template <typename Field>
CheckFailure<Field> refusal(Field focus, const FieldError& error,
                            std::vector<FieldText<Field>> newTexts = {}) {
  return CheckFailure<Field>{error.text, error.icon, focus, std::move(newTexts)};
}

// A value outside the field's table bounds, refused with the field's own message.
template <typename Texts, typename Field, std::size_t N>
std::optional<CheckFailure<Field>> outOfBounds(const FieldTable<Texts, Field, N>& table,
                                               Field field, double value,
                                               std::vector<FieldText<Field>> newTexts = {}) {
  const DialogField& spec = fieldSpec(table, field);
  if (!outside(value, *spec.bounds)) return std::nullopt;
  return refusal(field, messageOf(spec, *spec.bounds), std::move(newTexts));
}

// A refusal that names no single field.
template <typename Field>
CheckFailure<Field> notice(std::string text, std::vector<FieldText<Field>> newTexts = {}) {
  return CheckFailure<Field>{std::move(text), MessageIcon::Exclamation, std::nullopt,
                             std::move(newTexts)};
}

// The derivation needs exactly one of the two; the site index has the new plantation's range.
template <typename Texts, typename Field, std::size_t N>
std::optional<CheckFailure<Field>> siteOrHeightRefusal(const FieldTable<Texts, Field, N>& table,
                                                       int siteIndex, float height) {
  if (siteIndex != 0 && height != 0) {
    return notice<Field>("Please specify either Site Index or Dominant Height, not both.");
  }
  if (siteIndex == 0 && height == 0) {
    return notice<Field>("Please specify either Site Index or Dominant Height.");
  }
  if (siteIndex == 0) return std::nullopt;
  return outOfBounds(table, Field::SiteIndex, siteIndex);
}

template <typename Texts, typename Field, std::size_t N>
std::optional<CheckFailure<Field>> heightRefusal(const FieldTable<Texts, Field, N>& table,
                                                 float height) {
  if (height == 0) return std::nullopt;
  return outOfBounds(table, Field::Height, static_cast<double>(height));
}

}  // namespace

// ---- Existing unthinned plantation ---------------------------------------------------------

UnthinnedTexts openUnthinned(const RememberedValues& r) {
  return openFrom(kUnthinnedFields, kUnthinnedMemory, r);
}

bool unthinnedBasalAreaEnabled(std::string_view ageText) {
  double age = readDecimalText(ageText);
  return !(age == 0 || (age >= 1 && age < 8));
}

Checked<UnthinnedEntry, UnthinnedField> checkUnthinned(const UnthinnedTexts& t) {
  using F = UnthinnedField;
  const auto& table = kUnthinnedFields;
  Exchanged<int> trees = integerOf(fieldSpec(table, F::Trees), t.trees);
  if (trees.error) return refusal(F::Trees, *trees.error);
  Exchanged<float> age = realOf(fieldSpec(table, F::Age), t.age);
  if (age.error) return refusal(F::Age, *age.error);

  UnthinnedEntry e;
  e.trees = trees.value;
  e.age = age.value;
  e.basalArea = readRealText(t.basalArea);
  e.height = readRealText(t.height);
  e.siteIndex = readIntegerText(t.siteIndex);

  if (auto failure = siteOrHeightRefusal(table, e.siteIndex, e.height)) return *failure;
  if (e.basalArea != 0) {
    if (auto failure = outOfBounds(table, F::BasalArea, static_cast<double>(e.basalArea))) {
      return *failure;
    }
  }
  if (auto failure = heightRefusal(table, e.height)) return *failure;
  return e;
}

// ---- Existing thinned plantation -----------------------------------------------------------

ThinnedTexts openThinned(const RememberedValues& r) {
  return openFrom(kThinnedFields, kThinnedMemory, r);
}

Checked<ThinnedEntry, ThinnedField> checkThinned(const ThinnedTexts& t) {
  using F = ThinnedField;
  const auto& table = kThinnedFields;
  Exchanged<int> age = integerOf(fieldSpec(table, F::Age), t.age);
  if (age.error) return refusal(F::Age, *age.error);
  Exchanged<float> basalArea = realOf(fieldSpec(table, F::BasalArea), t.basalArea);
  if (basalArea.error) return refusal(F::BasalArea, *basalArea.error);
  Exchanged<int> trees = integerOf(fieldSpec(table, F::Trees), t.trees);
  if (trees.error) return refusal(F::Trees, *trees.error);
  Exchanged<int> thinAge = integerOf(fieldSpec(table, F::ThinAge), t.thinAge);
  if (thinAge.error) return refusal(F::ThinAge, *thinAge.error);

  ThinnedEntry e{age.value,     basalArea.value,        trees.value,
                 thinAge.value, readRealText(t.height), readIntegerText(t.siteIndex)};
  if (e.basalArea != 0) {
    if (auto failure = outOfBounds(table, F::BasalArea, static_cast<double>(e.basalArea))) {
      return *failure;
    }
  }
  // No later than the stand's age, nor than the table's last thinning age.
  const DialogField& thinAgeField = fieldSpec(table, F::ThinAge);
  Bounds thinAges = *thinAgeField.bounds;
  thinAges.high = std::min(thinAges.high, static_cast<float>(e.age));
  if (outside(e.thinAge, thinAges)) {
    return refusal(F::ThinAge, messageOf(thinAgeField, thinAges));
  }
  if (auto failure = siteOrHeightRefusal(table, e.siteIndex, e.height)) return *failure;
  if (auto failure = heightRefusal(table, e.height)) return *failure;
  return e;
}

// ---- Percent removed at the last thinning --------------------------------------------------

PercentRemovedTexts openPercentRemoved(const RememberedValues& r) {
  return openFrom(kPercentRemovedFields, kPercentRemovedMemory, r);
}

Checked<PercentRemovedEntry, PercentRemovedField> checkPercentRemoved(
    const PercentRemovedTexts& t) {
  using F = PercentRemovedField;
  const auto& table = kPercentRemovedFields;
  // Only one of the two is meant to be typed, so an empty field stands for 0.
  std::vector<FieldText<F>> zeroed;
  std::string treesText = t.trees.empty() ? "0" : t.trees;
  std::string basalAreaText = t.basalArea.empty() ? "0" : t.basalArea;
  if (t.trees.empty()) zeroed.push_back({F::Trees, "0"});
  if (t.basalArea.empty()) zeroed.push_back({F::BasalArea, "0"});

  Exchanged<int> trees = integerOf(fieldSpec(table, F::Trees), treesText);
  if (trees.error) return refusal(F::Trees, *trees.error, zeroed);
  Exchanged<int> basalArea = integerOf(fieldSpec(table, F::BasalArea), basalAreaText);
  if (basalArea.error) return refusal(F::BasalArea, *basalArea.error, zeroed);

  PercentRemovedEntry e{trees.value, basalArea.value};
  if (e.trees == 0 && e.basalArea == 0) {
    return notice<F>("Please specify either percent of Basal Area or percent of Trees",
                     {{F::Trees, ""}, {F::BasalArea, ""}});
  }
  if (e.trees != 0 && e.basalArea != 0) {
    return notice<F>("Please specify Only One of either percent of Basal Area or percent of Trees",
                     zeroed);
  }
  for (auto [field, value] : {std::pair{F::Trees, e.trees}, std::pair{F::BasalArea, e.basalArea}}) {
    if (value == 0) continue;
    if (auto failure = outOfBounds(table, field, value, zeroed)) return *failure;
  }
  return e;
}

// ---- New plantation ------------------------------------------------------------------------

PlantationTexts openPlantation(const RememberedValues& r) {
  return openFrom(kPlantationFields, kPlantationMemory, r);
}

Checked<PlantationEntry, PlantationField> checkPlantation(const PlantationTexts& t) {
  using F = PlantationField;
  const auto& table = kPlantationFields;
  Exchanged<int> siteIndex = integerOf(fieldSpec(table, F::SiteIndex), t.siteIndex);
  if (siteIndex.error) return refusal(F::SiteIndex, *siteIndex.error);
  Exchanged<int> trees = integerOf(fieldSpec(table, F::Trees), t.trees);
  if (trees.error) return refusal(F::Trees, *trees.error);
  Exchanged<float> survival = realOf(fieldSpec(table, F::Survival), t.survival);
  if (survival.error) return refusal(F::Survival, *survival.error);
  return PlantationEntry{siteIndex.value, trees.value, survival.value, t.control};
}

// ---- Grow ----------------------------------------------------------------------------------

Bounds growAgeBounds(const StandFacts& stand) {
  Bounds widest = *fieldSpec(kGrowFields, SoleField::Value).bounds;
  float last = stand.unthinned == 1 ? static_cast<float>(kUnthinnedGrowLimit) : widest.high;
  float next = static_cast<float>(std::floor(stand.AG)) + 1;
  return Bounds{std::max(widest.low, next), last};
}

Checked<int, SoleField> checkGrowAge(std::string_view ageText, const StandFacts& stand) {
  constexpr SoleField kAge = SoleField::Value;
  const DialogField& field = fieldSpec(kGrowFields, kAge);
  Exchanged<int> age = integerOf(field, ageText);
  if (age.error) return refusal(kAge, *age.error);
  bool unthinned = stand.unthinned == 1;
  Bounds widest = *field.bounds;
  if (unthinned) widest.high = static_cast<float>(kUnthinnedGrowLimit);
  if (outside(age.value, widest)) {
    const char* format = unthinned ? kUnthinnedGrowMessage : field.message;
    std::string text =
        formatText(format, static_cast<double>(widest.low), static_cast<double>(widest.high));
    return refusal(kAge, text, {{kAge, "60"}});
  }
  if (static_cast<double>(age.value) <= stand.AG) {
    return refusal(kAge, formatText("The projection age must be greater than the current stand "
                                    "age which is %d",
                                    truncToInt(stand.AG)));
  }
  return age.value;
}

// ---- Thinning dialogs ----------------------------------------------------------------------

std::optional<Message> thinningOpeningRefusal(const StandFacts& stand, UnitSystem units) {
  double least = static_cast<double>(fieldSpec(kResidualBAFields, SoleField::Value).bounds->low);
  if (stand.BA >= least) return std::nullopt;
  std::string text =
      units == UnitSystem::Metric
          ? formatText(
                "Unable to Thin.  The current Basal Area (%.2f m2/ha) is less than %.2f "
                "m2/ha",
                toMetric(Quantity::BasalArea, stand.BA), toMetric(Quantity::BasalArea, least))
          : formatText("Unable to Thin.  The current Basal Area (%.1f) is less than %.0f", stand.BA,
                       least);
  return Message{"", text, MessageIcon::Exclamation};
}

// Shown to a tenth, never above what the check lets through.
Bounds residualBounds(const DialogField& field, const StandFacts& stand) {
  return Bounds{field.bounds->low, static_cast<float>(std::floor(stand.BA * 10) / 10)};
}

std::string openResidualBA(const RememberedValues& r) {
  return shownOrEmpty(fieldSpec(kResidualBAFields, SoleField::Value), r.*kResidualBAMemory);
}

namespace {

// The residual is compared with the stand's basal area as the double the engine holds, so an
// accepted residual never exceeds what is standing.
template <typename Field>
std::optional<CheckFailure<Field>> residualRefusal(const DialogField& field, Field focus,
                                                   float residual, const StandFacts& stand) {
  double least = static_cast<double>(field.bounds->low);
  double value = static_cast<double>(residual);
  if (value >= least && value <= stand.BA) return std::nullopt;
  return refusal(focus, formatText(field.message, least, stand.BA));
}

}  // namespace

Checked<float, SoleField> checkResidualBA(std::string_view text, const StandFacts& stand) {
  const DialogField& field = fieldSpec(kResidualBAFields, SoleField::Value);
  Exchanged<float> residual = realOf(field, text);
  if (residual.error) return refusal(SoleField::Value, *residual.error);
  if (auto failure = residualRefusal(field, SoleField::Value, residual.value, stand)) {
    return *failure;
  }
  return residual.value;
}

DBHBounds thinToDBHBounds(const StandFacts& stand) {
  int lower = truncToInt(std::ceil(std::max(stand.minClass, stand.truncationDBH)));
  int upper = truncToInt(largestUnthinnedDiameter(stand.BA, stand.AG, stand.TPA));
  return DBHBounds{lower, upper};
}

std::string openThinToDBH(const RememberedValues& r) {
  return shownOrEmpty(fieldSpec(kThinToDBHFields, SoleField::Value), r.*kThinToDBHMemory);
}

Checked<float, SoleField> checkThinToDBH(std::string_view text, const StandFacts& stand) {
  const DialogField& field = fieldSpec(kThinToDBHFields, SoleField::Value);
  DBHBounds bounds = thinToDBHBounds(stand);
  Exchanged<float> dbh = realOf(field, text);
  if (dbh.error) return refusal(SoleField::Value, *dbh.error);
  double value = static_cast<double>(dbh.value);
  if (value < bounds.lower || value > bounds.upper) {
    return refusal(SoleField::Value, formatText(field.message, static_cast<double>(bounds.lower),
                                                static_cast<double>(bounds.upper)));
  }
  return dbh.value;
}

RowLowTexts openRowLow(const RememberedValues& r) {
  return openFrom(kRowLowFields, kRowLowMemory, r);
}

Checked<RowLowEntry, RowLowField> checkRowLow(const RowLowTexts& t, const StandFacts& stand) {
  using F = RowLowField;
  const DialogField& residualField = fieldSpec(kRowLowFields, F::Residual);
  Exchanged<float> residual = realOf(residualField, t.residual);
  if (residual.error) return refusal(F::Residual, *residual.error);
  Exchanged<float> rowPercent = realOf(fieldSpec(kRowLowFields, F::RowPercent), t.rowPercent);
  if (rowPercent.error) return refusal(F::RowPercent, *rowPercent.error);
  if (auto failure = residualRefusal(residualField, F::Residual, residual.value, stand)) {
    return *failure;
  }
  return RowLowEntry{static_cast<double>(residual.value), static_cast<double>(rowPercent.value)};
}

// ---- Fertilization -------------------------------------------------------------------------

Checked<FertilizeEntry, SoleField> checkFertilize(const FertilizeTexts& t) {
  Exchanged<float> nitrogen = realOf(fieldSpec(kFertilizeFields, SoleField::Value), t.nitrogen);
  if (nitrogen.error) return refusal(SoleField::Value, *nitrogen.error);
  return FertilizeEntry{nitrogen.value, t.phosphorus};
}

// ---- Financial values ----------------------------------------------------------------------

// A value of 0 is a real price here, not an empty memory, so it is shown.
FinanceTexts openFinance(const FinancialValues& current) {
  FinanceTexts t;
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    t.fields[i] = formatReal(current.*kFinancialFields[i].value);
  }
  return t;
}

Checked<FinanceEntry, FinanceField> checkFinance(const FinanceTexts& t) {
  FinanceEntry e;
  e.makeDefault = t.makeDefault;
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    Exchanged<float> v = realOf(kFinanceFields[i], t.fields[i]);
    if (v.error) return refusal(static_cast<FinanceField>(i), *v.error);
    e.values.*kFinancialFields[i].value = v.value;
  }
  return e;
}

// ---- Merchantability limits ----------------------------------------------------------------

MerchTexts openMerchLimits(const DocumentSettings& current) {
  float top = current.merchLimitShown;
  return MerchTexts{top == -1 ? "" : formatReal(top), std::to_string(current.sawThreshold),
                    std::to_string(current.pulpThreshold), false};
}

Checked<MerchEntry, MerchField> checkMerchLimits(const MerchTexts& t) {
  using F = MerchField;
  const auto& table = kMerchFields;
  // An empty top diameter is carried through the exchange as -1 so that it gets its own
  // message below rather than the plain "Enter a number.".
  std::vector<FieldText<F>> changed;
  std::string topText = t.topDiameter;
  if (topText.empty()) {
    topText = "-1";
    changed.push_back({F::TopDiameter, "-1"});
  }
  Exchanged<float> top = realOf(fieldSpec(table, F::TopDiameter), topText);
  if (top.error) return refusal(F::TopDiameter, *top.error, changed);
  Exchanged<int> saw = integerOf(fieldSpec(table, F::SawThreshold), t.sawThreshold);
  if (saw.error) return refusal(F::SawThreshold, *saw.error, changed);
  Exchanged<int> pulp = integerOf(fieldSpec(table, F::PulpThreshold), t.pulpThreshold);
  if (pulp.error) return refusal(F::PulpThreshold, *pulp.error, changed);

  MerchEntry e{top.value, saw.value, pulp.value, t.makeDefault};
  if (e.topDiameter == -1) {
    return notice<F>("Please specify Outside bark top diameter.", {{F::TopDiameter, ""}});
  }
  if (auto failure = outOfBounds(table, F::TopDiameter, static_cast<double>(e.topDiameter))) {
    return *failure;
  }
  // The pulpwood threshold stays below the sawtimber threshold given beside it.
  const DialogField& pulpField = fieldSpec(table, F::PulpThreshold);
  Bounds pulpBounds{pulpField.bounds->low, static_cast<float>(e.sawThreshold - 1)};
  if (outside(e.pulpThreshold, pulpBounds)) {
    return refusal(F::PulpThreshold, messageOf(pulpField, pulpBounds));
  }
  if (e.topDiameter >= static_cast<float>(e.pulpThreshold)) {
    return refusal(F::PulpThreshold,
                   "Please specify the Threshold Pulpwood greater than Outside Bark");
  }
  return e;
}

}  // namespace keldovar

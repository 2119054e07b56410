// The input dialogs' opening texts and OK checks.
#include "script/dialog_checks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "engine/models.h"
#include "engine/numeric.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

std::string integerOrEmpty(int value) {
  return value == 0 ? "" : std::to_string(value);
}
std::string realOrEmpty(float value) {
  return value == 0 ? "" : formatReal(value);
}
std::string oneDecimalOrEmpty(float value) {
  return value == 0 ? "" : formatText("%0.1f", static_cast<double>(value));
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

// A refusal that names no single field.
template <typename Field>
CheckFailure<Field> notice(std::string text, std::vector<FieldText<Field>> newTexts = {}) {
  return CheckFailure<Field>{std::move(text), MessageIcon::Exclamation, std::nullopt,
                             std::move(newTexts)};
}

// The derivation needs exactly one of the two; a site index has the new plantation's range.
template <typename Field>
std::optional<CheckFailure<Field>> siteOrHeightRefusal(int siteIndex, float height,
                                                       Field siteField) {
  if (siteIndex != 0 && height != 0) {
    return notice<Field>("Please specify either Site Index or Dominant Height, not both.");
  }
  if (siteIndex == 0 && height == 0) {
    return notice<Field>("Please specify either Site Index or Dominant Height.");
  }
  if (siteIndex != 0 && (siteIndex < 39 || siteIndex > 95)) {
    return refusal(siteField, "Please specify Site Index between\n39 and 95");
  }
  return std::nullopt;
}

bool heightRefused(float height) {
  return height != 0 && (height < 20 || height > 90);
}
constexpr const char* kHeightMessage = "Please specify Dominant Height between\n20 and 90";

}  // namespace

// ---- Existing unthinned plantation ---------------------------------------------------------

UnthinnedTexts openUnthinned(const RememberedValues& r) {
  return UnthinnedTexts{integerOrEmpty(r.unthinnedTrees), realOrEmpty(r.unthinnedAge),
                        oneDecimalOrEmpty(r.unthinnedBasalArea),
                        oneDecimalOrEmpty(r.unthinnedHeight), integerOrEmpty(r.unthinnedSiteIndex)};
}

bool unthinnedBasalAreaEnabled(std::string_view ageText) {
  double age = readDecimalText(ageText);
  return !(age == 0 || (age >= 1 && age < 8));
}

Checked<UnthinnedEntry, UnthinnedField> checkUnthinned(const UnthinnedTexts& t) {
  using F = UnthinnedField;
  Exchanged<int> trees = exchangeInteger(t.trees, IntRange{80, 1500});
  if (trees.error) return refusal(F::Trees, *trees.error);
  Exchanged<float> age = exchangeReal(t.age, RealRange{1, 40});
  if (age.error) return refusal(F::Age, *age.error);

  UnthinnedEntry e;
  e.trees = trees.value;
  e.age = age.value;
  e.basalArea = readRealText(t.basalArea);
  e.height = readRealText(t.height);
  e.siteIndex = readIntegerText(t.siteIndex);

  if (auto failure = siteOrHeightRefusal(e.siteIndex, e.height, F::SiteIndex)) return *failure;
  if (e.basalArea != 0 && (e.basalArea < 20 || e.basalArea > 200)) {
    return refusal(F::BasalArea, "Please specify Basal Area between\n20 and 200");
  }
  if (heightRefused(e.height)) return refusal(F::Height, kHeightMessage);
  return e;
}

// ---- Existing thinned plantation -----------------------------------------------------------

ThinnedTexts openThinned(const RememberedValues& r) {
  return ThinnedTexts{integerOrEmpty(r.thinnedAge),       realOrEmpty(r.thinnedBasalArea),
                      integerOrEmpty(r.thinnedTrees),     integerOrEmpty(r.thinnedThinAge),
                      oneDecimalOrEmpty(r.thinnedHeight), integerOrEmpty(r.thinnedSiteIndex)};
}

Checked<ThinnedEntry, ThinnedField> checkThinned(const ThinnedTexts& t) {
  using F = ThinnedField;
  Exchanged<int> age = exchangeInteger(t.age, IntRange{8, 45});
  if (age.error) return refusal(F::Age, *age.error);
  Exchanged<float> basalArea = exchangeReal(t.basalArea);
  if (basalArea.error) return refusal(F::BasalArea, *basalArea.error);
  Exchanged<int> trees = exchangeInteger(t.trees, IntRange{80, 1500});
  if (trees.error) return refusal(F::Trees, *trees.error);
  Exchanged<int> thinAge = exchangeInteger(t.thinAge);
  if (thinAge.error) return refusal(F::ThinAge, *thinAge.error);

  ThinnedEntry e{age.value,     basalArea.value,        trees.value,
                 thinAge.value, readRealText(t.height), readIntegerText(t.siteIndex)};
  if (e.basalArea != 0 && (e.basalArea < 10 || e.basalArea > 250)) {
    return refusal(F::BasalArea, "Please specify Basal Area\nbetween 10 and 250  or equal to 0");
  }
  if (e.thinAge < 8 || e.thinAge > e.age || e.thinAge > 39) {
    int latest = e.age > 38 ? 39 : e.age;
    return refusal(F::ThinAge,
                   formatText("Please specify the Thinning age\nbetween 8 and %d", latest));
  }
  if (auto failure = siteOrHeightRefusal(e.siteIndex, e.height, F::SiteIndex)) return *failure;
  if (heightRefused(e.height)) return refusal(F::Height, kHeightMessage);
  return e;
}

// ---- Percent removed at the last thinning --------------------------------------------------

PercentRemovedTexts openPercentRemoved(const RememberedValues& r) {
  return PercentRemovedTexts{integerOrEmpty(r.pctTrees), integerOrEmpty(r.pctBasalArea)};
}

Checked<PercentRemovedEntry, PercentRemovedField> checkPercentRemoved(
    const PercentRemovedTexts& t) {
  using F = PercentRemovedField;
  // Only one of the two is meant to be typed, so an empty field stands for 0.
  std::vector<FieldText<F>> zeroed;
  std::string treesText = t.trees.empty() ? "0" : t.trees;
  std::string basalAreaText = t.basalArea.empty() ? "0" : t.basalArea;
  if (t.trees.empty()) zeroed.push_back({F::Trees, "0"});
  if (t.basalArea.empty()) zeroed.push_back({F::BasalArea, "0"});

  Exchanged<int> trees = exchangeInteger(treesText);
  if (trees.error) return refusal(F::Trees, *trees.error, zeroed);
  Exchanged<int> basalArea = exchangeInteger(basalAreaText);
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
  if (e.trees != 0 && (e.trees < 1 || e.trees > 99)) {
    return refusal(F::Trees,
                   "Please specify the percent of Trees removed at thinning\n between 1 and 99",
                   zeroed);
  }
  if (e.basalArea != 0 && (e.basalArea < 1 || e.basalArea > 99)) {
    return refusal(
        F::BasalArea,
        "Please specify the percent of Basal Area removed at thinning\n between 1 and 99", zeroed);
  }
  return e;
}

// ---- New plantation ------------------------------------------------------------------------

PlantationTexts openPlantation(const RememberedValues& r) {
  return PlantationTexts{integerOrEmpty(r.plantSiteIndex), integerOrEmpty(r.plantTrees),
                         realOrEmpty(r.plantSurvival), VegetationControl::None};
}

Checked<PlantationEntry, PlantationField> checkPlantation(const PlantationTexts& t) {
  using F = PlantationField;
  Exchanged<int> siteIndex = exchangeInteger(t.siteIndex, IntRange{39, 95});
  if (siteIndex.error) return refusal(F::SiteIndex, *siteIndex.error);
  Exchanged<int> trees = exchangeInteger(t.trees, IntRange{100, 1500});
  if (trees.error) return refusal(F::Trees, *trees.error);
  Exchanged<float> survival = exchangeReal(t.survival, RealRange{1, 100});
  if (survival.error) return refusal(F::Survival, *survival.error);
  return PlantationEntry{siteIndex.value, trees.value, survival.value, t.control};
}

// ---- Grow ----------------------------------------------------------------------------------

Checked<int, SoleField> checkGrowAge(std::string_view ageText, const StandFacts& stand) {
  constexpr SoleField kAge = SoleField::Value;
  Exchanged<int> age = exchangeInteger(ageText);
  if (age.error) return refusal(kAge, *age.error);
  bool unthinned = stand.unthinned == 1;
  if (age.value < 8 || age.value > (unthinned ? 40 : 45)) {
    const char* text =
        unthinned ? "The projection age must be between \n 8 and 40 \nfor unthinned stands. "
                  : "The projection age must be between\n 8 and 45 \nfor thinned stands. ";
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

std::optional<Message> thinningOpeningRefusal(const StandFacts& stand) {
  if (stand.BA >= 20) return std::nullopt;
  return Message{
      "", formatText("Unable to Thin.  The current Basal Area (%.1f) is less than 20", stand.BA),
      MessageIcon::Exclamation};
}

std::string openResidualBA(const RememberedValues& r) {
  return realOrEmpty(r.residualBA);
}

// The residual is compared with the stand's basal area as the double the engine holds, so an
// accepted residual never exceeds what is standing.
Checked<float, SoleField> checkResidualBA(std::string_view text, const StandFacts& stand) {
  Exchanged<float> residual = exchangeReal(text);
  if (residual.error) return refusal(SoleField::Value, *residual.error);
  if (residual.value < 20 || static_cast<double>(residual.value) > stand.BA) {
    return refusal(
        SoleField::Value,
        formatText("Please enter a Residual Basal Area in the range\n 20.0 - %.1f", stand.BA));
  }
  return residual.value;
}

DBHBounds thinToDBHBounds(const StandFacts& stand) {
  int lower = truncToInt(std::ceil(std::max(stand.minClass, stand.truncationDBH)));
  int upper = truncToInt(largestUnthinnedDiameter(stand.BA, stand.AG, stand.TPA));
  return DBHBounds{lower, upper};
}

std::string openThinToDBH(const RememberedValues& r) {
  return realOrEmpty(r.thinToDBH);
}

Checked<float, SoleField> checkThinToDBH(std::string_view text, const StandFacts& stand) {
  DBHBounds bounds = thinToDBHBounds(stand);
  Exchanged<float> dbh = exchangeReal(text);
  if (dbh.error) return refusal(SoleField::Value, *dbh.error);
  double value = static_cast<double>(dbh.value);
  if (value < bounds.lower || value > bounds.upper) {
    return refusal(SoleField::Value,
                   formatText("The diameter you want to thin to must be in the range\n%d - %d",
                              bounds.lower, bounds.upper));
  }
  return dbh.value;
}

RowLowTexts openRowLow(const RememberedValues& r) {
  return RowLowTexts{realOrEmpty(r.rowLowResidual), realOrEmpty(r.rowLowPercent)};
}

Checked<RowLowEntry, RowLowField> checkRowLow(const RowLowTexts& t, const StandFacts& stand) {
  using F = RowLowField;
  Exchanged<float> residual = exchangeReal(t.residual);
  if (residual.error) return refusal(F::Residual, *residual.error);
  Exchanged<float> rowPercent = exchangeReal(t.rowPercent, RealRange{1, 100});
  if (rowPercent.error) return refusal(F::RowPercent, *rowPercent.error);
  if (residual.value < 20 || static_cast<double>(residual.value) > stand.BA) {
    return refusal(F::Residual,
                   formatText("Please choose a Basal Area between\n 20 - %.1f", stand.BA));
  }
  return RowLowEntry{residual.value, rowPercent.value};
}

// ---- Fertilization -------------------------------------------------------------------------

Checked<FertilizeEntry, SoleField> checkFertilize(const FertilizeTexts& t) {
  Exchanged<float> nitrogen = exchangeReal(t.nitrogen, RealRange{50, 300});
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
    const FinancialField& field = kFinancialFields[i];
    Exchanged<float> v = exchangeReal(t.fields[i], RealRange{field.min, field.max});
    if (v.error) return refusal(static_cast<FinanceField>(i), *v.error);
    e.values.*field.value = v.value;
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
  // An empty top diameter is carried through the exchange as -1 so that it gets its own
  // message below rather than the plain "Enter a number.".
  std::vector<FieldText<F>> changed;
  std::string topText = t.topDiameter;
  if (topText.empty()) {
    topText = "-1";
    changed.push_back({F::TopDiameter, "-1"});
  }
  Exchanged<float> top = exchangeReal(topText);
  if (top.error) return refusal(F::TopDiameter, *top.error, changed);
  Exchanged<int> saw = exchangeInteger(t.sawThreshold, IntRange{8, 20});
  if (saw.error) return refusal(F::SawThreshold, *saw.error, changed);
  Exchanged<int> pulp = exchangeInteger(t.pulpThreshold);
  if (pulp.error) return refusal(F::PulpThreshold, *pulp.error, changed);

  MerchEntry e{top.value, saw.value, pulp.value, t.makeDefault};
  if (e.topDiameter == -1) {
    return notice<F>("Please specify Outside bark top diameter.", {{F::TopDiameter, ""}});
  }
  if (e.topDiameter < 2 || e.topDiameter > 6) {
    return refusal(F::TopDiameter, "Please specify the Outside Bark top diameter between 2 and 6");
  }
  if (e.pulpThreshold <= 3 || e.pulpThreshold > e.sawThreshold - 1) {
    return refusal(F::PulpThreshold,
                   "Please specify the Threshold Pulpwood between 4 and (Threshold Sawtimber - 1)");
  }
  if (e.topDiameter >= static_cast<float>(e.pulpThreshold)) {
    return refusal(F::PulpThreshold,
                   "Please specify the Threshold Pulpwood greater than Outside Bark");
  }
  return e;
}

}  // namespace keldovar

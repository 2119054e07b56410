// Dialog fields typed in metric: the exact conversion on entry, the ranges shown, and the checks'
// refusals spoken in metric.
#include "script/field_units.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/report_text.h"

namespace keldovar {
namespace {

constexpr UnitSystem kMetric = UnitSystem::Metric;

const DialogField& plantSite() {
  return fieldSpec(kPlantationFields, PlantationField::SiteIndex);
}
const DialogField& plantTrees() {
  return fieldSpec(kPlantationFields, PlantationField::Trees);
}

TEST(FieldUnits, TypedMetricTextsBecomeTheImperialTextsTheChecksRead) {
  struct Case {
    const DialogField* field;
    const char* typed;
    const char* stored;
    const char* hint;
  };
  const Case cases[] = {
      {&plantSite(), "18.288", "60", "= 60 ft"},          // integer: the nearest whole foot
      {&kSiteIndexTextField, "18.4 m", "60", "= 60 ft"},  // read as text: its leading number
      {&kDominantHeightField, "20", "65.6168", "= 65.6168 ft"},
      {&kDominantHeightField, "20,0", "65.6168", "= 65.6168 ft"},  // a decimal comma
      {&plantSite(), "18,288", "60", "= 60 ft"},
      {&plantTrees(), "1000", "405", "= 405 per ac"},  // 404.69 trees per acre
      {&fieldSpec(kMerchFields, MerchField::TopDiameter), "7.62", "3", "= 3 in"},
      {&fieldSpec(kFertilizeFields, SoleField::Value), "224.17023", "200", "= 200 lb/ac"},
      {&kFinanceFields[1], "11.0231131", "10", "= 10 per ton"},
      {&kFinanceFields[0], "5.5", "5.5", ""},  // a rate is typed as it is stored
      {&plantTrees(), "many", "many", ""},     // no number: the check refuses it
      {&kDominantHeightField, "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(storedText(*c.field, c.typed, kMetric), c.stored) << c.field->key << " " << c.typed;
    EXPECT_EQ(storedHint(*c.field, c.typed, kMetric), c.hint) << c.field->key << " " << c.typed;
    EXPECT_EQ(storedText(*c.field, c.typed, UnitSystem::Imperial), c.typed);
  }
  // A value far beyond any range still reaches the check as a number it refuses.
  EXPECT_EQ(storedText(plantTrees(), "1e12", kMetric), "2147483647");
}

// Every converted field of every dialog: its shown range holds only values whose stored value
// is inside the stored range, and a value just outside it is refused.
TEST(FieldUnits, ShownRangesAreRoundedInwardSoBothSystemsAgree) {
  for (DialogId dialog :
       {DialogId::Unthinned, DialogId::Thinned, DialogId::Plantation, DialogId::Fertilize,
        DialogId::Finance, DialogId::MerchLimits, DialogId::Carbon}) {
    for (const DialogField* field : dialogFields(dialog).texts) {
      if (!field->bounds || !typedConverted(*field, kMetric)) continue;
      ValueRange stored = valueRange(*field->bounds);
      ValueRange shown = shownRange(*field, stored, kMetric);
      double step = field->quantity == Quantity::PerArea ? 1 : 0.1;
      EXPECT_LE(shown.low - toMetric(field->quantity, stored.low), step) << field->label;
      for (double metric : {shown.low, shown.high}) {
        std::string text = formatReal(static_cast<float>(metric));
        double value = readDecimalText(storedText(*field, text, kMetric));
        EXPECT_TRUE(value >= stored.low && value <= stored.high) << field->label << " " << text;
        EXPECT_EQ(shownRangeRefusal(*field, stored, text, kMetric), std::nullopt) << text;
      }
      for (double outside : {shown.low - step / 2, shown.high + step / 2}) {
        if (outside == 0 && field->unset != Unset::Never) continue;
        EXPECT_NE(shownRangeRefusal(*field, stored, formatText("%.2f", outside), kMetric),
                  std::nullopt)
            << field->label << " " << outside;
      }
    }
  }
}

TEST(FieldUnits, StoredValuesOpenInTheShortestMetricTextThatGivesThemBack) {
  struct Case {
    const DialogField* field;
    const char* stored;
    const char* shown;
  };
  const Case cases[] = {
      {&plantSite(), "60", "18.3"},  // 18 m would be 59 ft
      {&plantTrees(), "405", "1001"},
      {&kDominantHeightField, "65.6", "19.99488"},
      {&kFinanceFields[7], "250", "617.76345"},
      {&plantTrees(), "", ""},
  };
  for (const Case& c : cases) {
    std::string shown = shownText(*c.field, c.stored, kMetric);
    EXPECT_EQ(shown, c.shown) << c.field->key;
    EXPECT_EQ(readDecimalText(storedText(*c.field, shown, kMetric)), readDecimalText(c.stored));
  }
}

TEST(FieldUnits, LabelsNameTheMetricUnit) {
  struct Case {
    const DialogField* field;
    const char* metric;
  };
  const Case cases[] = {
      {&kTreesPerAcreField, "Trees per Hectare"},
      {&plantTrees(), "Number of Trees per Hectare"},
      {&kDominantHeightField, "Dominant Height (m)"},
      {&fieldSpec(kMerchFields, MerchField::TopDiameter),
       "Outside Bark Top Diameter (cm) for Pulpwood"},
      {&kFinanceFields[2], "First Thin: Value of Sawtimber ($/t)"},
      {&fieldSpec(kCarbonFields, CarbonField::Baseline), "Baseline (tonnes CO2e per hectare)"},
      {&fieldSpec(kCarbonFields, CarbonField::Price), "Carbon Price ($ per tonne CO2e)"},
      {&fieldSpec(kFertilizeFields, SoleField::Value), "Nitrogen (kg/ha)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fieldLabel(*c.field, kMetric), c.metric);
    EXPECT_EQ(fieldLabel(*c.field, UnitSystem::Imperial), c.field->label);
  }
}

template <typename Entry, typename Field>
std::string refusalText(const Checked<Entry, Field>& checked) {
  return checked.ok() ? "accepted" : checked.failure().text;
}

TEST(FieldUnits, ChecksTakeTheConvertedValuesAndSpeakMetric) {
  auto plant = [](const char* site, const char* trees) {
    return checkTyped<PlantationEntry>(kMetric, kPlantationFields,
                                       PlantationTexts{site, trees, "80"}, checkPlantation);
  };
  Checked<PlantationEntry, PlantationField> accepted = plant("18.3", "1000");
  ASSERT_TRUE(accepted.ok());
  EXPECT_EQ(accepted.accepted().siteIndex, 60);
  EXPECT_EQ(accepted.accepted().trees, 405);
  EXPECT_EQ(accepted.accepted().survival, 80.0f);

  // The check's own refusal, and the one of a value the rounding of the range leaves out.
  EXPECT_EQ(refusalText(plant("18.3", "150")), "Enter a number between 248 and 3706.");
  EXPECT_EQ(refusalText(plant("11.88", "1000")), "Enter a number between 11.9 and 28.9.");
  EXPECT_EQ(refusalText(plant("60 ft", "1000")), "Enter a number.");
  EXPECT_EQ(plant("", "1000").failure().focus, PlantationField::SiteIndex);

  StandFacts stand;
  stand.BA = 100;
  const DialogField& residual = fieldSpec(kResidualBAFields, SoleField::Value);
  std::vector<TypedField> fields{{&residual, residualRange(residual, stand)}};
  auto thin = [&](const char* typed) {
    return checkTyped<float>(
        kMetric, kResidualBAFields, SoleText{typed},
        [&stand](const SoleText& t) { return checkResidualBA(t.value, stand); }, fields);
  };
  EXPECT_EQ(refusalText(thin("30")),
            "Please enter a Residual Basal Area in the range\n 4.6 - 22.9");
  EXPECT_EQ(refusalText(thin("22.95")),
            "Please enter a Residual Basal Area in the range\n 4.6 - 22.9");
  EXPECT_FLOAT_EQ(thin("10").accepted(), static_cast<float>(10 / 0.09290304 * 0.40468564224));

  StandFacts thinStand;
  thinStand.BA = 15;
  EXPECT_EQ(thinningOpeningRefusal(thinStand, kMetric)->text,
            "Unable to Thin.  The current Basal Area (3.44 m2/ha) is less than 4.59 m2/ha");

  MerchTexts merch{"20", "20.32", "12.7", false};
  EXPECT_EQ(refusalText(checkTyped<MerchEntry>(kMetric, kMerchFields, merch, checkMerchLimits)),
            "Please specify the Outside Bark top diameter between 5.1 and 15.2");
  // Imperial texts are checked as they are.
  EXPECT_EQ(
      refusalText(checkTyped<MerchEntry>(UnitSystem::Imperial, kMerchFields,
                                         MerchTexts{"20", "8", "5", false}, checkMerchLimits)),
      "Please specify the Outside Bark top diameter between 2 and 6");
}

}  // namespace
}  // namespace keldovar

// The input dialogs' field exchange, order of checks, messages, focus and remembered values.
#include "script/dialog_checks.h"

#include <gtest/gtest.h>

#include <limits>

namespace keldovar {
namespace {

// The check refused with exactly this message and focus.
template <typename Entry, typename Field>
::testing::AssertionResult refused(const Checked<Entry, Field>& checked, const std::string& text,
                                   std::optional<Field> focus = std::nullopt) {
  if (checked.ok()) return ::testing::AssertionFailure() << "accepted, expected: " << text;
  const CheckFailure<Field>& f = checked.failure();
  if (f.text != text) return ::testing::AssertionFailure() << "message was: " << f.text;
  if (f.focus != focus) return ::testing::AssertionFailure() << "focus differs for: " << text;
  return ::testing::AssertionSuccess();
}

template <typename Entry, typename Field>
::testing::AssertionResult refused(const Checked<Entry, Field>& checked, const std::string& text,
                                   Field focus) {
  return refused(checked, text, std::optional(focus));
}

TEST(FieldExchange, NumbersAreTheWholeTextBlanksAside) {
  EXPECT_EQ(parseInteger(" +42 "), 42);
  EXPECT_EQ(parseInteger("\t-3"), -3);
  for (const char* text : {"", "  ", "4.0", "4x", "1e3", "- 4", "99999999999"}) {
    EXPECT_EQ(parseInteger(text), std::nullopt) << '"' << text << '"';
  }
  EXPECT_EQ(parseReal(" 0.1 "), 0.1f);
  EXPECT_EQ(parseReal(".5"), 0.5f);
  EXPECT_EQ(parseReal("5."), 5.0f);
  EXPECT_EQ(parseReal("-1.5e2"), -150.0f);
  EXPECT_EQ(parseReal("1e-400"), 0.0f);
  for (const char* text : {"", ".", "1e", "1,5", "inf", "nan", "0x10", "2 5", "1e39"}) {
    EXPECT_EQ(parseReal(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(FieldExchange, RefusalsNameTheBoundsAsTheFieldWritesThem) {
  EXPECT_EQ(exchangeInteger("12a", IntRange{80, 1500}).error->text, "Enter an integer.");
  Exchanged<int> low = exchangeInteger("79", IntRange{80, 1500});
  EXPECT_EQ(low.error->text, "Enter an integer between 80 and 1500.");
  EXPECT_EQ(low.error->icon, MessageIcon::Exclamation);
  EXPECT_FALSE(exchangeInteger("1500", IntRange{80, 1500}).error);
  EXPECT_EQ(exchangeReal("", RealRange{1, 40}).error->text, "Enter a number.");
  EXPECT_EQ(exchangeReal("40.01", RealRange{1, 40}).error->text,
            "Enter a number between 1 and 40.");
  EXPECT_EQ(exchangeReal("0", RealRange{0.5f, 2.25f}).error->text,
            "Enter a number between 0.5 and 2.25.");
  EXPECT_FALSE(exchangeReal("1", RealRange{1, 40}).error);
  EXPECT_EQ(formatReal(1234567), "1.23457e+06");
}

TEST(FieldExchange, TextReadAsTextTakesItsLeadingNumber) {
  EXPECT_EQ(readIntegerText("60.7"), 60);
  EXPECT_EQ(readIntegerText("  -42 feet"), -42);
  EXPECT_EQ(readIntegerText("site 60"), 0);
  EXPECT_EQ(readIntegerText("99999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(readRealText("23.5ft"), 23.5f);
  EXPECT_EQ(readRealText("1e"), 1.0f);
  EXPECT_EQ(readRealText("-"), 0.0f);
  EXPECT_EQ(readRealText(""), 0.0f);
  EXPECT_EQ(readRealText("1e400"), std::numeric_limits<float>::infinity());
}

TEST(UnthinnedDialog, BasalAreaIsDisabledWhileTheAgeIsYoung) {
  for (const char* age : {"", "0", "abc", "1", "5", "7.9"}) {
    EXPECT_FALSE(unthinnedBasalAreaEnabled(age)) << age;
  }
  for (const char* age : {"0.5", "8", "20", "50"}) EXPECT_TRUE(unthinnedBasalAreaEnabled(age));
}

TEST(UnthinnedDialog, ChecksInOrderWithTheirFocus) {
  using F = UnthinnedField;
  struct Case {
    UnthinnedTexts texts;
    const char* message;
    std::optional<F> focus;
  };
  const Case cases[] = {
      {{"50", "x", "", "", "60"}, "Enter an integer between 80 and 1500.", F::Trees},
      {{"500", "41", "", "", "60"}, "Enter a number between 1 and 40.", F::Age},
      // Both given is refused before any range, and names no field.
      {{"500", "20", "500", "50", "30"},
       "Please specify either Site Index or Dominant Height, not both.",
       {}},
      {{"500", "20", "100", "", ""}, "Please specify either Site Index or Dominant Height.", {}},
      {{"500", "20", "10", "", "38"}, "Please specify Site Index between\n39 and 95", F::SiteIndex},
      {{"500", "20", "19.9", "", "60"},
       "Please specify Basal Area between\n20 and 200",
       F::BasalArea},
      {{"500", "20", "", "95", ""}, "Please specify Dominant Height between\n20 and 90", F::Height},
  };
  for (const Case& c : cases) EXPECT_TRUE(refused(checkUnthinned(c.texts), c.message, c.focus));
  EXPECT_TRUE(checkUnthinned({"500", "20", "200", "90", ""}).ok());
  EXPECT_TRUE(checkUnthinned({"500", "20", "20", "", "95"}).ok());
}

TEST(UnthinnedDialog, AcceptedValuesReopenAsTheFieldsShowThem) {
  // Age 5 disables basal area, which keeps its text and value; the stand derivation drops it.
  auto checked = checkUnthinned({"500", "5.3", "150", "", "60"});
  ASSERT_TRUE(checked.ok());
  EXPECT_EQ(checked.accepted().age, 5.3f);
  EXPECT_EQ(checked.accepted().basalArea, 150.0f);
  EXPECT_EQ(checked.accepted().siteIndex, 60);
  RememberedValues memory;
  memory.unthinnedTrees = 500;
  memory.unthinnedAge = 5.3f;
  memory.unthinnedBasalArea = 150;
  memory.unthinnedSiteIndex = 60;
  UnthinnedTexts texts = openUnthinned(memory);
  EXPECT_EQ(texts.trees, "500");
  EXPECT_EQ(texts.age, "5.3");
  EXPECT_EQ(texts.basalArea, "150.0");
  EXPECT_EQ(texts.height, "");
  EXPECT_EQ(texts.siteIndex, "60");

  memory.thinnedHeight = 52.25f;
  memory.thinnedBasalArea = 87.5f;
  ThinnedTexts thinned = openThinned(memory);
  EXPECT_EQ(thinned.height, "52.2");
  EXPECT_EQ(thinned.basalArea, "87.5");
  EXPECT_EQ(thinned.age, "");
}

TEST(ThinnedDialog, ChecksInOrderWithTheirFocus) {
  using F = ThinnedField;
  struct Case {
    ThinnedTexts texts;
    const char* message;
    std::optional<F> focus;
  };
  const char* thinAgeTo30 = "Please specify the Thinning age\nbetween 8 and 30";
  const Case cases[] = {
      {{"50", "100", "400", "15", "", "60"}, "Enter an integer between 8 and 45.", F::Age},
      {{"30", "", "400", "15", "", "60"}, "Enter a number.", F::BasalArea},
      {{"30", "9.5", "400", "15", "", "60"},
       "Please specify Basal Area\nbetween 10 and 250  or equal to 0",
       F::BasalArea},
      {{"30", "0", "400", "35", "", "60"}, thinAgeTo30, F::ThinAge},
      {{"30", "0", "400", "7", "55", "60"}, thinAgeTo30, F::ThinAge},
      {{"42", "0", "400", "41", "", "60"},
       "Please specify the Thinning age\nbetween 8 and 39",
       F::ThinAge},
      {{"30", "0", "400", "15", "55", "60"},
       "Please specify either Site Index or Dominant Height, not both.",
       {}},
      {{"30", "0", "400", "15", "", ""},
       "Please specify either Site Index or Dominant Height.",
       {}},
      {{"30", "0", "400", "15", "", "96"},
       "Please specify Site Index between\n39 and 95",
       F::SiteIndex},
      {{"30", "0", "400", "15", "19.5", ""},
       "Please specify Dominant Height between\n20 and 90",
       F::Height},
  };
  for (const Case& c : cases) EXPECT_TRUE(refused(checkThinned(c.texts), c.message, c.focus));

  auto checked = checkThinned({"39", "120.3", "400", "39", "61.5", ""});
  ASSERT_TRUE(checked.ok());
  EXPECT_EQ(checked.accepted().basalArea, 120.3f);
  EXPECT_EQ(checked.accepted().height, 61.5f);
  EXPECT_EQ(checked.accepted().siteIndex, 0);
}

TEST(PercentRemovedDialog, OneOfTheTwoPercentages) {
  using F = PercentRemovedField;
  auto neither = checkPercentRemoved({"", ""});
  ASSERT_TRUE(refused(neither, "Please specify either percent of Basal Area or percent of Trees"));
  ASSERT_EQ(neither.failure().newTexts.size(), 2u);
  for (const auto& t : neither.failure().newTexts) EXPECT_EQ(t.text, "");

  auto tooMany = checkPercentRemoved({"100", ""});
  EXPECT_TRUE(refused(tooMany,
                      "Please specify the percent of Trees removed at thinning\n between 1 and 99",
                      F::Trees));
  ASSERT_EQ(tooMany.failure().newTexts.size(), 1u);
  EXPECT_EQ(tooMany.failure().newTexts[0].field, F::BasalArea);
  EXPECT_EQ(tooMany.failure().newTexts[0].text, "0");

  EXPECT_TRUE(
      refused(checkPercentRemoved({"30", "20"}),
              "Please specify Only One of either percent of Basal Area or percent of Trees"));
  EXPECT_TRUE(refused(checkPercentRemoved({"0", "-5"}),
                      "Please specify the percent of Basal Area removed at thinning\n between 1 "
                      "and 99",
                      F::BasalArea));
  auto accepted = checkPercentRemoved({"", "35"});
  ASSERT_TRUE(accepted.ok());
  EXPECT_EQ(accepted.accepted().trees, 0);
  EXPECT_EQ(accepted.accepted().basalArea, 35);
}

TEST(PlantationDialog, ExchangesSiteTreesAndSurvivalInOrder) {
  using F = PlantationField;
  EXPECT_TRUE(refused(checkPlantation({"38", "50", "0"}), "Enter an integer between 39 and 95.",
                      F::SiteIndex));
  EXPECT_TRUE(refused(checkPlantation({"60", "50", "0"}), "Enter an integer between 100 and 1500.",
                      F::Trees));
  EXPECT_TRUE(refused(checkPlantation({"60", "500", "0.5"}), "Enter a number between 1 and 100.",
                      F::Survival));
  auto checked = checkPlantation({"60", "500", "90", VegetationControl::Woody});
  ASSERT_TRUE(checked.ok());
  EXPECT_EQ(checked.accepted().survival, 90.0f);
  EXPECT_EQ(checked.accepted().control, VegetationControl::Woody);
}

TEST(GrowDialog, AgeLimitsDependOnTheStandAndTheCurrentAge) {
  StandFacts thinned{20, 100, 400, 4, 0, 0};
  StandFacts unthinned{20.6, 100, 400, 4, 0, 1};
  EXPECT_EQ(checkGrowAge("45", thinned).accepted(), 45);
  auto refusedAge = checkGrowAge("45", unthinned);
  EXPECT_TRUE(refused(refusedAge,
                      "The projection age must be between \n 8 and 40 \nfor unthinned stands. ",
                      SoleField::Value));
  ASSERT_EQ(refusedAge.failure().newTexts.size(), 1u);
  EXPECT_EQ(refusedAge.failure().newTexts[0].text, "60");
  EXPECT_TRUE(refused(checkGrowAge("46", thinned),
                      "The projection age must be between\n 8 and 45 \nfor thinned stands. ",
                      SoleField::Value));
  EXPECT_TRUE(refused(checkGrowAge("20", thinned),
                      "The projection age must be greater than the current stand age which is 20",
                      SoleField::Value));
  EXPECT_TRUE(checkGrowAge("21", unthinned).ok());
}

TEST(ThinningDialogs, ResidualBasalAreaFromTwentyToTheCurrent) {
  StandFacts stand{25, 123.5, 400, 4, 0, 1};
  ASSERT_EQ(thinningOpeningRefusal(stand), std::nullopt);
  EXPECT_EQ(checkResidualBA("20", stand).accepted(), 20.0f);
  EXPECT_EQ(checkResidualBA("123.5", stand).accepted(), 123.5f);
  const char* range = "Please enter a Residual Basal Area in the range\n 20.0 - 123.5";
  EXPECT_TRUE(refused(checkResidualBA("19.99", stand), range, SoleField::Value));
  EXPECT_TRUE(refused(checkResidualBA("123.51", stand), range, SoleField::Value));

  // The row percentage is exchanged before the residual is compared with the stand.
  using F = RowLowField;
  EXPECT_TRUE(
      refused(checkRowLow({"10", "0"}, stand), "Enter a number between 1 and 100.", F::RowPercent));
  EXPECT_TRUE(refused(checkRowLow({"10", "25"}, stand),
                      "Please choose a Basal Area between\n 20 - 123.5", F::Residual));
  EXPECT_TRUE(checkRowLow({"123.5", "100"}, stand).ok());

  stand.BA = 19.96;
  std::optional<Message> refusal = thinningOpeningRefusal(stand);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->text, "Unable to Thin.  The current Basal Area (20.0) is less than 20");
  EXPECT_EQ(refusal->caption, "");
}

TEST(ThinningDialogs, ThinToDBHLiesBetweenTheSmallestStandingClassAndTheLargestDiameter) {
  StandFacts stand{20, 120, 500, 3.2, 0, 0};
  DBHBounds bounds = thinToDBHBounds(stand);
  EXPECT_EQ(bounds.lower, 4);
  EXPECT_EQ(bounds.upper, 10);
  stand.truncationDBH = 5.0;
  EXPECT_EQ(thinToDBHBounds(stand).lower, 5);

  const char* range = "The diameter you want to thin to must be in the range\n5 - 10";
  EXPECT_TRUE(refused(checkThinToDBH("4.9", stand), range, SoleField::Value));
  EXPECT_TRUE(refused(checkThinToDBH("10.1", stand), range, SoleField::Value));
  EXPECT_EQ(checkThinToDBH("5", stand).accepted(), 5.0f);
  EXPECT_EQ(checkThinToDBH("9.7", stand).accepted(), 9.7f);
}

TEST(FertilizeDialog, OpensOnZeroNitrogenWithPhosphorus) {
  FertilizeTexts opening;
  EXPECT_TRUE(
      refused(checkFertilize(opening), "Enter a number between 50 and 300.", SoleField::Value));
  auto checked = checkFertilize({"50", false});
  ASSERT_TRUE(checked.ok());
  EXPECT_EQ(checked.accepted().nitrogen, 50.0f);
  EXPECT_FALSE(checked.accepted().phosphorus);
}

TEST(FinanceDialog, OpensWithTheDocumentsValuesAndChecksEachRange) {
  FinancialValues current;
  current.oneThinPulp = 0;
  current.harvestSaw = 27.5f;
  FinanceTexts texts = openFinance(current);
  EXPECT_EQ(texts[FinanceField::InterestRate], "5");
  EXPECT_EQ(texts[FinanceField::OneThinPulp], "0");
  EXPECT_EQ(texts[FinanceField::HarvestSaw], "27.5");
  ASSERT_TRUE(checkFinance(texts).ok());
  EXPECT_EQ(checkFinance(texts).accepted().values.harvestSaw, 27.5f);

  texts[FinanceField::HarvestSaw] = "300.5";
  EXPECT_TRUE(
      refused(checkFinance(texts), "Enter a number between 0 and 300.", FinanceField::HarvestSaw));
  texts[FinanceField::InterestRate] = "0.5";
  EXPECT_TRUE(
      refused(checkFinance(texts), "Enter a number between 1 and 20.", FinanceField::InterestRate));
}

TEST(MerchLimitsDialog, TopDiameterAndThresholdsInOrder) {
  using F = MerchField;
  DocumentSettings settings;
  settings.merchLimitShown = -1;
  MerchTexts opening = openMerchLimits(settings);
  EXPECT_EQ(opening.topDiameter, "");

  auto empty = checkMerchLimits(opening);
  EXPECT_TRUE(refused(empty, "Please specify Outside bark top diameter."));
  ASSERT_EQ(empty.failure().newTexts.size(), 1u);
  EXPECT_EQ(empty.failure().newTexts[0].text, "");
  // The empty top diameter already reads -1 when a later field fails the exchange.
  auto badSaw = checkMerchLimits({"", "x", "5"});
  EXPECT_TRUE(refused(badSaw, "Enter an integer.", F::SawThreshold));
  ASSERT_EQ(badSaw.failure().newTexts.size(), 1u);
  EXPECT_EQ(badSaw.failure().newTexts[0].text, "-1");

  EXPECT_TRUE(refused(checkMerchLimits({"6.5", "8", "5"}),
                      "Please specify the Outside Bark top diameter between 2 and 6",
                      F::TopDiameter));
  EXPECT_TRUE(refused(checkMerchLimits({"4", "8", "4"}),
                      "Please specify the Threshold Pulpwood greater than Outside Bark",
                      F::PulpThreshold));
  const char* pulpRange =
      "Please specify the Threshold Pulpwood between 4 and (Threshold Sawtimber - 1)";
  EXPECT_TRUE(refused(checkMerchLimits({"3", "8", "8"}), pulpRange, F::PulpThreshold));
  EXPECT_TRUE(refused(checkMerchLimits({"3", "8", "3"}), pulpRange, F::PulpThreshold));
  auto accepted = checkMerchLimits({"3.5", "8", "7", true});
  ASSERT_TRUE(accepted.ok());
  EXPECT_EQ(accepted.accepted().topDiameter, 3.5f);
  EXPECT_EQ(accepted.accepted().pulpThreshold, 7);
  EXPECT_TRUE(accepted.accepted().makeDefault);
}

}  // namespace
}  // namespace keldovar

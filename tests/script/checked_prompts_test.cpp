// Prompts answered from field texts: keys to fields, refusals that cancel, kept settings.
#include "script/checked_prompts.h"

#include <gtest/gtest.h>

#include <vector>

namespace keldovar {
namespace {

// Answers each dialog with the texts given for it (cancelling the others) and keeps what is shown.
class ScriptedSource final : public FieldSource {
 public:
  std::map<DialogId, FieldTexts> answers;
  std::vector<DialogId> asked;
  std::vector<Message> shown;

  std::optional<FieldTexts> fields(DialogId dialog) override {
    asked.push_back(dialog);
    auto it = answers.find(dialog);
    if (it == answers.end()) return std::nullopt;
    return it->second;
  }
  void showMessage(const Message& message) override { shown.push_back(message); }
};

class CheckedPromptsTest : public ::testing::Test {
 protected:
  ScriptedSource source;
  CheckedPrompts prompts{source};
  RememberedValues memory;
  StandFacts stand{20, 120, 500, 4, 0, 1};
};

TEST_F(CheckedPromptsTest, KeysFillTheFieldsTheyNameAndUnknownKeysAreIgnored) {
  source.answers[DialogId::Thinned] = {{"age", "30"},     {"ba", "95.5"}, {"trees", "400"},
                                       {"thinage", "15"}, {"si", "60"},   {"colour", "red"}};
  std::optional<ThinnedEntry> thinned = prompts.askThinned(memory);
  ASSERT_TRUE(thinned);
  EXPECT_EQ(thinned->age, 30);
  EXPECT_EQ(thinned->basalArea, 95.5f);
  EXPECT_EQ(thinned->trees, 400);
  EXPECT_EQ(thinned->thinAge, 15);
  EXPECT_EQ(thinned->height, 0.0f);
  EXPECT_EQ(thinned->siteIndex, 60);

  source.answers[DialogId::Plantation] = {
      {"si", "60"}, {"trees", "500"}, {"survival", "90"}, {"control", "herbwoody"}};
  EXPECT_EQ(prompts.askPlantation(memory)->control, VegetationControl::HerbAndWoody);
  source.answers[DialogId::Plantation].erase("control");
  EXPECT_EQ(prompts.askPlantation(memory)->control, VegetationControl::None);

  source.answers[DialogId::Fertilize] = {{"n", "150"}};
  EXPECT_TRUE(prompts.askFertilize()->phosphorus);
  source.answers[DialogId::Fertilize]["p"] = "no";
  EXPECT_FALSE(prompts.askFertilize()->phosphorus);

  source.answers[DialogId::RowLow] = {{"ba", "80"}, {"row", "25"}};
  std::optional<RowLowEntry> rowLow = prompts.askRowLow(memory, stand);
  ASSERT_TRUE(rowLow);
  EXPECT_EQ(rowLow->residual, 80.0f);
  EXPECT_EQ(rowLow->rowPercent, 25.0f);
  EXPECT_TRUE(source.shown.empty());
}

TEST_F(CheckedPromptsTest, ARefusedValueCancelsTheDialogAfterItsMessage) {
  source.answers[DialogId::Thinned] = {
      {"age", "50"}, {"ba", "0"}, {"trees", "400"}, {"thinage", "15"}, {"si", "60"}};
  EXPECT_FALSE(prompts.askThinned(memory));
  ASSERT_EQ(source.shown.size(), 1u);
  EXPECT_EQ(source.shown[0].caption, "");
  EXPECT_EQ(source.shown[0].text, "Enter an integer between 8 and 45.");
  EXPECT_EQ(source.shown[0].icon, MessageIcon::Exclamation);

  // A key not given is an empty field.
  source.answers[DialogId::PercentRemoved] = {};
  EXPECT_FALSE(prompts.askPercentRemoved(memory));
  EXPECT_EQ(source.shown.back().text,
            "Please specify either percent of Basal Area or percent of Trees");
  source.answers[DialogId::Grow] = {{"age", "45"}};
  EXPECT_FALSE(prompts.askGrowAge(stand));
  EXPECT_EQ(source.shown.back().text,
            "The projection age must be between \n 8 and 40 \nfor unthinned stands. ");
  EXPECT_EQ(source.shown.size(), 3u);
}

// `grow +N` counts from the stand's age (20.0 here, or 12.5 truncated); anything else that
// starts with + is the dialog's text as before.
TEST_F(CheckedPromptsTest, ARelativeGrowAgeCountsFromTheStandsAge) {
  struct Case {
    double age;
    const char* text;
    std::optional<int> grown;
    const char* message;
  };
  const Case cases[] = {
      {20, "+5", 25, ""},
      {12.5, "+5", 17, ""},
      {20, "+025", 45, ""},
      {20, "+0", std::nullopt,
       "The projection age must be greater than the current stand age which is 20"},
      {20, "+1000", std::nullopt,
       "The projection age must be between \n 8 and 40 \nfor unthinned stands. "},
      {20, "+x", std::nullopt, "Enter an integer."},
      {20, "+", std::nullopt, "Enter an integer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    source.shown.clear();
    StandFacts facts = stand;
    facts.AG = c.age;
    facts.unthinned = c.grown == 45 ? 0 : 1;
    source.answers[DialogId::Grow] = {{"age", c.text}};
    std::optional<int> grown = prompts.askGrowAge(facts);
    EXPECT_EQ(grown, c.grown);
    EXPECT_EQ(source.shown.empty() ? std::string() : source.shown.front().text, c.message);
  }
}

TEST_F(CheckedPromptsTest, ACancelledDialogShowsNothing) {
  EXPECT_FALSE(prompts.askUnthinned(memory));
  EXPECT_FALSE(prompts.askResidualBA(memory, stand));
  EXPECT_FALSE(prompts.askThinToDBH(memory, stand));
  EXPECT_FALSE(prompts.askFinance(FinancialValues{}));
  EXPECT_TRUE(source.shown.empty());
}

TEST_F(CheckedPromptsTest, ThinningDialogsRefuseToOpenOnAThinStand) {
  source.answers[DialogId::ResidualBA] = {{"ba", "18"}};
  source.answers[DialogId::RowLow] = {{"ba", "18"}, {"row", "20"}};
  stand.BA = 17.84;
  EXPECT_FALSE(prompts.askResidualBA(memory, stand));
  EXPECT_FALSE(prompts.askRowLow(memory, stand));
  EXPECT_TRUE(source.asked.empty());
  ASSERT_EQ(source.shown.size(), 2u);
  EXPECT_EQ(source.shown[1].text, "Unable to Thin.  The current Basal Area (17.8) is less than 20");
}

TEST_F(CheckedPromptsTest, LowThinMethodStartsOnBasalAreaAndNoAnswerChoosesNeither) {
  EXPECT_EQ(prompts.askLowThinMethod(), 0);
  source.answers[DialogId::LowThinMethod] = {};
  EXPECT_EQ(prompts.askLowThinMethod(), 2);
  source.answers[DialogId::LowThinMethod] = {{"method", "DBH"}};
  EXPECT_EQ(prompts.askLowThinMethod(), 1);
  source.answers[DialogId::LowThinMethod] = {{"method", "ba"}};
  EXPECT_EQ(prompts.askLowThinMethod(), 2);
}

TEST_F(CheckedPromptsTest, SettingsDialogsKeepTheValuesOfKeysNotGiven) {
  FinancialValues current;
  current.interestRate = 7.25f;
  current.establishmentCost = 0;
  source.answers[DialogId::Finance] = {{"harvest_saw", "30"}};
  std::optional<FinanceEntry> finance = prompts.askFinance(current);
  ASSERT_TRUE(finance);
  EXPECT_EQ(finance->values.interestRate, 7.25f);
  EXPECT_EQ(finance->values.establishmentCost, 0.0f);
  EXPECT_EQ(finance->values.oneThinSaw, current.oneThinSaw);
  EXPECT_EQ(finance->values.harvestSaw, 30.0f);
  EXPECT_FALSE(finance->makeDefault);

  DocumentSettings settings;
  source.answers[DialogId::MerchLimits] = {{"pulp", "6"}};
  std::optional<MerchEntry> merch = prompts.askMerchLimits(settings);
  ASSERT_TRUE(merch);
  EXPECT_EQ(merch->topDiameter, 3.0f);
  EXPECT_EQ(merch->sawThreshold, 8);
  EXPECT_EQ(merch->pulpThreshold, 6);

  settings.merchLimitShown = -1;
  EXPECT_FALSE(prompts.askMerchLimits(settings));
  EXPECT_EQ(source.shown.back().text, "Please specify Outside bark top diameter.");

  prompts.showMessage(Message{" THINNING ERROR ", "a\nb", MessageIcon::Exclamation});
  EXPECT_EQ(source.shown.back().caption, " THINNING ERROR ");
}

}  // namespace
}  // namespace keldovar

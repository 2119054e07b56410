// The dialogs' tables read back through the script reader and the script's prompts: every key a
// table gives a command parses, and each key reaches the field the table puts it in.
#include <gtest/gtest.h>

#include <functional>

#include "document/field_text.h"
#include "script/checked_prompts.h"
#include "script/dialog_checks.h"
#include "script/document_commands.h"
#include "script/regime_steps.h"
#include "script/script.h"

namespace keldovar {
namespace {

class KeySource final : public FieldSource {
 public:
  FieldTexts given;
  std::string refused;
  std::vector<Message> shown;
  std::optional<FieldTexts> fields(DialogId) override { return given; }
  void showMessage(const Message& message) override { shown.push_back(message); }
  void fieldRefused(const std::string& key) override { refused = key; }
};

TEST(DialogTables, EveryKeyOfACommandsDialogsParsesOnItsLine) {
  for (const DocumentCommand& command : documentCommands()) {
    if (*command.words == '\0' || command.kind == StepKind::Grow) continue;
    std::string line = command.words;
    std::vector<std::string> keys;
    for (DialogId dialog : command.dialogs) {
      DialogFields fields = dialogFields(dialog);
      for (const DialogField* field : fields.texts) keys.push_back(field->key);
      for (const ChoiceField* choice : fields.choices) {
        line += std::string(" ") + choice->key + "=" + choice->choices.back().word;
      }
    }
    // thin low takes one of its two keys.
    if (command.kind == StepKind::ThinLow) keys.pop_back();
    for (const std::string& key : keys) line += " " + key + "=1";
    ParsedScript parsed = parseScript(line);
    ASSERT_FALSE(parsed.failed()) << line << ": " << parsed.errors.front().message;
    EXPECT_EQ(parsed.commands.front().kind, command.kind) << line;
    for (const std::string& key : keys) EXPECT_EQ(parsed.commands.front().fields.count(key), 1u);
    EXPECT_TRUE(parseScript(line + " colour=red").failed()) << line;
  }
}

// The step runner's script line of every command reads back as the same step: the words the
// search reports are the reader's.
TEST(DialogTables, EveryStepsScriptLineReadsBackAsTheSameStep) {
  const std::map<StepKind, FieldTexts> fields = {
      {StepKind::Grow, {{"age", "20"}}},
      {StepKind::ThinLow, {{"dbh", "7"}, {"method", "dbh"}}},
      {StepKind::Plantation, {{"si", "60"}, {"control", "woody"}}},
      {StepKind::Fertilize, {{"n", "150"}, {"p", "no"}}},
  };
  for (const DocumentCommand& command : documentCommands()) {
    if (*command.words == '\0') continue;
    auto given = fields.find(command.kind);
    Step step{command.kind, given == fields.end() ? FieldTexts{} : given->second};
    ParsedScript parsed = parseScript(scriptLine(step));
    ASSERT_FALSE(parsed.failed()) << scriptLine(step);
    EXPECT_EQ((Step{parsed.commands.front().kind, parsed.commands.front().fields}), step)
        << scriptLine(step);
  }
}

// Each exchanged field refused alone (the fields before it at their least) is refused under its
// own key, with the exchange's message and no icon.
TEST(DialogTables, ThePromptsGiveEachKeyToTheTablesField) {
  KeySource source;
  CheckedPrompts prompts(source);
  RememberedValues memory;
  StandFacts stand{20, 120, 500, 4, 0, 1};
  const std::map<DialogId, std::function<bool()>> asks = {
      {DialogId::Unthinned, [&] { return prompts.askUnthinned(memory).has_value(); }},
      {DialogId::Thinned, [&] { return prompts.askThinned(memory).has_value(); }},
      {DialogId::PercentRemoved, [&] { return prompts.askPercentRemoved(memory).has_value(); }},
      {DialogId::Plantation, [&] { return prompts.askPlantation(memory).has_value(); }},
      {DialogId::Grow, [&] { return prompts.askGrowAge(stand).has_value(); }},
      {DialogId::ResidualBA, [&] { return prompts.askResidualBA(memory, stand).has_value(); }},
      {DialogId::ThinToDBH, [&] { return prompts.askThinToDBH(memory, stand).has_value(); }},
      {DialogId::RowLow, [&] { return prompts.askRowLow(memory, stand).has_value(); }},
      {DialogId::Fertilize, [&] { return prompts.askFertilize().has_value(); }},
      {DialogId::Finance, [&] { return prompts.askFinance(FinancialValues{}).has_value(); }},
      {DialogId::MerchLimits,
       [&] { return prompts.askMerchLimits(DocumentSettings{}).has_value(); }},
  };
  for (const auto& [dialog, ask] : asks) {
    std::vector<const DialogField*> fields = dialogFields(dialog).texts;
    source.given.clear();
    for (const DialogField* field : fields) {
      bool exchanged = field->kind == FieldKind::Integer || field->kind == FieldKind::Real;
      if (exchanged) {
        source.given[field->key] = "x";
        source.shown.clear();
        EXPECT_FALSE(ask()) << field->key;
        EXPECT_EQ(source.refused, field->key);
        ASSERT_EQ(source.shown.size(), 1u) << field->key;
        EXPECT_EQ(source.shown[0].text,
                  field->kind == FieldKind::Integer ? "Enter an integer." : "Enter a number.");
        EXPECT_EQ(source.shown[0].icon, MessageIcon::None);
      }
      source.given[field->key] = field->bounds ? formatReal(field->bounds->low) : "0";
    }
  }
}

TEST(DialogTables, RangesShowAsTheFieldsShowThemAndOneSiteIndexRange) {
  EXPECT_EQ(rangeText(kSiteIndexBounds), "39-95");
  EXPECT_EQ(rangeText(Bounds{0.5f, 2.25f}), "0.5-2.25");
  EXPECT_EQ(rangeText(Bounds{20, kStandBound}), "20 or more");
  const DialogField& basalArea = fieldSpec(kUnthinnedFields, UnthinnedField::BasalArea);
  EXPECT_EQ(rangeTip(basalArea, *basalArea.bounds), "Allowed: 20-200, or empty");
  const DialogField& thinnedBA = fieldSpec(kThinnedFields, ThinnedField::BasalArea);
  EXPECT_EQ(rangeTip(thinnedBA, *thinnedBA.bounds), "Allowed: 10-250, or 0");
  for (const DialogField* si : {&fieldSpec(kUnthinnedFields, UnthinnedField::SiteIndex),
                                &fieldSpec(kThinnedFields, ThinnedField::SiteIndex),
                                &fieldSpec(kPlantationFields, PlantationField::SiteIndex)}) {
    EXPECT_EQ(rangeText(*si->bounds), "39-95");
  }
  StandFacts stand{25.5, 140.26, 500, 4, 0, 1};
  EXPECT_EQ(rangeText(growAgeBounds(stand)), "26-40");
  EXPECT_EQ(rangeText(residualBounds(fieldSpec(kRowLowFields, RowLowField::Residual), stand)),
            "20-140.2");
  stand.unthinned = 0;
  EXPECT_EQ(rangeText(growAgeBounds(stand)), "26-45");
}

}  // namespace
}  // namespace keldovar

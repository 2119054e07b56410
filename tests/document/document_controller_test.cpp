// The per-document step protocol: store, restore, abort, the view options and Reset View.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <tuple>

#include "document/document_controller.h"
#include "tests/document/scripted_prompts.h"
#include "view/copy_text.h"

namespace keldovar::testing {
namespace {

constexpr const char* kAborted = "Returning to previous conditions. Function aborted.";

struct Document {
  Document(Session& session, MemorySettingsStore& settings, ViewOptions options = {})
      : controller(session, prompts, settings, DocumentSettings{}, options) {}
  ScriptedPrompts prompts;
  DocumentController controller;

  bool initUnthinned(float age, int trees, int si) {
    prompts.unthinned = UnthinnedEntry{trees, age, 0, 0, si};
    return controller.initialize(kExistingUnthinned);
  }
  bool grow(int age) {
    prompts.growAge = age;
    return controller.grow();
  }
  bool rowThin(float residual) {
    prompts.residualBA = residual;
    return controller.treat(kRowThin);
  }
  const ReportTable& newest() const { return *controller.store().newest(); }
};

class ControllerTest : public ::testing::Test {
 protected:
  FixedClock clock{LocalTime{2026, 12, 7, 10, 0, 0, 1}};
  Session session{&clock};
  MemorySettingsStore settings;
};

TEST_F(ControllerTest, StepsStoreTablesAndTheSnapshot) {
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  ASSERT_TRUE(doc.grow(25));
  const TableStore& store = doc.controller.store();
  EXPECT_EQ(store.lastIndex, 1);
  EXPECT_EQ(store.snapshot.AG, 25);
  EXPECT_EQ(doc.newest().titleLines[1], " Age                            25 years");
  EXPECT_EQ(doc.newest().hasStandTable, 1);
  EXPECT_GE(doc.newest().stockLast, 5);
  EXPECT_GE(doc.newest().bar.barLast, 3);
  EXPECT_EQ(doc.newest().merchLimit, 3);
  EXPECT_EQ(doc.newest().logRuleName, "INT 1/4");
  EXPECT_TRUE(doc.controller.modified());
  // The accepted values are remembered for the next time the dialogs open.
  EXPECT_EQ(doc.controller.content().remembered.unthinnedTrees, 500);
  EXPECT_EQ(doc.controller.content().remembered.growAge, 25);
}

TEST_F(ControllerTest, FailedStepsStoreNothing) {
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  doc.prompts.growAge.reset();  // cancelled
  EXPECT_FALSE(doc.controller.grow());
  ASSERT_FALSE(doc.prompts.messages.empty());
  EXPECT_EQ(doc.prompts.messages.back().text, kAborted);
  EXPECT_EQ(doc.prompts.messages.back().caption, "");
  EXPECT_EQ(doc.prompts.messages.back().icon, MessageIcon::Information);
  EXPECT_EQ(doc.controller.store().lastIndex, 0);
  // A failed initialization leaves the engine reset, but the next step restores this
  // document's stand from its store.
  doc.prompts.unthinned.reset();
  EXPECT_FALSE(doc.controller.initialize(kExistingUnthinned));
  EXPECT_EQ(session.engine.state().initialized, 1);
  EXPECT_TRUE(doc.controller.treat(kHarvest));
  EXPECT_EQ(doc.controller.store().lastIndex, 1);
  EXPECT_EQ(doc.newest().history[2].age, 20);
}

TEST_F(ControllerTest, EngineMessagesReachThePrompts) {
  Document doc(session, settings);
  EXPECT_FALSE(doc.grow(25));  // nothing initialized
  ASSERT_EQ(doc.prompts.messages.size(), 2u);
  EXPECT_EQ(doc.prompts.messages[0].caption, " PROJECTION ERROR ");
  EXPECT_EQ(doc.prompts.messages[0].text,
            "The stand must have been initialized before you can \ngrow it.");
  EXPECT_EQ(doc.prompts.messages[1].text, kAborted);
}

TEST_F(ControllerTest, RestoreOnAnEmptyStoreStillHandsOverSnapshotAndSettings) {
  Document other(session, settings);
  ASSERT_TRUE(other.initUnthinned(20, 500, 60));
  DocumentSettings custom;
  custom.merchLimit = 4;
  custom.financial.interestRate = 7.5f;
  ScriptedPrompts prompts;
  DocumentController empty(session, prompts, settings, custom, ViewOptions{});
  EXPECT_FALSE(empty.treat(kHarvest));
  const StandState& s = session.engine.state();
  EXPECT_EQ(s.initialized, 0);  // this document's stand, not the other's
  EXPECT_EQ(s.pulpTopDiameter, 4);
  EXPECT_EQ(s.financial.interestRate, 7.5f);
  EXPECT_EQ(prompts.messages.front().caption, " THINNING ERROR ");
}

TEST_F(ControllerTest, TwoDocumentsShareTheEngineWithoutDisturbingEachOther) {
  Document a(session, settings);
  Document b(session, settings);
  ASSERT_TRUE(a.initUnthinned(20, 500, 60));
  ASSERT_TRUE(a.grow(25));
  ASSERT_TRUE(b.initUnthinned(15, 800, 75));
  ASSERT_TRUE(b.grow(22));
  ASSERT_TRUE(b.rowThin(90));
  ASSERT_TRUE(a.rowThin(100));
  ASSERT_TRUE(a.grow(35));

  Session alone{&clock};
  Document c(alone, settings);
  ASSERT_TRUE(c.initUnthinned(20, 500, 60));
  ASSERT_TRUE(c.grow(25));
  ASSERT_TRUE(c.rowThin(100));
  ASSERT_TRUE(c.grow(35));
  EXPECT_EQ(selectAllText(a.controller.store(), true), selectAllText(c.controller.store(), true));
  EXPECT_EQ(a.newest().titleLines, c.newest().titleLines);
}

// Prompts whose grow dialog lets another document start steps, as a nested event loop might.
class MeddlingPrompts final : public ScriptedPrompts {
 public:
  DocumentController* other = nullptr;
  std::vector<bool> stored;
  std::vector<StepResult> results;
  std::optional<int> askGrowAge(const StandFacts& facts) override {
    stored.push_back(other->grow());
    results.push_back(other->lastStepResult());
    stored.push_back(other->treat(kRowThin));
    stored.push_back(other->initialize(kExistingUnthinned));
    results.push_back(other->lastStepResult());
    return ScriptedPrompts::askGrowAge(facts);
  }
};

TEST_F(ControllerTest, AStepStartedWhileAnotherAsksIsRefusedCleanly) {
  Document b(session, settings);
  ASSERT_TRUE(b.initUnthinned(15, 800, 75));
  b.prompts.growAge = 22;
  b.prompts.residualBA = 90;
  std::string bBefore = selectAllText(b.controller.store(), true);

  MeddlingPrompts prompts;
  DocumentController a(session, prompts, settings, DocumentSettings{}, ViewOptions{});
  prompts.other = &b.controller;
  prompts.unthinned = UnthinnedEntry{500, 20, 0, 0, 60};
  ASSERT_TRUE(a.initialize(kExistingUnthinned));
  prompts.growAge = 25;
  ASSERT_TRUE(a.grow());
  EXPECT_EQ(a.lastStepResult(), StepResult::Stored);
  EXPECT_EQ(prompts.stored, std::vector<bool>(3, false));
  EXPECT_EQ(prompts.results, std::vector<StepResult>(2, StepResult::Busy));
  // The refused steps showed nothing and left the other document as it was.
  EXPECT_TRUE(b.prompts.messages.empty());
  EXPECT_EQ(selectAllText(b.controller.store(), true), bBefore);
  EXPECT_FALSE(session.engine.stepRunning());

  // The asking document's step ends as if nobody had meddled.
  Session alone{&clock};
  Document c(alone, settings);
  ASSERT_TRUE(c.initUnthinned(20, 500, 60));
  ASSERT_TRUE(c.grow(25));
  EXPECT_EQ(selectAllText(a.store(), true), selectAllText(c.controller.store(), true));
  // Once the step has ended the other document's steps run again.
  EXPECT_TRUE(b.controller.grow());
}

TEST_F(ControllerTest, StepsPutBackTheHooksTheyFoundAndReportHowTheyEnded) {
  SilentHooks before;
  session.engine.setHooks(&before);
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  EXPECT_EQ(session.engine.installedHooks(), &before);
  doc.prompts.growAge.reset();
  EXPECT_FALSE(doc.controller.grow());
  EXPECT_EQ(doc.controller.lastStepResult(), StepResult::Aborted);
  EXPECT_FALSE(doc.rowThin(100) && doc.controller.treat(kThinomatic));
  EXPECT_EQ(doc.controller.lastStepResult(), StepResult::Refused);
  EXPECT_EQ(doc.prompts.lastText(), kAborted);  // both end with the same message
  EXPECT_EQ(session.engine.installedHooks(), &before);
}

TEST_F(ControllerTest, DocumentsHoldOnlyTheTablesTheyHave) {
  DocumentContent empty;
  EXPECT_LT(sizeof(DocumentContent), 8192u);
  EXPECT_EQ(empty.store.tables.allocated(), 0u);
  EXPECT_EQ(empty.store.tables[42].stockLast, -1);  // a slot never written reads empty
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  ASSERT_TRUE(doc.grow(25));
  DocumentContent copy = doc.controller.content();
  EXPECT_EQ(copy.store.tables.allocated(), 2u);
  EXPECT_EQ(selectAllText(copy.store, true), selectAllText(doc.controller.store(), true));
}

TEST_F(ControllerTest, HarvestRepeatsTheRestoredTablesWithItsHistory) {
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  ASSERT_TRUE(doc.grow(30));
  ASSERT_TRUE(doc.rowThin(100));
  ReportTable thinned = doc.newest();
  ASSERT_TRUE(doc.controller.treat(kHarvest));
  const ReportTable& harvest = doc.newest();
  EXPECT_EQ(harvest.titleLines, thinned.titleLines);
  EXPECT_EQ(harvest.stockLast, thinned.stockLast);
  EXPECT_EQ(harvest.stock, thinned.stock);
  EXPECT_EQ(harvest.thinningLines, thinned.thinningLines);
  EXPECT_EQ(harvest.bar.barLast, thinned.bar.barLast);
  EXPECT_EQ(thinned.historyLast, -1);
  EXPECT_GE(harvest.historyLast, 4);
  EXPECT_GE(harvest.financialLast, 6);
  EXPECT_EQ(doc.controller.store().snapshot.initialized, 0);
}

TEST_F(ControllerTest, StoreHoldsOneHundredTables) {
  Document doc(session, settings, ViewOptions{false, true, false});
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  EXPECT_EQ(doc.controller.store().lastIndex, 99);
  EXPECT_TRUE(doc.prompts.messages.empty());
  EXPECT_EQ(doc.controller.store().firstShown, 99);
  ASSERT_TRUE(doc.initUnthinned(21, 500, 60));
  ASSERT_EQ(doc.prompts.messages.size(), 1u);
  EXPECT_EQ(doc.prompts.messages[0].text,
            "Maximum number of tables has been reached, overwriting last table");
  EXPECT_EQ(doc.controller.store().lastIndex, 99);
  EXPECT_EQ(doc.controller.store().firstShown, 99);
  EXPECT_EQ(doc.newest().titleLines[1], " Age                            21 years");
}

TEST_F(ControllerTest, AFullStoreShownWholeStillKnowsItsNewestStep) {
  Document doc(session, settings);
  for (int i = 0; i < 101; ++i) ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  EXPECT_EQ(doc.controller.store().stepTable, 99);
  doc.controller.toggleAllTables();
  EXPECT_EQ(doc.controller.store().firstShown, 99);
  EXPECT_FALSE(selectAllText(doc.controller.store(), true).empty());
}

TEST_F(ControllerTest, AllTablesAndCurrentStep) {
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  ASSERT_TRUE(doc.grow(25));
  ASSERT_TRUE(doc.grow(30));
  const TableStore& store = doc.controller.store();
  EXPECT_EQ(store.firstShown, 0);
  EXPECT_EQ(store.stepTable, 2);
  doc.controller.toggleAllTables();  // off: the newest step, not the first
  EXPECT_EQ(store.firstShown, 2);
  EXPECT_EQ(settings.readInt("Options", "AllTables"), 0);
  ASSERT_TRUE(doc.grow(35));
  EXPECT_EQ(store.firstShown, 3);
  EXPECT_EQ(store.stepTable, 3);
  doc.controller.toggleAllTables();
  EXPECT_EQ(store.firstShown, 0);
  EXPECT_EQ(store.stepTable, 3);
  EXPECT_EQ(settings.readInt("Options", "AllTables"), 1);
  doc.controller.toggleFinancial();
  doc.controller.toggleBargraph();
  EXPECT_EQ(settings.readInt("Options", "Financial"), 0);
  EXPECT_EQ(settings.readInt("Options", "Bargraph"), 1);
}

TEST_F(ControllerTest, FertilizeRecordsTheRequestInThisDocumentsStand) {
  Document empty(session, settings);
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(12, 500, 60));
  // The engine holds an initialized stand, but this document has none.
  empty.prompts.fertilize = FertilizeEntry{100, true};
  EXPECT_FALSE(empty.controller.fertilize());
  EXPECT_EQ(empty.prompts.lastText(), "The stand must have been initialized first.");

  doc.prompts.fertilize = FertilizeEntry{150, false};
  ASSERT_TRUE(doc.controller.fertilize());
  ASSERT_TRUE(doc.controller.fertilize());
  const StandSnapshot& snap = doc.controller.store().snapshot;
  EXPECT_EQ(snap.fertAgesLast, 0);  // the same age once
  EXPECT_EQ(snap.iFertAge, 12);
  EXPECT_EQ(snap.fFert_Nitrogen, 150);
  EXPECT_EQ(snap.bFert_Phosphorus, 0);
  EXPECT_EQ(doc.controller.store().lastIndex, 0);  // no table of its own
  ASSERT_TRUE(doc.grow(14));
  EXPECT_EQ(doc.newest().titleLines[1],
            " Age                            14 years(FERTILIZED AT AGE 12) ");
  EXPECT_STREQ(doc.newest().history[2].label, "Fertilization");
  doc.prompts.fertilize.reset();  // cancelled: nothing recorded
  EXPECT_FALSE(doc.controller.fertilize());
}

class SaveHost : public DocumentHost {
 public:
  SaveHost(DocumentController& controller, Answer answer, bool saveWorks)
      : controller_(controller), answer_(answer), saveWorks_(saveWorks) {}
  Answer askSaveBeforeReset(const std::string& q) override {
    question = q;
    return answer_;
  }
  void save() override {
    ++saves;
    if (saveWorks_) controller_.markSaved();
  }
  std::string question;
  int saves = 0;

 private:
  DocumentController& controller_;
  Answer answer_;
  bool saveWorks_;
};

TEST_F(ControllerTest, ResetViewAsksToSaveUnsavedChanges) {
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  SaveHost cancel(doc.controller, DocumentHost::Answer::Cancel, true);
  EXPECT_FALSE(doc.controller.resetView(cancel, "Stand1"));
  EXPECT_EQ(cancel.question, "Save Stand1 before resetting?");
  SaveHost failing(doc.controller, DocumentHost::Answer::Yes, false);
  EXPECT_FALSE(doc.controller.resetView(failing, "Stand1"));
  EXPECT_EQ(failing.saves, 1);
  EXPECT_EQ(doc.controller.store().lastIndex, 0);
  EXPECT_EQ(doc.controller.content().remembered.unthinnedTrees, 500);

  SaveHost saving(doc.controller, DocumentHost::Answer::Yes, true);
  EXPECT_TRUE(doc.controller.resetView(saving, "Stand1"));
  EXPECT_EQ(doc.controller.store().lastIndex, -1);
  EXPECT_EQ(doc.controller.content().remembered.unthinnedTrees, 0);
  EXPECT_EQ(doc.controller.store().snapshot.initialized, 0);
  EXPECT_FALSE(doc.controller.modified());
  // Nothing unsaved: no question.
  SaveHost unasked(doc.controller, DocumentHost::Answer::Cancel, true);
  EXPECT_TRUE(doc.controller.resetView(unasked, "Stand1"));
  EXPECT_EQ(unasked.question, "");
}

TEST_F(ControllerTest, FinancialValuesChangeTheDocumentAndOptionallyTheDefaults) {
  Document doc(session, settings);
  ASSERT_TRUE(doc.initUnthinned(20, 500, 60));
  FinanceEntry entry;
  entry.values.interestRate = 2.5f;
  entry.values.harvestSaw = 30.123f;
  doc.prompts.finance = entry;
  doc.controller.financialValues();
  EXPECT_TRUE(doc.prompts.messages.empty());  // no financial report yet
  EXPECT_FALSE(settings.readString("Options", "interest_rate"));
  EXPECT_EQ(doc.controller.content().settings.financial.interestRate, 2.5f);

  ASSERT_TRUE(doc.controller.treat(kHarvest));
  entry.makeDefault = true;
  doc.prompts.finance = entry;
  doc.controller.financialValues();
  EXPECT_EQ(doc.prompts.lastText(),
            "The current financial report data uses the previous values.\n Redo the Harvest to "
            "use the new financial values.");
  EXPECT_EQ(settings.readString("Options", "interest_rate"), "2.50");
  EXPECT_EQ(settings.readString("Options", "harvest_saw"), "30.12");
  EXPECT_EQ(doc.controller.content().settings.financial.harvestSaw, 30.123f);

  settings.setFailWrites(true);
  doc.controller.financialValues();
  EXPECT_EQ(doc.prompts.lastText(),
            "There was an error while saving the default values.  Values were not saved, "
            "returning to previous values.");
}

TEST_F(ControllerTest, MerchantabilityLimitsWarnOnlyWhenThereAreTables) {
  Document doc(session, settings);
  doc.prompts.merch = MerchEntry{4, 10, 6, true};
  doc.controller.merchLimits();
  EXPECT_TRUE(doc.prompts.messages.empty());
  EXPECT_EQ(settings.readString("Options", "Merch_limit"), "4.00");
  EXPECT_EQ(settings.readInt("Options", "threshold_saw"), 10);
  EXPECT_EQ(settings.readInt("Options", "threshold_pulp"), 6);
  ASSERT_TRUE(doc.initUnthinned(25, 500, 70));
  EXPECT_EQ(doc.newest().merchLimit, 4);
  // Pulp tons start at the new pulpwood threshold.
  for (int r = 0; r < doc.newest().stockLast; ++r) {
    const StockRow& row = doc.newest().stock[static_cast<std::size_t>(r)];
    EXPECT_EQ(row[5] > 0, row[0] >= 6) << row[0];
  }
  doc.controller.merchLimits();
  EXPECT_EQ(doc.prompts.lastText(),
            "Warning: due to Merchantability Limit changes the current output data is invalid.  "
            "Please generate data again.");
}

// Every stored value of two stores, the lines and records no section shows included.
void expectSameTables(const TableStore& a, const TableStore& b) {
  ASSERT_EQ(a.lastIndex, b.lastIndex);
  for (std::size_t i = 0; i < static_cast<std::size_t>(a.count()); ++i) {
    const ReportTable& x = a.tables[i];
    const ReportTable& y = b.tables[i];
    EXPECT_EQ(x.titleLines, y.titleLines) << i;
    EXPECT_EQ(x.thinningLines, y.thinningLines) << i;
    EXPECT_EQ(x.historyText, y.historyText) << i;
    EXPECT_EQ(x.beforeStockLines, y.beforeStockLines) << i;
    EXPECT_EQ(x.afterStockLines, y.afterStockLines) << i;
    ASSERT_EQ(x.financialLast, y.financialLast) << i;
    for (std::size_t l = 0; static_cast<int>(l) <= x.financialLast; ++l) {
      EXPECT_EQ(x.financialLines[l], y.financialLines[l]) << i;
    }
    ASSERT_EQ(x.stockLast, y.stockLast) << i;
    for (std::size_t r = 0; static_cast<int>(r) <= x.stockLast; ++r) {
      EXPECT_EQ(x.stock[r], y.stock[r]) << i;
    }
    EXPECT_EQ(std::memcmp(&x.history, &y.history, sizeof x.history), 0) << i;
    EXPECT_EQ(std::memcmp(&x.bar, &y.bar, sizeof x.bar), 0) << i;
    EXPECT_EQ(std::tie(x.hasStandTable, x.hasThinningReport, x.historyLast),
              std::tie(y.hasStandTable, y.hasThinningReport, y.historyLast))
        << i;
  }
}

// A step goes on from the engine's outputs without copying its newest table back only while
// they are still that table: after another document's step, a cancelled step, or a replaced
// document it copies it back, and every table is the same as when the steps run alone.
TEST_F(ControllerTest, TheEngineHoldsTheNewestTableOnlyUntilSomethingElseChangesIt) {
  using Steps = std::function<void(Document & a, Document & b)>;
  auto harvest = [](Document& d) { ASSERT_TRUE(d.controller.treat(kHarvest)); };
  struct Case {
    const char* name;
    Steps shared;  // on one engine, with another document
    Steps alone;   // the same document's steps on an engine of its own
  };
  const Case cases[] = {
      {"another document's steps between",
       [&](Document& a, Document& b) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         ASSERT_TRUE(b.initUnthinned(15, 800, 75) && b.grow(22) && b.rowThin(90));
         ASSERT_TRUE(a.rowThin(100));
         harvest(a);
       },
       [&](Document& a, Document&) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25) && a.rowThin(100));
         harvest(a);
       }},
      {"a cancelled step between",
       [&](Document& a, Document&) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         a.prompts.growAge.reset();
         ASSERT_FALSE(a.controller.grow());
         harvest(a);
       },
       [&](Document& a, Document&) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         harvest(a);
       }},
      {"a document replaced by an earlier copy",
       [&](Document& a, Document&) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         DocumentContent copy = a.controller.content();
         ASSERT_TRUE(a.grow(30) && a.rowThin(90));
         a.controller.replaceContent(copy);
         harvest(a);
       },
       [&](Document& a, Document&) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         harvest(a);
       }},
      {"another document's cancelled step between",
       [&](Document& a, Document& b) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         b.prompts.unthinned.reset();
         ASSERT_FALSE(b.controller.initialize(kExistingUnthinned));
         harvest(a);
       },
       [&](Document& a, Document&) {
         ASSERT_TRUE(a.initUnthinned(20, 500, 60) && a.grow(25));
         harvest(a);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session shared{&clock};
    Document a(shared, settings), b(shared, settings);
    c.shared(a, b);
    Session own{&clock}, other{&clock};
    Document alone(own, settings), unused(other, settings);
    c.alone(alone, unused);
    expectSameTables(a.controller.store(), alone.controller.store());
  }
}

}  // namespace
}  // namespace keldovar::testing

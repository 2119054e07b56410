// Undo Last Step: an undone document writes the stand file it would have written had the step
// never been taken, and is "modified" exactly when that file differs from the one last saved.
#include <gtest/gtest.h>

#include <functional>

#include "app/stand_file.h"
#include "document/document_controller.h"
#include "tests/document/scripted_prompts.h"

namespace keldovar::testing {
namespace {

struct Doc {
  FixedClock clock{LocalTime{2026, 12, 7, 10, 0, 0, 1}};
  Session session{&clock};
  MemorySettingsStore settings;
  ScriptedPrompts prompts;
  DocumentController controller{session, prompts, settings, DocumentSettings{}, ViewOptions{}};
  std::vector<std::uint8_t> file() const { return writeStandFile(controller.content()); }
};

using Action = std::function<bool(Doc&)>;

Action plant(int si) {
  return [si](Doc& d) {
    d.prompts.plantation = PlantationEntry{si, 600, 85, VegetationControl::HerbAndWoody};
    return d.controller.initialize(kNewPlantation);
  };
}
Action grow(int age) {
  return [age](Doc& d) {
    d.prompts.growAge = age;
    return d.controller.grow();
  };
}
Action thin(float ba) {
  return [ba](Doc& d) {
    d.prompts.residualBA = ba;
    return d.controller.treat(kThinomatic);
  };
}
const Action kFertilize = [](Doc& d) {
  d.prompts.fertilize = FertilizeEntry{200, true};
  return d.controller.fertilize();
};
const Action kHarvestStep = [](Doc& d) { return d.controller.treat(kHarvest); };
const Action kAllTables = [](Doc& d) {
  d.controller.toggleAllTables();
  return true;
};

struct UndoCase {
  const char* name;
  std::vector<Action> before;
  Action undone;
  std::vector<Action> between;  // after the step and before Undo; done to the reference too
};

TEST(Undo, SavesAsIfTheStepHadNeverBeenTaken) {
  std::vector<Action> hundred(100, plant(60));
  const UndoCase cases[] = {
      {"the first step", {}, plant(65), {}},
      {"a growth", {plant(65)}, grow(16), {}},
      {"a fertilization", {plant(65), grow(16)}, kFertilize, {}},
      {"a thinning", {plant(65), grow(16), kFertilize}, thin(70), {}},
      {"a harvest", {plant(65), grow(16), thin(70), grow(25)}, kHarvestStep, {}},
      {"a growth, then View All Tables off", {plant(65), grow(16)}, grow(20), {kAllTables}},
      {"a step of a full store", hundred, plant(70), {}},
  };
  for (const UndoCase& c : cases) {
    SCOPED_TRACE(c.name);
    Doc undone, reference;
    for (const Action& a : c.before) ASSERT_TRUE(a(undone) && a(reference));
    ASSERT_TRUE(c.undone(undone));
    for (const Action& a : c.between) ASSERT_TRUE(a(undone) && a(reference));
    ASSERT_TRUE(undone.controller.undo());
    EXPECT_EQ(undone.file(), reference.file());
    EXPECT_EQ(undone.controller.store().firstShown, reference.controller.store().firstShown);
    // And the next step continues from the stand as it was.
    ASSERT_EQ(grow(30)(undone), grow(30)(reference));
    EXPECT_EQ(undone.file(), reference.file());
  }
}

TEST(Undo, ModifiedOnlyWhenTheFileWouldChange) {
  struct ModifiedCase {
    const char* name;
    std::function<void(Doc&)> run;
    bool modified;
  };
  const ModifiedCase cases[] = {
      {"undone back to the saved file",
       [](Doc& d) {
         plant(65)(d);
         d.controller.markSaved();
         grow(16)(d);
       },
       false},
      {"saved after the step",
       [](Doc& d) {
         plant(65)(d);
         grow(16)(d);
         d.controller.markSaved();
       },
       true},
      {"another change since",
       [](Doc& d) {
         plant(65)(d);
         d.controller.markSaved();
         grow(16)(d);
         d.prompts.finance = FinanceEntry{FinancialValues{}, false};
         d.controller.financialValues();
       },
       true},
      {"back to a new document", [](Doc& d) { plant(65)(d); }, false},
      {"steps undone one by one back to the saved file",
       [](Doc& d) {
         plant(65)(d);
         d.controller.markSaved();
         grow(16)(d);
         grow(20)(d);
         d.controller.undo();
       },
       false},
  };
  for (const ModifiedCase& c : cases) {
    SCOPED_TRACE(c.name);
    Doc d;
    c.run(d);
    ASSERT_TRUE(d.controller.undo());
    EXPECT_EQ(d.controller.modified(), c.modified);
  }
  // Nothing to take back: a refused step, a document just reset.
  Doc d;
  EXPECT_FALSE(grow(20)(d));
  EXPECT_FALSE(d.controller.canUndo());
  EXPECT_FALSE(d.controller.undo());
}

}  // namespace
}  // namespace keldovar::testing

// A document with report tables for the GUI tests: steps answered by scripted prompts, at a
// fixed time.
#pragma once

#include "document/document_controller.h"
#include "engine/clock.h"
#include "tests/document/scripted_prompts.h"

namespace keldovar::test {

struct ReportDocument {
  explicit ReportDocument(bool bargraph = true)
      : controller(session, prompts, settings, DocumentSettings{}, options(bargraph)) {}

  static ViewOptions options(bool bargraph) {
    ViewOptions o;
    o.showBargraph = bargraph;
    return o;
  }
  // An existing stand, grown, then row-thinned: three tables, each with its bar graph.
  bool threeSteps() {
    prompts.unthinned = UnthinnedEntry{500, 20, 0, 0, 60};
    prompts.growAge = 25;
    prompts.residualBA = 90;
    return controller.initialize(kExistingUnthinned) && controller.grow() &&
           controller.treat(kRowThin);
  }

  FixedClock clock{LocalTime{2026, 12, 7, 10, 0, 0, 1}};
  Session session{&clock};
  MemorySettingsStore settings;
  testing::ScriptedPrompts prompts;
  DocumentController controller;
};

}  // namespace keldovar::test

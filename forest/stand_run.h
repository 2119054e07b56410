// One stand's run: its initialization and regime through a document of its own, exactly as
// `keldovar-cli run` runs the stand's script, and what the outputs take of it.
#pragma once

#include <atomic>

#include "document/document_content.h"
#include "engine/clock.h"
#include "forest/stand_plan.h"
#include "forest/stand_result.h"
#include "script/runner.h"

namespace keldovar::forest {

// The time every table of an inventory is stamped with, so that a stand's tables do not depend
// on when or where it ran (the regime search's own).
LocalTime inventoryClockTime();

// The document a stand's run made, and the messages it showed: what `keldovar-cli run` prints.
struct StandDocument {
  DocumentContent content;
  std::vector<RecordedMessage> messages;
};

// Runs the stand (a failed row gives its failure and nothing runs). With a search space, the
// stand's best regime is searched first and then run. The document the run made goes to
// `document` when one is given; `cancel` stops a search between candidates.
StandResult runStand(const StandEntry& entry, const Plan& plan, StandDocument* document = nullptr,
                     const std::atomic<bool>* cancel = nullptr);

}  // namespace keldovar::forest

// The values each input dialog hands back when the user accepts it, and the stand facts the
// dialogs check them against.
#pragma once

#include "engine/engine.h"
#include "engine/stand_state.h"
#include "engine/step_entries.h"

namespace keldovar {

// The step dialogs' entries (UnthinnedEntry, ThinnedEntry, PercentRemovedEntry, PlantationEntry,
// RowLowEntry, FertilizeEntry) are the engine's own, from engine/step_entries.h.

struct FinanceEntry {
  FinancialValues values;
  bool makeDefault = false;
};

struct MerchEntry {
  float topDiameter = 0;
  int sawThreshold = 0;
  int pulpThreshold = 0;
  bool makeDefault = false;
};

// What the step dialogs need to know of the stand when they open and check.
struct StandFacts {
  double AG = 0;
  double BA = 0;
  double TPA = 0;
  double minClass = 0;
  double truncationDBH = 0;
  int unthinned = 1;
};

StandFacts standFactsOf(const StandState& stand);

}  // namespace keldovar

// The values each input dialog hands back when the user accepts it, and the stand facts the
// dialogs check them against.
#pragma once

#include "engine/engine.h"
#include "engine/stand_state.h"

namespace keldovar {

using UnthinnedEntry = UnthinnedInput;

struct ThinnedEntry {
  int age = 0;
  float basalArea = 0;
  int trees = 0;
  int thinAge = 0;
  float height = 0;  // 0 = not given: the site index is used
  int siteIndex = 0;
};

struct PercentRemovedEntry {
  int trees = 0;
  int basalArea = 0;
};

enum class VegetationControl { None = 0, Woody = 1, HerbAndWoody = 2 };

struct PlantationEntry {
  int siteIndex = 0;
  int trees = 0;
  float survival = 0;
  VegetationControl control = VegetationControl::None;
};

struct RowLowEntry {
  float residual = 0;
  float rowPercent = 0;
};

struct FertilizeEntry {
  float nitrogen = 0;
  bool phosphorus = true;
};

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

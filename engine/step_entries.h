// The typed answers of the step prompts: what a dialog hands the engine when the user accepts
// it. The engine applies them to its stand itself, so no prompt writes into StandState.
#pragma once

namespace keldovar {

// Existing unthinned stand, as the dialog's fields hold it.
struct UnthinnedEntry {
  int trees = 0;
  float age = 0;
  float basalArea = 0;  // 0 = predict it
  float height = 0;     // 0 = not given
  int siteIndex = 0;    // 0 = not given
};
using UnthinnedInput = UnthinnedEntry;

struct ThinnedEntry {
  int age = 0;
  float basalArea = 0;
  int trees = 0;
  int thinAge = 0;
  float height = 0;  // 0 = not given: the site index is used
  int siteIndex = 0;
};

// Percent of trees or of basal area removed at the last thinning; one of the two is 0.
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

// Held as the engine reads them; the dialog's single-precision values convert exactly.
struct RowLowEntry {
  double residual = 0;
  double rowPercent = 0;
};

struct FertilizeEntry {
  float nitrogen = 0;
  bool phosphorus = true;
};

// The low-thinning method prompt's answer; it cannot be cancelled.
enum class LowThinChoice { Neither = 0, ByDBH = 1, ByBasalArea = 2 };

}  // namespace keldovar

// A document's own copy of the settings, its view options and its remembered dialog values.
#pragma once

#include <string>

#include "engine/log_rule.h"
#include "engine/stand_state.h"
#include "units/units.h"

namespace keldovar {

struct DocumentSettings {
  FinancialValues financial;
  double merchLimit = 3;      // outside-bark top diameter for pulpwood, inches
  float merchLimitShown = 3;  // the same, as the Merchantability Limits dialog shows it
  int sawThreshold = 8;       // threshold sawtimber DBH, inches
  int pulpThreshold = 5;      // threshold pulpwood DBH, inches
  std::string barkBasis = "OB";
  std::string logRuleName = kLogRuleInternational;  // at most 23 characters
  LogRuleFactor logRuleFactor = internationalFactor;
};

struct ViewOptions {
  bool showAllTables = true;
  bool showFinancial = true;
  bool showBargraph = false;
  bool showCarbon = false;  // the Carbon section; like showAllTables, not saved in the file
  UnitSystem units = UnitSystem::Imperial;  // how the report shows the stored values; not saved
};

// The values last accepted in each step dialog of this document; 0 shows as an empty field.
struct RememberedValues {
  float rowLowPercent = 0;
  float rowLowResidual = 0;
  float thinToDBH = 0;
  float residualBA = 0;
  int growAge = 0;
  int plantTrees = 0;
  int plantSiteIndex = 0;
  int thinnedThinAge = 0;
  float thinnedBasalArea = 0;
  float plantSurvival = 0;
  int pctBasalArea = 0;
  int pctTrees = 0;
  int unthinnedTrees = 0;
  int thinnedSiteIndex = 0;
  float thinnedHeight = 0;
  int thinnedAge = 0;
  int thinnedTrees = 0;
  int unthinnedSiteIndex = 0;
  float unthinnedHeight = 0;
  float unthinnedAge = 0;
  float unthinnedBasalArea = 0;
};

}  // namespace keldovar

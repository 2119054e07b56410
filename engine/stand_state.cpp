// The fertilization request, recorded on the carried state between steps, and the hand-over
// of the merchandising inputs.
#include "engine/stand_state.h"

#include "engine/report_text.h"

namespace keldovar {

void CarriedState::requestFertilization(const FertilizeEntry& entry) {
  fFert_Nitrogen = entry.nitrogen;
  bFert_Phosphorus = entry.phosphorus ? 1 : 0;
  iFertAge = static_cast<int>(AG);
  fertRecordPending = 1;
  int last = fertAgesLast;
  bool repeated =
      last >= 0 && last < kFertAgesCapacity && fertAges[static_cast<std::size_t>(last)] == iFertAge;
  if (!repeated && last >= -1 && last + 1 < kFertAgesCapacity) {
    fertAgesLast = last + 1;
    fertAges[static_cast<std::size_t>(last + 1)] = iFertAge;
  }
}

void StandState::setMerchInputs(const MerchInputs& merch) {
  copyText(logRuleName, merch.logRuleName);
  logRuleFactor = merch.logRuleFactor;
  copyText(barkBasis, merch.barkBasis);
  pulpTopDiameter = merch.pulpTopDiameter;
  sawThresholdDBH = merch.sawThresholdDBH;
  pulpThresholdDBH = merch.pulpThresholdDBH;
}

}  // namespace keldovar

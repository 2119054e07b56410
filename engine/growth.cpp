// Growth projection: survival, basal area, height and the exhibited site index.
#include "engine/engine.h"
#include "engine/models.h"

namespace keldovar {
namespace {

// The longest legitimate projection has 37 annual steps (age 8 to 45).
constexpr int kMaxProjectionSteps = 64;

}  // namespace

int Engine::growStand() {
  if (s_.AG == 40 && s_.unthinned == 1) {
    message(" GROW AGE MESSAGE ", "The stand can not be grown any more using this model.",
            "The stand is 40 years old.");
    return -1;
  }
  if (s_.AG == 45 && s_.unthinned == 0) {
    message(" GROW AGE MESSAGE ", "The stand can not be grown any more using this model.",
            "The stand is 45 years old.");
    return -1;
  }
  if (s_.initialized == 0) {
    message(" PROJECTION ERROR ", "The stand must have been initialized before you can ",
            "grow it.");
    return -1;
  }
  if (!historyHasRoom(s_.fertRecordPending == 1 ? 2 : 1)) {
    refuseHistoryFull();
    return -1;
  }
  if (askGrowAgeWrapped() == 0) return 0;

  // Never fertilized: one step straight to the target; otherwise annual steps, so that each
  // year applies that year's fertilizer response.
  bool annual = s_.iFertAge != -1;
  double exhibitedSI = s_.SI;
  double hdBase = s_.HD;
  int steps = 0;
  for (double age = annual ? s_.AG + 1 : s_.targetAge;
       age <= s_.targetAge && steps < kMaxProjectionSteps; age += 1) {
    projectionStep(age, exhibitedSI, hdBase);
    ++steps;
    if (!annual) break;
  }
  if (steps == 0) {
    setLabel(s_.historyCount, "Projected");
    return 1;
  }
  s_.HD = hdBase;
  s_.SI = exhibitedSI;
  trace("Projected site index", s_.SI);
  return 1;
}

void Engine::projectionStep(double toAge, double& exhibitedSI, double& hdBase) {
  if (s_.fertRecordPending == 1 && s_.historyCount < kHistoryCapacity) {
    HistoryRecord& record = s_.final_harvest[static_cast<std::size_t>(s_.historyCount)];
    record = HistoryRecord{};
    record.age = s_.iFertAge;
    setLabel(s_.historyCount, "Fertilization");
    s_.historyCount += 1;
    s_.fertRecordPending = 0;
  }
  setLabel(s_.historyCount, "Projected");

  float n1 = static_cast<float>(s_.TPA);
  float b1 = static_cast<float>(s_.BA);
  double n2 = survival(s_.TPA, s_.AG, toAge, s_.baRatio, s_.SI);
  double before = static_cast<double>(n1);
  s_.TPA = before < n2 ? before : n2;  // trees never increase
  s_.BA = projectBasalArea(static_cast<double>(b1), s_.AG, toAge, static_cast<double>(n1), s_.TPA,
                           s_.baRatio, s_.thinAge, s_.SI) *
          fertilizerBA(toAge, s_.fFert_Nitrogen, s_.bFert_Phosphorus, s_.iFertAge);
  s_.AG = toAge;

  hdBase = heightFromSite(s_.SI, toAge, SiteVariant::Power);
  double hdAdjusted = heightFromSite(exhibitedSI, toAge, SiteVariant::Power);
  double hdFertilized =
      hdAdjusted * fertilizerHeight(toAge, s_.fFert_Nitrogen, s_.bFert_Phosphorus, s_.iFertAge);
  exhibitedSI = siteFromHeight(hdFertilized, toAge, SiteVariant::Power);
  computeClassLimits();
}

}  // namespace keldovar

// The three ways a stand enters the simulator: existing unthinned, existing thinned, new
// plantation.
#include "engine/engine.h"
#include "engine/models.h"

namespace keldovar {

bool Engine::deriveUnthinned(const UnthinnedEntry& input) {
  // Without a site index or a height the site relations would divide by zero.
  if (input.siteIndex <= 0 && input.height <= 0) {
    s_.status = -1;
    return false;
  }
  s_.AG = static_cast<double>(input.age);
  s_.BA = static_cast<double>(input.basalArea);
  s_.TPA = input.trees;
  s_.thinAge = static_cast<double>(input.age);
  s_.SI = input.siteIndex;
  bool young = s_.AG >= 1 && s_.AG < 8;
  if (s_.AG >= 8) s_.baRatio = s_.treesRatio = 1;
  if (young) {
    // The models start at age 8: project the trees there and predict the basal area.
    s_.TPA = survival(s_.TPA, s_.AG, 8, 1, s_.SI);
    s_.AG = 8;
    s_.thinAge = 8;
    s_.BA = 0;
  }
  if (input.height == 0) {
    s_.HD = heightFromSite(s_.SI, s_.AG, SiteVariant::Rounded);
  } else {
    s_.HD = static_cast<double>(input.height);
    s_.SI = siteFromHeight(s_.HD, s_.AG, SiteVariant::Rounded);
  }
  if (s_.BA == 0) {
    s_.baRatio = s_.treesRatio = 1;
    s_.thinAge = s_.AG;
    s_.BA = baByTrees(s_.AG, s_.HD, s_.AG, s_.TPA, 0, s_.SI);
  }
  if (young) s_.TPA = survival(s_.TPA, 8, 8, 1, s_.SI);
  return true;
}

int Engine::initializeThinned() {
  if (askThinnedWrapped() == 0) return 0;
  bool siteGiven = s_.heightEntered == 0 ? s_.SI > 0 : s_.HD > 0;
  if (!siteGiven) {
    s_.status = -1;
    return 0;
  }
  if (askPercentRemovedWrapped() == 0) return 0;

  auto heightOrSite = [this] {
    if (s_.heightEntered == 0) {
      s_.HD = heightFromSite(s_.SI, s_.AG, SiteVariant::Rounded);
    } else {
      s_.SI = siteFromHeight(s_.HD, s_.AG, SiteVariant::Rounded);
    }
  };
  if (s_.pctTreesRemoved != 0) {
    s_.treesRatio = (100 - s_.pctTreesRemoved) * 0.01;
    heightOrSite();
    double b = baByTrees(s_.AG, s_.HD, s_.thinAge, s_.TPA, s_.pctTreesRemoved, s_.SI);
    if (s_.BA == 0) s_.BA = b;
    // The removal conversion uses the predicted basal area even when one was entered.
    double f = fractionByBasalArea(b, s_.AG, s_.TPA, s_.HD, s_.thinAge, s_.SI);
    s_.pctBARemoved = f;
    s_.baRatio = 1 / (f + 1);
    s_.HD = heightFromSite(s_.SI, s_.AG, SiteVariant::Rounded);
  } else if (s_.pctBARemoved != 0) {
    s_.baRatio = (100 - s_.pctBARemoved) * 0.01;
    heightOrSite();
    double b = baByBasalArea(s_.AG, s_.HD, s_.thinAge, s_.TPA, s_.pctBARemoved, s_.SI);
    if (s_.BA == 0) s_.BA = b;
    double g = fractionByTrees(b, s_.AG, s_.TPA, s_.HD, s_.thinAge, s_.SI);
    s_.pctTreesRemoved = g;
    s_.treesRatio = 1 / (g + 1);
  } else {
    return 0;
  }
  computeClassLimits();
  return 1;
}

int Engine::initializePlantation() {
  if (askPlantationWrapped() == 0) return 0;
  if (s_.SI <= 0) {
    s_.status = -1;
    return 0;
  }
  s_.treesRatio = 1;
  s_.existingStand = 0;
  s_.baRatio = 1;
  s_.thinAge = 8;
  s_.AG = 8;
  s_.TPA = survival(static_cast<double>(s_.survivalPct) * s_.PLNTR / 100, 1, 8, 1, s_.SI);
  s_.HD = heightFromSite(s_.SI, 8, SiteVariant::Rounded);
  double coef = 15.8684;
  if (s_.noControl == 1) {
    coef = 15.8684;
  } else if (s_.woodyControl == 1) {
    coef = 17.0806;
  } else if (s_.herbWoodyControl == 1) {
    coef = 19.6236;
  }
  s_.BA = plantationBasalArea(coef, s_.HD, s_.AG, s_.PLNTR);
  computeClassLimits();
  return 1;
}

}  // namespace keldovar

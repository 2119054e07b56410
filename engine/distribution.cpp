// The diameter distribution: class limits, the class fill and the post-processing of a step.
#include <cmath>

#include "engine/engine.h"
#include "engine/models.h"
#include "engine/numeric.h"

namespace keldovar {
namespace {

// The class-height relation, its stand terms worked out once for all the classes of a table.
class ClassHeights {
 public:
  explicit ClassHeights(const StandState& s)
      : s_(s),
        scale_(1.4504 * std::pow(s.HD, 0.9366)),
        slope_(2.8095 * std::log10(s.TPA) / s.AG - 1.3504) {}

  double at(double dbh) const {
    return scale_ * std::pow(10, slope_ * (1 / dbh - 1 / s_.maxClass) - 0.4413 / s_.AG);
  }

 private:
  const StandState& s_;
  double scale_;
  double slope_;
};

}  // namespace

void Engine::computeClassLimits() {
  Weibull w = weibull_.of(s_.baRatio, s_.BA, s_.AG, s_.thinAge, s_.TPA);
  double minClass = roundHalfUpWhole(w.diameter(-1));
  if (minClass == 0) minClass = 1;
  if (w.treesAbove(minClass - 0.5) - w.treesAbove(minClass + 0.5) < 0.5) minClass += 1;
  s_.minClass = minClass;
  s_.maxClass = std::trunc(weibull_.largest());
}

double Engine::classHeightAt(double dbh) const {
  return ClassHeights(s_).at(dbh);
}

void Engine::fillDistribution() {
  s_.firstClass = s_.minClass;
  for (ClassArray* a :
       {&s_.classTrees, &s_.classHeight, &s_.classBA, &s_.classVolume, &s_.classTopVolume,
        &s_.classPulpTons, &s_.classIUPulpTons, &s_.classSawTons}) {
    a->fill(0);
  }
  Weibull w = weibull_.of(s_.baRatio, s_.BA, s_.AG, s_.thinAge, s_.TPA);
  double largest = weibull_.largest();
  bool capped = false;
  if (s_.truncationDBH <= s_.firstClass) {
    s_.distScale = 1.0;
  } else {
    // After a low thinning the distribution starts at the first class left standing.
    s_.firstClass = s_.truncationDBH;
    double above = w.treesAbove(s_.truncationDBH - 0.5);
    s_.distScale = above / s_.TPA;
    double n1 = above - w.treesAbove(s_.truncationDBH + 0.5);
    if (n1 > s_.distCap) {
      capped = true;
      s_.distScale = (above - n1) / (s_.TPA - s_.distCap);
    }
  }
  double topClass = roundHalfUpWhole(largest);
  const ClassHeights heights(s_);
  s_.distBA = 0;
  double lower = w.treesAbove(s_.firstClass - 0.5);
  for (int i = 0; i < kClassCount; ++i) {
    double dbh = s_.firstClass + i;
    if (!(dbh <= topClass)) break;
    auto k = static_cast<std::size_t>(i);
    double upper = w.treesAbove(dbh + 0.5);
    s_.classTrees[k] = (lower - upper) / s_.distScale;
    s_.classBA[k] = kBasalAreaFactor * dbh * dbh * s_.classTrees[k];
    s_.classHeight[k] = heights.at(dbh);
    s_.distBA += s_.classBA[k];
    lower = upper;
  }
  if (capped) s_.classTrees[0] = s_.distCap;
}

void Engine::finishStep() {
  writeSummary();
  fillDistribution();
  s_.truncatedDistribution = 0;
  bool outOfLine = s_.distBA < 0.95 * s_.BA || s_.distBA > 1.05 * s_.BA;
  bool recent = s_.AG - s_.thinAge < 10;
  if (outOfLine && recent && s_.unthinned == 0) {
    s_.truncatedDistribution = 1;
    message(" TRUNCATED DIAMETER DISTRIBUTION ERROR ",
            "Stand/stock table unavailable for recently thinned stands.",
            "Grow the stand to an older age to increase the basal area (or an age of 10 years "
            "greater than the thin age).");
  }
  if (outOfLine && recent) {
    s_.status = -1;
    return;
  }
  writeStockTable(0);
  if (reportText_) hooks().buildBarGraph(0);
}

}  // namespace keldovar

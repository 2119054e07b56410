// The stand and stock table: class volumes merchandised into pulpwood and sawtimber tons.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/engine.h"
#include "engine/models.h"
#include "engine/number_text.h"
#include "engine/numeric.h"

namespace keldovar {
namespace {

constexpr double kTonsPerCord = 2.575;
constexpr double kSawTopDiameter = 6;

// Sawtimber share and top-log cubic feet per cord by DBH minus the sawtimber threshold.
constexpr double kSawShare[10] = {0.488, 0.726, 0.837, 0.9, 0.937, 0.96, 0.975, 0.984, 1, 1};
constexpr double kTopLogCubicFeet[10] = {54, 57, 61, 64, 67, 70, 73, 74, 77, 79};

// Solid cubic feet per cord by DBH; classes up to 4 inches are not pulpwood.
double cubicFeetPerCord(double dbh) {
  static constexpr double kByClass[] = {84, 85, 87, 90, 91, 92, 93, 94};  // 5 to 12 inches
  int d = truncToInt(dbh);
  if (d <= 4) return 10000;
  if (d <= 12) return kByClass[d - 5];
  return 95;  // 13 inches and up, beyond 32 as well
}

// Coefficients of the merchantable-volume relation.
struct MerchCoefficients {
  double top, topPower, dist, tpaPower, shape, thinC, thinD;
};
constexpr MerchCoefficients kOutsideBark = {0.61101, 3.37678,  1.02117, -0.14372,
                                            6.0825,  -2.81786, 20.6673};
constexpr MerchCoefficients kOtherBark = {0.64451, 3.31852,  1.11606, -0.16181,
                                          5.58466, -2.74538, 20.79355};

// merchVolume with the stand-level terms worked out once per table.
class MerchModel {
 public:
  MerchModel() = default;
  MerchModel(const StandState& s, double volume, const MerchCoefficients& c)
      : c_(c), volume_(volume) {
    dq_ = s.TPA == 0 ? 0 : std::sqrt(s.BA / s.TPA / kBasalAreaFactor);
    distTerm_ = c.dist * std::pow(s.TPA, c.tpaPower);
    exponent_ = c.shape * thinningPower(s.baRatio, s.AG, s.thinAge, c.thinC, c.thinD);
  }
  double topTerm(double top) const { return -c_.top * std::pow(top / dq_, c_.topPower); }
  double boundaryTerm(double dbh) const { return distTerm_ * std::pow(dbh / dq_, exponent_); }
  double volume(double topTerm, double boundaryTerm) const {
    return volume_ * std::exp(topTerm - boundaryTerm);
  }

 private:
  MerchCoefficients c_{};
  double volume_ = 0;
  double dq_ = 0;
  double distTerm_ = 0;
  double exponent_ = 0;
};

// A class is listed from the first one holding this many trees on.
constexpr double kMinListedTrees = 0.1;
// The walk stops once fewer trees than this are left unlisted.
constexpr double kMinTreesLeft = 0.5;
// Above this DBH the sawtimber share table ends: all topwood counts at the last rate.
constexpr double kLastSawShareDBH = 17;
constexpr double kLargeTopLogCubicFeet = 79;
constexpr std::size_t kLastSawShareIndex = std::size(kSawShare) - 1;
static_assert(std::size(kSawShare) == std::size(kTopLogCubicFeet));

// Integrated-utilization pulp tons of a sawtimber class: the pulpwood not sawn plus the topwood.
double integratedPulpTons(const StandState& s, std::size_t k, double dbh, double topwood) {
  if (dbh > kLastSawShareDBH) return topwood / kLargeTopLogCubicFeet * kTonsPerCord;
  // Thresholds below 8 inches come only from foreign files: keep within the tables.
  int j = truncToInt(dbh - s.sawThresholdDBH);
  auto n = j < 0 ? std::size_t{0} : std::min(static_cast<std::size_t>(j), kLastSawShareIndex);
  return (1 - kSawShare[n]) * s.classPulpTons[k] +
         kSawShare[n] * topwood / kTopLogCubicFeet[n] * kTonsPerCord;
}

// The volumes above one class boundary, to each top. The upper boundary of a class is the lower
// one of the next, so each is worked out once per table; the sawtimber and other-bark volumes
// only when a class needs them.
struct Boundary {
  double dbh = 0;
  double term = 0;
  double whole = 0;
  double pulp = 0;
  double saw = 0;        // when hasSaw
  double otherPulp = 0;  // when hasOtherPulp
  bool hasSaw = false;
  bool hasOtherPulp = false;
};

// The stand-level terms of the merchandising models, worked out once per table.
class ClassMerchandiser {
 public:
  explicit ClassMerchandiser(const StandState& s)
      : model_(s, s.totalVolume, kOutsideBark),
        top_(s.pulpTopDiameter),
        wholeTerm_(model_.topTerm(0)),
        pulpTerm_(model_.topTerm(top_)),
        sawTerm_(model_.topTerm(kSawTopDiameter)) {
    // The other bark basis serves only the top volumes of a stand not measured outside bark.
    if (std::strcmp(s.barkBasis.data(), "OB") != 0) {
      otherModel_ = MerchModel(s, s.totalVolume, kOtherBark);
      hasOther_ = true;
      otherPulpTerm_ = otherModel_.topTerm(top_);
    }
  }

  // Whole, top and pulpwood volumes of class k, then its sawtimber split.
  void merchandise(StandState& s, std::size_t k, double dbh) {
    moveTo(dbh);
    Boundary& lower = bounds_[lower_];
    Boundary& upper = bounds_[1 - lower_];
    s.classVolume[k] = lower.whole - upper.whole;
    double toPulpTop = lower.pulp - upper.pulp;
    if (dbh > top_) {
      s.classTopVolume[k] = hasOther_ ? otherPulp(lower) - otherPulp(upper) : toPulpTop;
    }
    if (dbh >= s.pulpThresholdDBH) {
      s.classPulpTons[k] = toPulpTop / cubicFeetPerCord(dbh) * kTonsPerCord;
    }
    if (dbh >= s.sawThresholdDBH) {
      double toSawTop = saw(lower) - saw(upper);
      s.classIUPulpTons[k] = integratedPulpTons(s, k, dbh, toPulpTop - toSawTop);
      s.classSawTons[k] = s.classPulpTons[k] - s.classIUPulpTons[k];
    }
  }

 private:
  MerchModel model_;
  MerchModel otherModel_;  // when hasOther_
  bool hasOther_ = false;
  double top_;
  double wholeTerm_;
  double pulpTerm_;
  double sawTerm_;
  double otherPulpTerm_ = 0;
  std::array<Boundary, 2> bounds_{};
  std::size_t lower_ = 0;  // bounds_[lower_] is the class's lower boundary, the other its upper
  bool ready_ = false;     // an upper boundary was worked out

  void fill(Boundary& b, double dbh) const {
    b.dbh = dbh;
    b.term = model_.boundaryTerm(dbh);
    b.whole = model_.volume(wholeTerm_, b.term);
    b.pulp = model_.volume(pulpTerm_, b.term);
    b.hasSaw = b.hasOtherPulp = false;
  }

  // The boundaries of the class at `dbh`: the lower one is the previous class's upper one when
  // the classes follow each other, as they do in a table.
  void moveTo(double dbh) {
    if (ready_ && bounds_[1 - lower_].dbh == dbh - 0.5) {
      lower_ = 1 - lower_;
    } else {
      fill(bounds_[lower_], dbh - 0.5);
    }
    fill(bounds_[1 - lower_], dbh + 0.5);
    ready_ = true;
  }

  double saw(Boundary& b) const {
    if (!b.hasSaw) b.saw = model_.volume(sawTerm_, b.term), b.hasSaw = true;
    return b.saw;
  }

  double otherPulp(Boundary& b) const {
    if (!b.hasOtherPulp) {
      b.otherPulp = otherModel_.volume(otherPulpTerm_, otherModel_.boundaryTerm(b.dbh));
      b.hasOtherPulp = true;
    }
    return b.otherPulp;
  }
};

struct StockTotals {
  double trees = 0, ba = 0, pulp = 0, saw = 0, volume = 0, iu = 0;

  void add(const StandState& s, std::size_t k) {
    ba += s.classBA[k];
    pulp += s.classPulpTons[k];
    saw += s.classSawTons[k];
    volume += s.classVolume[k];
    iu += s.classIUPulpTons[k];
  }
};

std::array<float, kStockColumns> classRow(const StandState& s, std::size_t k, double dbh) {
  return {static_cast<float>(dbh),
          static_cast<float>(s.classTrees[k]),
          static_cast<float>(s.classHeight[k]),
          static_cast<float>(s.classBA[k]),
          static_cast<float>(s.classVolume[k]),
          static_cast<float>(s.classPulpTons[k]),
          static_cast<float>(s.classIUPulpTons[k]),
          static_cast<float>(s.classSawTons[k]),
          0.0f};
}

// The totals row: DBH and height 0.
std::array<float, kStockColumns> totalsRow(const StockTotals& t) {
  return {0.0f,
          static_cast<float>(t.trees),
          0.0f,
          static_cast<float>(t.ba),
          static_cast<float>(t.volume),
          static_cast<float>(t.pulp),
          static_cast<float>(t.iu),
          static_cast<float>(t.saw),
          0.0f};
}

// Completes the pending history record of a projection or initialization with the totals.
void completeHistoryRecord(StandState& s, const StockTotals& t) {
  if (s.historyCount < 0 || s.historyCount >= kHistoryCapacity) return;
  HistoryRecord& record = s.final_harvest[static_cast<std::size_t>(s.historyCount)];
  record.age = s.AG;
  record.trees = t.trees;
  record.basal_area = s.BA;
  record.volume = s.totalVolume;
  record.cords = t.pulp;
  record.topcords = t.iu;
  record.bdft = t.saw;
  s.historyCount += 1;
}

}  // namespace

double Engine::merchVolume(double dbh, double top, double volume, bool alternateBark) const {
  MerchModel model(s_, volume, alternateBark ? kOtherBark : kOutsideBark);
  return model.volume(model.topTerm(top), model.boundaryTerm(dbh));
}

void Engine::writeStockTable(int first) {
  ClassMerchandiser merchandiser(s_);
  if (reportText_) {
    TextOut(out_.beforeStock[0])
        .text("         STAND/STOCK TABLE(Acre) at Age ")
        .fixed(s_.AG, 2, 0)
        .text("   ")
        .text(stampText());
    TextOut(out_.beforeStock[1]);
  }

  StockTotals totals;
  int rows = 0;
  bool taken = false;
  bool limitShown = false;
  double dbh = std::trunc(s_.firstClass + 0.5);
  for (int i = first; i >= 0 && i < kClassCount; ++i, dbh += 1) {
    auto k = static_cast<std::size_t>(i);
    if (s_.classTrees[k] >= kMinListedTrees || taken) {
      taken = true;
      totals.trees += s_.classTrees[k];
      s_.classBA[k] = dbh * kBasalAreaFactor * dbh * s_.classTrees[k];
      // Inside a thinning the classes keep the volumes the thinning left them.
      if (s_.volumeMode != 1) merchandiser.merchandise(s_, k, dbh);
      if (s_.classSawTons[k] <= 0) {
        s_.classSawTons[k] = 0;
        s_.classIUPulpTons[k] = s_.classPulpTons[k];
      }
      totals.add(s_, k);
      if (rows < kStockRowCapacity - 1) {
        if (reportText_) out_.stock[static_cast<std::size_t>(rows)] = classRow(s_, k, dbh);
        ++rows;
      } else if (!limitShown) {
        limitShown = true;
        message("Internal storage limit reached",
                "The number of lines of Stock Table data exceeds the limit.",
                "The stock Table is truncated, totals include truncated lines");
      }
    }
    // The walk never reaches the last class.
    bool more = s_.TPA - totals.trees >= kMinTreesLeft && i + 1 <= kClassCount - 2 &&
                s_.classTrees[k + 1] != 0;
    if (!more) break;
  }
  out_.stockLast = rows;
  if (reportText_) {
    out_.stock[static_cast<std::size_t>(rows)] = totalsRow(totals);
    TextOut(out_.afterStock[0])
        .text("    Volume Conversions: cords = tons/2.575 ; MBF (Int1/4) ~ tons/6");
    TextOut(out_.afterStock[1]);
  }
  completeHistoryRecord(s_, totals);
}

}  // namespace keldovar

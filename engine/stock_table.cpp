// The stand and stock table: class volumes merchandised into pulpwood and sawtimber tons.
#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "engine/models.h"
#include "engine/numeric.h"
#include "engine/report_text.h"

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
  MerchCoefficients c_;
  double volume_;
  double dq_ = 0;
  double distTerm_ = 0;
  double exponent_ = 0;
};

}  // namespace

double Engine::merchVolume(double dbh, double top, double volume, bool alternateBark) const {
  MerchModel model(s_, volume, alternateBark ? kOtherBark : kOutsideBark);
  return model.volume(model.topTerm(top), model.boundaryTerm(dbh));
}

void Engine::writeStockTable(int first) {
  const double volume = s_.totalVolume;
  const MerchModel model(s_, volume, kOutsideBark);
  const bool otherBark = std::strcmp(s_.barkBasis.data(), "OB") != 0;
  const MerchModel otherModel(s_, volume, kOtherBark);
  const double top = s_.pulpTopDiameter;
  const double wholeTerm = model.topTerm(0);
  const double pulpTerm = model.topTerm(top);
  const double sawTerm = model.topTerm(kSawTopDiameter);
  const double otherPulpTerm = otherModel.topTerm(top);

  TimeStamp stamp = timeStamp();
  formatLine(out_.beforeStock[0], "         STAND/STOCK TABLE(Acre) at Age %2.0f   %.19s %s", s_.AG,
             stamp.text.data(), stamp.suffix);
  formatLine(out_.beforeStock[1], "%s", "");

  double cumTrees = 0, sumBA = 0, sumPulp = 0, sumSaw = 0, sumVolume = 0, sumIU = 0;
  int rows = 0;
  bool taken = false;
  bool limitShown = false;
  double dbh = std::trunc(s_.firstClass + 0.5);
  for (int i = first; i >= 0 && i < kClassCount; ++i, dbh += 1) {
    auto k = static_cast<std::size_t>(i);
    if (s_.classTrees[k] >= 0.1 || taken) {
      taken = true;
      cumTrees += s_.classTrees[k];
      s_.classBA[k] = dbh * kBasalAreaFactor * dbh * s_.classTrees[k];
      if (s_.volumeMode != 1) {
        double lower = model.boundaryTerm(dbh - 0.5);
        double upper = model.boundaryTerm(dbh + 0.5);
        s_.classVolume[k] = model.volume(wholeTerm, lower) - model.volume(wholeTerm, upper);
        double toPulpTop = model.volume(pulpTerm, lower) - model.volume(pulpTerm, upper);
        if (dbh > top) {
          s_.classTopVolume[k] =
              otherBark ? otherModel.volume(otherPulpTerm, otherModel.boundaryTerm(dbh - 0.5)) -
                              otherModel.volume(otherPulpTerm, otherModel.boundaryTerm(dbh + 0.5))
                        : toPulpTop;
        }
        if (dbh >= s_.pulpThresholdDBH) {
          s_.classPulpTons[k] = toPulpTop / cubicFeetPerCord(dbh) * kTonsPerCord;
        }
        if (dbh >= s_.sawThresholdDBH) {
          double toSawTop = model.volume(sawTerm, lower) - model.volume(sawTerm, upper);
          double topwood = toPulpTop - toSawTop;
          if (dbh <= 17) {
            // Thresholds below 8 inches come only from foreign files: keep within the tables.
            int j = truncToInt(dbh - s_.sawThresholdDBH);
            auto n = static_cast<std::size_t>(j < 0 ? 0 : (j > 9 ? 9 : j));
            s_.classIUPulpTons[k] = (1 - kSawShare[n]) * s_.classPulpTons[k] +
                                    kSawShare[n] * topwood / kTopLogCubicFeet[n] * kTonsPerCord;
          } else {
            s_.classIUPulpTons[k] = topwood / 79 * kTonsPerCord;
          }
          s_.classSawTons[k] = s_.classPulpTons[k] - s_.classIUPulpTons[k];
        }
      }
      if (s_.classSawTons[k] <= 0) {
        s_.classSawTons[k] = 0;
        s_.classIUPulpTons[k] = s_.classPulpTons[k];
      }
      sumBA += s_.classBA[k];
      sumPulp += s_.classPulpTons[k];
      sumSaw += s_.classSawTons[k];
      sumVolume += s_.classVolume[k];
      sumIU += s_.classIUPulpTons[k];
      if (rows < kStockRowCapacity - 1) {
        out_.stock[static_cast<std::size_t>(rows)] = {static_cast<float>(dbh),
                                                      static_cast<float>(s_.classTrees[k]),
                                                      static_cast<float>(s_.classHeight[k]),
                                                      static_cast<float>(s_.classBA[k]),
                                                      static_cast<float>(s_.classVolume[k]),
                                                      static_cast<float>(s_.classPulpTons[k]),
                                                      static_cast<float>(s_.classIUPulpTons[k]),
                                                      static_cast<float>(s_.classSawTons[k]),
                                                      0.0f};
        ++rows;
      } else if (!limitShown) {
        limitShown = true;
        message("Internal storage limit reached",
                "The number of lines of Stock Table data exceeds the limit.",
                "The stock Table is truncated, totals include truncated lines");
      }
    }
    bool more = s_.TPA - cumTrees >= 0.5 && i + 1 <= 23 && s_.classTrees[k + 1] != 0;
    if (!more) break;
  }
  out_.stock[static_cast<std::size_t>(rows)] = {0.0f,
                                                static_cast<float>(cumTrees),
                                                0.0f,
                                                static_cast<float>(sumBA),
                                                static_cast<float>(sumVolume),
                                                static_cast<float>(sumPulp),
                                                static_cast<float>(sumIU),
                                                static_cast<float>(sumSaw),
                                                0.0f};
  out_.stockLast = rows;
  formatLine(out_.afterStock[0], "%s",
             "    Volume Conversions: cords = tons/2.575 ; MBF (Int1/4) ~ tons/6");
  formatLine(out_.afterStock[1], "%s", "");

  if (s_.historyCount >= 0 && s_.historyCount < kHistoryCapacity) {
    HistoryRecord& record = s_.final_harvest[static_cast<std::size_t>(s_.historyCount)];
    record.age = s_.AG;
    record.trees = cumTrees;
    record.basal_area = s_.BA;
    record.volume = s_.totalVolume;
    record.cords = sumPulp;
    record.topcords = sumIU;
    record.bdft = sumSaw;
    s_.historyCount += 1;
  }
}

}  // namespace keldovar

// The risk of a harvested regime: its NPV and LEV over many paths of stochastic prices and
// yearly catastrophic losses. The growth stays as the regime recorded it; only prices and the
// stand's survival vary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "econ/cash_flows.h"
#include "econ/path_random.h"

namespace keldovar::econ {

inline constexpr std::int64_t kMaxPaths = 10'000'000;
inline constexpr int kMaxHistogramBins = 1000;

// Log prices follow their trend and revert to it at `reversion` a year (an Ornstein-Uhlenbeck
// process around the trend; with no reversion, geometric Brownian motion). The trend is chosen
// so that the expected price grows by `drift` a year whatever the volatility. Every price of a
// product (first thinning, later thinnings, harvest) moves with that product's one path.
// The figures are in the units a forester gives them.
struct PriceProcess {
  double drift = 0;          // percent a year
  double volatility = 15;    // of the log price, percent a year
  double reversion = 0.2;    // a year; 0: geometric Brownian motion
  double correlation = 0.7;  // of the pulpwood and sawtimber shocks
};

// In every year the stand may be lost (fire, storm, beetles) with `probability`; a lost stand
// earns `salvage` of its standing wood's harvest value and none of its later returns.
struct LossRisk {
  double probability = 0.5;  // percent a year
  double salvage = 30;       // percent
};

struct RiskModel {
  PriceProcess prices;
  LossRisk loss;
  Management management = Management::Sawtimber;
  std::int64_t paths = 10'000;
  std::uint64_t seed = 1;
};

// What is wrong with the model, or "".
std::string checkRiskModel(const RiskModel& model);

struct Distribution {
  double mean = 0;
  double sd = 0;
  double p5 = 0;  // nearest rank: the value that ceil(0.05 N) paths reach or fall below
  double p50 = 0;
  double p95 = 0;
  double lossProbability = 0;    // the share of paths below 0
  double expectedShortfall = 0;  // the mean of the worst ceil(0.05 N) paths
};

// Counts of paths in equal bins from `low`; the first and last bins also hold the tails below
// the 0.5th and above the 99.5th percentile.
struct Histogram {
  double low = 0;
  double width = 0;
  std::vector<std::int64_t> counts;
};

struct RiskSummary {
  std::int64_t paths = 0;
  Distribution npv;
  // A path's LEV is its own first rotation followed by bare land worth the expected LEV, so
  // the mean is the expected LEV of rotations renewed after every harvest or loss; none at a
  // zero rate.
  std::optional<Distribution> lev;
  double lostShare = 0;  // paths whose stand was lost before its harvest
  Histogram npvHistogram;
  Histogram levHistogram;
};

struct PathOutcome {
  float npv = 0;
  std::uint16_t endAge = 0;  // the harvest's age, or the age the stand was lost at
  bool lost = false;
};

// One regime at one set of financial values, ready to run paths: every table a path needs is
// worked out once here.
class RiskSimulator {
 public:
  RiskSimulator(const RegimeQuantities& regime, const FinancialValues& values,
                const RiskModel& model);

  // The path's numbers depend on the seed and `index` only, so any number of threads gives the
  // same paths.
  PathOutcome path(std::int64_t index) const;
  // The model's paths on `threads` threads, and their distribution.
  RiskSummary run(int threads, int histogramBins) const;

 private:
  struct PricedEvent {
    RegimeEvent event;
    SetPrices prices;
  };
  // A path's prices as it goes: each product's log price's departure from its trend, and the
  // factor it multiplies today's prices by.
  struct Shocks {
    PathRandom random;
    int years = 0;  // since the start
    double pulpDeparture = 0;
    double sawDeparture = 0;
    double pulpFactor = 1;
    double sawFactor = 1;
  };

  void advancePrices(int years, Shocks& shocks) const;
  float salvageValue(int age, const Shocks& shocks) const;
  RiskSummary summarize(std::vector<PathOutcome>& outcomes, int histogramBins) const;

  RiskModel model_;
  bool newPlantation_ = false;
  float establishmentCost_ = 0;
  int startAge_ = 0;
  int rotation_ = 0;
  int yearsAtRisk_ = 0;
  SetPrices harvestPrices_;
  std::vector<PricedEvent> events_;
  std::vector<double> divisors_;         // by age
  std::vector<StandingStock> standing_;  // by year at risk
  std::vector<double> decay_;            // of a log price's departure over a gap, by years
  std::vector<double> shockSd_;          // of the shock over a gap, by years
  std::vector<double> trend_;            // of the log price, by years from the start
  double logNoLoss_ = 0;                 // log(1 - probability)
  double salvageShare_ = 0;              // of the standing wood's value
  double independentShare_ = 0;          // of the sawtimber shock: sqrt(1 - correlation^2)
};

}  // namespace keldovar::econ

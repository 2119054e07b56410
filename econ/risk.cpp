// The Monte Carlo risk of a harvested regime. A path's NPV is summed exactly as the financial
// analysis sums it, so with steady prices and no loss every path gives the analysis's figure.
#include "econ/risk.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace keldovar::econ {
namespace {

// Paths a thread takes at a time: large enough that the shared counter is rarely touched.
constexpr std::int64_t kPathsPerTurn = 4096;
constexpr double kTailShare = 0.05;
constexpr double kHistogramTail = 0.005;

bool within(double value, double low, double high) {
  return value >= low && value <= high;
}

// The 0-based index of the nearest-rank `share` quantile of `count` values.
std::size_t rankOf(double share, std::size_t count) {
  auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(count)));
  return std::clamp<std::size_t>(rank, 1, count) - 1;
}

// The value of the given rank, the values before it left at or below it.
double orderStatistic(std::vector<float>& values, std::size_t begin, std::size_t rank) {
  auto first = values.begin() + static_cast<std::ptrdiff_t>(begin);
  auto nth = values.begin() + static_cast<std::ptrdiff_t>(rank);
  std::nth_element(first, nth, values.end());
  return static_cast<double>(*nth);
}

Histogram histogramOf(const std::vector<float>& values, double low, double high, int bins) {
  Histogram histogram;
  if (bins <= 0 || values.empty()) return histogram;
  if (!(high - low > 1e-9)) {
    low -= 0.5;
    high += 0.5;
  }
  histogram.low = low;
  histogram.width = (high - low) / bins;
  histogram.counts.assign(static_cast<std::size_t>(bins), 0);
  for (float v : values) {
    double bin = std::floor((static_cast<double>(v) - low) / histogram.width);
    ++histogram.counts[static_cast<std::size_t>(std::clamp(bin, 0.0, bins - 1.0))];
  }
  return histogram;
}

// Mean, spread and share below zero in the values' given order, then the order statistics,
// which reorder the values.
Distribution distributionOf(std::vector<float>& values, int bins, Histogram& histogram) {
  Distribution d;
  std::size_t n = values.size();
  double sum = 0;
  std::size_t below = 0;
  for (float v : values) {
    sum += static_cast<double>(v);
    below += v < 0 ? 1 : 0;
  }
  d.mean = sum / static_cast<double>(n);
  double squares = 0;
  for (float v : values) {
    squares += (static_cast<double>(v) - d.mean) * (static_cast<double>(v) - d.mean);
  }
  d.sd = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : 0;
  d.lossProbability = static_cast<double>(below) / static_cast<double>(n);
  std::size_t r95 = rankOf(1 - kTailShare, n);
  std::size_t r50 = rankOf(0.5, n);
  std::size_t r5 = rankOf(kTailShare, n);
  d.p95 = orderStatistic(values, 0, r95);
  double top = orderStatistic(values, r95, std::max(r95, rankOf(1 - kHistogramTail, n)));
  d.p50 = orderStatistic(values, 0, r50);
  d.p5 = orderStatistic(values, 0, r5);
  double tail = 0;
  for (std::size_t i = 0; i <= r5; ++i) tail += static_cast<double>(values[i]);
  d.expectedShortfall = tail / static_cast<double>(r5 + 1);
  double bottom = orderStatistic(values, 0, std::min(r5, rankOf(kHistogramTail, n)));
  histogram = histogramOf(values, bottom, top, bins);
  return d;
}

}  // namespace

std::string checkRiskModel(const RiskModel& model) {
  const PriceProcess& p = model.prices;
  if (!within(p.drift, -50, 50)) return "drift: give -50 to 50 percent a year";
  if (!within(p.volatility, 0, 200)) return "volatility: give 0 to 200 percent a year";
  if (!within(p.reversion, 0, 10)) return "reversion: give 0 to 10 a year";
  if (!within(p.correlation, -1, 1)) return "correlation: give -1 to 1";
  if (!within(model.loss.probability, 0, 100)) return "loss: give 0 to 100 percent a year";
  if (!within(model.loss.salvage, 0, 100)) return "salvage: give 0 to 100 percent";
  if (model.paths < 1 || model.paths > kMaxPaths) return "paths: give 1 to 10000000";
  return "";
}

RiskSimulator::RiskSimulator(const RegimeQuantities& regime, const FinancialValues& values,
                             const RiskModel& model)
    : model_(model),
      newPlantation_(regime.newPlantation),
      establishmentCost_(values.establishmentCost),
      startAge_(regime.startAge),
      rotation_(regime.rotation),
      yearsAtRisk_(std::max(0, regime.rotation - regime.startAge)),
      harvestPrices_(pricesOf(PriceSet::Harvest, values)) {
  for (const RegimeEvent& event : regime.events) {
    events_.push_back({event, pricesOf(event.prices, values)});
  }
  float rate = values.interestRate / 100;
  for (int age = 0; age <= std::max(rotation_, 0); ++age) {
    divisors_.push_back(discountDivisor(rate, age));
  }
  for (int year = 0; year <= yearsAtRisk_; ++year) {
    standing_.push_back(standingAt(regime, startAge_ + year));
  }
  const PriceProcess& p = model.prices;
  double kappa = p.reversion;
  double sigma = p.volatility / 100;
  // The variance a departure gathers over `years`: sigma^2 (1 - e^(-2 kappa t)) / (2 kappa).
  auto variance = [&](int years) {
    double t = years;
    double spread = kappa > 0 ? -std::expm1(-2 * kappa * t) / (2 * kappa) : t;
    return sigma * sigma * spread;
  };
  for (int years = 0; years <= yearsAtRisk_; ++years) {
    decay_.push_back(std::exp(-kappa * years));
    shockSd_.push_back(std::sqrt(variance(years)));
    trend_.push_back(std::log1p(p.drift / 100) * years - variance(years) / 2);
  }
  logNoLoss_ = std::log1p(-model.loss.probability / 100);
  salvageShare_ = model.loss.salvage / 100;
  independentShare_ = std::sqrt(std::max(0.0, 1 - p.correlation * p.correlation));
}

void RiskSimulator::advancePrices(int years, Shocks& shocks) const {
  if (years <= shocks.years) return;
  auto gap = static_cast<std::size_t>(years - shocks.years);
  auto at = static_cast<std::size_t>(years);
  shocks.years = years;
  if (model_.prices.volatility > 0) {
    auto [pulp, other] = shocks.random.normals();
    double saw = model_.prices.correlation * pulp + independentShare_ * other;
    shocks.pulpDeparture = decay_[gap] * shocks.pulpDeparture + shockSd_[gap] * pulp;
    shocks.sawDeparture = decay_[gap] * shocks.sawDeparture + shockSd_[gap] * saw;
  }
  shocks.pulpFactor = std::exp(trend_[at] + shocks.pulpDeparture);
  shocks.sawFactor = std::exp(trend_[at] + shocks.sawDeparture);
}

float RiskSimulator::salvageValue(int age, const Shocks& shocks) const {
  const StandingStock& stock = standing_[static_cast<std::size_t>(age - startAge_)];
  RegimeEvent cut{age, PriceSet::Harvest, -stock.pulpTons, -stock.iuPulpTons, -stock.sawTons};
  SetPrices prices{static_cast<float>(static_cast<double>(harvestPrices_.pulp) * shocks.pulpFactor),
                   static_cast<float>(static_cast<double>(harvestPrices_.saw) * shocks.sawFactor)};
  CashFlow flow = eventFlow(cut, prices);
  float value = model_.management == Management::Pulpwood ? flow.pulpwood : flow.sawtimber;
  return static_cast<float>(static_cast<double>(value) * salvageShare_);
}

PathOutcome RiskSimulator::path(std::int64_t index) const {
  Shocks shocks{PathRandom(model_.seed, static_cast<std::uint64_t>(index))};
  PathOutcome outcome;
  outcome.endAge = static_cast<std::uint16_t>(rotation_);
  if (model_.loss.probability > 0 && yearsAtRisk_ > 0) {
    // The year of the first loss, geometrically distributed, from one draw.
    double year = 1 + std::floor(std::log(shocks.random.uniform()) / logNoLoss_);
    if (year <= yearsAtRisk_) {
      outcome.lost = true;
      outcome.endAge = static_cast<std::uint16_t>(startAge_ + static_cast<int>(year));
    }
  }
  float sum = 0;
  for (const PricedEvent& e : events_) {
    // A stand lost in the year that ends at a treatment's age never sees that treatment.
    if (outcome.lost && e.event.year >= outcome.endAge) break;
    SetPrices prices = e.prices;
    if (e.event.prices != PriceSet::Fertilization) {
      advancePrices(e.event.year - startAge_, shocks);
      prices = {static_cast<float>(static_cast<double>(prices.pulp) * shocks.pulpFactor),
                static_cast<float>(static_cast<double>(prices.saw) * shocks.sawFactor)};
    }
    CashFlow flow = eventFlow(e.event, prices);
    float amount = model_.management == Management::Pulpwood ? flow.pulpwood : flow.sawtimber;
    sum += presentValue(e.event.year, amount,
                        divisors_[static_cast<std::size_t>(std::max(0, e.event.year))]);
  }
  if (outcome.lost && model_.loss.salvage > 0) {
    advancePrices(outcome.endAge - startAge_, shocks);
    sum += presentValue(outcome.endAge, salvageValue(outcome.endAge, shocks),
                        divisors_[outcome.endAge]);
  }
  outcome.npv = newPlantation_ ? sum - establishmentCost_ : sum;
  return outcome;
}

RiskSummary RiskSimulator::run(int threads, int histogramBins) const {
  std::vector<PathOutcome> outcomes(static_cast<std::size_t>(model_.paths));
  std::atomic<std::int64_t> next{0};
  auto work = [&] {
    for (;;) {
      std::int64_t first = next.fetch_add(kPathsPerTurn);
      if (first >= model_.paths) return;
      std::int64_t last = std::min(first + kPathsPerTurn, model_.paths);
      for (std::int64_t i = first; i < last; ++i) outcomes[static_cast<std::size_t>(i)] = path(i);
    }
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < std::clamp(threads, 1, 256); ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  return summarize(outcomes, std::clamp(histogramBins, 0, kMaxHistogramBins));
}

RiskSummary RiskSimulator::summarize(std::vector<PathOutcome>& outcomes, int bins) const {
  RiskSummary summary;
  std::size_t n = outcomes.size();
  summary.paths = static_cast<std::int64_t>(n);
  std::vector<float> values(n);
  double npvSum = 0;
  double discountSum = 0;  // of each path's end, when bare land is worth the LEV again
  std::size_t lost = 0;
  for (std::size_t i = 0; i < n; ++i) {
    values[i] = outcomes[i].npv;
    npvSum += static_cast<double>(outcomes[i].npv);
    discountSum += 1 / divisors_[outcomes[i].endAge];
    lost += outcomes[i].lost ? 1 : 0;
  }
  summary.lostShare = static_cast<double>(lost) / static_cast<double>(n);
  double renewal = 1 - discountSum / static_cast<double>(n);
  if (renewal > 0) {
    // Faustmann's value with random rotations: E[NPV] / (1 - E[discount to the rotation's end]).
    double expectedLev = npvSum / static_cast<double>(n) / renewal;
    std::vector<float> levs(n);
    for (std::size_t i = 0; i < n; ++i) {
      levs[i] = static_cast<float>(static_cast<double>(outcomes[i].npv) +
                                   expectedLev / divisors_[outcomes[i].endAge]);
    }
    summary.lev = distributionOf(levs, bins, summary.levHistogram);
  }
  summary.npv = distributionOf(values, bins, summary.npvHistogram);
  return summary;
}

}  // namespace keldovar::econ

// Site, growth, fertilization, volume and distribution relations.
#include "engine/models.h"

#include <bit>
#include <cmath>

#include "engine/stand_state.h"

namespace keldovar {
namespace {

constexpr double kAsymptote = 85.75;
constexpr double kShape = 4474;
constexpr double kAgeExponent = -1.107;
constexpr double kFourShape = 17896;
constexpr double kRoundedBaseFactor = 0.02835;
constexpr double kBaseAge = 25;

double baseFactor(SiteVariant variant) {
  return variant == SiteVariant::Rounded ? kRoundedBaseFactor : std::pow(kBaseAge, kAgeExponent);
}

double auxiliaryX0(double h, double ageFactor) {
  double d = h - kAsymptote;
  return 0.5 * (d + std::sqrt(d * d + kFourShape * h * ageFactor));
}

}  // namespace

double heightFromSite(double siteIndex, double age, SiteVariant variant) {
  double x0 = auxiliaryX0(siteIndex, baseFactor(variant));
  return (kAsymptote + x0) / (1 + (kShape / x0) * std::pow(age, kAgeExponent));
}

double siteFromHeight(double height, double age, SiteVariant variant) {
  double x0 = auxiliaryX0(height, std::pow(age, kAgeExponent));
  return (kAsymptote + x0) / (1 + (kShape / x0) * baseFactor(variant));
}

double thinningPower(double x, double age, double thinAge, double c, double d) {
  double since = age - thinAge;
  return std::pow(x, c * (d * since - since * since) / (age * age));
}

double survival(double n1, double age1, double age2, double baRatio, double siteIndex) {
  double inner = std::pow(n1, -1.2681) + 5.137e-9 * baRatio * std::pow(siteIndex / 100, 1.9925) *
                                             (std::pow(age2, 3.3912) - std::pow(age1, 3.3912));
  return std::pow(inner, -0.7885813421654444);
}

double projectBasalArea(double b1, double age1, double age2, double n1, double n2, double baRatio,
                        double thinAge, double siteIndex) {
  double l = std::log(siteIndex);
  double h = 0.657851299 * baRatio * l;
  double p1 = thinningPower(baRatio, age1, thinAge, 0.912116489, -9.064775739);
  double p2 = thinningPower(baRatio, age2, thinAge, 0.912116489, -9.064775739);
  double q = std::pow((p1 * age1) / (p2 * age2), 0.334606286 * std::pow(l, 0.870989436));
  return h * n2 / (1 - (1 - h * n1 / b1) * q);
}

double baByTrees(double age, double hd, double thinAge, double tpa, double pct, double si) {
  return std::exp(-3.1166 + -5.5462 / age + 0.5318 * std::log(tpa) + 0.733 * std::log(hd) +
                  0.512 * std::log(si) + -0.0663 * (pct / 100) * (thinAge / age));
}

double baByBasalArea(double age, double hd, double thinAge, double tpa, double pct, double si) {
  return std::exp(-3.2002 + -5.6477 / age + 0.5393 * std::log(tpa) + 0.7216 * std::log(hd) +
                  0.5331 * std::log(si) + -0.0946 * (pct / 100) * (thinAge / age));
}

double fractionByBasalArea(double ba, double age, double tpa, double hd, double thinAge,
                           double si) {
  return (std::log(ba) + 3.2002 + 5.6477 / age - 0.5393 * std::log(tpa) - 0.7216 * std::log(hd) -
          0.5331 * std::log(si)) *
         age / (thinAge * (-0.0946));
}

double fractionByTrees(double ba, double age, double tpa, double hd, double thinAge, double si) {
  return (std::log(ba) + 3.1166 + 5.5462 / age - 0.5318 * std::log(tpa) - 0.733 * std::log(hd) -
          0.512 * std::log(si)) *
         age / (thinAge * (-0.0663));
}

double plantationBasalArea(double coef, double hd, double age, double planted) {
  return coef * std::pow(hd / age, 0.9204) * std::pow(planted, 0.2974) * std::exp(-13.6056 / age);
}

double fertilizerBA(double t, float nitrogen, int phosphorus, int fertAge) {
  if (nitrogen == -1.0f) return 1;
  return 1 + (0.000738 + 0.000538 * phosphorus) * static_cast<double>(nitrogen) * (1 / 6.9419) *
                 std::exp(-(t - fertAge) / 6.9419);
}

double fertilizerHeight(double t, float nitrogen, int phosphorus, int fertAge) {
  if (nitrogen == -1.0f) return 1;
  double x = (t - fertAge) / 7.7046;
  return 1 + (0.000256 + 0.000192 * phosphorus) * static_cast<double>(nitrogen) *
                 (2.9453 / 7.7046) * std::pow(x, 1.9453) * std::exp(-std::pow(x, 2.9453));
}

double totalOutsideBarkVolume(double age, double trees, double ba, double thinAge,
                              double pctBARemoved, double si, double hd) {
  return std::exp(1.15173 - 9.33466 / age + 0.40538 * std::log(si) + 0.24032 * hd / age +
                  0.00321 * age * std::log(trees) + 0.96176 * std::log(ba) +
                  0.06322 * (pctBARemoved / 100) * (thinAge / age));
}

double quadraticMeanDBH(double ba, double tpa) {
  if (tpa == 0) return 0;
  return std::sqrt(ba / (tpa * kBasalAreaFactor));
}

double lnGamma(double x) {
  double t = x + 5.5;
  double s = 1.000000000190015 + 76.18009172947146 / (x + 1) - 86.50532032941678 / (x + 2) +
             24.01409824083091 / (x + 3) - 1.231739572450155 / (x + 4) +
             0.001208650973866179 / (x + 5) - 5.395239384953e-06 / (x + 6);
  return std::log(2.5066282746310007 * s / x) - (t - (x + 0.5) * std::log(t));
}

double Weibull::treesAbove(double x) const {
  return trees * std::exp(h * std::pow(x / dq, shape));
}

Weibull makeWeibull(double ratio, double ba, double age, double thinAge, double trees) {
  Weibull w;
  w.trees = trees;
  w.dq = trees == 0 ? 0 : std::sqrt(ba / trees / kBasalAreaFactor);
  w.shape = 4.90216876 * thinningPower(ratio, age, thinAge, -4.31362265, 18.25862593);
  double g = std::exp(lnGamma(1 + 2 / w.shape));
  w.h = -std::pow(g, w.shape / 2);
  return w;
}

double Weibull::diameter(int mode) const {
  double p = mode == 1 ? 0.49 / trees : (trees - 0.49) / trees;
  return dq * std::pow(std::log(p) / h, 1 / shape);
}

const Weibull& WeibullMemo::of(double ratio, double ba, double age, double thinAge, double trees) {
  // The bits, not the values: 0 and -0 compare equal but need not give the same results.
  std::array<std::uint64_t, 5> key = {
      std::bit_cast<std::uint64_t>(ratio), std::bit_cast<std::uint64_t>(ba),
      std::bit_cast<std::uint64_t>(age), std::bit_cast<std::uint64_t>(thinAge),
      std::bit_cast<std::uint64_t>(trees)};
  if (!filled_ || key != key_) {
    weibull_ = makeWeibull(ratio, ba, age, thinAge, trees);
    largest_ = weibull_.diameter(1);
    key_ = key;
    filled_ = true;
  }
  return weibull_;
}

double diameterAt(double ratio, double ba, double age, double thinAge, double trees, int mode) {
  return makeWeibull(ratio, ba, age, thinAge, trees).diameter(mode);
}

double largestUnthinnedDiameter(double ba, double age, double trees) {
  return diameterAt(1, ba, age, age, trees, +1);
}

}  // namespace keldovar

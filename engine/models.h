// The growth-and-yield relations as pure functions of their inputs.
#pragma once

namespace keldovar {

// Which base-age factor the site conversions use: the rounded constant 0.02835 (R) or the
// computed power 25^-1.107 (P). Stored results depend on where each is used.
enum class SiteVariant { Rounded, Power };

double heightFromSite(double siteIndex, double age, SiteVariant variant);
double siteFromHeight(double height, double age, SiteVariant variant);

// x ^ (c (d (A - A0) - (A - A0)^2) / A^2): the thinning term shared by the basal-area,
// distribution and volume relations.
double thinningPower(double x, double age, double thinAge, double c, double d);

// Trees at age2 from n1 at age1.
double survival(double n1, double age1, double age2, double baRatio, double siteIndex);
// Basal area at age2 from b1 at age1, with the trees n1 and n2 of the survival relation.
double projectBasalArea(double b1, double age1, double age2, double n1, double n2, double baRatio,
                        double thinAge, double siteIndex);

// Existing-stand basal area with the removal P (percent) at thinAge given as trees or as basal
// area; and the same relations solved for the removal fraction P / 100.
double baByTrees(double age, double hd, double thinAge, double tpa, double pct, double si);
double baByBasalArea(double age, double hd, double thinAge, double tpa, double pct, double si);
double fractionByBasalArea(double ba, double age, double tpa, double hd, double thinAge, double si);
double fractionByTrees(double ba, double age, double tpa, double hd, double thinAge, double si);

// New-plantation basal area at age from the vegetation-control coefficient.
double plantationBasalArea(double coef, double hd, double age, double planted);

// Basal-area and height responses to a fertilization at fertAge, for a projection age t.
double fertilizerBA(double t, float nitrogen, int phosphorus, int fertAge);
double fertilizerHeight(double t, float nitrogen, int phosphorus, int fertAge);

// Total outside-bark cubic volume per acre.
double totalOutsideBarkVolume(double age, double trees, double ba, double thinAge,
                              double pctBARemoved, double si, double hd);

// Quadratic mean DBH as the stand summary prints it; 0 without trees.
double quadraticMeanDBH(double ba, double tpa);

// Natural logarithm of the gamma function (six-term Lanczos series).
double lnGamma(double x);

// The Weibull diameter distribution whose quadratic mean equals the stand's.
struct Weibull {
  double dq = 0;     // quadratic mean diameter
  double shape = 0;  // c
  double h = 0;      // -Gamma(1 + 2/c)^(c/2)
  double trees = 0;
  // Trees per acre with DBH above x.
  double treesAbove(double x) const;
  // The extreme diameter: mode +1 the largest (fewer than 0.49 trees above it), any other mode
  // the smallest (0.49 trees below it).
  double diameter(int mode) const;
};
Weibull makeWeibull(double ratio, double ba, double age, double thinAge, double trees);

// The extreme diameter of the distribution these values define: mode +1 the largest, any
// other mode the smallest.
double diameterAt(double ratio, double ba, double age, double thinAge, double trees, int mode);

// The largest diameter of the stand as if never thinned: the top of the thin-to-DBH range.
double largestUnthinnedDiameter(double ba, double age, double trees);

}  // namespace keldovar

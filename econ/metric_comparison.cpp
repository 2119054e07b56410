// Converting a regime's summary for the metric comparison.
#include "econ/metric_comparison.h"

namespace keldovar::econ {
namespace {

void convertSeries(std::vector<AgePoint>& points, Quantity quantity) {
  for (AgePoint& p : points) p.value = toMetric(quantity, p.value);
}

void convertMeasures(Measures& m) {
  m.npv = static_cast<float>(toMetric(Quantity::MoneyPerArea, static_cast<double>(m.npv)));
  if (m.lev) m.lev = toMetric(Quantity::MoneyPerArea, *m.lev);
}

}  // namespace

RegimeSummary metricSummary(const RegimeSummary& summary) {
  RegimeSummary s = summary;
  for (ThinningSummary& t : s.thinnings) {
    t.residualBasalArea = toMetric(Quantity::BasalArea, t.residualBasalArea);
  }
  for (double* tons : {&s.harvestTotalTons, &s.harvestPulpTons, &s.harvestSawTons, &s.removedTons,
                       &s.meanAnnualIncrement}) {
    *tons = toMetric(Quantity::MassPerArea, *tons);
  }
  convertMeasures(s.pulpwood);
  convertMeasures(s.sawtimber);
  convertSeries(s.basalArea, Quantity::BasalArea);
  convertSeries(s.standingPulp, Quantity::MassPerArea);
  convertSeries(s.standingSaw, Quantity::MassPerArea);
  convertSeries(s.presentValue, Quantity::MoneyPerArea);
  return s;
}

}  // namespace keldovar::econ

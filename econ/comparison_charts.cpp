// The comparison's chart series: each regime's points against age as the charts draw them.
#include "econ/comparison_charts.h"

#include <string>

namespace keldovar::econ {
namespace {

ChartSeries seriesOf(const std::string& name, int colour, bool dashed,
                     const std::vector<AgePoint>& points, bool steps) {
  ChartSeries s{name, colour, dashed, {}};
  for (const AgePoint& p : points) {
    double age = static_cast<double>(p.age);
    if (steps && !s.points.empty()) {
      // A present value changes at a flow's year and holds until the next; the flows of one
      // year make one step, to the value after them all, not a spike for each.
      if (s.points.back().x == age) {
        s.points.back().y = p.value;
        continue;
      }
      s.points.push_back({age, s.points.back().y});
    }
    s.points.push_back({age, p.value});
  }
  return s;
}

}  // namespace

std::vector<LineChartSpec> comparisonCharts(const std::vector<ComparedRegime>& regimes,
                                            UnitSystem units) {
  const std::string age = "Age (years)";
  bool metric = units == UnitSystem::Metric;
  std::vector<LineChartSpec> charts = {
      {"Standing basal area", age, metric ? "m2/ha" : "sq ft/ac", {}},
      {"Standing tons by product (saw solid, pulp dashed)", age, metric ? "t/ha" : "tons/ac", {}},
      {"Present value of the cash flows, sawtimber+pulpwood", age, metric ? "$/ha" : "$/ac", {}}};
  for (std::size_t i = 0; i < regimes.size(); ++i) {
    const RegimeSummary& s = regimes[i].summary;
    const std::string& name = regimes[i].name;
    int colour = static_cast<int>(i);
    charts[0].series.push_back(seriesOf(name, colour, false, s.basalArea, false));
    charts[1].series.push_back(seriesOf(name, colour, false, s.standingSaw, false));
    charts[1].series.push_back(seriesOf(name + " pulp", colour, true, s.standingPulp, false));
    charts[2].series.push_back(seriesOf(name, colour, false, s.presentValue, true));
  }
  return charts;
}

}  // namespace keldovar::econ

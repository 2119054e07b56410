// The risk of a priced regime: Monte Carlo paths a second on one core and on two, for a
// one-thinning plantation under volatile mean-reverting prices and a yearly loss, and what the
// sensitivity window recomputes on every keystroke.
#include <benchmark/benchmark.h>

#include "econ/risk.h"
#include "econ/sensitivity.h"
#include "script/regime_steps.h"

namespace keldovar::bench {
namespace {

using keldovar::Step;
using keldovar::StepKind;

// Planted, thinned by Thinomatic to 80 at 16, harvested at 30: the growth is run once.
econ::RegimeQuantities oneThinningRegime(FinancialValues& values) {
  StepDocument doc;
  for (const Step& step :
       {Step{StepKind::Plantation,
             {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}},
        Step{StepKind::Grow, {{"age", "16"}}}, Step{StepKind::ThinThinomatic, {{"ba", "80"}}},
        Step{StepKind::Grow, {{"age", "30"}}}, Step{StepKind::Harvest, {}}}) {
    doc.run(step);
  }
  values = doc.content().settings.financial;
  return *econ::harvestQuantities(*doc.content().store.newest());
}

// 1,000,000 paths of the default model (15 % volatility reverting at 0.2 a year, correlation
// 0.7, a 0.5 % yearly loss with 30 % salvaged), with their distribution and histograms.
void BM_RiskMillionPaths(benchmark::State& state) {
  FinancialValues values;
  econ::RegimeQuantities regime = oneThinningRegime(values);
  econ::RiskModel model;
  model.paths = 1'000'000;
  econ::RiskSimulator simulator(regime, values, model);
  for (auto _ : state) {
    econ::RiskSummary summary = simulator.run(static_cast<int>(state.range(0)), 40);
    benchmark::DoNotOptimize(summary.npv.mean);
  }
  state.counters["paths/s"] =
      benchmark::Counter(static_cast<double>(model.paths) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RiskMillionPaths)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// One path alone, without the distribution.
void BM_RiskPath(benchmark::State& state) {
  FinancialValues values;
  econ::RegimeQuantities regime = oneThinningRegime(values);
  econ::RiskSimulator simulator(regime, values, econ::RiskModel{});
  std::int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(simulator.path(i++).npv);
}
BENCHMARK(BM_RiskPath)->Unit(benchmark::kNanosecond);

// The curve over 2 to 12 % by 0.5, the tornado and the break-evens.
void BM_Sensitivity(benchmark::State& state) {
  FinancialValues values;
  econ::RegimeQuantities regime = oneThinningRegime(values);
  for (auto _ : state) {
    econ::Sensitivity s = econ::sensitivityOf(regime, values, {});
    benchmark::DoNotOptimize(s.curve.data());
  }
}
BENCHMARK(BM_Sensitivity)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace keldovar::bench

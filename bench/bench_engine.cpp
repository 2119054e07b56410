// Where the time of a step goes in the engine alone: a grow step and its parts, each thinning
// and the harvest with its financial analysis.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <time.h>

#include "bench/bench_time.h"
#include "bench/math_calls.h"
#include "document/bar_graph.h"
#include "document/dialog_values.h"
#include "document/table_store.h"
#include "engine/clock.h"
#include "engine/engine.h"

namespace keldovar::bench {
namespace {

// ---------------------------------------------------------------------------------------------
// The engine alone, driven as the desktop view drives it, with prompts answered from fields.

class StepHooks final : public EngineHooks {
 public:
  explicit StepHooks(Engine& engine) : engine_(engine) { engine.setHooks(this); }

  PlantationEntry plantation;
  int growAge = 0;
  double residualBA = 0;
  std::optional<double> thinToDBH;
  LowThinChoice lowThinMethod = LowThinChoice::Neither;
  double rowLowResidual = 0;
  double rowLowPercent = 0;
  int messages = 0;  // any message during a measured step means the step went wrong
  BarGraph graph;

  void showMessage(const char*, const char*, const char*) override { ++messages; }
  std::optional<UnthinnedEntry> askUnthinned() override { return std::nullopt; }
  std::optional<ThinnedEntry> askThinned() override { return std::nullopt; }
  std::optional<PercentRemovedEntry> askPercentRemoved() override { return std::nullopt; }
  std::optional<PlantationEntry> askPlantation() override { return plantation; }
  std::optional<int> askGrowAge() override { return growAge; }
  std::optional<double> askResidualBA() override { return residualBA; }
  std::optional<double> askThinToDBH() override { return thinToDBH; }
  LowThinChoice askLowThinMethod() override { return lowThinMethod; }
  std::optional<RowLowEntry> askRowLow() override {
    return RowLowEntry{rowLowResidual, rowLowPercent};
  }
  int buildBarGraph(int first) override {
    return keldovar::buildBarGraph(graph, engine_.state(), first);
  }

 private:
  Engine& engine_;
};

// An engine with its prompts and its clock, and the view's side of each kind of step.
class EngineRig {
 public:
  EngineRig() : clock_(benchTime()), engine_(nullptr, &clock_), hooks_(engine_) {}
  EngineRig(const EngineRig&) = delete;
  EngineRig& operator=(const EngineRig&) = delete;

  Engine& engine() { return engine_; }
  StandState& state() { return engine_.state(); }
  StepHooks& hooks() { return hooks_; }

  void prepareOutputs() { engine_.resetOutputs(false); }

  bool succeeded() const {
    return engine_.state().status != -1 && engine_.state().outputReady != 0;
  }

  bool plant(int siteIndex, int trees, float survival) {
    hooks_.plantation =
        PlantationEntry{siteIndex, trees, survival, VegetationControl::HerbAndWoody};
    handOverSettings(DocumentSettings{}, engine_.state());
    DocumentSettings settings;
    return engine_.initializeStep(kNewPlantation, merchInputsOf(settings)) == StepResult::Stored;
  }

  bool grow(int age) {
    hooks_.growAge = age;
    return engine_.growStep() == StepResult::Stored;
  }

  bool treat(int action) { return engine_.treatStep(action) == StepResult::Stored; }

  bool harvest() {
    return engine_.treatStep(kHarvest) == StepResult::Stored && engine_.output().financialLast > 0;
  }

  // Records a fertilization at the stand's age, as the Fertilize command does in the snapshot.
  void fertilize(float nitrogen, bool phosphorus) {
    engine_.state().requestFertilization(FertilizeEntry{nitrogen, phosphorus});
  }

 private:
  FixedClock clock_;
  Engine engine_;
  StepHooks hooks_;
};

// The stand the grow and thinning benchmarks start from: a plantation on a site of 65 feet,
// 600 trees planted with herbaceous and woody control, 85 percent survival, grown to 20.
bool plantAndGrowTo20(EngineRig& rig) {
  return rig.plant(65, 600, 85) && rig.grow(20);
}

// The counters every engine benchmark reports about its stand.
void standCounters(benchmark::State& state, EngineRig& rig) {
  state.counters["classes"] = rig.engine().output().stockLast;  // rows before the totals row
  state.counters["age"] = rig.state().AG;
}

// What the other engine benchmarks pay to put the stand back before each iteration.
void BM_StandStateRestore(benchmark::State& state) {
  EngineRig rig;
  if (!plantAndGrowTo20(rig)) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  const StandState saved = rig.state();
  for (auto _ : state) {
    rig.state() = saved;
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = static_cast<double>(sizeof(StandState));
}
BENCHMARK(BM_StandStateRestore);

// One grow step, 20 to 25 years, with finishStep: summary, distribution, stock table, bar graph.
void BM_GrowStep(benchmark::State& state) {
  EngineRig rig;
  if (!plantAndGrowTo20(rig)) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  const StandState saved = rig.state();
  rig.hooks().messages = 0;
  for (auto _ : state) {
    rig.state() = saved;
    bool ok = rig.grow(25);
    benchmark::DoNotOptimize(ok);
  }
  if (!rig.succeeded() || rig.hooks().messages != 0) state.SkipWithError("the grow step failed");
  standCounters(state, rig);
}
BENCHMARK(BM_GrowStep)->Unit(benchmark::kMicrosecond);

// Fertilized stands grow in annual steps: ten of them, 16 to 26 years, after a Thinomatic
// thinning and nitrogen with phosphorus at 16.
void BM_GrowStepFertilizedTenYears(benchmark::State& state) {
  EngineRig rig;
  rig.hooks().residualBA = 80;
  if (!(rig.plant(70, 700, 90) && rig.grow(16) && rig.treat(kThinomatic))) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  rig.fertilize(200, true);
  const StandState saved = rig.state();
  rig.hooks().messages = 0;
  for (auto _ : state) {
    rig.state() = saved;
    bool ok = rig.grow(26);
    benchmark::DoNotOptimize(ok);
  }
  if (!rig.succeeded() || rig.hooks().messages != 0) state.SkipWithError("the grow step failed");
  standCounters(state, rig);
}
BENCHMARK(BM_GrowStepFertilizedTenYears)->Unit(benchmark::kMicrosecond);

// The parts of the grow step above, each on the stand the step leaves at 25. Only the history
// count is put back between iterations (the stock table appends a record); the growth alone
// puts the whole stand back, as BM_GrowStep does.
enum class StepPart { Growth, Summary, Distribution, StockTable, BarGraph };

void BM_GrowStepPart(benchmark::State& state, StepPart part) {
  EngineRig rig;
  if (!plantAndGrowTo20(rig)) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  const StandState before = rig.state();
  if (!rig.grow(25)) {
    state.SkipWithError("the grow step failed");
    return;
  }
  Engine& engine = rig.engine();
  StandState& s = rig.state();
  const int history = before.historyCount;
  for (auto _ : state) {
    switch (part) {
      case StepPart::Growth:
        s = before;
        rig.hooks().growAge = 25;
        benchmark::DoNotOptimize(engine.growStand());
        break;
      case StepPart::Summary:
        engine.writeSummary();
        break;
      case StepPart::Distribution:
        engine.fillDistribution();
        break;
      case StepPart::StockTable:
        s.historyCount = history;
        engine.writeStockTable(0);
        break;
      case StepPart::BarGraph:
        benchmark::DoNotOptimize(rig.hooks().buildBarGraph(0));
        break;
    }
    benchmark::ClobberMemory();
  }
  standCounters(state, rig);
}
BENCHMARK_CAPTURE(BM_GrowStepPart, growth, StepPart::Growth);
BENCHMARK_CAPTURE(BM_GrowStepPart, summary, StepPart::Summary);
BENCHMARK_CAPTURE(BM_GrowStepPart, distribution, StepPart::Distribution);
BENCHMARK_CAPTURE(BM_GrowStepPart, stockTable, StepPart::StockTable);
BENCHMARK_CAPTURE(BM_GrowStepPart, barGraph, StepPart::BarGraph);

// The math-library calls of one step of BM_GrowStep, recorded as the step makes them.
MathCalls growStepCalls() {
  EngineRig rig;
  if (!plantAndGrowTo20(rig)) return {};
  MathRecorder recorder;
  if (!rig.grow(25)) return {};
  return recorder.calls();
}

void mathCounters(benchmark::State& state, const MathCalls& calls) {
  state.counters["pow"] = static_cast<double>(calls.powBase.size());
  state.counters["exp"] = static_cast<double>(calls.exp.size());
  state.counters["log"] = static_cast<double>(calls.log.size());
  state.counters["log10"] = static_cast<double>(calls.log10.size());
}

// The floor of a grow step: its own calls of pow, exp, log and log10, with their arguments, and
// nothing else.
void BM_GrowStepMathFloor(benchmark::State& state) {
  const MathCalls calls = growStepCalls();
  if (calls.size() == 0) {
    state.SkipWithError("the grow step failed");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(replayMathCalls(calls));
  mathCounters(state, calls);
}
BENCHMARK(BM_GrowStepMathFloor)->Unit(benchmark::kNanosecond);

double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// BM_GrowStep and BM_GrowStepMathFloor in one run, in alternating blocks so that both meet the
// same machine: each one's processor time a step and the step's ratio to its floor.
void BM_GrowStepOverFloor(benchmark::State& state) {
  constexpr int kBlock = 32;
  EngineRig rig;
  const MathCalls calls = growStepCalls();
  if (!plantAndGrowTo20(rig) || calls.size() == 0) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  const StandState saved = rig.state();
  double stepSeconds = 0, floorSeconds = 0;
  for (auto _ : state) {
    double start = threadSeconds();
    for (int i = 0; i < kBlock; ++i) {
      rig.state() = saved;
      benchmark::DoNotOptimize(rig.grow(25));
    }
    double stepped = threadSeconds();
    for (int i = 0; i < kBlock; ++i) benchmark::DoNotOptimize(replayMathCalls(calls));
    floorSeconds += threadSeconds() - stepped;
    stepSeconds += stepped - start;
  }
  double steps = static_cast<double>(state.iterations()) * kBlock;
  state.counters["step_us"] = stepSeconds / steps * 1e6;
  state.counters["floor_us"] = floorSeconds / steps * 1e6;
  state.counters["ratio"] = stepSeconds / floorSeconds;
  mathCounters(state, calls);
}
BENCHMARK(BM_GrowStepOverFloor)->Unit(benchmark::kMicrosecond);

// Each thinning method on the stand at 20, put back before every iteration.
void runThinning(benchmark::State& state, int action, const std::function<void(EngineRig&)>& set) {
  EngineRig rig;
  if (!plantAndGrowTo20(rig)) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  set(rig);
  const StandState saved = rig.state();
  rig.hooks().messages = 0;
  for (auto _ : state) {
    rig.state() = saved;
    bool ok = rig.treat(action);
    benchmark::DoNotOptimize(ok);
  }
  if (!rig.succeeded() || rig.hooks().messages != 0) state.SkipWithError("the thinning failed");
  standCounters(state, rig);
  state.counters["removedBA"] = rig.state().thinResult.baRemoved;
}

void BM_ThinThinomatic(benchmark::State& state) {
  runThinning(state, kThinomatic,
              [](EngineRig& rig) { rig.hooks().residualBA = 0.7 * rig.state().BA; });
}
BENCHMARK(BM_ThinThinomatic)->Unit(benchmark::kMicrosecond);

void BM_ThinRow(benchmark::State& state) {
  runThinning(state, kRowThin,
              [](EngineRig& rig) { rig.hooks().residualBA = 0.67 * rig.state().BA; });
}
BENCHMARK(BM_ThinRow)->Unit(benchmark::kMicrosecond);

void BM_ThinLowByDBH(benchmark::State& state) {
  // The lowest classes, until at least 30 percent of the basal area is removed.
  runThinning(state, kLowThin, [](EngineRig& rig) {
    const StandState& s = rig.state();
    double removed = 0;
    int classes = 0;
    while (classes < kClassCount && removed < 0.3 * s.BA) {
      removed += s.classBA[static_cast<std::size_t>(classes)];
      ++classes;
    }
    rig.hooks().lowThinMethod = LowThinChoice::ByDBH;
    rig.hooks().thinToDBH = std::trunc(s.firstClass + 0.5) + classes;
  });
}
BENCHMARK(BM_ThinLowByDBH)->Unit(benchmark::kMicrosecond);

void BM_ThinLowByBA(benchmark::State& state) {
  runThinning(state, kLowThin, [](EngineRig& rig) {
    rig.hooks().lowThinMethod = LowThinChoice::ByBasalArea;
    rig.hooks().residualBA = 0.7 * rig.state().BA;
  });
}
BENCHMARK(BM_ThinLowByBA)->Unit(benchmark::kMicrosecond);

void BM_ThinRowAndLow(benchmark::State& state) {
  runThinning(state, kRowAndLowThin, [](EngineRig& rig) {
    rig.hooks().rowLowResidual = 0.6 * rig.state().BA;
    rig.hooks().rowLowPercent = 33;
  });
}
BENCHMARK(BM_ThinRowAndLow)->Unit(benchmark::kMicrosecond);

// The harvest at 32 of a plantation row-and-low thinned at 16 and Thinomatic-thinned at 26:
// the stand history and the financial analysis of the rotation.
void BM_HarvestWithFinancial(benchmark::State& state) {
  EngineRig rig;
  StepHooks& hooks = rig.hooks();
  hooks.rowLowResidual = 75;
  hooks.rowLowPercent = 33;
  hooks.residualBA = 90;
  if (!(rig.plant(65, 600, 85) && rig.grow(16) && rig.treat(kRowAndLowThin) && rig.grow(26) &&
        rig.treat(kThinomatic) && rig.grow(32))) {
    state.SkipWithError("the stand could not be set up");
    return;
  }
  const StandState saved = rig.state();
  hooks.messages = 0;
  bool ok = true;
  for (auto _ : state) {
    rig.state() = saved;
    ok = rig.harvest();
    benchmark::DoNotOptimize(ok);
  }
  if (!ok || hooks.messages != 0) state.SkipWithError("the harvest failed");
  state.counters["financialLines"] = rig.engine().output().financialLast + 1;
}
BENCHMARK(BM_HarvestWithFinancial)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace keldovar::bench

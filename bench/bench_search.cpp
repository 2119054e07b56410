// The regime search: the one-thinning search of the default plantation on one and two threads,
// what one candidate costs on a stand alone, as the search values it, and the ways it could
// start from its prefix through documents (copying a prepared document, or emptying the document
// and running the regime again).
#include <benchmark/benchmark.h>

#include "econ/regime_search.h"

namespace keldovar::bench {
namespace {

using keldovar::Step;
using keldovar::StepKind;

const Step kPlantation = {
    StepKind::Plantation,
    {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}};

// Rotations 20-40, one thinning at 12-25 to 50-120 square feet by 5, by each of the four
// methods (row-and-low with every third row out): 16,380 candidates.
econ::SearchSpace oneThinningSpace() {
  econ::SearchSpace space;
  space.start = {kPlantation};
  for (int age = 20; age <= 40; ++age) space.rotations.push_back(age);
  space.thinningCounts = {1};
  for (int age = 12; age <= 25; ++age) space.thinAges.push_back(age);
  space.methods = {{econ::ThinMethod::Row, 0},
                   {econ::ThinMethod::Low, 0},
                   {econ::ThinMethod::RowLow, 33},
                   {econ::ThinMethod::Thinomatic, 0}};
  for (int ba = 50; ba <= 120; ba += 5) space.residualBA.push_back(ba);
  return space;
}

void BM_OneThinningSearch(benchmark::State& state) {
  econ::SearchSpace space = oneThinningSpace();
  econ::SearchOptions options;
  options.jobs = static_cast<int>(state.range(0));
  std::int64_t candidates = 0;
  for (auto _ : state) {
    econ::SearchResult result = econ::searchRegimes(space, options);
    candidates = result.candidates;
    benchmark::DoNotOptimize(result.best.data());
  }
  state.counters["candidates"] = static_cast<double>(candidates);
  state.counters["candidates/s"] =
      benchmark::Counter(static_cast<double>(candidates) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OneThinningSearch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

const std::vector<Step> kThinned = {{StepKind::Grow, {{"age", "16"}}},
                                    {StepKind::ThinThinomatic, {{"ba", "80"}}}};
const std::vector<Step> kFinish = {{StepKind::Grow, {{"age", "30"}}}, {StepKind::Harvest, {}}};

// A candidate started from a copy of the document after its thinning, as the search runs it.
void BM_CandidateFromCopy(benchmark::State& state) {
  StepDocument doc;
  doc.run(kPlantation);
  for (const Step& step : kThinned) doc.run(step);
  DocumentContent prepared = doc.content();
  for (auto _ : state) {
    doc.replaceContent(prepared);
    for (const Step& step : kFinish) doc.run(step);
  }
}
BENCHMARK(BM_CandidateFromCopy)->Unit(benchmark::kMicrosecond);

// The same candidate as the search now values it: the stand after the thinning put into a stand
// stepper without report text, grown, harvested and its cash flows valued.
void BM_CandidateOnStand(benchmark::State& state) {
  StepDocument doc;
  doc.run(kPlantation);
  for (const Step& step : kThinned) doc.run(step);
  const StandState prepared = doc.standForNextStep();
  StepValuer valuer;
  double score = 0;
  for (auto _ : state) {
    valuer.load(prepared);
    for (const Step& step : kFinish) valuer.run(step);
    const StandState& stand = valuer.stand();
    auto quantities = econ::harvestQuantities(stand.final_harvest, valuer.historyLast());
    if (quantities) {
      econ::RegimeFlows flows = econ::pricedFlows(*quantities, stand.financial);
      score = *econ::landExpectationValue(flows, econ::Management::Sawtimber);
    }
    benchmark::DoNotOptimize(score);
  }
  if (score == 0) state.SkipWithError("the candidate was not valued");
}
BENCHMARK(BM_CandidateOnStand)->Unit(benchmark::kMicrosecond);

// The copy a branch of the search starts from: the document after its thinning (three tables).
void BM_CopyPreparedDocument(benchmark::State& state) {
  StepDocument doc;
  doc.run(kPlantation);
  for (const Step& step : kThinned) doc.run(step);
  for (auto _ : state) {
    DocumentContent copy = doc.content();
    benchmark::DoNotOptimize(&copy);
  }
}
BENCHMARK(BM_CopyPreparedDocument)->Unit(benchmark::kMicrosecond);

// The same copy assigned over a document of five tables, as a candidate leaves it: the
// assignment reuses the tables and lines already there.
void BM_CopyPreparedDocumentOver(benchmark::State& state) {
  StepDocument doc;
  doc.run(kPlantation);
  for (const Step& step : kThinned) doc.run(step);
  DocumentContent prepared = doc.content();
  for (const Step& step : kFinish) doc.run(step);
  DocumentContent target = doc.content();
  for (auto _ : state) {
    target = prepared;
    benchmark::DoNotOptimize(&target);
  }
}
BENCHMARK(BM_CopyPreparedDocumentOver)->Unit(benchmark::kMicrosecond);

// The same candidate run whole on the emptied document, as the search ran it before it shared
// the steps candidates have in common.
void BM_CandidateRunWhole(benchmark::State& state) {
  StepDocument doc;
  for (auto _ : state) {
    doc.reset();
    doc.run(kPlantation);
    for (const Step& step : kThinned) doc.run(step);
    for (const Step& step : kFinish) doc.run(step);
  }
}
BENCHMARK(BM_CandidateRunWhole)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace keldovar::bench

// The regime search against brute force over a space small enough to enumerate here, its best
// regime and every candidate's value, and its answer unchanged by the number of threads and shards.
#include <gtest/gtest.h>

#include <atomic>
#include <map>

#include "econ/regime_search.h"
#include "engine/report_text.h"

namespace keldovar::econ {
namespace {

const Step kPlantation = {
    StepKind::Plantation,
    {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}}};

SearchSpace tinySpace() {
  SearchSpace space;
  space.start = {kPlantation};
  space.rotations = {18, 24, 30};
  space.thinningCounts = {0, 1, 2};
  space.thinAges = {12, 16};
  space.methods = {{ThinMethod::Thinomatic, 0}, {ThinMethod::RowLow, 33}};
  space.residualBA = {60, 95};
  space.best = 5;
  return space;
}

struct Valued {
  std::vector<Step> steps;
  double lev = 0;
};

Step thin(const ThinChoice& choice, int residual) {
  std::string ba = std::to_string(residual);
  if (choice.method == ThinMethod::RowLow) {
    return {StepKind::ThinRowLow, {{"ba", ba}, {"row", std::to_string(choice.rowPercent)}}};
  }
  return {StepKind::ThinThinomatic, {{"ba", ba}}};
}

Step grow(int age) {
  return {StepKind::Grow, {{"age", std::to_string(age)}}};
}

// Every regime of the tiny space written out by hand, each run on a fresh document.
std::vector<Valued> bruteForce(const SearchSpace& space, int& refused) {
  std::vector<std::vector<Step>> plans = {{}};
  for (int first : space.thinAges) {
    for (const ThinChoice& m1 : space.methods) {
      for (int ba1 : space.residualBA) {
        plans.push_back({grow(first), thin(m1, ba1)});
        for (int second : space.thinAges) {
          for (const ThinChoice& m2 : space.methods) {
            for (int ba2 : space.residualBA) {
              if (second > first) {
                plans.push_back({grow(first), thin(m1, ba1), grow(second), thin(m2, ba2)});
              }
            }
          }
        }
      }
    }
  }
  std::vector<Valued> valued;
  for (const std::vector<Step>& plan : plans) {
    for (int rotation : space.rotations) {
      std::vector<Step> steps = plan;
      if (rotation <= std::stoi(plan.empty() ? "0" : plan[plan.size() - 2].fields.at("age"))) {
        continue;
      }
      steps.push_back(grow(rotation));
      steps.push_back({StepKind::Harvest, {}});
      StepDocument doc;
      bool ran = doc.run(kPlantation);
      for (const Step& step : steps) ran = ran && doc.run(step);
      if (!ran) {
        ++refused;
        continue;
      }
      std::optional<RegimeFlows> flows =
          harvestFlows(*doc.content().store.newest(), doc.content().settings.financial);
      valued.push_back({steps, *landExpectationValue(*flows, Management::Sawtimber)});
    }
  }
  return valued;
}

TEST(RegimeSearch, FindsTheBestRegimeOfBruteForce) {
  SearchSpace space = tinySpace();
  int refused = 0;
  std::vector<Valued> all = bruteForce(space, refused);
  SearchResult result = searchRegimes(space, {});
  ASSERT_EQ(result.error, "");
  EXPECT_TRUE(result.newPlantation);
  EXPECT_EQ(result.candidates, static_cast<std::int64_t>(all.size()) + refused);
  EXPECT_EQ(result.refused, refused);
  ASSERT_FALSE(all.empty());
  auto best = std::max_element(all.begin(), all.end(),
                               [](const Valued& a, const Valued& b) { return a.lev < b.lev; });
  ASSERT_EQ(result.best.size(), 5u);
  EXPECT_EQ(result.best[0].score, best->lev);
  EXPECT_EQ(regimeScript(result.best[0].steps), regimeScript(best->steps));
  EXPECT_EQ(*result.best[0].sawtimber.lev, best->lev);
  for (std::size_t i = 1; i < result.best.size(); ++i) {
    EXPECT_GE(result.best[i - 1].score, result.best[i].score);
  }
}

// Every candidate, not only the best: each one that starts from a copy of a shared prefix must
// value exactly as the same regime run alone on a fresh document.
TEST(RegimeSearch, EveryCandidateValuedAsWhenRunAlone) {
  SearchSpace space = tinySpace();
  int refused = 0;
  std::vector<Valued> all = bruteForce(space, refused);
  space.best = static_cast<int>(all.size());
  for (int jobs : {1, 2}) {
    SearchResult result = searchRegimes(space, {jobs, 1, 1, {}});
    ASSERT_EQ(result.best.size(), all.size());
    std::map<std::string, double> found;
    for (const RankedRegime& r : result.best) found[regimeScript(r.steps)] = r.score;
    for (const Valued& v : all) {
      auto at = found.find(regimeScript(v.steps));
      ASSERT_NE(at, found.end()) << regimeScript(v.steps);
      EXPECT_EQ(at->second, v.lev) << regimeScript(v.steps);
    }
  }
}

std::string fingerprint(const SearchResult& r) {
  std::string text = std::to_string(r.candidates) + " " + std::to_string(r.valued) + " " +
                     std::to_string(r.refused) + "\n";
  for (const RankedRegime& b : r.best) {
    text += std::to_string(b.ordinal) + " " + formatText("%.17g", b.score) + "\n" +
            regimeScript(b.steps);
  }
  return text;
}

TEST(RegimeSearch, SameAnswerWhateverTheThreadsAndShards) {
  SearchSpace space = tinySpace();
  space.fertilizeAges = {12, 20};
  space.management = Management::Pulpwood;
  space.best = 8;
  std::string one = fingerprint(searchRegimes(space, {1, 1, 1, {}}));
  EXPECT_EQ(fingerprint(searchRegimes(space, {3, 1, 1, {}})), one);
  std::vector<SearchResult> shards;
  for (int k = 1; k <= 3; ++k) shards.push_back(searchRegimes(space, {2, k, 3, {}}));
  EXPECT_EQ(fingerprint(mergeResults(shards, space.best)), one);
  EXPECT_NE(one.find("fertilize"), std::string::npos);
}

// The best of each rotation is the best of the brute force's regimes of that age, and the same
// whatever the threads; the overall best is among them.
TEST(RegimeSearch, BestOfEachRotation) {
  SearchSpace space = tinySpace();
  int refused = 0;
  std::vector<Valued> all = bruteForce(space, refused);
  std::map<int, double> byAge;
  for (const Valued& v : all) {
    int age = std::stoi(v.steps[v.steps.size() - 2].fields.at("age"));
    byAge[age] = std::max(byAge.count(age) ? byAge[age] : -1e30, v.lev);
  }
  SearchResult one = searchRegimes(space, {1, 1, 1, {}});
  SearchResult two = searchRegimes(space, {2, 1, 1, {}});
  ASSERT_EQ(one.bestByRotation.size(), byAge.size());
  ASSERT_EQ(two.bestByRotation.size(), byAge.size());
  auto age = byAge.begin();
  for (std::size_t i = 0; i < byAge.size(); ++i, ++age) {
    EXPECT_EQ(one.bestByRotation[i].rotation, age->first);
    EXPECT_EQ(one.bestByRotation[i].score, age->second);
    EXPECT_EQ(one.bestByRotation[i].sawtimber.lev, age->second);
    EXPECT_EQ(regimeScript(two.bestByRotation[i].steps), regimeScript(one.bestByRotation[i].steps));
  }
  EXPECT_EQ(regimeScript(one.best[0].steps),
            regimeScript(std::max_element(one.bestByRotation.begin(), one.bestByRotation.end(),
                                          [](const RankedRegime& a, const RankedRegime& b) {
                                            return rankedBefore(b, a);
                                          })
                             ->steps));
  EXPECT_FALSE(one.cancelled);
}

// A cancel flag already set stops every thread before its first unit; one set from the
// progress report stops the search part way, and the result says so.
TEST(RegimeSearch, CancelStopsEarlyAndSaysSo) {
  SearchSpace space = tinySpace();
  std::int64_t whole = searchRegimes(space, {}).candidates;
  std::atomic<bool> cancel{true};
  SearchOptions options{2, 1, 1, {}, &cancel};
  SearchResult none = searchRegimes(space, options);
  EXPECT_TRUE(none.cancelled);
  EXPECT_EQ(none.candidates, 0);
  EXPECT_TRUE(none.best.empty());
  cancel = false;
  space.fertilizeAges = {12, 14, 16, 20};  // enough units for a progress report
  options.jobs = 1;
  options.progress = [&cancel](double) { cancel = true; };
  SearchResult part = searchRegimes(space, options);
  EXPECT_TRUE(part.cancelled);
  EXPECT_GT(part.candidates, 0);
  EXPECT_LT(part.candidates, whole * 5);
}

TEST(RegimeSearch, ExistingStandRankedByNetPresentValue) {
  SearchSpace space;
  space.start = {{StepKind::Unthinned, {{"age", "15"}, {"trees", "600"}, {"si", "65"}}},
                 {StepKind::Financial, {{"interest", "8"}}}};
  space.rotations = {15, 20, 25};
  space.thinningCounts = {0, 1};
  space.thinAges = {15, 18};
  space.methods = {{ThinMethod::Low, 0}};
  space.residualBA = {70, 400};  // above the stand's basal area: refused
  SearchResult result = searchRegimes(space, {2, 1, 1, {}});
  ASSERT_EQ(result.error, "");
  EXPECT_FALSE(result.newPlantation);
  // Harvests at 20 and 25 unthinned, and each thinning age with both residuals at 20 and 25.
  // Refused: the four thinnings to 400, and the harvest at 20 two years after the thinning to
  // 70 at 18 (its diameter distribution is still truncated).
  EXPECT_EQ(result.candidates, 2 + 2 * 2 * 2);
  EXPECT_EQ(result.refused, 5);
  EXPECT_EQ(result.best[0].score, static_cast<double>(result.best[0].sawtimber.npv));
}

// Whole spaces, every candidate: valued on a stand alone, without report text or tables, it
// scores as its script run through documents (the report path) does, and is refused alike.
TEST(RegimeSearch, EveryCandidateScoresAsItsScriptRunThroughDocuments) {
  // The worked example's space: rotations 20 to 40, no thinning or one at 12 to 25 by each
  // method to 50 to 120 square feet.
  SearchSpace example = tinySpace();
  example.rotations.clear();
  for (int age = 20; age <= 40; ++age) example.rotations.push_back(age);
  example.thinningCounts = {0, 1};
  example.thinAges.clear();
  for (int age = 12; age <= 25; ++age) example.thinAges.push_back(age);
  example.methods = {{ThinMethod::Row, 0},
                     {ThinMethod::Low, 0},
                     {ThinMethod::RowLow, 33},
                     {ThinMethod::Thinomatic, 0}};
  example.residualBA.clear();
  for (int ba = 50; ba <= 120; ba += 5) example.residualBA.push_back(ba);
  SearchSpace planted = tinySpace();
  planted.rotations = {16, 22, 28, 34};
  planted.thinAges = {12, 18};
  planted.methods = {{ThinMethod::Row, 0},
                     {ThinMethod::Low, 0},
                     {ThinMethod::RowLow, 50},
                     {ThinMethod::Thinomatic, 0}};
  planted.residualBA = {60, 100};
  planted.fertilizeAges = {12, 20};
  SearchSpace thinned;
  thinned.start = {{StepKind::Thinned,
                    {{"age", "22"},
                     {"ba", "0"},
                     {"trees", "320"},
                     {"thinage", "15"},
                     {"si", "65"},
                     {"pctba", "33"}}},
                   {StepKind::Financial, {{"interest", "8"}, {"harvest_saw", "31.75"}}}};
  thinned.rotations = {26, 33, 40};
  thinned.thinningCounts = {0, 1, 2};
  thinned.thinAges = {24, 30};
  thinned.methods = {{ThinMethod::Low, 0}, {ThinMethod::Thinomatic, 0}};
  thinned.residualBA = {50, 90};
  thinned.fertilizeAges = {24};
  thinned.management = Management::Pulpwood;
  SearchSpace unthinned = thinned;
  unthinned.start = {{StepKind::Unthinned, {{"age", "14"}, {"trees", "650"}, {"si", "70"}}},
                     {StepKind::Merch, {{"top", "4"}, {"saw", "9"}, {"pulp", "5"}}}};
  unthinned.rotations = {18, 25, 32};
  unthinned.thinAges = {16, 20};
  unthinned.methods = {{ThinMethod::RowLow, 33}, {ThinMethod::Row, 0}};
  for (const SearchSpace& space : {example, planted, thinned, unthinned}) {
    std::vector<std::pair<std::vector<Step>, std::optional<double>>> seen;
    SearchOptions options{2, 1, 1, {}};
    options.eachCandidate = [&seen](const std::vector<Step>& steps, std::optional<double> score) {
      seen.emplace_back(steps, score);
    };
    SearchResult result = searchRegimes(space, options);
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(static_cast<std::int64_t>(seen.size()), result.candidates);
    FixedClock clock(LocalTime{});
    int valued = 0;
    for (const auto& [steps, score] : seen) {
      std::vector<Step> script = space.start;
      script.insert(script.end(), steps.begin(), steps.end());
      std::optional<DocumentContent> doc = runSteps(script, clock);
      std::optional<RegimeFlows> flows;
      if (doc) flows = harvestFlows(*doc->store.newest(), doc->settings.financial);
      ASSERT_EQ(score.has_value(), flows.has_value()) << regimeScript(script);
      if (!flows) continue;
      auto npv = static_cast<double>(netPresentValue(*flows, space.management));
      double expected =
          result.newPlantation ? landExpectationValue(*flows, space.management).value_or(npv) : npv;
      EXPECT_EQ(*score, expected) << regimeScript(script);
      ++valued;
    }
    EXPECT_EQ(valued, result.valued);
    EXPECT_GT(result.refused, 0);
  }
}

TEST(RegimeSearch, RefusesABrokenStartOrSpace) {
  SearchSpace space = tinySpace();
  space.start = {{StepKind::Plantation, {{"si", "0"}}}};
  EXPECT_NE(searchRegimes(space, {}).error, "");
  space.start = {{StepKind::Financial, {{"interest", "6"}}}};
  EXPECT_EQ(searchRegimes(space, {}).error, "the start does not leave an initialized stand");
  space = tinySpace();
  space.thinningCounts = {3};
  EXPECT_NE(checkSpace(space), "");
  space = tinySpace();
  space.rotations.clear();
  EXPECT_NE(checkSpace(space), "");
}

}  // namespace
}  // namespace keldovar::econ

// keldovar-cli compare: the three examples' values are those their own reports give, a stand
// file compares as its script does, the best of a row is marked, and mistakes are usage errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/json_reader.h"
#include "econ/comparison_table.h"
#include "econ/regime_comparison.h"
#include "engine/report_text.h"
#include "tests/cli/cli_outcome.h"
#include "tests/cli/scratch_folder.h"

namespace keldovar::cli {
namespace {

const char* const kExamples[] = {"plantation-thin-harvest", "thinned-stand",
                                 "unthinned-thinomatic-fertilize"};

std::string example(const std::string& name) {
  return std::string(KELDOVAR_SOURCE_DIR) + "/examples/" + name + ".kdr";
}

const JsonValue& at(const JsonValue& v, const std::string& key) {
  static const JsonValue kMissing;
  const JsonValue* found = v.member(key);
  EXPECT_TRUE(found != nullptr) << key;
  return found != nullptr ? *found : kMissing;
}

TEST(CompareCli, ExamplesShowTheValuesOfTheirOwnReports) {
  std::vector<std::string> args = {"compare"};
  for (const char* name : kExamples) args.push_back(example(name));
  args.insert(args.end(), {"--format", "json"});
  Outcome compared = cli(args);
  ASSERT_EQ(compared.status, 0) << compared.err;
  std::optional<JsonValue> json = readJson(compared.out);
  ASSERT_TRUE(json);
  const std::vector<JsonValue>& regimes = at(*json, "regimes").items;
  ASSERT_EQ(regimes.size(), 3u);
  for (std::size_t i = 0; i < regimes.size(); ++i) {
    SCOPED_TRACE(kExamples[i]);
    Outcome text = cli({"run", example(kExamples[i])});
    std::optional<JsonValue> run =
        readJson(cli({"run", example(kExamples[i]), "--format", "json"}).out);
    ASSERT_TRUE(run);
    const JsonValue& harvest = at(*run, "tables").items.back();
    for (const char* m : {"pulpwood", "sawtimber"}) {
      double npv = at(at(regimes[i], "npv"), m).number;
      std::string shown = formatText("%.2f\n", npv);
      std::string label = std::string(m) == "pulpwood" ? "(Pulpwood Management)" : "(Sawtimber+";
      std::size_t line = text.out.rfind(label);
      ASSERT_NE(line, std::string::npos);
      EXPECT_NE(text.out.find(shown, line), std::string::npos) << m << " NPV " << shown;
      for (const char* measure : {"lev", "irr"}) {
        const JsonValue& mine = at(at(regimes[i], measure), m);
        const JsonValue& theirs = at(at(harvest, measure), m);
        EXPECT_EQ(mine.kind, theirs.kind) << measure;
        EXPECT_EQ(mine.number, theirs.number) << measure;
      }
    }
    // The running present value ends at the sawtimber NPV.
    const JsonValue& pv = at(at(regimes[i], "series"), "present_value");
    EXPECT_EQ(static_cast<float>(pv.items.back().items[1].number),
              static_cast<float>(at(at(regimes[i], "npv"), "sawtimber").number));
  }
  Outcome table = cli({"compare", example(kExamples[0]), example(kExamples[2])});
  EXPECT_NE(table.out.find("NPV sawtimber+pulpwood ($/ac)"), std::string::npos);
  EXPECT_NE(table.out.find("976.46*"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("16 Row/Low to 75.0"), std::string::npos) << table.out;
}

TEST(CompareCli, StandFileComparesAsItsScript) {
  Scratch scratch;
  std::string saved = (scratch.dir / "plantation-thin-harvest.kdv").string();
  ASSERT_EQ(cli({"run", example(kExamples[0]), "--out", saved}).status, 0);
  Outcome fromFile = cli({"compare", saved, example(kExamples[1]), "--format", "csv"});
  Outcome fromScript =
      cli({"compare", example(kExamples[0]), example(kExamples[1]), "--format", "csv"});
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(fromFile.out, fromScript.out);
}

TEST(CompareCli, MistakesAreRefused) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"compare", example(kExamples[0])}, 2, "two or more"},
      {{"compare", example(kExamples[0]), example(kExamples[1]), "--format", "xml"}, 2, "xml"},
      {{"compare", example(kExamples[0]), example(kExamples[1]), "--pdf"},
       2,
       "--pdf needs a value"},
      {{"compare", example(kExamples[0]), example(kExamples[1]), "--page", "a4"}, 2, "for --pdf"},
      {{"compare", "-", "-"}, 2, "once"},
      {{"compare", example(kExamples[0]), "-"}, 1, "no harvest"},
  };
  for (const Case& c : cases) {
    Outcome o = cli(c.args, "plantation si=65 trees=600 survival=85 control=herbwoody\ngrow 20\n");
    EXPECT_EQ(o.status, c.status) << c.args.back();
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_TRUE(o.out.empty());
  }
}

TEST(CompareText, PartsForPaperHoldEveryRegimeOnceAndMarkTheBestAmongAll) {
  std::vector<econ::ComparedRegime> regimes;
  for (int i = 0; i < 7; ++i) {
    econ::ComparedRegime r{"regime-" + std::to_string(i), {}};
    r.summary.sawtimber.npv = 100 + 10 * (i == 5);
    regimes.push_back(r);
  }
  EXPECT_EQ(econ::comparisonTextParts(regimes, 1000),
            std::vector<std::string>{econ::comparisonText(regimes)});
  std::vector<std::string> parts = econ::comparisonTextParts(regimes, 70);
  ASSERT_GT(parts.size(), 2u);
  std::string all;
  int npvBest = 0;  // regime-5's alone, in whichever part holds it
  for (const std::string& part : parts) {
    std::istringstream lines(part);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(line.size(), 70u) << line;
      if (line.starts_with("NPV sawtimber"))
        npvBest += int(std::count(line.begin(), line.end(), '*'));
    }
    all += part;
  }
  for (const econ::ComparedRegime& r : regimes) {
    EXPECT_EQ(all.find(r.name), all.rfind(r.name)) << r.name;  // once
    EXPECT_NE(all.find(r.name), std::string::npos) << r.name;
  }
  EXPECT_EQ(npvBest, 1);
  EXPECT_EQ(econ::comparisonTextParts(regimes, 1).size(), regimes.size());  // one at least
}

TEST(CompareBest, MarksEveryHighestOfTwoOrMoreValues) {
  using V = std::vector<std::optional<double>>;
  struct Case {
    V values;
    std::vector<bool> best;
  } cases[] = {
      {{1.0, 3.0, 2.0}, {false, true, false}},
      {{3.0, std::nullopt, 3.0}, {true, false, true}},
      {{-5.0, -2.0}, {false, true}},
      {{4.0, std::nullopt}, {false, false}},
      {{}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(econ::bestOf(c.values), c.best);
}

}  // namespace
}  // namespace keldovar::cli

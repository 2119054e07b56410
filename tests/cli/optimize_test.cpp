// keldovar-cli optimize: the best regime's script reproduces its LEV through run, shards merge
// into the unsharded answer, and mistakes in the search-space file are reported by line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "cli/json_reader.h"
#include "engine/report_text.h"
#include "tests/cli/cli_outcome.h"

namespace keldovar::cli {
namespace {

namespace fs = std::filesystem;

// Writes files of this test's own (ctest runs the tests of this binary side by side) and
// removes them afterwards.
class Optimize : public ::testing::Test {
 protected:
  fs::path writeTemp(const std::string& name, const std::string& text) {
    const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::path path = fs::temp_directory_path() /
                    ("keldovar-optimize-" + std::to_string(getpid()) + "-" + test + "-" + name);
    std::ofstream(path, std::ios::binary) << text;
    files_.push_back(path);
    return path;
  }
  void TearDown() override {
    std::error_code ignored;
    for (const fs::path& file : files_) fs::remove(file, ignored);
  }

 private:
  std::vector<fs::path> files_;
};

const std::string kSpace =
    "# a plantation, up to two thinnings\n"
    "start = plantation si=60 trees=700 survival=80 control=woody\n"
    "start = financial interest=6.5 harvest_saw=28\n"
    "rotations = 22-30/4\n"
    "thinnings = 0, 1, 2\n"
    "thin_ages = 12, 16\n"
    "methods = low, rowlow, thinomatic, row\n"
    "row_percents = 25, 50\n"
    "residual_ba = 60-90/30\n"
    "fertilize_ages = 16\n"
    "fertilizer = n=150 p=no\n"
    "best = 4\n";

TEST_F(Optimize, TheBestScriptGivesTheSameLevThroughRun) {
  fs::path spec = writeTemp("space.txt", kSpace);
  Outcome r = cli({"optimize", spec.string(), "--format", "json", "--jobs", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::optional<JsonValue> json = readJson(r.out);
  ASSERT_TRUE(json);
  EXPECT_EQ(json->member("ranked_by")->text, "lev");
  const JsonValue& best = json->member("best")->items.at(0);
  std::string script;
  for (const JsonValue& line : best.member("script")->items) script += line.text + "\n";
  EXPECT_EQ(script.rfind("plantation si=60 trees=700 survival=80 control=woody\nfinancial ", 0),
            0u);
  Outcome run = cli({"run", "-", "--format", "json"}, script);
  ASSERT_EQ(run.status, 0) << run.err;
  std::optional<JsonValue> report = readJson(run.out);
  ASSERT_TRUE(report);
  const JsonValue& harvest = report->member("tables")->items.back();
  EXPECT_EQ(harvest.member("lev")->member("sawtimber")->number,
            best.member("sawtimber")->member("lev")->number);
  EXPECT_EQ(harvest.member("lev")->member("sawtimber")->number, best.member("score")->number);
  EXPECT_EQ(harvest.member("irr")->member("pulpwood")->number,
            best.member("pulpwood")->member("irr")->number);
}

TEST_F(Optimize, ShardsMergeIntoTheWholeSearch) {
  fs::path spec = writeTemp("space.txt", kSpace);
  for (const char* format : {"json", "text", "csv"}) {
    Outcome whole = cli({"optimize", spec.string(), "--format", format, "--jobs", "1"});
    ASSERT_EQ(whole.status, 0) << whole.err;
    std::vector<std::string> merge = {"optimize", "--format", format, "--merge"};
    for (int k = 1; k <= 3; ++k) {
      std::string shard = std::to_string(k) + "/3";
      Outcome part = cli({"optimize", spec.string(), "--shard", shard, "--format", "json"});
      ASSERT_EQ(part.status, 0) << part.err;
      merge.push_back(writeTemp("shard" + std::to_string(k) + ".json", part.out).string());
    }
    Outcome merged = cli(merge);
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, whole.out) << format;
  }
  Outcome text = cli({"optimize", spec.string()});
  EXPECT_EQ(text.out.rfind("Best regimes by land expectation value, sawtimber+pulpwood", 0), 0u);
  Outcome csv = cli({"optimize", spec.string(), "--format", "csv"});
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
            "rank,ordinal,rotation,score,npv_sawtimber,lev_sawtimber,irr_sawtimber,npv_pulpwood,"
            "lev_pulpwood,irr_pulpwood,harvest_pulp_tons,harvest_iu_pulp_tons,harvest_saw_tons,"
            "script");
}

TEST_F(Optimize, MistakesAreReportedBeforeAnythingRuns) {
  fs::path spec = writeTemp("bad.txt",
                            "start = plantation si=60 trees=700 colour=red\n"
                            "rotations = 40-20\n"
                            "methods = clearcut\n"
                            "management = pine\n"
                            "just words\n");
  Outcome r = cli({"optimize", spec.string()});
  EXPECT_EQ(r.status, 2);
  for (const char* line : {":1: unknown key 'colour'", ":2: rotations: give numbers",
                           ":4: management is pulpwood or sawtimber", ":5: 'just words'",
                           ": methods are row, low, rowlow and thinomatic, not 'clearcut'"}) {
    EXPECT_NE(r.err.find(spec.string() + line), std::string::npos) << line << "\n" << r.err;
  }
  EXPECT_EQ(cli({"optimize", spec.string(), "--shard", "4/3"}).status, 2);
  EXPECT_EQ(cli({"optimize"}).status, 2);
  EXPECT_EQ(cli({"optimize", "--merge", spec.string()}).status, 1);
  fs::path partial = writeTemp("partial.json", "{\"ranked_by\": \"lev\", \"best\": []}");
  EXPECT_EQ(cli({"optimize", "--merge", partial.string()}).status, 1);
  fs::path refused =
      writeTemp("refused.txt", "start = plantation si=0\nrotations = 25\nthinnings = 0\n");
  Outcome start = cli({"optimize", refused.string()});
  EXPECT_EQ(start.status, 1);
  EXPECT_NE(start.err.find("the start was refused at 'plantation si=0'"), std::string::npos);
}

}  // namespace
}  // namespace keldovar::cli

namespace keldovar::cli {
namespace {

TEST(RunEconomics, EachHarvestGivesItsLevAndIrrUnlessTheValuesChangedSince) {
  const std::string regime =
      "plantation si=65 trees=600 survival=85 control=herbwoody\n"
      "grow 14\nthin thinomatic ba=80\ngrow 26\nharvest\n";
  Outcome csv = cli({"run", "-", "--format", "csv"}, regime);
  ASSERT_EQ(csv.status, 0) << csv.err;
  std::string last = csv.out.substr(csv.out.rfind('\n', csv.out.size() - 2) + 1);
  EXPECT_NE(last.find(",26,Harvest,,,,,,,,"), std::string::npos) << last;
  std::optional<JsonValue> json = readJson(cli({"run", "-", "--format", "json"}, regime).out);
  ASSERT_TRUE(json);
  const JsonValue& harvest = json->member("tables")->items.back();
  EXPECT_EQ(last, formatText("4,26,Harvest,,,,,,,,%.17g,%.17g,%.17g,%.17g,,,,,,,\n",
                             harvest.member("lev")->member("pulpwood")->number,
                             harvest.member("lev")->member("sawtimber")->number,
                             harvest.member("irr")->member("pulpwood")->number,
                             harvest.member("irr")->member("sawtimber")->number));
  // Only harvest tables carry the keys.
  EXPECT_EQ(json->member("tables")->items.front().member("lev"), nullptr);

  std::optional<JsonValue> changed =
      readJson(cli({"run", "-", "--format", "json"}, regime + "financial interest=8\n").out);
  ASSERT_TRUE(changed);
  const JsonValue& stale = changed->member("tables")->items.back();
  EXPECT_EQ(stale.member("lev")->member("sawtimber")->kind, JsonValue::Kind::Null);
  EXPECT_EQ(stale.member("irr")->member("pulpwood")->kind, JsonValue::Kind::Null);
}

}  // namespace
}  // namespace keldovar::cli

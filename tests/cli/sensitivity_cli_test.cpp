// keldovar-cli sensitivity and risk: the IRR agrees with run's and with the curve, each
// break-even put back into the script gives an NPV of 0 to the cent, steady risk is the analysis,
// the numbers do not depend on the jobs, and the options' mistakes are usage errors.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/json_reader.h"
#include "engine/report_text.h"
#include "tests/cli/cli_outcome.h"
#include "tests/cli/scratch_folder.h"

namespace keldovar::cli {
namespace {

// No thinning: the harvest earns everything, so every break-even is a price the dialog takes.
const std::string kRegime =
    "plantation si=65 trees=600 survival=85 control=herbwoody\n"
    "financial interest=6\ngrow 25\nharvest\n";

JsonValue json(const Outcome& outcome) {
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  std::optional<JsonValue> read = readJson(outcome.out);
  EXPECT_TRUE(read) << outcome.out;
  return read ? *read : JsonValue{};
}

double number(const JsonValue& object, const std::string& path) {
  const JsonValue* at = &object;
  for (std::size_t begin = 0; at != nullptr && begin <= path.size();) {
    std::size_t dot = std::min(path.find('.', begin), path.size());
    at = at->member(path.substr(begin, dot - begin));
    begin = dot + 1;
  }
  EXPECT_TRUE(at != nullptr && at->kind == JsonValue::Kind::Number) << path;
  return at != nullptr ? at->number : 0;
}

// The sawtimber+pulpwood or pulpwood NPV the harvest's financial analysis prints.
std::string printedNpv(const std::string& script, bool sawtimber) {
  Outcome run = cli({"run", "-"}, script);
  std::size_t line = run.out.rfind(sawtimber ? "(Sawtimber+Pulpwood" : "(Pulpwood Management)");
  std::size_t dollar = run.out.find('$', line);
  return run.out.substr(dollar + 1, run.out.find('\n', dollar) - dollar - 1);
}

TEST(SensitivityCli, IrrAndBreakEvensAgreeWithRun) {
  JsonValue s =
      json(cli({"sensitivity", "-", "--format", "json", "--rates", "1:20:0.25"}, kRegime));
  JsonValue run = json(cli({"run", "-", "--format", "json"}, kRegime));
  const JsonValue& harvest = run.member("tables")->items.back();
  for (const char* m : {"pulpwood", "sawtimber"}) {
    double irr = number(s, std::string(m) + ".irr");
    EXPECT_NEAR(irr, number(harvest, std::string("irr.") + m), 1e-6);
    const std::vector<JsonValue>& rates = s.member("rates")->items;
    int crossings = 0;
    for (std::size_t i = 1; i < rates.size(); ++i) {
      double before = number(rates[i - 1], std::string("npv.") + m);
      double after = number(rates[i], std::string("npv.") + m);
      if ((before > 0) == (after > 0)) continue;
      ++crossings;
      EXPECT_LE(number(rates[i - 1], "rate"), irr);
      EXPECT_GE(number(rates[i], "rate"), irr);
    }
    EXPECT_EQ(crossings, 1) << m;
  }
  // Each break-even written into the script's financial values: the analysis prints $0.00.
  for (auto [key, management] :
       {std::pair{"harvest_saw", "sawtimber"}, std::pair{"harvest_pulp", "pulpwood"},
        std::pair{"establishment_cost", "sawtimber"},
        std::pair{"establishment_cost", "pulpwood"}}) {
    double value = number(s, std::string(management) + ".break_even." + key);
    std::string script = kRegime;
    script.insert(script.find("grow"), formatText("financial %s=%.9g\n", key, value));
    std::string npv = printedNpv(script, std::string(management) == "sawtimber");
    EXPECT_TRUE(npv == "0.00" || npv == "-0.00") << key << "=" << value << ": " << npv;
  }
}

// A stand file is told from a script by its first bytes, whatever its name.
TEST(SensitivityCli, StandFileAsTheScriptThatMadeIt) {
  Scratch scratch;
  std::string stand = (scratch.dir / "regime.txt").string();
  ASSERT_EQ(cli({"run", "-", "--out", stand}, kRegime).status, 0);
  Outcome fromFile = cli({"sensitivity", stand, "--format", "csv"});
  EXPECT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(fromFile.out, cli({"sensitivity", "-", "--format", "csv"}, kRegime).out);
  // The curve's point at the document's own rate is the JSON's base figure, written alike.
  JsonValue s = json(cli({"sensitivity", stand, "--format", "json"}));
  std::string npv = formatText("%.9g", number(s, "sawtimber.npv"));
  EXPECT_NE(fromFile.out.find("\nrate,interest,sawtimber,6," + npv + ","), std::string::npos)
      << npv;
  EXPECT_NE(fromFile.out.find("\nbase,,sawtimber,," + npv + ","), std::string::npos);
}

TEST(RiskCli, SteadyRiskIsTheAnalysisAndJobsChangeNothing) {
  JsonValue steady = json(
      cli({"risk", "-", "--format", "json", "--volatility", "0", "--loss", "0", "--paths", "500"},
          kRegime));
  EXPECT_NEAR(number(steady, "npv.mean"), number(steady, "steady.npv"), 1e-3);
  EXPECT_EQ(number(steady, "npv.sd"), 0);
  EXPECT_NEAR(number(steady, "lev.p5"), number(steady, "steady.lev"), 0.01);
  std::vector<std::string> args = {"risk",   "-",  "--format", "json", "--paths", "9000",
                                   "--seed", "12", "--loss",   "2",    "--jobs"};
  args.push_back("1");
  Outcome one = cli(args, kRegime);
  args.back() = "2";
  EXPECT_EQ(cli(args, kRegime).out, one.out);
  EXPECT_GT(number(json(one), "lost_percent"), 30);
}

TEST(RiskCli, SearchRanksTheSpaceUnderRisk) {
  Outcome csv = cli({"risk", "--search", "-", "--paths", "20", "--format", "csv"},
                    "start = plantation si=65 trees=600 survival=85 control=herbwoody\n"
                    "rotations = 20-26/2\nthinnings = 0\nbest = 3\n");
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 7);
  EXPECT_NE(csv.out.find("\np5,3,"), std::string::npos);
}

TEST(SensitivityCli, MistakesAreNamed) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{"sensitivity", "-", "--rates", "2:12"},
            2,
            "--rates takes FROM:TO:STEP such as 2:12:0.5, not '2:12'"},
           {{"sensitivity", "-", "--rates", "12:2:1"}, 2, "--rates: give FROM:TO:STEP"},
           {{"sensitivity", "-", "--swing", "0"}, 2, "--swing: give a percentage above 0"},
           {{"sensitivity", "-", "--management", "pine"},
            2,
            "--management takes sawtimber or pulpwood, not 'pine'"},
           {{"sensitivity"}, 2, "no stand file or script given"},
           {{"risk", "-", "--volatility", "x"}, 2, "--volatility takes a number, not 'x'"},
           {{"risk", "-", "--correlation", "2"}, 2, "--correlation: give -1 to 1"},
           {{"risk", "-", "--paths", "0"}, 2, "--paths: give 1 to 10000000"},
           {{"risk", "-", "--bins", "1001"}, 2, "--bins takes 0 to 1000, not '1001'"},
           {{"risk", "--search", "s", "--management", "pulpwood"},
            2,
            "--search takes the management from the space"},
           {{"risk", "-", "--search", "s"}, 2, "give a stand file or script, or --search SPACE"},
           {{"risk", "-", "--frobnicate", "1"}, 2, "unknown option '--frobnicate'"},
       }) {
    Outcome r = cli(c.args, kRegime);
    EXPECT_EQ(r.status, c.status) << c.message;
    EXPECT_EQ(r.err.find(std::string("keldovar-cli: ") + c.message), 0u) << r.err;
  }
  Outcome unharvested = cli({"sensitivity", "-"}, "plantation si=65 trees=600 survival=85\n");
  EXPECT_EQ(unharvested.status, 1);
  EXPECT_EQ(unharvested.err, "keldovar-cli: -: the document holds no harvest\n");
  Outcome help = cli({"risk", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.find("Usage:\n  keldovar-cli risk FILE.kdv|SCRIPT"), 0u);
}

}  // namespace
}  // namespace keldovar::cli

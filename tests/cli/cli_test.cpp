// keldovar-cli end to end: the worked examples against their expected reports, the exit
// statuses, the messages on standard error, the stand file and the three formats.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/command_line.h"
#include "document/document_controller.h"
#include "document/step_messages.h"
#include "tests/cli/cli_outcome.h"
#include "tests/cli/scratch_folder.h"
#include "view/copy_text.h"

namespace keldovar::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = KELDOVAR_SOURCE_DIR;
constexpr const char* kClock = "2026-12-07 10:00:00";

Outcome runScript(const std::string& script, std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"run", "-", "--clock", kClock};
  args.insert(args.end(), extra.begin(), extra.end());
  return cli(args, script);
}

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Strict comparison: equal length, and the first line that differs.
void expectSameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return;
  std::istringstream a(actual), e(expected);
  std::string la, le;
  for (int line = 1;; ++line) {
    bool moreA = static_cast<bool>(std::getline(a, la));
    bool moreE = static_cast<bool>(std::getline(e, le));
    if (!moreA && !moreE) break;
    ASSERT_EQ(la, le) << "first difference at line " << line;
  }
  EXPECT_EQ(actual.size(), expected.size());
}

class Examples : public ::testing::TestWithParam<const char*> {};

// The checked-in reports; rewritten with KELDOVAR_UPDATE_EXPECTED=1 after a deliberate change.
TEST_P(Examples, ReportMatchesTheExpectedFile) {
  std::string name = GetParam();
  fs::path script = kSource / "examples" / (name + ".kdr");
  for (const char* format : {"text", "json"}) {
    Outcome r = cli({"run", script.string(), "--clock", kClock, "--format", format});
    EXPECT_EQ(r.status, 0) << r.err;
    fs::path expected =
        kSource / "tests" / "cli" / "expected" / (name + (format[0] == 't' ? ".txt" : ".json"));
    if (std::getenv("KELDOVAR_UPDATE_EXPECTED") != nullptr) {
      std::ofstream(expected, std::ios::binary) << r.out;
    }
    expectSameText(r.out, readFile(expected));
  }
}

INSTANTIATE_TEST_SUITE_P(Cli, Examples,
                         ::testing::Values("plantation-thin-harvest",
                                           "unthinned-thinomatic-fertilize", "thinned-stand"));

TEST(Cli, UsageHelpAndVersion) {
  Outcome help = cli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("keldovar-cli run SCRIPT"), std::string::npos);
  Outcome version = cli({"--version"});
  EXPECT_EQ(version.out, std::string("keldovar-cli ") + kVersion + "\n");
  for (auto args : std::vector<std::vector<std::string>>{
           {},
           {"simulate"},
           {"run"},
           {"run", "a.kdr", "--format", "xml"},
           {"run", "a.kdr", "--clock", "yesterday"},
           {"run", "a.kdr", "b.kdr", "--out", "x.kdv"},
           {"run", "a.kdr", "--out", "x.kdv", "--out-dir", "."},
           {"run", "-", "a.kdr", "-"},
           {"run", "a/x.kdr", "b/x.kdr", "--out-dir", "."},
           {"run", "-", "stdin.kdr", "--out-dir", "."},
           {"run", "a.kdr", "--jobs", "0"},
           {"run", "a.kdr", "--jobs", "257"},
           {"run", "a.kdr", "--jobs", "2x"},
           {"run", "a.kdr", "--jobs"},
           {"report", "a.kdv", "--keep-going"},
       }) {
    Outcome r = cli(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
}

TEST(Cli, SyntaxErrorsStopTheRunBeforeAnythingRuns) {
  Outcome r = runScript("unthinned age=20 trees=500 si=60\ngrow\nthin wide\n",
                        {"--out", "/nonexistent/x.kdv"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "-:2: grow takes exactly one age\n"
            "-:3: thin takes a method: row, thinomatic, low or rowlow\n");
}

TEST(Cli, AFailedStepStopsTheRunUnlessKeepGoing) {
  const std::string script =
      "unthinned age=20 trees=500 si=60\n"
      "thin row ba=10\n"  // the dialog refuses a residual under 20
      "grow 25\n";
  Outcome stop = runScript(script, {"--format", "json"});
  EXPECT_EQ(stop.status, 1);
  EXPECT_EQ(stop.err,
            "-:2: ba: Please enter a Residual Basal Area in the range  20.0 - 132.9\n"
            "-:2: Returning to previous conditions. Function aborted.\n");
  EXPECT_NE(stop.out.find("{\"line\": 2, \"caption\": \"\", \"text\": \"Please enter a Residual "
                          "Basal Area in the range\\n 20.0 - 132.9\"}"),
            std::string::npos);
  EXPECT_EQ(stop.out.find("at Age 25"), std::string::npos);

  Outcome going = runScript(script, {"--keep-going"});
  EXPECT_EQ(going.status, 1);
  EXPECT_NE(going.out.find("STAND/STOCK TABLE(Acre) at Age 25"), std::string::npos);
}

TEST(Cli, EngineMessagesKeepTheirCaption) {
  Outcome r = runScript("fertilize n=100\nharvest\nunthinned age=40 trees=400 si=60\ngrow 41\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "-:1: The stand must have been initialized first.\n");
  Outcome going =
      runScript("harvest\nunthinned age=40 trees=400 si=60\ngrow 45\n", {"--keep-going"});
  EXPECT_EQ(going.err,
            "-:1: THINNING ERROR: The stand must have been initialized before you can  thin it.\n"
            "-:1: Returning to previous conditions. Function aborted.\n"
            "-:3: GROW AGE MESSAGE: The stand can not be grown any more using this model. The "
            "stand is 40 years old.\n"
            "-:3: Returning to previous conditions. Function aborted.\n");
}

TEST(Cli, ViewOptionsOfTheTextReport) {
  const std::string script =
      "unthinned age=20 trees=500 si=60\ngrow 25\nthin row ba=100\nharvest\n";
  Outcome all = runScript(script);
  Outcome current = runScript(script, {"--current-step"});
  Outcome plain = runScript(script, {"--no-financial"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(all.out.find("         STAND SUMMARY \n"), 0u);
  EXPECT_EQ(current.out.find("         STAND SUMMARY THINNED \n"), 0u);
  EXPECT_NE(current.out.find("FINANCIAL ANALYSIS"), std::string::npos);
  EXPECT_EQ(plain.out.find("FINANCIAL ANALYSIS"), std::string::npos);
  EXPECT_NE(plain.out.find("STAND HISTORY"), std::string::npos);
}

TEST(Cli, StandFileWrittenByRunAndReadByReport) {
  fs::path file = fs::temp_directory_path() / "keldovar-cli-test.kdv";
  fs::remove(file);
  fs::path script = kSource / "examples" / "plantation-thin-harvest.kdr";
  Outcome r = cli({"run", script.string(), "--clock", kClock, "--out", file.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* format : {"text", "json", "csv"}) {
    Outcome ran = cli({"run", script.string(), "--clock", kClock, "--format", format});
    Outcome reported = cli({"report", file.string(), "--format", format});
    EXPECT_EQ(reported.status, 0) << reported.err;
    if (format[0] == 'j') {
      // The report of a file has no messages and the same tables.
      EXPECT_EQ(reported.out.substr(0, reported.out.find("\"messages\"")),
                ran.out.substr(0, ran.out.find("\"messages\"")));
    } else {
      EXPECT_EQ(reported.out, ran.out) << format;
    }
  }
  // A file that is not a stand file: its message, exit 1.
  std::ofstream(file, std::ios::binary) << "not a stand file";
  Outcome bad = cli({"report", file.string()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("Unable to open the file.  The file has a different version number."),
            std::string::npos);
  fs::remove(file);
  Outcome missing = cli({"report", file.string()});
  EXPECT_EQ(missing.status, 1);
  // A stand file that cannot be written fails the run, after the report is printed.
  Outcome unwritable =
      runScript("unthinned age=20 trees=500 si=60\n",
                {"--out", (fs::temp_directory_path() / "no-such-dir" / "x.kdv").string()});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.out.find("STAND SUMMARY"), std::string::npos);
  EXPECT_FALSE(unwritable.err.empty());
}

// The program itself through a shell, for what only a real process shows: standard streams
// closed, full or pointing at odd files.
Outcome shell(const std::string& arguments) {
  fs::path errors = fs::temp_directory_path() / ("keldovar-cli-err-" + std::to_string(::getpid()));
  std::string command =
      std::string("'") + KELDOVAR_CLI + "' " + arguments + " 2>'" + errors.string() + "'";
  int raw = std::system(command.c_str());
  Outcome r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", readFile(errors)};
  fs::remove(errors);
  return r;
}

TEST(CliProcess, InputsThatCannotBeReadAreRefusedWithTheirReason) {
  Scratch scratch;
  std::string fifo = scratch.dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string example = (kSource / "examples" / "plantation-thin-harvest.kdr").string();
  std::string dir = scratch.dir.string();
  const std::string kNotAFileToSave = " is not a regular file (nor a symbolic link to one)";
  const std::pair<std::string, std::string> cases[] = {
      {"run " + dir, dir + " is not a regular file"},
      {"run " + dir + "/none.kdr",
       "cannot read the script " + dir + "/none.kdr: No such file or directory"},
      {"run - < " + dir, "cannot read the script -: Is a directory"},
      {"run - <&-", "cannot read the script -: Bad file descriptor"},
      {"run /dev/zero", "/dev/zero is not a regular file"},
      {"run - < /dev/zero", "cannot read the script -: larger than 16 MB"},
      {"run " + fifo, fifo + " is not a regular file"},  // no writer: would wait forever
      {"report " + fifo, fifo + " is not a regular file"},
      {"run " + example + " --out " + fifo, "--out " + fifo + kNotAFileToSave},
      {"run " + example + " --out " + dir, "--out " + dir + kNotAFileToSave},
  };
  for (const auto& [arguments, says] : cases) {
    Outcome r = shell(arguments + " >/dev/null");
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.err, "keldovar-cli: " + says + "\n") << arguments;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(CliProcess, AReportThatCannotBeWrittenFailsTheRun) {
  std::string example = (kSource / "examples" / "plantation-thin-harvest.kdr").string();
  Scratch scratch;
  fs::path space = scratch.dir / "small.space";
  std::ofstream(space) << "start = plantation si=65 trees=600 survival=85\nrotations = 25\n"
                          "thinnings = 0\n";
  for (const std::string& arguments :
       {"run " + example + " --format json", "optimize " + space.string(), std::string("--help"),
        std::string("--version")}) {
    Outcome r = shell(arguments + " >/dev/full");
    EXPECT_EQ(r.status, 1) << arguments;
    EXPECT_EQ(r.err, "keldovar-cli: cannot write the report: No space left on device\n");
  }
}

TEST(Cli, OutWritesThroughLinksFitsLongNamesAndRefusesOtherFiles) {
  Scratch scratch;
  fs::path real = scratch.dir / "real.kdv", link = scratch.dir / "link.kdv";
  std::ofstream(real) << "old";
  fs::create_symlink("real.kdv", link);
  fs::path longName = scratch.dir / (std::string(246, 'a') + ".kdv");  // 250 bytes
  fs::path dangling = scratch.dir / "dangling.kdv";
  fs::create_symlink("nowhere.kdv", dangling);
  for (const fs::path& out : {link, longName}) {
    Outcome r = runScript("unthinned age=20 trees=500 si=60\n", {"--out", out.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cli({"report", out.string()}).out, r.out);
  }
  EXPECT_TRUE(fs::is_symlink(link));
  Outcome refused = runScript("harvest\n", {"--out", dangling.string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.out, "");
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_FALSE(fs::exists(scratch.dir / "nowhere.kdv"));
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.dir), {}), 4);  // no temporary file
}

TEST(Cli, ClockMustBeARealTime) {
  for (const char* clock : {"2026-02-30 10:00:00", "2025-02-29 10:00:00", "0000-06-01 10:00:00",
                            "-001-06-01 10:00:00", "2026-12-07 23:59:60", "2026-12-07 24:00:00",
                            "2026-13-01 10:00:00", "2026-12-07 10:00:00x", "+2026-12-07 1:0:0"}) {
    Outcome r = cli({"run", "-", "--clock", clock}, "harvest\n");
    EXPECT_EQ(r.status, 2) << clock;
  }
  Outcome leap =
      cli({"run", "-", "--clock", "2024-02-29 23:59:59"}, "unthinned age=20 trees=500 si=60\n");
  EXPECT_EQ(leap.status, 0) << leap.err;
  EXPECT_NE(leap.out.find("Thu Feb 29 11:59:59"), std::string::npos);
}

TEST(Cli, StandardErrorNamesRefusedKeysExplainsRefusedThinningsAndCapsErrors) {
  Outcome r = runScript(
      "unthinned age=20 trees=500 si=60\n"
      "grow 2O\n"
      "thin row ba=100\n"
      "thin thinomatic ba=90\n"  // a second thinning at age 20
      "thin low ba=90\n",        // a low thinning may follow a row thinning
      {"--keep-going", "--format", "json"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string("-:2: age: Enter an integer.\n"
                               "-:2: Returning to previous conditions. Function aborted.\n"
                               "-:4: Returning to previous conditions. Function aborted.\n"
                               "-:4: ") +
                       kThinRefusedReason + "\n");
  // The JSON messages stay the boxes' own texts.
  EXPECT_NE(r.out.find("{\"line\": 2, \"caption\": \"\", \"text\": \"Enter an integer.\"}"),
            std::string::npos);
  EXPECT_EQ(r.out.find(kThinRefusedReason), std::string::npos);

  std::string many;
  for (int i = 0; i < 130; ++i) many += "prune\n";
  Outcome errors = runScript(many);
  EXPECT_EQ(errors.status, 2);
  EXPECT_NE(
      errors.err.find("-:100: unknown command 'prune'\n-: 30 more syntax errors not listed\n"),
      std::string::npos);
}

TEST(Cli, CsvRowsOfEveryStockTable) {
  Outcome r = runScript("unthinned age=20 trees=500 si=60\ngrow 25\n", {"--format", "csv"});
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line,
            "table,age,dbh,trees,height,basal_area,ob_volume,pulp_tons,iu_pulp_tons,saw_tons,"
            "lev_pulpwood,lev_sawtimber,irr_pulpwood,irr_sawtimber,biomass_tons,carbon_tons,"
            "co2e_tons,removed_carbon_tons,pulpwood_carbon_tons,sawtimber_carbon_tons,"
            "stored_100_carbon_tons");
  std::getline(lines, line);
  EXPECT_EQ(line.substr(0, 7), "0,20,2,");
  int totals = 0;
  while (std::getline(lines, line)) {
    if (line.find(",Total,") != std::string::npos) {
      ++totals;
      EXPECT_NE(line.find(",Total,") + 7, line.find(",,")) << line;  // trees, then empty height
      EXPECT_NE(line.find(",,"), std::string::npos);
    }
  }
  EXPECT_EQ(totals, 2);
}

TEST(Cli, JsonNumbersReadBackExactly) {
  Outcome r = runScript("plantation si=60 trees=500 survival=90\n", {"--format", "json"});
  ASSERT_EQ(r.status, 0);
  std::size_t at = r.out.find("\"rows\": [[");
  ASSERT_NE(at, std::string::npos);
  float dbh = 0, trees = 0;
  ASSERT_EQ(std::sscanf(r.out.c_str() + at + 10, "%f, %f", &dbh, &trees), 2);
  EXPECT_EQ(dbh, 1.0f);
  std::size_t stand = r.out.find("\"trees\": ", r.out.find("\"stand\""));
  double standTrees = std::strtod(r.out.c_str() + stand + 9, nullptr);
  EXPECT_NEAR(standTrees, 448.248, 1e-3);
  EXPECT_NE(r.out.find("\"thinning\": null"), std::string::npos);
  EXPECT_NE(r.out.find("\"initialized\": 1"), std::string::npos);
}

// Prompts that hand over typed values, as a person at the dialogs would.
class TypedPrompts final : public Prompts {
 public:
  std::vector<std::function<void(TypedPrompts&)>> steps;
  std::optional<UnthinnedEntry> unthinned;
  std::optional<int> growAge;
  std::optional<float> residual;
  std::optional<RowLowEntry> rowLow;
  std::optional<FertilizeEntry> fertilizer;
  std::vector<Message> messages;
  void showMessage(const Message& m) override { messages.push_back(m); }
  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues&) override { return unthinned; }
  std::optional<ThinnedEntry> askThinned(const RememberedValues&) override { return {}; }
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues&) override {
    return {};
  }
  std::optional<PlantationEntry> askPlantation(const RememberedValues&) override { return {}; }
  std::optional<int> askGrowAge(const StandFacts&) override { return growAge; }
  std::optional<float> askResidualBA(const RememberedValues&, const StandFacts&) override {
    return residual;
  }
  std::optional<float> askThinToDBH(const RememberedValues&, const StandFacts&) override {
    return {};
  }
  int askLowThinMethod() override { return 2; }
  std::optional<RowLowEntry> askRowLow(const RememberedValues&, const StandFacts&) override {
    return rowLow;
  }
  std::optional<FertilizeEntry> askFertilize() override { return fertilizer; }
  std::optional<FinanceEntry> askFinance(const FinancialValues&) override { return {}; }
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings&) override { return {}; }
};

TEST(Cli, ScriptAndDialogsGiveTheSameTables) {
  Outcome scripted = runScript(
      "unthinned age=14 trees=650 si=70\n"
      "grow 18\n"
      "thin rowlow ba=85.5 row=25\n"
      "fertilize n=175 p=no\n"
      "grow 24\n"
      "thin low ba=90\n"
      "grow 36\n"
      "harvest\n");
  ASSERT_EQ(scripted.status, 0) << scripted.err;

  FixedClock clock{LocalTime{2026, 12, 7, 10, 0, 0, 1}};
  Session session{&clock};
  MemorySettingsStore settings;
  TypedPrompts typed;
  DocumentController doc(session, typed, settings, DocumentSettings{}, ViewOptions{});
  typed.unthinned = UnthinnedEntry{650, 14, 0, 0, 70};
  ASSERT_TRUE(doc.initialize(kExistingUnthinned));
  typed.growAge = 18;
  ASSERT_TRUE(doc.grow());
  typed.rowLow = RowLowEntry{85.5, 25};
  ASSERT_TRUE(doc.treat(kRowAndLowThin));
  typed.fertilizer = FertilizeEntry{175, false};
  ASSERT_TRUE(doc.fertilize());
  typed.growAge = 24;
  ASSERT_TRUE(doc.grow());
  typed.residual = 90;
  ASSERT_TRUE(doc.treat(kLowThin));
  typed.growAge = 36;
  ASSERT_TRUE(doc.grow());
  ASSERT_TRUE(doc.treat(kHarvest));
  EXPECT_EQ(scripted.out, selectAllText(doc.store(), true, kUnixLineEnd));
}

}  // namespace
}  // namespace keldovar::cli

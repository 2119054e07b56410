// keldovar-cli inventory on a generated forest: each stand as `run` runs its script, the forest
// the acre-weighted sum of its stands, bad rows reported alone, and the same results on any
// number of threads, in merged shards and after a run killed midway and resumed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "cli/inventory.h"
#include "cli/optimize.h"
#include "cli/output.h"
#include "forest/inventory_file.h"
#include "forest/sqlite_db.h"
#include "forest/sqlite_results.h"
#include "forest/stand_run.h"
#include "forest/text_out.h"
#include "tests/cli/cli_outcome.h"
#include "tests/cli/inventory_maker.h"
#include "tests/cli/scratch_folder.h"

extern char** environ;

namespace keldovar::cli {
namespace {

namespace fs = std::filesystem;
using forest::Database;

// Sanitizer builds run a fifth of the forest: the same code, in CI's time.
#if defined(KELDOVAR_SANITIZED_TESTS)
constexpr int kStands = 2000;
#else
constexpr int kStands = 10000;
#endif
constexpr std::uint64_t kSeed = 20240;

class Inventory : public ::testing::Test {
 protected:
  Scratch scratch;
  MadeInventory made = makeInventory(kStands, kSeed);
  std::string stands = write("inventory.csv", made.csv);
  std::string regime = write("prescription.kdr", kPrescription);

  std::string write(const std::string& name, const std::string& text) {
    std::ofstream((scratch.dir / name).string(), std::ios::binary) << text;
    return (scratch.dir / name).string();
  }
  std::string path(const std::string& name) const { return (scratch.dir / name).string(); }

  Outcome inventory(std::vector<std::string> args) {
    args.insert(args.begin(), "inventory");
    return cli(std::move(args));
  }
};

std::string shown(const forest::Cell& cell) {
  if (cell.type == forest::Cell::Type::Real) return forest::numberText(cell.real);
  if (cell.type == forest::Cell::Type::Integer) return std::to_string(cell.integer);
  return cell.bytes;
}

// Every result table but the manifest, row by row: what two runs must agree on.
std::string dump(const std::string& file) {
  Database db(file, Database::Mode::ReadOnly);
  std::string text;
  for (const char* query :
       {"SELECT * FROM stands ORDER BY row", "SELECT * FROM stand_tables ORDER BY row, \"table\"",
        "SELECT * FROM cash_flows ORDER BY row, rowid", "SELECT * FROM forest ORDER BY year"}) {
    forest::Statement rows(db.handle(), query);
    while (rows.step()) {
      for (int c = 0; c < rows.columns(); ++c) text += shown(rows.cell(c)) + "|";
      text += "\n";
    }
  }
  return text;
}

// The rows that failed, and their first line on standard error after "stand ID: ".
std::map<int, std::string> reported(const std::string& err) {
  std::map<int, std::string> rows;
  std::size_t at = 0;
  while ((at = err.find(": row ", at)) != std::string::npos) {
    int row = std::stoi(err.substr(at + 6));
    std::size_t stand = err.find(", stand ", at);
    std::size_t text = err.find(": ", stand + 8);
    std::size_t end = err.find('\n', at);
    rows.emplace(row, err.substr(text + 2, end - text - 2));
    at = end;
  }
  return rows;
}

TEST_F(Inventory, EveryStandRunsAsItsScriptAndTheForestIsTheirAcreWeightedSum) {
  Outcome r = inventory({stands, "--regime", regime, "--out", path("forest.sqlite")});
  ASSERT_EQ(r.status, 1) << r.err.substr(0, 2000);
  std::map<int, std::string> bad = made.bad;
  for (auto& [row, message] : bad) {
    if (message.starts_with("prescription.kdr")) message = path(message);
  }
  EXPECT_EQ(reported(r.err), bad);
  EXPECT_NE(r.err.find("inventory.csv: row 70 (line 71), stand (no id): stand: give"),
            std::string::npos);

  forest::StoredResults stored = forest::readResults(path("forest.sqlite"));
  ASSERT_EQ(stored.stands.size(), static_cast<std::size_t>(kStands));
  EXPECT_EQ(stored.passThrough, (std::vector<std::string>{"owner", "note"}));
  Database carried(path("forest.sqlite"), Database::Mode::ReadOnly);
  EXPECT_EQ(carried.textOf("SELECT note FROM stand_tables_carried WHERE stand = 'P1'"), "1, x");
  EXPECT_EQ(stored.manifest.get("failed"), std::to_string(made.bad.size()));
  std::map<double, std::array<double, 3>> sums;  // acres, basal area, removed saw tons
  for (const forest::StandRecord& stand : stored.stands) {
    auto row = static_cast<int>(stand.stand[forest::kStandRow].integer);
    bool ok = stand.stand[forest::kStandStatus].bytes == "ok";
    ASSERT_EQ(ok, made.bad.count(row) == 0) << row;
    if (!ok) continue;
    EXPECT_EQ(stand.tables.size(), 5u) << row;
    EXPECT_EQ(stand.passThrough[1].bytes, std::to_string(row) + ", x");
    double acres = stand.stand[forest::kStandAcres].real;
    for (std::size_t t = 0; t < stand.tables.size(); ++t) {
      const forest::CellRow& table = stand.tables[t];
      std::array<double, 3>& year = sums[table[forest::kTableYear].real];
      year[2] += acres * table[forest::kTableRemoved + 5].real;
      if (t + 1 < stand.tables.size() &&
          stand.tables[t + 1][forest::kTableYear].real == table[forest::kTableYear].real) {
        continue;
      }
      year[0] += acres;
      year[1] += acres * table[forest::kTableStanding + 1].real;
    }
  }
  Database db(path("forest.sqlite"), Database::Mode::ReadOnly);
  forest::Statement years(db.handle(),
                          "SELECT year, acres, basal_area, removed_saw_tons FROM forest");
  std::size_t count = 0;
  for (; years.step(); ++count) {
    const std::array<double, 3>& sum = sums[*years.real(0)];
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(*years.real(c + 1), sum[static_cast<std::size_t>(c)],
                  1e-9 * std::abs(sum[static_cast<std::size_t>(c)]));
    }
  }
  EXPECT_EQ(count, sums.size());

  // A sample of stands: their tables are those `keldovar-cli run` makes of their script, and
  // their rows are the stand history's records.
  forest::LoadedInventory loaded = forest::loadInventory(stands);
  forest::CheckedInventory checked = forest::checkInventory(loaded.inventory);
  std::ifstream file(regime);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  forest::RegimeTemplate prescription = forest::readTemplate(text, "prescription.kdr");
  forest::Plan plan;
  plan.regime = &prescription;
  for (int row = 1; row <= kStands; row += 487) {
    const forest::StandRecord& stand = stored.stands[static_cast<std::size_t>(row - 1)];
    SCOPED_TRACE(row);
    forest::StandDocument document;
    forest::runStand(checked.stands[static_cast<std::size_t>(row - 1)], plan, &document);
    std::string json = renderReport(OutputFormat::Json, document.content, document.messages, true,
                                    false, carbonOptionsOf(document.content));
    Outcome ran = cli({"run", "-", "--format", "json", "--clock", "2000-01-01 00:00:00"},
                      stand.stand[forest::kStandScript].bytes);
    EXPECT_EQ(ran.out, json);
    const ReportTable* harvest = document.content.store.newest();
    if (stand.tables.size() != 5 || harvest == nullptr) continue;
    const HistoryRecord& removed = harvest->history[static_cast<std::size_t>(harvest->historyLast)];
    EXPECT_EQ(stand.tables[4][forest::kTableLabel].bytes, "Harvest");
    EXPECT_EQ(stand.tables[4][forest::kTableRemoved + 3].real, -removed.cords);
    EXPECT_EQ(stand.tables[4][forest::kTableAge].real, removed.age);
  }
}

TEST_F(Inventory, ThreadsShardsAndAResumedKilledRunGiveTheSameResults) {
  ASSERT_EQ(
      inventory({stands, "--regime", regime, "--jobs", "1", "--out", path("one.sqlite")}).status,
      1);
  std::string expected = dump(path("one.sqlite"));
  ASSERT_EQ(
      inventory({stands, "--regime", regime, "--jobs", "2", "--out", path("two.sqlite")}).status,
      1);
  EXPECT_EQ(dump(path("two.sqlite")), expected);

  std::vector<std::string> merge = {"--merge"};
  for (const char* shard : {"3/3", "1/3", "2/3"}) {
    std::string out = path(std::string("shard") + shard[0] + ".sqlite");
    ASSERT_EQ(inventory({stands, "--regime", regime, "--shard", shard, "--out", out}).status, 1);
    merge.push_back(out);
  }
  merge.insert(merge.end(), {"--out", path("merged.sqlite")});
  Outcome merged = inventory(merge);
  ASSERT_EQ(merged.status, 1) << merged.err;
  EXPECT_EQ(dump(path("merged.sqlite")), expected);
  merge.erase(merge.begin() + 2);
  EXPECT_NE(inventory(merge).err.find("shard 1 of 3 is missing"), std::string::npos);

  // The real program, killed once it has committed part of the stands.
  std::string out = path("killed.sqlite");
  std::vector<std::string> args = {KELDOVAR_CLI, "inventory", stands,  "--regime", regime,
                                   "--jobs",     "1",         "--out", out};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, KELDOVAR_CLI, &quiet, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&quiet);
  std::int64_t committed = 0;
  while (committed < kStands / 5) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    try {
      Database db(forest::partPath(out), Database::Mode::ReadOnly);
      committed = std::stoll(db.textOf("SELECT count(*) FROM stands").value_or("0"));
    } catch (const forest::SqliteError&) {
    }
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it was killed";
  ASSERT_FALSE(fs::exists(out));
  Outcome resumed = inventory({stands, "--regime", regime, "--out", out, "--resume"});
  ASSERT_EQ(resumed.status, 1) << resumed.err.substr(0, 1000);
  EXPECT_EQ(dump(out), expected);
  EXPECT_LT(reported(resumed.err).size(), made.bad.size());  // the rows done were not run again
  EXPECT_NE(inventory({stands, "--regime", regime, "--out", out, "--resume"})
                .err.find("is complete: nothing to resume"),
            std::string::npos);
}

TEST_F(Inventory, EachStandsBestRegimeIsTheOneOptimizeFindsForIt) {
  // A few dozen candidates a stand; the searched ages are the stand's.
  const std::string kSpace =
      "start = financial interest=6\n"
      "rotations = 20-32/4\n"
      "thinnings = 0, 1\n"
      "thin_ages = 12, 15, 18\n"
      "methods = thinomatic\n"
      "residual_ba = 55, 70\n";
  std::string space = write("small.space", kSpace);
  Outcome r = inventory({stands, "--space", space, "--out", path("best.jsonl")});
  ASSERT_EQ(r.status, 1) << r.err.substr(0, 1000);
  // Two stands' best regimes run as `keldovar-cli run` runs their scripts.
  ParsedSpace parsed = parseSearchSpace(kSpace, SpaceStart::FromStand);
  forest::SpacePlan searched{parsed.space, parsed.startLines};
  forest::Plan plan;
  plan.space = &searched;
  forest::CheckedInventory checked =
      forest::checkInventory(forest::loadInventory(stands).inventory);
  for (std::size_t index : {std::size_t{0}, std::size_t{4321 % kStands}}) {
    forest::StandDocument document;
    forest::StandResult result = forest::runStand(checked.stands[index], plan, &document);
    ASSERT_TRUE(result.ok) << result.messages;
    Outcome ran =
        cli({"run", "-", "--format", "json", "--clock", "2000-01-01 00:00:00"}, result.script);
    EXPECT_EQ(ran.out, renderReport(OutputFormat::Json, document.content, document.messages, true,
                                    false, carbonOptionsOf(document.content)));
  }
  std::ifstream lines(path("best.jsonl"));
  std::string line;
  int stand = 0;
  while (std::getline(lines, line) && line.starts_with("{\"record\": \"stand\"")) {
    ++stand;
    if (stand % 1999 != 1 || made.bad.count(stand) != 0) continue;
    SCOPED_TRACE(line.substr(0, 300));
    std::size_t at = line.find("\"script\": ") + 10;
    std::size_t end = line.find("\", \"columns\"", at);
    std::string start = line.substr(at + 1, end - at - 1);
    start = start.substr(start.find("\\n") + 2);
    start = start.substr(0, start.find("\\n"));
    std::string own = write("own.space", "start = " + start + "\n" + kSpace + "best = 1\n");
    Outcome best = cli({"optimize", own, "--format", "csv"});
    ASSERT_EQ(best.status, 0) << best.err;
    std::string first = best.out.substr(best.out.find('\n') + 1);
    for (int field = 0; field < 3; ++field) first = first.substr(first.find(',') + 1);
    std::string key =
        start.starts_with("plantation") ? "\"lev_sawtimber\": " : "\"npv_sawtimber\": ";
    std::size_t value = line.find(key) + key.size();
    EXPECT_DOUBLE_EQ(std::stod(line.substr(value)), std::stod(first));
  }
  EXPECT_EQ(stand, kStands);
}

TEST_F(Inventory, OutputsCarryTheColumnsAndMistakesStopBeforeAnything) {
  std::string few = write("few.csv",
                          "stand,acres,kind,si,trees,survival,control,owner\n"
                          "A,10,plantation,65,600,85,none,\"Doe, J.\"\n"
                          "B,10,plantation,65,60,85,none,Roe\n");
  ASSERT_EQ(inventory({few, "--regime", regime, "--out", path("out.csv")}).status, 1);
  const char* headers[][2] = {
      {"out.csv", "row,stand,table,year,age,label,trees,"},
      {"out.stands.csv", "row,stand,kind,acres,status,messages,"},
      {"out.flows.csv", "row,stand,year,pulpwood,sawtimber\n"},
      {"out.forest.csv", "year,stands,acres,trees,"},
      {"out.manifest.csv", "key,value\nprogram,keldovar-cli "},
  };
  for (const auto& [name, header] : headers) {
    std::ifstream in(path(name));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(text.starts_with(header)) << name << ": " << text.substr(0, 100);
    EXPECT_FALSE(fs::exists(forest::partPath(path(name))));
  }
  Outcome jsonl = inventory({few, "--regime", regime, "--format", "jsonl"});
  EXPECT_EQ(std::count(jsonl.out.begin(), jsonl.out.end(), '\n'), 2 + 4 + 1);
  EXPECT_NE(jsonl.out.find("\"columns\": {\"owner\": \"Doe, J.\"}"), std::string::npos);

  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{few, "--regime", regime, "--space", regime}, "give --regime or --space, not both"},
      {{few, "--regime", regime, "--resume", "--out", path("r.csv")},
       "--resume goes on with SQLite results"},
      {{few, "--out", path("r.txt")}, "name .sqlite, .db, .gpkg, .csv or .jsonl"},
      {{few, "--regime", regime, "--out", path("few.csv")}, "would write over " + few},
      {{few, "--shard", "4/3"}, "--shard 4/3: shard 4 of 3 is none"},
      {{few, "--regime", few},
       "few.csv:2: unknown command 'A,10,plantation,65,600,85,none,\"Doe,'"},
      {{few, "--regime", write("init.kdr", "plantation si=60\ngrow 20\n")},
       "init.kdr:1: the stand gives the initialization: leave this line out"},
      {{few, "--space", write("start.space", "start = unthinned age=12\nrotations = 30\n")},
       "start.space:1: the stand gives the start's initialization: leave it out"},
      {{write("no-kind.csv", "stand,acres\n"), "--regime", regime}, "no 'kind' column"},
  };
  for (const Case& c : cases) {
    Outcome r = inventory(c.args);
    EXPECT_EQ(r.status, 2) << c.error;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
  }
}

// Shards that are not the parts of one finished run are refused, and nothing is written.
TEST_F(Inventory, MergeRefusesShardsThatAreNotThePartsOfOneRun) {
  std::string few = write("few.csv",
                          "stand,acres,kind,si,trees,survival,control\n"
                          "A,10,plantation,65,600,85,none\nB,12,plantation,66,650,85,none\n"
                          "C,14,plantation,67,700,85,none\n");
  std::string other = write("other.kdr", "grow +12\nharvest\n");
  auto shard = [&](const std::string& name, const std::string& choice, const std::string& kdr) {
    std::string out = path(name + ".sqlite");
    EXPECT_EQ(inventory({few, "--regime", kdr, "--shard", choice, "--out", out}).status, 0);
    return out;
  };
  std::string first = shard("first", "1/2", regime);
  std::string second = shard("second", "2/2", regime);
  std::string otherRegime = shard("other", "2/2", other);
  std::string otherSplit = shard("split", "2/3", regime);
  std::string again = shard("again", "1/2", regime);
  std::string unfinished = shard("unfinished", "2/2", regime);
  Database(unfinished, Database::Mode::ReadWrite)
      .exec("DELETE FROM manifest WHERE key = 'finished'");
  struct Case {
    std::vector<std::string> shards;
    std::string error;
  };
  const Case cases[] = {
      {{first, otherRegime}, otherRegime + " is not a part of the run of " + first},
      {{first, otherSplit}, otherSplit + " is a shard of another split"},
      {{first, again}, again + " and " + first + " are both shard 1"},
      {{first, unfinished}, unfinished + " is not finished: resume its run first"},
      {{second}, "shard 1 of 2 is missing"},
  };
  std::string merged = path("merged.sqlite");
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--merge"};
    args.insert(args.end(), c.shards.begin(), c.shards.end());
    args.insert(args.end(), {"--out", merged});
    Outcome r = inventory(args);
    EXPECT_EQ(r.status, 1) << c.error;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(merged));
  }
  std::string whole = path("whole.sqlite");
  ASSERT_EQ(inventory({few, "--regime", regime, "--out", whole}).status, 0);
  ASSERT_EQ(inventory({"--merge", second, first, "--out", merged}).status, 0);
  EXPECT_EQ(dump(merged), dump(whole));
}

// The example forest: one stand with its own regime, one bad row, the carried columns.
TEST_F(Inventory, TheExampleForestRunsWithItsOwnRegimesAndCarriedColumns) {
  fs::path examples = fs::path(KELDOVAR_SOURCE_DIR) / "examples" / "forest";
  Outcome r = inventory({(examples / "stands.csv").string(), "--regime",
                         (examples / "prescription.kdr").string(), "--format", "jsonl"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(reported(r.err),
            (std::map<int, std::string>{{8, "trees: Enter an integer between 100 and 1500."}}));
  EXPECT_NE(r.out.find("\"stand\": \"E-03\", \"kind\": \"thinned\""), std::string::npos);
  EXPECT_NE(r.out.find("\"label\": \"Low Thinning\""), std::string::npos);
  EXPECT_NE(r.out.find("\"owner\": \"Sommer, R.\""), std::string::npos);
}

TEST(InventoryShard, AutoReadsTheJobArrayOfSlurmOrGridEngine) {
  struct Case {
    std::map<std::string, std::string> environment;
    std::optional<std::pair<int, int>> shard;
  };
  const Case cases[] = {
      {{{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, std::pair{1, 4}},
      {{{"SLURM_ARRAY_TASK_ID", "7"},
        {"SLURM_ARRAY_TASK_MIN", "1"},
        {"SLURM_ARRAY_TASK_STEP", "2"},
        {"SLURM_ARRAY_TASK_COUNT", "5"}},
       std::pair{4, 5}},
      {{{"SGE_TASK_ID", "3"}, {"SGE_TASK_FIRST", "1"}, {"SGE_TASK_LAST", "3"}}, std::pair{3, 3}},
      {{{"SGE_TASK_ID", "undefined"}, {"SGE_TASK_FIRST", "1"}, {"SGE_TASK_LAST", "3"}},
       std::nullopt},
      {{{"SLURM_ARRAY_TASK_ID", "9"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, std::nullopt},
  };
  for (const Case& c : cases) {
    Environment environment = [&](const char* name) -> const char* {
      auto found = c.environment.find(name);
      return found == c.environment.end() ? nullptr : found->second.c_str();
    };
    ShardChoice choice;
    std::optional<std::string> error = parseShard("auto", environment, choice);
    EXPECT_EQ(!error, c.shard.has_value()) << error.value_or("");
    if (c.shard) {
      EXPECT_EQ(std::pair(choice.shard, choice.shards), *c.shard);
    }
  }
}

}  // namespace
}  // namespace keldovar::cli

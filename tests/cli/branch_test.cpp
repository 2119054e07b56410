// New Document From Here and run --from: every table of every worked example, continued with the
// rest of its script, gives the example's own stand file; a branch saved as it is gives the file
// of the steps up to it. Both from the document kept in memory and from its stand file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/stand_file.h"
#include "document/branch.h"
#include "document/settings.h"
#include "script/runner.h"
#include "script/script.h"
#include "tests/cli/cli_outcome.h"
#include "tests/cli/scratch_folder.h"

namespace keldovar::cli {
namespace {

constexpr const char* kClock = "2026-12-07 10:00:00";

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const LocalTime kTime{2026, 12, 7, 10, 0, 0, weekdayOf(2026, 12, 7)};

// Runs commands [from, to) on `runner`.
void runCommands(Runner& runner, const std::vector<Command>& commands, std::size_t from,
                 std::size_t to) {
  for (std::size_t i = from; i < to; ++i) ASSERT_TRUE(runner.run(commands[i])) << i;
}

std::vector<std::uint8_t> fileOf(const std::vector<Command>& commands, std::size_t count,
                                 const DocumentContent* start = nullptr, std::size_t from = 0) {
  FixedClock clock(kTime);
  Runner runner(clock, builtInDefaults().options);
  if (start != nullptr) runner.startFrom(*start);
  runCommands(runner, commands, from, count);
  return writeStandFile(runner.document().content());
}

DocumentContent readBack(const std::vector<std::uint8_t>& bytes) {
  DocumentDefaults defaults = builtInDefaults();
  DocumentContent content;
  content.settings = defaults.settings;
  content.options = defaults.options;
  resetSnapshot(content.store.snapshot);
  EXPECT_TRUE(readStandFile(bytes, content).ok());
  return content;
}

TEST(Branch, EveryTableOfTheExamplesContinuesToTheExamplesFile) {
  for (const char* example :
       {"plantation-thin-harvest", "thinned-stand", "unthinned-thinomatic-fertilize"}) {
    SCOPED_TRACE(example);
    std::vector<Command> commands =
        parseScript(readText(std::string(KELDOVAR_SOURCE_DIR) + "/examples/" + example + ".kdr"))
            .commands;
    FixedClock clock(kTime);
    Runner whole(clock, builtInDefaults().options);
    std::vector<std::size_t> madeTable;  // the command after which each table stood
    for (std::size_t i = 0; i < commands.size(); ++i) {
      int before = whole.document().store().lastIndex;
      ASSERT_TRUE(whole.run(commands[i]));
      if (whole.document().store().lastIndex > before) madeTable.push_back(i + 1);
    }
    const DocumentContent& kept = whole.document().content();
    std::vector<std::uint8_t> original = writeStandFile(kept);
    const DocumentContent fromFile = readBack(original);
    for (std::size_t table = 0; table < madeTable.size(); ++table) {
      SCOPED_TRACE(table);
      std::size_t next = madeTable[table];
      for (const DocumentContent* source : {&kept, &fromFile}) {
        BranchResult branch = branchDocument(*source, static_cast<int>(table));
        ASSERT_TRUE(branch.content) << branch.error;
        // The newest table of a file is the document as saved, fertilization request and all.
        if (source == &fromFile && table + 1 == madeTable.size()) next = commands.size();
        EXPECT_EQ(writeStandFile(*branch.content), fileOf(commands, next));
        EXPECT_EQ(fileOf(commands, commands.size(), &*branch.content, next), original);
      }
    }
  }
}

// A document whose row and low thinnings took two row percentages keeps only the last: its
// earlier table cannot be had from the file, and says so rather than guess.
TEST(Branch, AFileWhoseEarlierDialogValuesAreLostIsRefusedAtThoseTables) {
  std::vector<Command> commands = parseScript(
                                      "plantation si=65 trees=600 survival=85\n"
                                      "grow 16\nthin rowlow ba=75 row=33\n"
                                      "grow 20\nthin rowlow ba=80 row=50\ngrow 30\n")
                                      .commands;
  DocumentContent fromFile = readBack(fileOf(commands, commands.size()));
  struct Case {
    int table;
    bool branched;
    std::string error;
  };
  const Case cases[] = {
      {1, true, ""},
      {3, false,
       "The document cannot be continued from table 3. A stand file keeps the stand after its "
       "newest table only, and taking the document's steps again from the start does not give "
       "its table 2: a dialog held other values at that step than it holds now."},
      {5, true, ""},
      {6, false, "The document has no table 6: its tables are 0 to 5."},
      {-1, false, "The document has no table -1: its tables are 0 to 5."},
  };
  for (const Case& c : cases) {
    BranchResult branch = branchDocument(fromFile, c.table);
    EXPECT_EQ(branch.content.has_value(), c.branched) << c.table;
    EXPECT_EQ(branch.error, c.error);
  }
}

TEST(Branch, RunFromAStandFile) {
  Scratch scratch;
  std::string stand = (scratch.dir / "stand.kdv").string();
  std::string script = std::string(KELDOVAR_SOURCE_DIR) + "/examples/plantation-thin-harvest.kdr";
  ASSERT_EQ(cli({"run", script, "--clock", kClock, "--out", stand}).status, 0);
  std::string whole = (scratch.dir / "whole.kdv").string();
  std::string branched = (scratch.dir / "branched.kdv").string();
  // Another regime from the first growth on: the script's first two lines, then the new ones.
  std::string newSteps = "thin thinomatic ba=80\ngrow 30\nharvest\n";
  ASSERT_EQ(cli({"run", "-", "--clock", kClock, "--out", whole},
                "plantation si=65 trees=600 survival=85 control=herbwoody\ngrow 16\n" + newSteps)
                .status,
            0);
  Outcome run =
      cli({"run", "-", "--clock", kClock, "--out", branched, "--from", stand + ":1"}, newSteps);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readText(branched), readText(whole));

  struct Case {
    std::string from;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {stand, 1, "-:1: PROJECTION ERROR: The stand must have been initialized before you can "},
      {stand + ":9", 1,
       "keldovar-cli: " + stand + ": The document has no table 9: its tables are 0 to 6.\n"},
      {stand + ":x", 1, "keldovar-cli: " + stand + ":x: "},
      {scratch.dir.string(), 2, "keldovar-cli: " + scratch.dir.string()},
  };
  for (const Case& c : cases) {
    Outcome failed = cli({"run", "-", "--clock", kClock, "--from", c.from}, "grow 40\n");
    EXPECT_EQ(failed.status, c.status) << c.from;
    EXPECT_EQ(failed.err.substr(0, c.err.size()), c.err) << failed.err;
  }
}

}  // namespace
}  // namespace keldovar::cli

// The command line as CLI11 reads it: each command's help both ways, the usage errors in the
// runner's documented words, repeated options refused, the bash completion, and the merge
// reader's refusals on nlohmann-json.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/json_reader.h"
#include "tests/cli/cli_outcome.h"

namespace keldovar::cli {
namespace {

namespace fs = std::filesystem;

TEST(CommandLine, EveryCommandHasItsHelpBothWays) {
  for (const char* command : {"run", "report", "optimize", "sensitivity", "risk", "inventory",
                              "compare", "help", "completion"}) {
    Outcome asked = cli({command, "--help"});
    Outcome help = cli({"help", command});
    EXPECT_EQ(asked.status, 0) << command;
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(asked.out, help.out) << command;
    EXPECT_NE(asked.out.find(std::string("Usage:\n  keldovar-cli ") + command), std::string::npos);
  }
  EXPECT_EQ(cli({"help"}).out, cli({"--help"}).out);
  EXPECT_NE(cli({"optimize", "-h"}).out.find("--shard K/N"), std::string::npos);
}

// Each usage error exits 2 with its own words, then the usage.
TEST(CommandLine, UsageErrorsKeepTheirWords) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "no command given"},
      {{"simulate"}, "unknown command 'simulate'"},
      {{"help", "simulate"}, "unknown command 'simulate'"},
      {{"run"}, "no script given"},
      {{"run", "a.kdr", "--format", "xml"}, "unknown format 'xml'"},
      {{"run", "a.kdr", "--jobs", "0"}, "--jobs takes a number from 1 to 256, not '0'"},
      {{"run", "a.kdr", "--jobs"}, "--jobs needs a value"},
      {{"run", "a.kdr", "--clock", "noon"}, "--clock takes \"YYYY-MM-DD HH:MM:SS\", not 'noon'"},
      {{"run", "a.kdr", "b.kdr", "--out", "x.kdv"},
       "--out saves the document of one script; for several, use --out-dir"},
      {{"run", "a.kdr", "--out", "x.kdv", "--out-dir", "."},
       "--out and --out-dir cannot be given together"},
      {{"run", "-", "-"}, "standard input (-) can be read only once"},
      {{"run", "a.kdr", "--pdf", "a.pdf", "--page", "legal"},
       "--page takes letter or a4, not 'legal'"},
      {{"report"}, "no stand file given"},
      {{"report", "a.kdv", "b.kdv"}, "unexpected argument 'b.kdv'"},
      {{"report", "a.kdv", "--keep-going"}, "unknown option '--keep-going'"},
      {{"optimize"}, "no search-space file given"},
      {{"optimize", "a.space", "--shard", "4/3"}, "--shard takes K/N with 1 <= K <= N"},
      {{"optimize", "--merge"}, "--merge takes the JSON results to merge and no search-space file"},
      // One value an option: a second is refused, never taken in silence.
      {{"run", "a.kdr", "--out", "x.kdv", "--out", "y.kdv"}, "--out is given more than once"},
      {{"run", "a.kdr", "--out-dir", "A", "--out-dir", "B"}, "--out-dir is given more than once"},
      {{"report", "a.kdv", "--format", "csv", "--format", "json"},
       "--format is given more than once"},
      {{"optimize", "a.space", "--shard", "1/2", "--shard", "2/2"},
       "--shard is given more than once"},
      {{"inventory", "a.csv", "--regime", "a.kdr", "--regime", "b.kdr"},
       "--regime is given more than once"},
      {{"inventory", "a.csv", "b.csv"}, "unexpected argument 'b.csv'"},
      {{"compare", "a.kdv", "b.kdv", "--pdf", "a.pdf", "--pdf", "b.pdf"},
       "--pdf is given more than once"},
      {{"run", "a.kdr", "--from", "a.kdv", "--from", "b.kdv"}, "--from is given more than once"},
  };
  for (const auto& [args, says] : cases) {
    Outcome r = cli(args);
    EXPECT_EQ(r.status, 2) << says;
    EXPECT_EQ(r.err.rfind("keldovar-cli: " + says + "\nUsage:\n", 0), 0u) << r.err;
  }
}

// The script completes commands, options and choices in a real bash.
TEST(CommandLine, BashCompletesCommandsOptionsAndChoices) {
  fs::path script = fs::temp_directory_path() / ("keldovar-completion-" + std::to_string(getpid()));
  std::ofstream(script) << cli({"completion"}).out;
  const std::pair<std::string, std::string> cases[] = {
      {"keldovar-cli op", "optimize"},
      {"keldovar-cli run x.kdr --fo", "--format"},
      {"keldovar-cli report x.kdv --format c", "csv"},
      {"keldovar-cli inventory x.csv --format j", "jsonl"},
      {"keldovar-cli optimize --sh", "--shard"},
      {"keldovar-cli help rep", "report"},
  };
  for (const auto& [line, completed] : cases) {
    std::string command = "bash -c 'source " + script.string() + "; COMP_WORDS=(" + line +
                          "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _keldovar_cli; "
                          "test \"${COMPREPLY[*]}\" = " +
                          completed + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << line;
  }
  fs::remove(script);
}

TEST(MergeReader, RefusesWhatIsNoJsonAndKeepsLatinOneText) {
  for (const char* text : {"01", "1.", "+1", ".5", "1e400", "-1e400", "NaN", "[1,]", "{\"a\" 1}",
                           "\"\\u20ac\"", "\"a\nb\""}) {
    EXPECT_FALSE(readJson(text)) << text;
  }
  // 64 levels inside the outermost value, not one more.
  std::string deep = std::string(66, '[') + std::string(66, ']');
  EXPECT_FALSE(readJson(deep));
  EXPECT_TRUE(readJson(deep.substr(1, 130)));
  std::optional<JsonValue> latin = readJson("{\"line\": \"caf\\u00e9 1.5e308\"}");
  ASSERT_TRUE(latin);
  EXPECT_EQ(latin->member("line")->text, "caf\xe9 1.5e308");
}

}  // namespace
}  // namespace keldovar::cli

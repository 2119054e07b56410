// keldovar-cli run of several scripts: each a document of its own, printed in the order given,
// the same reports whether the scripts run one by one or together, on one engine or on two.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "tests/cli/cli_outcome.h"
#include "tests/cli/scratch_folder.h"

namespace keldovar::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kClock = "2026-12-07 10:00:00";
constexpr int kRegimes = 500;

// A regime as a forester would write it: an initialization, then grows at rising ages,
// thinnings, fertilizations and financial values, often a harvest. Some steps fail (a residual
// basal area above the stand's), as they would for a user.
std::string regime(std::mt19937& random) {
  auto pick = [&](int low, int high) {
    return std::to_string(std::uniform_int_distribution<int>(low, high)(random));
  };
  auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(1, 100)(random) <= percent;
  };
  int age = std::uniform_int_distribution<int>(12, 18)(random);
  std::string script;
  switch (std::stoi(pick(0, 2))) {
    case 0:
      script = "plantation si=" + pick(55, 75) + " trees=" + pick(400, 900) +
               " survival=" + pick(70, 95) + (chance(50) ? " control=herbwoody\n" : "\n");
      age = 8;
      break;
    case 1:
      script = "unthinned age=" + std::to_string(age) + " trees=" + pick(300, 800) +
               " si=" + pick(55, 75) + "\n";
      break;
    default:
      script = "thinned age=" + std::to_string(age) + " ba=0 trees=" + pick(250, 450) +
               " thinage=" + std::to_string(age - 4) + " si=" + pick(55, 75) +
               " pctba=" + pick(20, 40) + "\n";
  }
  const std::string thinnings[] = {"thin row ba=", "thin thinomatic ba=", "thin low ba=",
                                   "thin low dbh=", "thin rowlow row=33 ba="};
  for (int steps = std::stoi(pick(2, 5)); steps > 0; --steps) {
    int kind = std::stoi(pick(0, 9));
    if (kind < 5) {
      age += std::stoi(pick(2, 6));
      script += "grow " + std::to_string(age) + "\n";
    } else if (kind < 8) {
      const std::string& thin = thinnings[std::stoi(pick(0, 4))];
      script += thin + (thin == "thin low dbh=" ? pick(5, 9) : pick(55, 110)) + "\n";
    } else if (kind == 8) {
      script += "fertilize n=" + pick(50, 250) + (chance(50) ? " p=no\n" : "\n");
    } else {
      script += "financial interest=" + pick(3, 8) + " harvest_saw=" + pick(20, 40) + "\n";
    }
  }
  if (chance(60)) script += "grow " + std::to_string(age + 5) + "\nharvest\n";
  return script;
}

// The JSON without the blanks and line breaks between its tokens.
std::string tokens(const std::string& json) {
  std::string out;
  bool inString = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    char c = json[i];
    if (inString && c == '\\') {
      out += json.substr(i++, 2);
      continue;
    }
    if (c == '"') inString = !inString;
    if (inString || (c != ' ' && c != '\n')) out += c;
  }
  return out;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// What the scripts give run one at a time, joined as a run of all of them prints it.
Outcome oneByOne(const std::vector<std::string>& scripts, const std::string& format) {
  Outcome joined;
  for (const std::string& script : scripts) {
    Outcome one = cli({"run", script, "--format", format, "--clock", kClock, "--keep-going"});
    joined.status = std::max(joined.status, one.status);
    joined.err += one.err;
    if (format == "text") {
      joined.out += (joined.out.empty() ? "==> " : "\n==> ") + script + " <==\n" + one.out;
    } else if (format == "json") {
      joined.out += tokens("{\"script\":\"" + script + "\"," + one.out.substr(1)) + "\n";
    } else {
      std::vector<std::string> rows = lines(one.out);
      if (joined.out.empty()) joined.out = "script," + rows[0] + "\n";
      for (std::size_t r = 1; r < rows.size(); ++r) joined.out += script + "," + rows[r] + "\n";
    }
  }
  return joined;
}

TEST(Batch, GeneratedRegimesGiveTheSameReportsOneByOneAndTogether) {
  Scratch scratch;
  std::mt19937 random(16);
  std::vector<std::string> scripts;
  for (int i = 0; i < kRegimes; ++i) {
    scripts.push_back((scratch.dir / ("regime-" + std::to_string(i) + ".kdr")).string());
    std::ofstream(scripts.back()) << regime(random);
  }
  for (const std::string format : {"text", "json", "csv"}) {
    Outcome expected = oneByOne(scripts, format);
    EXPECT_EQ(expected.status, 1) << "some generated steps fail, most succeed";
    for (const char* jobs : {"1", "2"}) {
      std::vector<std::string> args = {"run"};
      args.insert(args.end(), scripts.begin(), scripts.end());
      args.insert(args.end(),
                  {"--format", format, "--jobs", jobs, "--clock", kClock, "--keep-going"});
      Outcome together = cli(args);
      EXPECT_EQ(together.status, expected.status);
      EXPECT_EQ(together.err, expected.err) << format << " --jobs " << jobs;
      if (format == "json") {
        std::vector<std::string> objects = lines(together.out);
        ASSERT_EQ(objects.size(), scripts.size());
        for (std::string& object : objects) object = tokens(object) + "\n";
        std::string joined;
        for (const std::string& object : objects) joined += object;
        EXPECT_EQ(joined, expected.out) << "--jobs " << jobs;
      } else {
        EXPECT_TRUE(together.out == expected.out) << format << " --jobs " << jobs;
      }
    }
  }
}

TEST(Batch, EachScriptIsJudgedPrintedAndSavedOnItsOwn) {
  Scratch scratch;
  fs::path good = fs::path(KELDOVAR_SOURCE_DIR) / "examples" / "thinned-stand.kdr";
  fs::path failing = scratch.dir / "failing.kdr", syntax = scratch.dir / "syntax.kdr";
  fs::path missing = scratch.dir / "missing.kdr", saved = scratch.dir / "saved";
  std::ofstream(failing) << "unthinned age=20 trees=500 si=60\nthin row ba=10\n";
  std::ofstream(syntax) << "grow\n";
  fs::create_directory(saved);
  Outcome r = cli({"run", good.string(), failing.string(), syntax.string(), missing.string(), "-",
                   "--out-dir", saved.string(), "--clock", kClock},
                  "plantation si=60 trees=500 survival=90\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, failing.string() + ":2: ba: Please enter a Residual Basal Area in the range  " +
                       "20.0 - 132.9\n" + failing.string() +
                       ":2: Returning to previous conditions. Function aborted.\n" +
                       syntax.string() + ":1: grow takes exactly one age\n" +
                       "keldovar-cli: cannot read the script " + missing.string() +
                       ": No such file or directory\n");
  // Reports of the scripts that ran, in order, each under its heading; each one saved.
  std::vector<std::string> headings;
  for (const std::string& line : lines(r.out)) {
    if (line.rfind("==> ", 0) == 0) headings.push_back(line);
  }
  EXPECT_EQ(headings, (std::vector<std::string>{"==> " + good.string() + " <==",
                                                "==> " + failing.string() + " <==", "==> - <=="}));
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(saved)) files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"failing.kdv", "stdin.kdv", "thinned-stand.kdv"}));
  Outcome alone = cli({"run", good.string(), "--clock", kClock});
  EXPECT_EQ(cli({"report", (saved / "thinned-stand.kdv").string()}).out, alone.out);
  EXPECT_NE(r.out.find("==> " + good.string() + " <==\n" + alone.out + "\n==> "),
            std::string::npos);
}

// Nothing an earlier script left in an engine reaches a later one's stand file, not even the
// bytes no report shows (history records past the stand's count).
TEST(Batch, AStandFileIsTheSameSavedAloneOrAfterOtherScripts) {
  Scratch scratch;
  fs::path first = fs::path(KELDOVAR_SOURCE_DIR) / "examples" / "plantation-thin-harvest.kdr";
  fs::path second = scratch.dir / "second.kdr", together = scratch.dir / "together";
  std::ofstream(second) << "thinned age=14 ba=0 trees=213 thinage=12 si=77 pctba=21\ngrow 17\n";
  fs::create_directory(together);
  for (const char* jobs : {"1", "2"}) {
    Outcome r = cli({"run", first.string(), second.string(), "--out-dir", together.string(),
                     "--jobs", jobs, "--clock", kClock});
    ASSERT_EQ(r.status, 0) << r.err;
    fs::path alone = scratch.dir / "alone.kdv";
    ASSERT_EQ(cli({"run", second.string(), "--out", alone.string(), "--clock", kClock}).status, 0);
    std::ifstream a(alone, std::ios::binary), b(together / "second.kdv", std::ios::binary);
    EXPECT_TRUE(
        std::equal(std::istreambuf_iterator<char>(a), {}, std::istreambuf_iterator<char>(b), {}))
        << "--jobs " << jobs;
  }
}

TEST(Batch, SaveTargetsAreCheckedBeforeAnythingRuns) {
  Scratch scratch;
  fs::path script = scratch.dir / "a.kdr", notFolder = scratch.dir / "file";
  std::ofstream(script) << "unthinned age=20 trees=500 si=60\n";
  std::ofstream(notFolder) << "";
  fs::create_directory(scratch.dir / "a.kdv");
  Outcome intoFile = cli({"run", script.string(), "--out-dir", notFolder.string()});
  EXPECT_EQ(intoFile.status, 2);
  EXPECT_EQ(intoFile.err, "keldovar-cli: --out-dir " + notFolder.string() + " is not a folder\n");
  Outcome overFolder = cli({"run", script.string(), "--out-dir", scratch.dir.string()});
  EXPECT_EQ(overFolder.status, 2);
  EXPECT_EQ(overFolder.err, "keldovar-cli: --out-dir " + (scratch.dir / "a.kdv").string() +
                                " is not a regular file (nor a symbolic link to one)\n");
  EXPECT_EQ(overFolder.out, "");
}

}  // namespace
}  // namespace keldovar::cli

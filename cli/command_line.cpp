// Parsing keldovar-cli's arguments and running its two commands.
#include "cli/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <system_error>

#include "app/stand_file.h"
#include "cli/batch.h"
#include "cli/compare_command.h"
#include "cli/from_stand.h"
#include "cli/inventory.h"
#include "cli/optimize.h"
#include "cli/output.h"
#include "cli/pdf_export.h"
#include "cli/sensitivity_command.h"
#include "document/settings.h"
#include "script/script.h"

namespace keldovar::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  keldovar-cli run SCRIPT... [--format text|json|csv] [--out FILE.kdv | --out-dir DIR]\n"
    "                   [--jobs N] [--clock \"YYYY-MM-DD HH:MM:SS\"] [--keep-going]\n"
    "                   [--no-financial] [--current-step] [--carbon]\n"
    "                   [--pdf REPORT.pdf [--page letter|a4]] [--from FILE.kdv[:TABLE]]\n"
    "  keldovar-cli report FILE.kdv [--format text|json|csv] [--no-financial] [--current-step]\n"
    "                   [--carbon] [--pdf REPORT.pdf [--page letter|a4]]\n"
    "  keldovar-cli optimize SPEC [--format text|json|csv] [--jobs N] [--shard K/N]\n"
    "  keldovar-cli optimize --merge RESULT.json... [--format text|json|csv]\n"
    "  keldovar-cli sensitivity FILE.kdv|SCRIPT [--rates FROM:TO:STEP] [--swing PERCENT] ...\n"
    "  keldovar-cli risk FILE.kdv|SCRIPT|--search SPEC [--paths N] [--volatility PERCENT] ...\n"
    "  keldovar-cli inventory STANDS.csv|STANDS.sqlite[:TABLE] [--regime TEMPLATE.kdr | --space\n"
    "                   SPACE] [--out RESULT.sqlite|.csv|.jsonl] [--format sqlite|csv|jsonl|text]\n"
    "                   [--jobs N] [--shard K/N|auto] [--resume]\n"
    "  keldovar-cli inventory --merge RESULT.sqlite... [--out MERGED] [--format ...]\n"
    "  keldovar-cli compare FILE.kdv|SCRIPT FILE.kdv|SCRIPT... [--format text|json|csv]\n"
    "  keldovar-cli --help\n"
    "  keldovar-cli --version\n"
    "\n"
    "run     runs regime scripts (SCRIPT - reads standard input) and prints their reports;\n"
    "        a script is a regular file or standard input of at most 16 MB. Each script is a\n"
    "        document of its own; several print in the order given, text under a heading\n"
    "        \"==> SCRIPT <==\", JSON as one object a line, CSV with a leading script column.\n"
    "        --out-dir saves each as DIR/NAME.kdv (NAME: the script's file name without its\n"
    "        extension, stdin for -); --jobs runs N at once (default: one per core);\n"
    "        --from continues the stand file's document from its table TABLE (counted from\n"
    "        0; the newest when not given) instead of an empty document\n"
    "report  prints the report of a stand file\n"
    "optimize searches a space of regimes (SPEC) for the best ones; --merge combines the JSON\n"
    "        results of --shard runs\n"
    "sensitivity  the NPV and LEV of a harvested regime over interest rates, each value moved\n"
    "        down and up, and the break-evens; risk  their Monte Carlo distribution under\n"
    "        wandering prices and yearly losses (each command's --help lists its options)\n"
    "inventory runs every stand of an inventory through a regime template, or searches each\n"
    "        stand's best regime; --merge combines the SQLite results of --shard runs\n"
    "compare the newest harvests of several stand files or scripts side by side, the best\n"
    "        of each row marked\n"
    "\n"
    "--pdf   also writes the report as printed, every table with its page footers, to\n"
    "        REPORT.pdf (through keldovar-pdf, installed beside keldovar-cli); the title is\n"
    "        the stand file's name (--out's for run), or \"Untitled\"; one script only\n"
    "--page  the PDF's paper: letter, or a4; by default Letter, or A4 when the locale\n"
    "        (LC_ALL, LC_PAPER or LANG) names a country outside US, CA, MX, PH, PR, CL, CO, VE\n"
    "\n"
    "Exit status (the worst of all scripts): 0 every step succeeded; 1 a step failed, a stand\n"
    "file could not be read or written, or the report or its PDF could not be written; 2 a\n"
    "usage or script syntax error, or a script that cannot be read (that script is not run);\n"
    "3 an unexpected internal error.\n";

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
constexpr int kMonths = 12;
constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kLastSecond = 59;  // no leap second: the report clock never shows one
constexpr int kClockFields = 6;
constexpr std::size_t kStreamChunk = 4096;

struct Options : RunOptions {
  std::string command;
  std::string input;  // the stand file of report
};

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool realTime(const LocalTime& t) {
  return t.year >= kFirstYear && t.year <= kLastYear && t.month >= 1 && t.month <= kMonths &&
         t.day >= 1 && t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 &&
         t.hour <= kLastHour && t.minute >= 0 && t.minute <= kLastMinute && t.second >= 0 &&
         t.second <= kLastSecond;
}

// The time, or the error's text.
std::optional<std::string> parseClock(const std::string& text, std::optional<LocalTime>& clock) {
  bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == ' ' || c == ':';
  });
  LocalTime t;
  char tail = 0;
  int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                           &t.hour, &t.minute, &t.second, &tail);
  if (!plain || fields != kClockFields) {
    return "--clock takes \"YYYY-MM-DD HH:MM:SS\", not '" + shownWord(text) + "'";
  }
  if (!realTime(t)) {
    return "--clock takes a real date and time (years 1 to 9999, seconds 0 to 59), not '" +
           shownWord(text) + "'";
  }
  t.weekday = weekdayOf(t.year, t.month, t.day);
  clock = t;
  return std::nullopt;
}

std::optional<std::string> parseFormat(const std::string& word, OutputFormat& format) {
  if (word == "text") {
    format = OutputFormat::Text;
  } else if (word == "json") {
    format = OutputFormat::Json;
  } else if (word == "csv") {
    format = OutputFormat::Csv;
  } else {
    return "unknown format '" + shownWord(word) + "'";
  }
  return std::nullopt;
}

// One option that takes a value; nothing when `a` is not such an option.
std::optional<std::string> valueOption(const std::string& a, const std::string* value, bool run,
                                       Options& o, bool& taken) {
  taken = a == "--format" || a == "--pdf" || a == "--page" ||
          (run &&
           (a == "--out" || a == "--clock" || a == "--out-dir" || a == "--jobs" || a == "--from"));
  if (!taken) return std::nullopt;
  if (a == "--format") {
    if (value == nullptr) return std::string("--format needs a value");
    return parseFormat(*value, o.format);
  }
  if (a == "--pdf") {
    if (value == nullptr) return std::string("--pdf needs a file name");
    o.pdf = *value;
    return std::nullopt;
  }
  if (a == "--page") {
    if (value == nullptr) return std::string("--page needs a value");
    o.page = parsePaper(*value);
    if (!o.page) return "--page takes letter or a4, not '" + shownWord(*value) + "'";
    return std::nullopt;
  }
  if (a == "--out" || a == "--out-dir") {
    if (value == nullptr) return a + " needs a " + (a == "--out" ? "file" : "folder") + " name";
    (a == "--out" ? o.out : o.outDir) = *value;
    return std::nullopt;
  }
  if (a == "--jobs") {
    if (value == nullptr) return std::string("--jobs needs a number");
    return parseJobs(*value, o.jobs);
  }
  if (a == "--from") {
    if (value == nullptr) return std::string("--from needs a stand file");
    o.from = *value;
    FromStand from;
    return parseFrom(*value, from);
  }
  if (value == nullptr) return std::string("--clock needs a time");
  return parseClock(*value, o.clock);
}

std::optional<std::string> flagOption(const std::string& a, bool run, Options& o) {
  if (a == "--no-financial") {
    o.showFinancial = false;
  } else if (a == "--current-step") {
    o.currentStep = true;
  } else if (a == "--carbon") {
    o.showCarbon = true;
  } else if (run && a == "--keep-going") {
    o.keepGoing = true;
  } else if (a.size() > 1 && a[0] == '-') {
    return "unknown option '" + shownWord(a) + "'";
  } else if (run) {
    o.scripts.push_back(a);
  } else if (o.input.empty()) {
    o.input = a;
  } else {
    return "unexpected argument '" + shownWord(a) + "'";
  }
  return std::nullopt;
}

// The options, or the usage error's text.
std::optional<std::string> parseOptions(const std::vector<std::string>& args, Options& o) {
  if (args.empty()) return std::string("no command given");
  o.command = args[0];
  if (o.command != "run" && o.command != "report") {
    return "unknown command '" + shownWord(o.command) + "'";
  }
  bool run = o.command == "run";
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string* next = i + 1 < args.size() ? &args[i + 1] : nullptr;
    bool taken = false;
    if (auto error = valueOption(args[i], next, run, o, taken)) return error;
    if (taken) {
      ++i;
    } else if (auto error = flagOption(args[i], run, o)) {
      return error;
    }
  }
  if (run) return o.scripts.empty() ? std::string("no script given") : runUsageError(o);
  if (o.input.empty()) return std::string("no stand file given");
  return std::nullopt;
}

// --pdf, when given: 0 or kExitFailedStep.
int writePdf(const Options& o, const DocumentContent& content, const std::string& title,
             std::ostream& err) {
  if (!o.pdf) return 0;
  PdfRequest request{*o.pdf, title, o.page ? *o.page : localePaper()};
  return exportPdf(content, request, err);
}

int report(const Options& o, std::ostream& out, std::ostream& err) {
  DocumentDefaults defaults = builtInDefaults();
  DocumentContent content;
  content.settings = defaults.settings;
  content.options = defaults.options;
  resetSnapshot(content.store.snapshot);
  StandFileResult opened = openStandFile(o.input, content);
  if (!opened.ok()) {
    err << "keldovar-cli: " << o.input << ": " << opened.message << "\n";
    return kExitFailedStep;
  }
  bool showFinancial = o.showFinancial && content.options.showFinancial;
  CarbonOptions carbon = carbonOptionsOf(content);
  carbon.show = o.showCarbon;
  int status = writeReport(
      out, err, renderReport(o.format, content, {}, showFinancial, o.currentStep, carbon));
  if (!o.pdf) return status;
  content.options.showFinancial = showFinancial;  // the PDF shows what the text shows
  return std::max(status, writePdf(o, content, documentTitle(o.input), err));
}

// A directory, FIFO or device named on the command line is refused before anything runs.
std::optional<std::string> refusedFile(const Options& o) {
  if (o.command == "run") return refusedRunFile(o);
  if (auto refused = refusedInput(o.input)) return refused;
  if (o.pdf) return refusedOutput(*o.pdf, "--pdf");
  return std::nullopt;
}

}  // namespace

int runCli(const std::vector<std::string>& args, const InputReader& standardInput,
           std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    return writeReport(out, err, kUsage);
  }
  if (!args.empty() && args[0] == "--version") {
    return writeReport(out, err, std::string("keldovar-cli ") + kVersion + "\n");
  }
  if (!args.empty() && args[0] == "optimize") return runOptimize(args, out, err);
  if (!args.empty() && args[0] == "sensitivity") {
    return runSensitivity(args, standardInput, out, err);
  }
  if (!args.empty() && args[0] == "risk") return runRisk(args, standardInput, out, err);
  if (!args.empty() && args[0] == "inventory") {
    return runInventory(
        args, [](const char* name) { return std::getenv(name); }, out, err);
  }
  if (!args.empty() && args[0] == "compare") return runCompare(args, standardInput, out, err);
  Options options;
  if (auto error = parseOptions(args, options)) {
    err << "keldovar-cli: " << *error << "\n" << kUsage;
    return kExitUsage;
  }
  if (auto refused = refusedFile(options)) {
    err << "keldovar-cli: " << *refused << "\n";
    return kExitUsage;
  }
  if (options.command == "run") return runScripts(options, standardInput, out, err);
  return report(options, out, err);
}

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  InputReader fromStream = [&in](std::size_t limit, std::vector<std::uint8_t>& bytes) {
    char chunk[kStreamChunk];
    while (bytes.size() < limit && in) {
      in.read(chunk, static_cast<std::streamsize>(std::min(sizeof chunk, limit - bytes.size())));
      bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    return in.bad() ? EIO : 0;
  };
  return runCli(args, fromStream, out, err);
}

}  // namespace keldovar::cli

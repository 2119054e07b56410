// Parsing keldovar-cli's arguments and running its two commands.
#include "cli/command_line.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "app/settings.h"
#include "app/stand_file.h"
#include "cli/optimize.h"
#include "cli/output.h"
#include "cli/runner.h"

namespace keldovar::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  keldovar-cli run SCRIPT [--format text|json|csv] [--out FILE.kdv]\n"
    "                   [--clock \"YYYY-MM-DD HH:MM:SS\"] [--keep-going] [--no-financial]\n"
    "                   [--current-step]\n"
    "  keldovar-cli report FILE.kdv [--format text|json|csv] [--no-financial] [--current-step]\n"
    "  keldovar-cli optimize SPEC [--format text|json|csv] [--jobs N] [--shard K/N]\n"
    "  keldovar-cli optimize --merge RESULT.json... [--format text|json|csv]\n"
    "  keldovar-cli --help\n"
    "  keldovar-cli --version\n"
    "\n"
    "run     runs a regime script (SCRIPT - reads standard input) and prints its report\n"
    "report  prints the report of a stand file\n"
    "optimize searches a space of regimes (SPEC) for the best ones; --merge combines the JSON\n"
    "        results of --shard runs\n"
    "\n"
    "Exit status: 0 every step succeeded; 1 a step failed or a stand file could not be read\n"
    "or written; 2 a usage or script syntax error (nothing is run).\n";

struct Options {
  std::string command;
  std::string input;
  OutputFormat format = OutputFormat::Text;
  std::optional<std::string> out;
  std::optional<LocalTime> clock;
  bool keepGoing = false;
  bool showFinancial = true;
  bool currentStep = false;
};

std::optional<LocalTime> parseClock(const std::string& text) {
  LocalTime t;
  char tail = 0;
  int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                           &t.hour, &t.minute, &t.second, &tail);
  if (fields != 6 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 ||
      t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 60) {
    return std::nullopt;
  }
  t.weekday = weekdayOf(t.year, t.month, t.day);
  return t;
}

// The options, or the usage error's text.
std::optional<std::string> parseOptions(const std::vector<std::string>& args, Options& o) {
  if (args.empty()) return std::string("no command given");
  o.command = args[0];
  if (o.command != "run" && o.command != "report") {
    return "unknown command '" + o.command + "'";
  }
  bool run = o.command == "run";
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* name) -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      (void)name;
      return args[++i];
    };
    if (a == "--format") {
      auto v = value("--format");
      if (!v) return std::string("--format needs a value");
      if (*v == "text") {
        o.format = OutputFormat::Text;
      } else if (*v == "json") {
        o.format = OutputFormat::Json;
      } else if (*v == "csv") {
        o.format = OutputFormat::Csv;
      } else {
        return "unknown format '" + *v + "'";
      }
    } else if (a == "--no-financial") {
      o.showFinancial = false;
    } else if (a == "--current-step") {
      o.currentStep = true;
    } else if (run && a == "--out") {
      o.out = value("--out");
      if (!o.out) return std::string("--out needs a file name");
    } else if (run && a == "--clock") {
      auto v = value("--clock");
      if (!v) return std::string("--clock needs a time");
      o.clock = parseClock(*v);
      if (!o.clock) return "--clock takes \"YYYY-MM-DD HH:MM:SS\", not '" + *v + "'";
    } else if (run && a == "--keep-going") {
      o.keepGoing = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return "unknown option '" + a + "'";
    } else if (o.input.empty()) {
      o.input = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  if (o.input.empty())
    return run ? std::string("no script given") : std::string("no stand file given");
  return std::nullopt;
}

std::string render(OutputFormat format, const DocumentContent& content, const Options& o,
                   const std::vector<RecordedMessage>& messages) {
  const TableStore& store = content.store;
  switch (format) {
    case OutputFormat::Json:
      return jsonOutput(store, messages, content.settings.financial);
    case OutputFormat::Csv:
      return csvOutput(store, content.settings.financial);
    case OutputFormat::Text:
      break;
  }
  return textOutput(store, o.showFinancial, o.currentStep);
}

int runScript(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string text;
  if (o.input == "-") {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    std::ifstream file(o.input, std::ios::binary);
    if (!file) {
      err << "keldovar-cli: cannot read the script " << o.input << "\n";
      return 2;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  ParsedScript script = parseScript(text);
  if (!script.errors.empty()) {
    for (const SyntaxError& e : script.errors) {
      err << o.input << ":" << e.line << ": " << e.message << "\n";
    }
    return 2;
  }

  SystemClock systemClock;
  std::optional<FixedClock> fixedClock;
  if (o.clock) fixedClock.emplace(*o.clock);
  const Clock& clock = fixedClock ? static_cast<const Clock&>(*fixedClock) : systemClock;
  ViewOptions options = builtInDefaults().options;
  options.showFinancial = o.showFinancial;
  options.showAllTables = !o.currentStep;
  Runner runner(clock, options);

  int status = 0;
  std::size_t reported = 0;
  for (const Command& command : script.commands) {
    bool ok = runner.run(command);
    for (; reported < runner.messages().size(); ++reported) {
      err << messageLine(o.input, runner.messages()[reported]) << "\n";
    }
    if (!ok) {
      status = 1;
      if (!o.keepGoing) break;
    }
  }
  const DocumentContent& content = runner.document().content();
  out << render(o.format, content, o, runner.messages());
  if (o.out) {
    StandFileResult saved = saveStandFile(*o.out, content);
    if (!saved.ok()) {
      err << "keldovar-cli: " << saved.message << "\n";
      status = 1;
    }
  }
  return status;
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
    return 1;
  }
  bool showFinancial = o.showFinancial && content.options.showFinancial;
  Options shown = o;
  shown.showFinancial = showFinancial;
  out << render(o.format, content, shown, {});
  return 0;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage;
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    out << "keldovar-cli " << kVersion << "\n";
    return 0;
  }
  if (!args.empty() && args[0] == "optimize") return runOptimize(args, out, err);
  Options options;
  if (auto error = parseOptions(args, options)) {
    err << "keldovar-cli: " << *error << "\n" << kUsage;
    return 2;
  }
  if (options.command == "run") return runScript(options, in, out, err);
  return report(options, out, err);
}

}  // namespace keldovar::cli

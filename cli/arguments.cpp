// Reading keldovar-cli's arguments with CLI11. CLI11 knows the commands and their options, writes
// the help pages and refuses repeated or missing values; the values themselves are checked here,
// in the messages the batch runner always gave.
#include "cli/arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>
#include <memory>
#include <span>

#include "cli/clock_option.h"
#include "cli/command_line.h"
#include "cli/completion.h"
#include "cli/from_stand.h"
#include "script/script.h"

namespace keldovar::cli {

namespace {

constexpr const char* kProgram = "keldovar-cli";
// The help pages' options take this many columns; their descriptions end by column 80.
constexpr std::size_t kOptionColumn = 26;

// The arguments as given, before their values are checked.
struct Given {
  std::vector<std::string> operands;
  std::string operand;  // of a command that takes one
  std::string format, out, outDir, jobs, clock, pdf, page, shard, from, units;
  bool keepGoing = false, noFinancial = false, currentStep = false, carbon = false;
  bool merge = false, resume = false, help = false;
  GivenOptions values;  // of the options that are neither a text nor a flag here
};

// An option of one or more commands: its value's name (none for a flag) and what it does; its
// value is kept by name when it has neither a text nor a flag of Given.
struct OptionSpec {
  const char* name;
  const char* value;
  const char* help;
  std::string Given::*text = nullptr;
  bool Given::*flag = nullptr;
};

constexpr OptionSpec kFormat{"--format", "text|json|csv",
                             "the report as text (the default), JSON or CSV", &Given::format};
constexpr OptionSpec kNoFinancial{"--no-financial", nullptr, "leaves the financial tables out",
                                  nullptr, &Given::noFinancial};
constexpr OptionSpec kCurrentStep{"--current-step", nullptr,
                                  "prints the newest step's tables only (text)", nullptr,
                                  &Given::currentStep};
constexpr OptionSpec kCarbon{"--carbon", nullptr,
                             "adds each table's biomass, carbon and wood products (text)", nullptr,
                             &Given::carbon};
constexpr OptionSpec kPdf{"--pdf", "REPORT.pdf",
                          "also writes the report as printed, every table with\n"
                          "its page footers, to a PDF (through keldovar-pdf)",
                          &Given::pdf};
constexpr OptionSpec kPage{"--page", "letter|a4",
                           "the PDF's paper: Letter, or A4 when the locale\n"
                           "(LC_ALL, LC_PAPER or LANG) names a country outside\n"
                           "US, CA, MX, PH, PR, CL, CO and VE",
                           &Given::page};

constexpr OptionSpec kUnits{"--units", "imperial|metric",
                            "shows and exports every number in these units\n"
                            "(metric: per hectare, cm, m, m2, m3, tonnes); files\n"
                            "stay imperial (default: imperial)",
                            &Given::units};

constexpr OptionSpec kRunOptions[] = {
    kFormat,
    {"--out", "FILE.kdv", "saves the document as a stand file (one script only)", &Given::out},
    {"--out-dir", "DIR",
     "saves every script's document as DIR/NAME.kdv (NAME:\n"
     "the script's file name without its extension, stdin\n"
     "for -)",
     &Given::outDir},
    {"--jobs", "N",
     "runs up to N scripts at once, 1 to 256 (default: one\n"
     "per processor core)",
     &Given::jobs},
    {"--clock", "\"YYYY-MM-DD HH:MM:SS\"",
     "stamps the reports with this time (years 1 to 9999)\n"
     "rather than the clock's",
     &Given::clock},
    {"--keep-going", nullptr, "goes on with the script after a step fails", nullptr,
     &Given::keepGoing},
    kNoFinancial,
    kCurrentStep,
    kCarbon,
    kUnits,
    {"--pdf", "REPORT.pdf",
     "also writes the report as printed, every table with\n"
     "its page footers, to a PDF (through keldovar-pdf); one\n"
     "script only",
     &Given::pdf},
    kPage,
    {"--from", "FILE.kdv[:TABLE]",
     "continues the stand file's document from its table\n"
     "TABLE (counted from 0; the newest when not given)\n"
     "instead of an empty document",
     &Given::from},
};
constexpr OptionSpec kReportOptions[] = {kFormat, kNoFinancial, kCurrentStep, kCarbon,
                                         kUnits,  kPdf,         kPage};
constexpr OptionSpec kOptimizeOptions[] = {
    kFormat,
    {"--jobs", "N",
     "searches on N threads, 1 to 256 (default: one per\n"
     "processor core)",
     &Given::jobs},
    {"--shard", "K/N", "searches the K-th of N interleaved parts of the space", &Given::shard},
    {"--merge", nullptr,
     "merges the JSON results of --shard runs (RESULT.json...)\n"
     "into the answer of the whole search",
     nullptr, &Given::merge},
};

constexpr OptionSpec kCompareOptions[] = {
    kFormat,
    kUnits,
    {"--pdf", "COMPARISON.pdf",
     "also writes the table and the charts, the pages Compare\n"
     "Regimes exports (through keldovar-pdf)",
     &Given::pdf},
    kPage,
};

constexpr OptionSpec kInventoryOptions[] = {
    {"--regime", "TEMPLATE.kdr", "runs this regime template on every stand"},
    {"--space", "SPACE",
     "searches each stand's best regime in this search-space\n"
     "file (optimize's, without a start)"},
    {"--out", "RESULT",
     "writes the results to RESULT.sqlite (.db, .gpkg), .csv\n"
     "or .jsonl; without it, text on standard output",
     &Given::out},
    {"--format", "sqlite|csv|jsonl|text", "the results' format when --out's name does not say it",
     &Given::format},
    {"--jobs", "N", "runs N stands at once, 1 to 256 (default: one per core)", &Given::jobs},
    {"--shard", "K/N|auto",
     "runs the K-th of N parts of the stands; auto: the task\n"
     "of a Slurm or Grid Engine job array",
     &Given::shard},
    {"--units", "imperial|metric",
     "the CSV, JSON Lines or text in metric units (ha, per\n"
     "hectare, m2, m3, tonnes); SQLite results stay imperial"},
    {"--resume", nullptr, "goes on with the SQLite results of a run that stopped", nullptr,
     &Given::resume},
    {"--merge", nullptr,
     "merges the SQLite results of --shard runs\n"
     "(RESULT.sqlite...) into those of the whole run",
     nullptr, &Given::merge},
};

// sensitivity and risk check their own values, format included.
constexpr OptionSpec kValuedFormat{"--format", "text|json|csv",
                                   "the report as text (the default), JSON or CSV"};
constexpr OptionSpec kManagement{"--management", "sawtimber|pulpwood",
                                 "whose values count (sawtimber)"};
constexpr OptionSpec kSensitivityOptions[] = {
    {"--rates", "FROM:TO:STEP",
     "the interest rates of the NPV and LEV curve, in percent\n(2:12:0.5)"},
    {"--swing", "PERCENT", "each financial value is moved this many percent down and\nup (30)"},
    kManagement,
    kValuedFormat,
};
constexpr OptionSpec kRiskOptions[] = {
    {"--paths", "N", "paths (10000; 1000 a regime with --search)"},
    {"--seed", "N", "of the random numbers (1)"},
    {"--jobs", "N", "processors (one per core); the numbers do not depend on it"},
    {"--drift", "PERCENT", "a year, of the log prices (0)"},
    {"--volatility", "PERCENT", "a year, of the log prices (15)"},
    {"--reversion", "RATE",
     "a year, how fast log prices return to their trend; 0:\ngeometric Brownian motion (0.2)"},
    {"--correlation", "R", "of the pulpwood and sawtimber shocks (0.7)"},
    {"--loss", "PERCENT", "a year the stand is lost (0.5)"},
    {"--salvage", "PERCENT", "of a lost stand's value salvaged (30)"},
    kManagement,
    {"--bins", "N", "of the histogram in JSON and CSV (40)"},
    kValuedFormat,
    {"--search", "SPACE",
     "ranks the regimes of optimize's search space by expected\n"
     "LEV (NPV for an existing stand) and by its P5, all\n"
     "regimes on the same paths"},
};

struct CommandSpec {
  const char* name;
  const char* usage;  // its lines of the usage
  const char* description;
  const char* operand;  // the operands' name
  const char* operandHelp;
  bool several;  // more than one operand
  std::span<const OptionSpec> options;
  const char* footer;
};

constexpr const char* kExitStatus =
    "Exit status: 0 every step succeeded; 1 a step failed, a stand file could not be\n"
    "read or written, or the report or its PDF could not be written; 2 a usage or\n"
    "script syntax error, an input that cannot be read, or an output that is an input\n"
    "or another output; 3 an unexpected internal error.";

constexpr const char* kRunUsage =
    "  keldovar-cli run SCRIPT... [--format text|json|csv] [--out FILE.kdv | --out-dir DIR]\n"
    "                   [--jobs N] [--clock \"YYYY-MM-DD HH:MM:SS\"] [--keep-going]\n"
    "                   [--no-financial] [--current-step] [--carbon]\n"
    "                   [--units imperial|metric] [--pdf REPORT.pdf [--page letter|a4]]\n"
    "                   [--from FILE.kdv[:TABLE]]\n";
constexpr const char* kReportUsage =
    "  keldovar-cli report FILE.kdv [--format text|json|csv] [--no-financial] [--current-step]\n"
    "                   [--carbon] [--units imperial|metric]\n"
    "                   [--pdf REPORT.pdf [--page letter|a4]]\n";
constexpr const char* kOptimizeUsage =
    "  keldovar-cli optimize SPACE [--format text|json|csv] [--jobs N] [--shard K/N]\n"
    "  keldovar-cli optimize --merge RESULT.json... [--format text|json|csv]\n";

constexpr const char* kInventoryUsage =
    "  keldovar-cli inventory STANDS.csv|STANDS.sqlite[:TABLE] [--regime TEMPLATE.kdr | --space\n"
    "                   SPACE] [--out RESULT.sqlite|.csv|.jsonl] [--format sqlite|csv|jsonl|text]\n"
    "                   [--jobs N] [--shard K/N|auto] [--resume]\n"
    "                   [--units imperial|metric] (CSV, JSON Lines, text)\n"
    "  keldovar-cli inventory --merge RESULT.sqlite... [--out MERGED] [--format ...]\n"
    "                   [--units imperial|metric]\n";

const CommandSpec kCommands[] = {
    {"run", kRunUsage, "Runs regime scripts and prints their reports.", "SCRIPT",
     "regime scripts, each a document of its own; - reads\n"
     "standard input (once)",
     true, kRunOptions, kExitStatus},
    {"report", kReportUsage, "Prints the report of a stand file.", "FILE.kdv", "the stand file",
     false, kReportOptions, kExitStatus},
    {"optimize", kOptimizeUsage, "Searches a space of regimes for the best ones.", "SPACE",
     "the search-space file; with --merge, the JSON results\n"
     "to merge (RESULT.json...)",
     true, kOptimizeOptions,
     "Exit status: 0 done; 1 the start was refused or a result could not be read; 2 a\n"
     "usage or search-space file error, or a directory, FIFO or device named as a\n"
     "file."},
    {"sensitivity", kSensitivityUsage,
     "Values the newest harvest of a stand file, or of the document a script makes (as\n"
     "run runs it), at that document's financial values and others: the NPV, LEV, IRR and\n"
     "break-even prices and establishment cost of both managements, their curve over\n"
     "interest rates, and each value moved down and up, by its effect.",
     "FILE.kdv|SCRIPT", "the stand file or the script; - reads standard input", false,
     kSensitivityOptions, kExitStatus},
    {"risk", kRiskUsage,
     "Monte Carlo paths of the newest harvest of a stand file or a script's document under\n"
     "wandering prices and yearly losses: the distribution of its NPV and LEV.",
     "FILE.kdv|SCRIPT", "the stand file or the script; - reads standard input", false, kRiskOptions,
     kExitStatus},
    {"inventory", kInventoryUsage,
     "Runs every stand of an inventory (a CSV file, or a table of an SQLite file) through a\n"
     "regime template, or searches each stand's best regime; the stands run in parallel,\n"
     "a job array's tasks each run a shard, and a run that stopped resumes.",
     "STANDS", "the inventory; with --merge, the results to merge", true, kInventoryOptions,
     "Exit status: 0 every stand ran; 1 some stand failed or the results could not be\n"
     "written; 2 a usage error or an inventory, regime or space that cannot be used, and\n"
     "nothing ran."},
    {"compare", kCompareUsage,
     "Sets the newest harvests of stand files or scripts' documents (a script run as run\n"
     "runs it) side by side, each at its own financial values: rotation, thinnings,\n"
     "fertilizations, harvest and total tons, MAI, NPV, LEV and IRR of both managements,\n"
     "the best of each row marked. JSON adds each regime's series against age: standing\n"
     "basal area and tons, and the running present value.",
     "FILE.kdv|SCRIPT", "two to 32 stand files or scripts; - reads standard\ninput (once)", true,
     kCompareOptions,
     "Exit status: 0 done; 1 a document could not be read or made or holds no harvest,\n"
     "or the report or its PDF could not be written; 2 a usage error."},
};

constexpr const char* kHelpUsage =
    "  keldovar-cli help [COMMAND]          (or keldovar-cli COMMAND --help)\n";
constexpr const char* kCompletionUsage =
    "  keldovar-cli completion              a bash completion script\n";

std::string shownArgument(const std::string& word) {
  return "'" + shownWord(word) + "'";
}

// A command's help opens with its usage lines, as the whole program's does.
class UsageFirst final : public CLI::Formatter {
 public:
  void setUsage(const std::string& command, const char* lines) { usages_[command] = lines; }
  std::string make_description(const CLI::App*) const override { return {}; }
  std::string make_usage(const CLI::App* app, std::string) const override {
    auto lines = usages_.find(app->get_name());
    std::string usage = lines == usages_.end() ? std::string() : lines->second;
    return "Usage:\n" + usage + "\n" + app->get_description() + "\n";
  }

 private:
  std::map<std::string, std::string> usages_;
};

class Parser {
 public:
  explicit Parser(const Environment& environment) : environment_(environment) {
    app_.set_help_flag();
    formatter_->column_width(kOptionColumn);
    app_.formatter(formatter_);
    app_.add_flag("-h,--help", topHelp_);
    app_.add_flag("--version", version_);
    app_.require_subcommand(0, 1);
    app_.allow_extras();
    for (const CommandSpec& spec : kCommands) addCommand(spec);
    CLI::App* help =
        addPlain("help", kHelpUsage, "Prints the help of a command, or of the program.");
    help->add_option("COMMAND", given_.operands, "the command")->type_name("");
    addPlain("completion", kCompletionUsage,
             "Prints a bash completion script: source <(keldovar-cli completion).");
  }

  CommandLine read(const std::vector<std::string>& args) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
      app_.parse(reversed);
    } catch (const CLI::ArgumentMismatch& e) {
      return usageError(mismatch(e.what()));
    } catch (const CLI::ParseError& e) {
      return usageError(e.what());
    }
    if (topHelp_) return print(usage());
    if (version_) return print(std::string(kProgram) + " " + kVersion + "\n");
    if (!app_.remaining().empty())
      return usageError("unknown command " + shownArgument(app_.remaining().front()));
    if (app_.get_subcommands().empty()) return usageError("no command given");
    CLI::App* command = app_.get_subcommands().front();
    if (!command->remaining().empty()) return usageError(unexpected(command->remaining().front()));
    if (given_.help) return print(helpOf(command));
    return commandLine(command->get_name());
  }

 private:
  CLI::App* addPlain(const char* name, const char* usage, const char* description) {
    formatter_->setUsage(name, usage);
    CLI::App* command = app_.add_subcommand(name, description);
    command->set_help_flag();
    command->add_flag("-h,--help", given_.help, "prints this help");
    command->allow_extras();
    return command;
  }

  void addCommand(const CommandSpec& spec) {
    CLI::App* command = addPlain(spec.name, spec.usage, spec.description);
    command->footer(spec.footer);
    if (spec.several) {
      command->add_option(spec.operand, given_.operands, spec.operandHelp)->type_name("");
    } else {
      command->add_option(spec.operand, given_.operand, spec.operandHelp)->type_name("");
    }
    for (const OptionSpec& option : spec.options) {
      if (option.flag != nullptr) {
        command->add_flag(option.name, given_.*option.flag, option.help);
      } else {
        std::string& value =
            option.text != nullptr ? given_.*option.text : given_.values[option.name];
        command->add_option(option.name, value, option.help)->type_name(option.value);
      }
    }
  }

  // CLI11 names the option first: "--out: 1 required FILE.kdv missing", "--out: At Most 1
  // required but received 2".
  static std::string mismatch(const std::string& what) {
    std::string option = what.substr(0, what.find(':'));
    if (what.find("missing") != std::string::npos) return option + " needs a value";
    return option + " is given more than once";
  }

  static std::string unexpected(const std::string& word) {
    bool option = word.size() > 1 && word[0] == '-';
    return (option ? "unknown option " : "unexpected argument ") + shownArgument(word);
  }

  static CommandLine print(std::string text) {
    CommandLine line;
    line.action = CommandLine::Action::Print;
    line.text = std::move(text);
    return line;
  }
  static CommandLine usageError(std::string text) {
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.text = std::move(text);
    return line;
  }

  std::string helpOf(const CLI::App* command) const { return command->help(kProgram); }

  CommandLine commandLine(const std::string& name);
  CommandLine helpCommand();
  CommandLine runCommand();
  CommandLine reportCommand();
  CommandLine optimizeCommand();
  CommandLine valuedCommand(CommandLine::Action action);
  CommandLine inventoryCommand();
  CommandLine compareCommand();
  std::optional<std::string> readViewOptions(RunOptions& options) const;

  std::shared_ptr<UsageFirst> formatter_ = std::make_shared<UsageFirst>();
  CLI::App app_{"The batch runner of KELDOVAR.", kProgram};
  Given given_;
  const Environment& environment_;
  bool topHelp_ = false;
  bool version_ = false;
};

std::optional<std::string> parseUnits(const std::string& word, UnitSystem& units) {
  if (parseUnitSystem(word, units)) return std::nullopt;
  return "--units takes imperial or metric, not " + shownArgument(word);
}

std::optional<std::string> parseFormat(const std::string& word, OutputFormat& format) {
  if (word == "text") {
    format = OutputFormat::Text;
  } else if (word == "json") {
    format = OutputFormat::Json;
  } else if (word == "csv") {
    format = OutputFormat::Csv;
  } else {
    return "unknown format " + shownArgument(word);
  }
  return std::nullopt;
}

// --format, the view options and the PDF, which run and report share.
std::optional<std::string> Parser::readViewOptions(RunOptions& o) const {
  if (app_.get_subcommands().front()->count("--format") > 0) {
    if (auto error = parseFormat(given_.format, o.format)) return error;
  }
  o.showFinancial = !given_.noFinancial;
  o.currentStep = given_.currentStep;
  o.showCarbon = given_.carbon;
  if (app_.get_subcommands().front()->count("--units") > 0) {
    if (auto error = parseUnits(given_.units, o.units)) return error;
  }
  if (app_.get_subcommands().front()->count("--pdf") > 0) o.pdf = given_.pdf;
  if (app_.get_subcommands().front()->count("--page") > 0) {
    o.page = parsePaper(given_.page);
    if (!o.page) return "--page takes letter or a4, not " + shownArgument(given_.page);
  }
  return std::nullopt;
}

CommandLine Parser::commandLine(const std::string& name) {
  if (name == "help") return helpCommand();
  if (name == "completion") return print(bashCompletion(app_));
  if (name == "run") return runCommand();
  if (name == "report") return reportCommand();
  if (name == "sensitivity") return valuedCommand(CommandLine::Action::Sensitivity);
  if (name == "risk") return valuedCommand(CommandLine::Action::Risk);
  if (name == "inventory") return inventoryCommand();
  if (name == "compare") return compareCommand();
  return optimizeCommand();
}

// sensitivity and risk: the values given, which they check themselves.
CommandLine Parser::valuedCommand(CommandLine::Action action) {
  CommandLine line;
  line.action = action;
  const CLI::App& command = *app_.get_subcommands().front();
  for (const CommandSpec& spec : kCommands) {
    if (command.get_name() == spec.name && command.count(spec.operand) > 0) {
      line.standFile = given_.operand;
    }
  }
  for (const auto& [name, value] : given_.values) {
    // The values are shared by both commands: only this one's options were given.
    if (command.get_option_no_throw(name) != nullptr && command.count(name) > 0) {
      line.values[name] = value;
    }
  }
  return line;
}

CommandLine Parser::helpCommand() {
  if (given_.operands.empty()) return print(usage());
  if (given_.operands.size() > 1) return usageError(unexpected(given_.operands[1]));
  const std::string& name = given_.operands.front();
  for (const CLI::App* command : app_.get_subcommands({})) {
    if (command->get_name() == name) return print(helpOf(command));
  }
  return usageError("unknown command " + shownArgument(name));
}

CommandLine Parser::runCommand() {
  CommandLine line;
  line.action = CommandLine::Action::Run;
  RunOptions& o = line.run;
  const CLI::App& run = *app_.get_subcommands().front();
  o.scripts = given_.operands;
  o.keepGoing = given_.keepGoing;
  if (auto error = readViewOptions(o)) return usageError(*error);
  if (run.count("--out") > 0) o.out = given_.out;
  if (run.count("--out-dir") > 0) o.outDir = given_.outDir;
  if (run.count("--jobs") > 0) {
    if (auto error = parseJobs(given_.jobs, o.jobs)) return usageError(*error);
  }
  if (run.count("--clock") > 0) {
    if (auto error = parseClock(given_.clock, o.clock)) return usageError(*error);
  }
  if (run.count("--from") > 0) {
    FromStand from;
    if (auto error = parseFrom(given_.from, from)) return usageError(*error);
    o.from = given_.from;
  }
  if (o.scripts.empty()) return usageError("no script given");
  if (auto error = runUsageError(o)) return usageError(*error);
  return line;
}

CommandLine Parser::reportCommand() {
  CommandLine line;
  line.action = CommandLine::Action::Report;
  if (auto error = readViewOptions(line.run)) return usageError(*error);
  if (app_.get_subcommands().front()->count("FILE.kdv") == 0) {
    return usageError("no stand file given");
  }
  line.standFile = given_.operand;
  return line;
}

CommandLine Parser::optimizeCommand() {
  CommandLine line;
  line.action = CommandLine::Action::Optimize;
  OptimizeOptions& o = line.optimize;
  const CLI::App& optimize = *app_.get_subcommands().front();
  if (optimize.count("--format") > 0) {
    if (auto error = parseFormat(given_.format, o.format)) return usageError(*error);
  }
  if (optimize.count("--jobs") > 0) {
    if (auto error = parseJobs(given_.jobs, o.jobs)) return usageError(*error);
  }
  if (optimize.count("--shard") > 0) {
    if (auto error = parseShard(given_.shard, o)) return usageError(*error);
  }
  o.merge = given_.merge;
  if (o.merge) {
    if (given_.operands.empty()) {
      return usageError("--merge takes the JSON results to merge and no search-space file");
    }
    o.mergeFiles = given_.operands;
    return line;
  }
  if (given_.operands.empty()) return usageError("no search-space file given");
  if (given_.operands.size() > 1) return usageError(unexpected(given_.operands[1]));
  o.space = given_.operands.front();
  return line;
}

CommandLine Parser::inventoryCommand() {
  CommandLine line;
  line.action = CommandLine::Action::Inventory;
  InventoryOptions& o = line.inventory;
  const CLI::App& inventory = *app_.get_subcommands().front();
  for (const OptionSpec& option : kInventoryOptions) {
    if (option.flag != nullptr || inventory.count(option.name) == 0) continue;
    const std::string& value =
        option.text != nullptr ? given_.*option.text : given_.values[option.name];
    if (auto error = readInventoryValue(option.name, value, environment_, o)) {
      return usageError(*error);
    }
  }
  o.resume = given_.resume;
  o.merge = given_.merge;
  if (o.merge) {
    o.mergeFiles = given_.operands;
  } else if (given_.operands.size() > 1) {
    return usageError(unexpected(given_.operands[1]));
  } else if (!given_.operands.empty()) {
    o.stands = given_.operands.front();
  }
  if (auto error = checkInventoryOptions(o)) return usageError(*error);
  return line;
}

CommandLine Parser::compareCommand() {
  CommandLine line;
  line.action = CommandLine::Action::Compare;
  RunOptions view;
  if (auto error = readViewOptions(view)) return usageError(*error);
  CompareOptions& o = line.compare;
  o = {given_.operands, view.format, view.pdf, view.page, view.units};
  if (auto error = compareUsageError(o)) return usageError(*error);
  return line;
}

}  // namespace

std::string usage() {
  std::string lines;
  for (const CommandSpec& command : kCommands) lines += command.usage;
  return "Usage:\n" + lines + kHelpUsage + kCompletionUsage +
         "  keldovar-cli --help\n"
         "  keldovar-cli --version\n"
         "\n"
         "run     runs regime scripts (SCRIPT - reads standard input) and prints their reports;\n"
         "        a script is a regular file or standard input of at most 16 MB. Each script is a\n"
         "        document of its own; several print in the order given, text under a heading\n"
         "        \"==> SCRIPT <==\", JSON as one object a line, CSV with a leading script "
         "column.\n"
         "        --out-dir saves each as DIR/NAME.kdv (NAME: the script's file name without its\n"
         "        extension, stdin for -); --jobs runs N at once (default: one per core);\n"
         "        --from continues the stand file's document from its table TABLE (counted from\n"
         "        0; the newest when not given) instead of an empty document\n"
         "report  prints the report of a stand file\n"
         "optimize searches a space of regimes (SPACE, a search-space file) for the best ones;\n"
         "        --merge combines the JSON results of --shard runs\n"
         "sensitivity  the NPV and LEV of a harvested regime over interest rates, each value "
         "moved\n"
         "        down and up, and the break-evens; risk  their Monte Carlo distribution under\n"
         "        wandering prices and yearly losses\n"
         "inventory runs every stand of an inventory through a regime template, or searches each\n"
         "        stand's best regime; --merge combines the SQLite results of --shard runs\n"
         "compare the newest harvests of several stand files or scripts side by side, the best\n"
         "        of each row marked\n"
         "Each command's --help lists its options.\n"
         "\n"
         "--pdf   also writes the report as printed, every table with its page footers, to\n"
         "        REPORT.pdf (through keldovar-pdf, installed beside keldovar-cli); the title is\n"
         "        the stand file's name (--out's for run), or \"Untitled\"; one script only\n"
         "--page  the PDF's paper: letter, or a4; by default Letter, or A4 when the locale\n"
         "        (LC_ALL, LC_PAPER or LANG) names a country outside US, CA, MX, PH, PR, CL, CO, "
         "VE\n"
         "\n"
         "Exit status (the worst of all scripts): 0 every step succeeded; 1 a step failed, a "
         "stand\n"
         "file could not be read or written, or the report or its PDF could not be written; 2 a\n"
         "usage or script syntax error, a script that cannot be read (that script is not run),\n"
         "or an output that is an input or another output; 3 an unexpected internal error.\n";
}

CommandLine readCommandLine(const std::vector<std::string>& args, const Environment& environment) {
  Parser parser(environment);
  return parser.read(args);
}

}  // namespace keldovar::cli

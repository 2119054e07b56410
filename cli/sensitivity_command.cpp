// keldovar-cli sensitivity and risk: their options, the regime they value, and the run. The
// figures' own checks (ranges of rates, swing and model) are econ's, named by the option.
#include "cli/sensitivity_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <thread>

#include "app/stand_file.h"
#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/optimize.h"
#include "cli/output.h"
#include "cli/risk_output.h"
#include "cli/sensitivity_output.h"
#include "document/settings.h"
#include "script/script.h"

namespace keldovar::cli {

const char* const kSensitivityUsage =
    "  keldovar-cli sensitivity FILE.kdv|SCRIPT [--rates FROM:TO:STEP] [--swing PERCENT]\n"
    "                   [--management sawtimber|pulpwood] [--format text|json|csv]\n";
const char* const kRiskUsage =
    "  keldovar-cli risk FILE.kdv|SCRIPT [--paths N] [--seed N] [--jobs N] [--drift PERCENT]\n"
    "                   [--volatility PERCENT] [--reversion RATE] [--correlation R]\n"
    "                   [--loss PERCENT] [--salvage PERCENT] [--management sawtimber|pulpwood]\n"
    "                   [--bins N] [--format text|json|csv]\n"
    "  keldovar-cli risk --search SPACE [the same options but --management and --bins]\n";

namespace {

using econ::Management;

constexpr int kDefaultBins = 40;
constexpr std::int64_t kSearchPaths = 1000;
// A stand file's magic number as it starts the file.
constexpr unsigned char kStandFileStart[] = {0xFA, 0xC9, 0x9A, 0x3B};

// Reads an option's value into its target; "" or the error.
using Setter = std::function<std::string(const std::string& value)>;

std::string notA(const std::string& option, const char* what, const std::string& value) {
  return option + " takes " + what + ", not '" + shownWord(value) + "'";
}

Setter decimal(const std::string& option, double& target) {
  return [option, &target](const std::string& value) {
    double read = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), read);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
        !std::isfinite(read)) {
      return notA(option, "a number", value);
    }
    target = read;
    return std::string();
  };
}

template <typename T>
Setter whole(const std::string& option, T& target) {
  return [option, &target](const std::string& value) {
    T read = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), read);
    if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
      return notA(option, "a whole number", value);
    }
    target = read;
    return std::string();
  };
}

Setter formatSetter(OutputFormat& format) {
  return [&format](const std::string& value) {
    std::map<std::string, OutputFormat> formats = {
        {"text", OutputFormat::Text}, {"json", OutputFormat::Json}, {"csv", OutputFormat::Csv}};
    auto found = formats.find(value);
    if (found == formats.end()) return notA("--format", "text, json or csv", value);
    format = found->second;
    return std::string();
  };
}

Setter managementSetter(std::optional<Management>& management) {
  return [&management](const std::string& value) {
    if (value != "sawtimber" && value != "pulpwood") {
      return notA("--management", "sawtimber or pulpwood", value);
    }
    management = value == "pulpwood" ? Management::Pulpwood : Management::Sawtimber;
    return std::string();
  };
}

Setter ratesSetter(econ::RateRange& range) {
  return [&range](const std::string& value) {
    std::size_t first = value.find(':');
    std::size_t second = first == std::string::npos ? first : value.find(':', first + 1);
    double parts[3] = {};
    std::string texts[3] = {value.substr(0, first), value.substr(first + 1, second - first - 1),
                            second == std::string::npos ? "" : value.substr(second + 1)};
    for (int i = 0; i < 3; ++i) {
      if (second == std::string::npos || !decimal("", parts[i])(texts[i]).empty()) {
        return notA("--rates", "FROM:TO:STEP such as 2:12:0.5", value);
      }
    }
    range = {parts[0], parts[1], parts[2]};
    return std::string();
  };
}

// The options' values as given; "" or the usage error of the first that is refused.
std::string applyOptions(const GivenOptions& given, const std::map<std::string, Setter>& options) {
  for (const auto& [name, value] : given) {
    auto found = options.find(name);
    if (found == options.end()) continue;
    std::string error = found->second(value);
    if (!error.empty()) return error;
  }
  return "";
}

int usageError(const std::string& error, const char* usage, std::ostream& err) {
  err << "keldovar-cli: " << error << "\nUsage:\n" << usage;
  return kExitUsage;
}

bool startsAsStandFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char start[sizeof kStandFileStart] = {};
  if (!file.read(start, sizeof start)) return false;
  return std::equal(std::begin(start), std::end(start), std::begin(kStandFileStart),
                    [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
}

struct Loaded {
  econ::RegimeQuantities regime;
  FinancialValues values;
};

}  // namespace

std::optional<DocumentContent> loadDocument(const std::string& input,
                                            const InputReader& standardInput, std::ostream& err,
                                            int& status) {
  if (auto refused = refusedInput(input)) {
    err << "keldovar-cli: " << *refused << "\n";
    status = kExitUsage;
    return std::nullopt;
  }
  if (input == "-" || !startsAsStandFile(input)) {
    std::string messages;
    std::optional<DocumentContent> made = scriptDocument(input, standardInput, messages, status);
    err << messages;
    return status == 0 ? made : std::nullopt;
  }
  DocumentContent content = builtInDocument();
  StandFileResult opened = openStandFile(input, content);
  if (opened.ok()) return content;
  err << "keldovar-cli: " << input << ": " << opened.message << "\n";
  status = kExitFailedStep;
  return std::nullopt;
}

namespace {

std::optional<Loaded> loadRegime(const std::string& input, const InputReader& standardInput,
                                 std::ostream& err, int& status) {
  std::optional<DocumentContent> content = loadDocument(input, standardInput, err, status);
  if (!content) return std::nullopt;
  const ReportTable* harvest = econ::newestHarvest(content->store);
  if (harvest == nullptr) {
    err << "keldovar-cli: " << input << ": the document holds no harvest\n";
    status = kExitFailedStep;
    return std::nullopt;
  }
  return Loaded{*econ::harvestQuantities(*harvest), content->settings.financial};
}

template <typename Report>
std::string rendered(OutputFormat format, const Report& report, std::string (*text)(const Report&),
                     std::string (*json)(const Report&), std::string (*csv)(const Report&)) {
  if (format == OutputFormat::Json) return json(report);
  if (format == OutputFormat::Csv) return csv(report);
  return text(report);
}

struct RiskArguments {
  std::string input;
  std::string search;
  econ::RiskModel model;
  std::optional<Management> management;
  std::optional<std::int64_t> paths;
  unsigned jobs = 0;  // 0: one per core
  std::optional<int> bins;
  OutputFormat format = OutputFormat::Text;
};

std::string parseRisk(const GivenOptions& given, RiskArguments& a) {
  econ::RiskModel& m = a.model;
  std::int64_t paths = 0;
  int bins = 0;
  std::map<std::string, Setter> options = {
      {"--drift", decimal("--drift", m.prices.drift)},
      {"--volatility", decimal("--volatility", m.prices.volatility)},
      {"--reversion", decimal("--reversion", m.prices.reversion)},
      {"--correlation", decimal("--correlation", m.prices.correlation)},
      {"--loss", decimal("--loss", m.loss.probability)},
      {"--salvage", decimal("--salvage", m.loss.salvage)},
      {"--paths",
       [&](const std::string& v) {
         std::string error = whole("--paths", paths)(v);
         if (error.empty()) a.paths = paths;
         return error;
       }},
      {"--seed", whole("--seed", m.seed)},
      {"--bins",
       [&](const std::string& v) {
         std::string error = whole("--bins", bins)(v);
         if (error.empty()) a.bins = bins;
         return error;
       }},
      {"--jobs", [&](const std::string& v) { return parseJobs(v, a.jobs).value_or(""); }},
      {"--management", managementSetter(a.management)},
      {"--format", formatSetter(a.format)},
      {"--search", [&](const std::string& v) {
         a.search = v;
         return std::string();
       }}};
  std::string error = applyOptions(given, options);
  if (!error.empty()) return error;
  if (a.search.empty() == a.input.empty()) return "give a stand file or script, or --search SPACE";
  if (!a.search.empty() && (a.management || a.bins)) {
    return "--search takes the management from the space and draws no histogram";
  }
  if (a.bins && (*a.bins < 0 || *a.bins > econ::kMaxHistogramBins)) {
    return notA("--bins", "0 to 1000", std::to_string(*a.bins));
  }
  m.paths = a.paths.value_or(a.search.empty() ? m.paths : kSearchPaths);
  m.management = a.management.value_or(Management::Sawtimber);
  std::string check = econ::checkRiskModel(m);
  return check.empty() ? check : "--" + check;
}

int jobsOf(unsigned jobs) {
  return static_cast<int>(jobs > 0 ? jobs : std::max(1u, std::thread::hardware_concurrency()));
}

int searchUnderRisk(const RiskArguments& a, const InputReader& standardInput, std::ostream& out,
                    std::ostream& err) {
  std::string text;
  if (auto reason = readScriptText(a.search, standardInput, text)) {
    err << "keldovar-cli: cannot read the search space " << a.search << ": " << *reason << "\n";
    return kExitUsage;
  }
  ParsedSpace parsed = parseSearchSpace(text);
  for (const SpaceError& e : parsed.errors) {
    err << a.search << (e.line > 0 ? ":" + std::to_string(e.line) : std::string()) << ": "
        << e.message << "\n";
  }
  if (!parsed.errors.empty()) return kExitUsage;
  econ::SearchOptions options;
  options.jobs = jobsOf(a.jobs);
  econ::RiskSearchResult result = econ::searchRegimesUnderRisk(parsed.space, options, a.model);
  if (!result.search.error.empty()) {
    err << "keldovar-cli: " << a.search << ": " << result.search.error << "\n";
    return kExitFailedStep;
  }
  econ::RiskModel shown = a.model;
  shown.management = parsed.space.management;
  RiskSearchReport report{result, shown, parsed.startLines};
  return writeReport(out, err,
                     rendered(a.format, report, riskSearchText, riskSearchJson, riskSearchCsv));
}

}  // namespace

int runSensitivity(const std::string& input, const GivenOptions& given,
                   const InputReader& standardInput, std::ostream& out, std::ostream& err) {
  econ::SensitivityOptions options;
  std::optional<Management> management;
  OutputFormat format = OutputFormat::Text;
  std::string error = applyOptions(given, {{"--rates", ratesSetter(options.rates)},
                                           {"--swing", decimal("--swing", options.swing)},
                                           {"--management", managementSetter(management)},
                                           {"--format", formatSetter(format)}});
  if (error.empty() && input.empty()) error = "no stand file or script given";
  options.management = management.value_or(Management::Sawtimber);
  std::string check = econ::checkSensitivityOptions(options);
  if (error.empty() && !check.empty()) error = "--" + check;
  if (!error.empty()) return usageError(error, kSensitivityUsage, err);
  int status = 0;
  std::optional<Loaded> loaded = loadRegime(input, standardInput, err, status);
  if (!loaded) return status;
  econ::Sensitivity sensitivity = econ::sensitivityOf(loaded->regime, loaded->values, options);
  SensitivityReport report{loaded->regime, loaded->values, options, sensitivity};
  return writeReport(out, err,
                     rendered(format, report, sensitivityText, sensitivityJson, sensitivityCsv));
}

int runRisk(const std::string& input, const GivenOptions& given, const InputReader& standardInput,
            std::ostream& out, std::ostream& err) {
  RiskArguments a;
  a.input = input;
  std::string error = parseRisk(given, a);
  if (!error.empty()) return usageError(error, kRiskUsage, err);
  if (!a.search.empty()) return searchUnderRisk(a, standardInput, out, err);
  int status = 0;
  std::optional<Loaded> loaded = loadRegime(a.input, standardInput, err, status);
  if (!loaded) return status;
  econ::RiskSimulator simulator(loaded->regime, loaded->values, a.model);
  econ::RiskSummary summary = simulator.run(jobsOf(a.jobs), a.bins.value_or(kDefaultBins));
  econ::Measures steady =
      econ::measuresOf(econ::pricedFlows(loaded->regime, loaded->values), a.model.management);
  RiskReport report{loaded->regime, loaded->values, a.model, steady, summary};
  return writeReport(out, err, rendered(a.format, report, riskText, riskJson, riskCsv));
}

}  // namespace keldovar::cli

// keldovar-cli optimize: reading the search-space file, writing the best regimes as text, JSON
// or CSV, and merging the JSON of sharded searches.
#include "cli/optimize.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <thread>

#include "cli/json_reader.h"
#include "cli/output.h"
#include "engine/report_text.h"
#include "script/carbon_checks.h"
#include "script/script.h"

namespace keldovar::cli {
namespace {

using econ::Management;
using keldovar::StepKind;

std::string trim(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t\r");
  return std::string(text.substr(begin, end - begin + 1));
}

std::vector<std::string> splitList(const std::string& text) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string::npos) comma = text.size();
    std::string item = trim(std::string_view(text).substr(pos, comma - pos));
    if (!item.empty()) items.push_back(item);
    pos = comma + 1;
  }
  return items;
}

std::optional<int> wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(text);
}

// "20-40, 45, 50-120/5": single numbers and ranges with an optional step.
std::optional<std::vector<int>> numberList(const std::string& text) {
  std::vector<int> values;
  for (const std::string& item : splitList(text)) {
    std::size_t dash = item.find('-');
    std::size_t slash = item.find('/');
    std::optional<int> from = wholeNumber(trim(item.substr(0, std::min(dash, slash))));
    std::optional<int> to = from;
    std::optional<int> step = 1;
    if (dash != std::string::npos) to = wholeNumber(trim(item.substr(dash + 1, slash - dash - 1)));
    if (slash != std::string::npos) step = wholeNumber(trim(item.substr(slash + 1)));
    if (!from || !to || !step || *step < 1 || *to < *from) return std::nullopt;
    for (int v = *from; v <= *to; v += *step) {
      if (values.size() >= static_cast<std::size_t>(econ::kMaxListLength)) return std::nullopt;
      values.push_back(v);
    }
  }
  return values;
}

// One script line as a step; the error text otherwise.
std::string scriptStep(const std::string& line, Step& step) {
  ParsedScript parsed = parseScript(line);
  if (!parsed.errors.empty()) return parsed.errors.front().message;
  if (parsed.commands.size() != 1) return "give one script command";
  StepKind kind = parsed.commands.front().kind;
  if (kind == StepKind::Harvest || kind == StepKind::Reset) {
    return "harvest and reset cannot start a regime";
  }
  step = {kind, parsed.commands.front().fields};
  return "";
}

// A `carbon` start line values every regime with its carbon: the search keeps its values.
std::string carbonStart(const Step& step, econ::SearchSpace& space) {
  Checked<carbon::CarbonValues, CarbonField> checked = checkCarbonKeys(space.carbon, step.fields);
  if (!checked.ok()) return "carbon: " + checked.failure().text;
  space.carbon = checked.accepted();
  return "";
}

bool standStart(StepKind kind) {
  return kind == StepKind::Unthinned || kind == StepKind::Thinned || kind == StepKind::Plantation;
}

struct SpaceDraft {
  std::vector<std::string> methodWords = {"thinomatic"};
  std::vector<int> rowPercents = {33};
};

std::string methodChoices(const SpaceDraft& draft, econ::SearchSpace& space) {
  space.methods.clear();
  for (const std::string& word : draft.methodWords) {
    if (word == "row") {
      space.methods.push_back({econ::ThinMethod::Row, 0});
    } else if (word == "low") {
      space.methods.push_back({econ::ThinMethod::Low, 0});
    } else if (word == "thinomatic") {
      space.methods.push_back({econ::ThinMethod::Thinomatic, 0});
    } else if (word == "rowlow") {
      for (int p : draft.rowPercents) space.methods.push_back({econ::ThinMethod::RowLow, p});
    } else {
      return "methods are row, low, rowlow and thinomatic, not '" + word + "'";
    }
  }
  return "";
}

std::string listKey(const std::string& key, const std::string& value, econ::SearchSpace& space,
                    SpaceDraft& draft) {
  std::map<std::string, std::vector<int>*> lists = {
      {"rotations", &space.rotations},          {"thinnings", &space.thinningCounts},
      {"thin_ages", &space.thinAges},           {"residual_ba", &space.residualBA},
      {"fertilize_ages", &space.fertilizeAges}, {"row_percents", &draft.rowPercents}};
  auto list = lists.find(key);
  if (list == lists.end()) return "unknown key '" + key + "'";
  std::optional<std::vector<int>> numbers = numberList(value);
  if (!numbers) return key + ": give numbers and ranges such as 20-40 or 50-120/5";
  *list->second = *numbers;
  return "";
}

std::string spaceKey(const std::string& key, const std::string& value, ParsedSpace& parsed,
                     SpaceDraft& draft) {
  econ::SearchSpace& space = parsed.space;
  if (key == "start") {
    Step step;
    std::string error = scriptStep(value, step);
    if (error.empty() && step.kind == StepKind::Carbon) error = carbonStart(step, space);
    if (error.empty()) {
      if (step.kind != StepKind::Carbon) space.start.push_back(step);
      parsed.startLines.push_back(value);
    }
    return error;
  }
  if (key == "fertilizer") {
    Step step;
    std::string error = scriptStep("fertilize " + value, step);
    if (error.empty()) space.fertilizer = step.fields;
    return error;
  }
  if (key == "management") {
    if (value != "pulpwood" && value != "sawtimber") return "management is pulpwood or sawtimber";
    space.management = value == "pulpwood" ? Management::Pulpwood : Management::Sawtimber;
    return "";
  }
  if (key == "methods") {
    draft.methodWords = splitList(value);
    return "";
  }
  if (key == "best") {
    std::optional<int> best = wholeNumber(value);
    if (!best) return "best takes a whole number";
    space.best = *best;
    return "";
  }
  return listKey(key, value, space, draft);
}

}  // namespace

ParsedSpace parseSearchSpace(std::string_view text, SpaceStart start) {
  ParsedSpace parsed;
  SpaceDraft draft;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string line(text.substr(pos, end - pos));
    ++lineNumber;
    pos = end + 1;
    line = trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      parsed.errors.push_back({lineNumber, "'" + line + "' is not key = value"});
      continue;
    }
    std::string key = trim(line.substr(0, eq));
    std::size_t steps = parsed.space.start.size();
    std::string error = spaceKey(key, trim(line.substr(eq + 1)), parsed, draft);
    if (error.empty() && start == SpaceStart::FromStand && parsed.space.start.size() > steps &&
        standStart(parsed.space.start.back().kind)) {
      error = "the stand gives the start's initialization: leave it out";
    }
    if (!error.empty()) parsed.errors.push_back({lineNumber, error});
  }
  std::string error = methodChoices(draft, parsed.space);
  econ::SearchSpace checked = parsed.space;
  if (start == SpaceStart::FromStand) checked.start.push_back({StepKind::Plantation, {}});
  if (error.empty()) error = econ::checkSpace(checked);
  if (!error.empty()) parsed.errors.push_back({0, error});
  return parsed;
}

namespace {

ReportedMeasures reported(const econ::Measures& m) {
  std::optional<double> irr;
  if (m.irr) irr = *m.irr * 100;
  return {m.npv, m.lev, irr};
}

}  // namespace

SearchReport reportOf(const econ::SearchResult& result, const std::vector<std::string>& start,
                      int best) {
  SearchReport report;
  report.newPlantation = result.newPlantation;
  report.management = result.management;
  report.candidates = result.candidates;
  report.valued = result.valued;
  report.refused = result.refused;
  report.best = best;
  for (const econ::RankedRegime& r : result.best) {
    ReportedRegime shown{r.ordinal,
                         r.score,
                         r.rotation,
                         reported(r.pulpwood),
                         reported(r.sawtimber),
                         static_cast<double>(r.harvestPulpTons),
                         static_cast<double>(r.harvestIUPulpTons),
                         static_cast<double>(r.harvestSawTons),
                         start};
    for (const Step& step : r.steps) shown.script.push_back(scriptLine(step));
    report.regimes.push_back(std::move(shown));
  }
  return report;
}

SearchReport mergeReports(const std::vector<SearchReport>& shards) {
  SearchReport merged;
  if (!shards.empty()) merged = shards.front();
  merged.candidates = merged.valued = merged.refused = 0;
  merged.regimes.clear();
  for (const SearchReport& s : shards) {
    merged.candidates += s.candidates;
    merged.valued += s.valued;
    merged.refused += s.refused;
    merged.regimes.insert(merged.regimes.end(), s.regimes.begin(), s.regimes.end());
  }
  std::sort(merged.regimes.begin(), merged.regimes.end(),
            [](const ReportedRegime& a, const ReportedRegime& b) {
              return a.score != b.score ? a.score > b.score : a.ordinal < b.ordinal;
            });
  if (merged.regimes.size() > static_cast<std::size_t>(merged.best)) {
    merged.regimes.resize(static_cast<std::size_t>(merged.best));
  }
  return merged;
}

}  // namespace keldovar::cli

namespace keldovar::cli {
namespace {

std::optional<std::string> readAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string render(const SearchReport& report, OutputFormat format) {
  if (format == OutputFormat::Json) return searchJson(report);
  if (format == OutputFormat::Csv) return searchCsv(report);
  return searchText(report);
}

int merge(const OptimizeOptions& o, std::ostream& out, std::ostream& err) {
  std::vector<SearchReport> shards;
  for (const std::string& file : o.mergeFiles) {
    std::optional<std::string> text = readAll(file);
    std::optional<SearchReport> report = text ? readSearchJson(*text) : std::nullopt;
    if (!report) {
      err << "keldovar-cli: " << file << ": not the JSON result of optimize\n";
      return 1;
    }
    if (!shards.empty() && (report->newPlantation != shards.front().newPlantation ||
                            report->management != shards.front().management)) {
      err << "keldovar-cli: " << file << ": ranked otherwise than " << o.mergeFiles.front() << "\n";
      return 1;
    }
    shards.push_back(std::move(*report));
  }
  return writeReport(out, err, render(mergeReports(shards), o.format));
}

int search(const OptimizeOptions& o, std::ostream& out, std::ostream& err) {
  std::optional<std::string> text = readAll(o.space);
  if (!text) {
    err << "keldovar-cli: cannot read the search space " << o.space << "\n";
    return 2;
  }
  ParsedSpace parsed = parseSearchSpace(*text);
  for (const SpaceError& e : parsed.errors) {
    err << o.space << (e.line > 0 ? ":" + std::to_string(e.line) : std::string()) << ": "
        << e.message << "\n";
  }
  if (!parsed.errors.empty()) return 2;
  econ::SearchOptions options;
  options.jobs =
      static_cast<int>(o.jobs > 0 ? o.jobs : std::max(1u, std::thread::hardware_concurrency()));
  options.shard = o.shard;
  options.shards = o.shards;
  bool progress = isatty(STDERR_FILENO) != 0;
  if (progress) {
    options.progress = [&err](double done) {
      err << formatText("\rsearching: %3.0f %%", done * 100) << std::flush;
    };
  }
  econ::SearchResult result = econ::searchRegimes(parsed.space, options);
  if (progress) err << "\n";
  if (!result.error.empty()) {
    err << "keldovar-cli: " << o.space << ": " << result.error << "\n";
    return 1;
  }
  return writeReport(out, err,
                     render(reportOf(result, parsed.startLines, parsed.space.best), o.format));
}

}  // namespace

std::optional<std::string> parseShard(const std::string& text, OptimizeOptions& o) {
  std::size_t slash = text.find('/');
  std::optional<int> k = wholeNumber(text.substr(0, slash));
  std::optional<int> n =
      slash == std::string::npos ? std::nullopt : wholeNumber(text.substr(slash + 1));
  if (!k || !n || *k < 1 || *k > *n) return std::string("--shard takes K/N with 1 <= K <= N");
  o.shard = *k;
  o.shards = *n;
  return std::nullopt;
}

int runOptimize(const OptimizeOptions& options, std::ostream& out, std::ostream& err) {
  return options.merge ? merge(options, out, err) : search(options, out, err);
}

}  // namespace keldovar::cli

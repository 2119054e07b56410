// Running a stand's script and reading its tables, value and cash flows.
#include "forest/stand_run.h"

#include <algorithm>
#include <cstring>

#include "carbon/biomass.h"
#include "document/settings.h"
#include "econ/carbon_flows.h"
#include "script/runner.h"
#include "script/script.h"

namespace keldovar::forest {
namespace {

// The history records one stored step added, and the stand's age after it.
struct StoredStep {
  int table = 0;
  double age = 0;
  int firstRecord = 0;
  int endRecord = 0;
};

// The message as the stand reports it: a refusal of the stand's own values names only the
// key; the regime's lines are named by the regime file's name and line.
std::string shownMessage(const std::string& text, int line, int initializationLine,
                         const std::string& regimeName) {
  if (line == initializationLine) return text;
  int regimeLine = line > initializationLine ? line - 1 : line;
  return regimeName + ":" + std::to_string(regimeLine) + ": " + text;
}

// How the stand's script ran so far.
struct ScriptRun {
  ScriptRun(const Clock& clock, int initialization, std::string regime)
      : runner(clock, builtInDefaults().options),
        initializationLine(initialization),
        regimeName(std::move(regime)) {}
  Runner runner;
  int initializationLine;
  std::string regimeName;
  std::vector<StoredStep> steps;
  std::string messages;  // in the order `keldovar-cli run` prints them
  std::size_t reported = 0;
  bool failed = false;

  void report(int line, const std::string& text) {
    messages += shownMessage(text, line, initializationLine, regimeName) + "\n";
  }
};

// Runs commands [from, end) of the script until one fails.
void runCommands(const ParsedScript& script, std::size_t from, ScriptRun& run) {
  for (std::size_t i = from; i < script.commands.size() && !run.failed; ++i) {
    const Command& command = script.commands[i];
    const TableStore& store = run.runner.document().store();
    int tables = store.count();
    int records = store.snapshot.historyCount;
    run.failed = !run.runner.run(command);
    for (; run.reported < run.runner.messages().size(); ++run.reported) {
      const RecordedMessage& m = run.runner.messages()[run.reported];
      run.report(m.line, messageText(m));
    }
    if (const char* reason = run.runner.unspokenReason()) run.report(command.line, reason);
    if (store.count() > tables) {
      // A harvest closes the stand and its history; the harvest table still shows it.
      int end = std::max(store.snapshot.historyCount, store.newest()->historyLast + 1);
      run.steps.push_back({store.lastIndex, store.snapshot.AG, records, end});
    }
  }
}

Figures figuresOf(const HistoryRecord& r, double sign) {
  return {sign * r.trees, sign * r.basal_area, sign * r.volume,
          sign * r.cords, sign * r.topcords,   sign * r.bdft};
}

std::string labelOf(const HistoryRecord& record) {
  return std::string(record.label, strnlen(record.label, kLabelLength));
}

double standingCo2e(const ReportTable& table) {
  double kg = carbon::carbonOf(carbon::standBiomass(table).tree());
  return carbon::massIn(carbon::co2eOf(kg), carbon::MassUnit::ShortTon);
}

TableRow tableRow(const TableStore& store, const StoredStep& step, double origin) {
  const ReportTable& table = store.tables[static_cast<std::size_t>(step.table)];
  TableRow row;
  row.table = step.table + 1;
  row.age = step.age;
  row.year = step.age - origin;
  const HistoryRecord* removal = nullptr;
  const HistoryRecord* standing = nullptr;
  for (int r = step.firstRecord; r < step.endRecord && r < kHistoryCapacity; ++r) {
    const HistoryRecord& record = table.history[static_cast<std::size_t>(r)];
    if (record.basal_area < 0 || record.trees < 0) {
      if (removal == nullptr) removal = &record;
    } else if (labelOf(record) != "Fertilization") {
      standing = &record;
    }
  }
  // After a harvest the stand's age is gone; its records keep it.
  if (removal != nullptr || standing != nullptr) {
    row.age = (standing != nullptr ? standing : removal)->age;
    row.year = row.age - origin;
  }
  if (removal != nullptr) row.removed = figuresOf(*removal, -1);
  if (standing != nullptr) {
    row.standing = figuresOf(*standing, 1);
    row.co2e = standingCo2e(table);
  }
  row.label = removal != nullptr    ? labelOf(*removal)
              : standing != nullptr ? labelOf(*standing)
                                    : std::string();
  return row;
}

// The harvested regime's value at the document's financial and carbon values.
std::optional<StandValue> standValue(const DocumentContent& content, double origin) {
  const TableStore& store = content.store;
  if (store.lastIndex < 0) return std::nullopt;
  const FinancialValues& values = content.settings.financial;
  std::optional<econ::RegimeFlows> flows =
      econ::regimeFlows(store, store.lastIndex, values, content.carbon);
  if (!flows) return std::nullopt;
  StandValue value;
  value.rotation = flows->rotation;
  value.pulpwood = econ::measuresOf(*flows, econ::Management::Pulpwood);
  value.sawtimber = econ::measuresOf(*flows, econ::Management::Sawtimber);
  value.harvestPulpTons = static_cast<double>(flows->harvestPulpTons);
  value.harvestIUPulpTons = static_cast<double>(flows->harvestIUPulpTons);
  value.harvestSawTons = static_cast<double>(flows->harvestSawTons);
  value.interest = values.interestRate;
  if (flows->newPlantation && values.establishmentCost != 0) {
    double cost = -static_cast<double>(values.establishmentCost);
    value.flows.push_back({0 - origin, cost, cost});
  }
  for (const econ::CashFlow& flow : flows->flows) {
    value.flows.push_back({flow.year - origin, static_cast<double>(flow.pulpwood),
                           static_cast<double>(flow.sawtimber)});
  }
  return value;
}

void finish(ScriptRun& run, StandResult& result) {
  result.messages = run.messages + result.messages;
  const DocumentContent& content = run.runner.document().content();
  const TableStore& store = content.store;
  bool plantation = store.snapshot.existingStand == 0;
  double origin = plantation || run.steps.empty() ? 0 : run.steps.front().age;
  for (const StoredStep& step : run.steps) result.tables.push_back(tableRow(store, step, origin));
  result.ok = !run.failed;
  if (result.ok) result.value = standValue(content, origin);
}

void handOver(const ScriptRun& run, StandDocument* document) {
  if (document == nullptr) return;
  document->content = run.runner.document().content();
  document->messages = run.runner.messages();
}

const RegimeTemplate* templateOf(const StandEntry& entry, const Plan& plan, std::string& error) {
  const std::string& own = entry.stand->regime;
  if (own.empty()) {
    if (plan.regime == nullptr)
      error = "regime: no regime for this stand: give --regime or the row's own";
    return plan.regime;
  }
  auto found = plan.standRegimes.find(own);
  if (found == plan.standRegimes.end()) {
    error = "regime: " + own + " was not read";
    return nullptr;
  }
  if (!found->second.error.empty()) {
    error = found->second.error;
    if (!error.empty() && error.back() == '\n') error.pop_back();
    return nullptr;
  }
  return &found->second;
}

void runTemplate(const StandEntry& entry, const RegimeTemplate& regime, const Clock& clock,
                 StandDocument* document, StandResult& result) {
  result.script = composedScript(regime, initializationLine(*entry.stand));
  ScriptRun run(clock, static_cast<int>(regime.initializationAt) + 1, regime.name);
  runCommands(parseScript(result.script), 0, run);
  finish(run, result);
  handOver(run, document);
}

Step initializationStep(const Stand& stand) {
  switch (stand.kind) {
    case StandKind::Unthinned:
      return {StepKind::Unthinned, stand.fields};
    case StandKind::Thinned:
      return {StepKind::Thinned, stand.fields};
    case StandKind::Plantation:
      break;
  }
  return {StepKind::Plantation, stand.fields};
}

// The stand's best regime and its whole script; false when none could be valued.
bool searchBest(const StandEntry& entry, const SpacePlan& plan, const std::atomic<bool>* cancel,
                StandResult& result) {
  econ::SearchSpace space = plan.space;
  space.start.push_back(initializationStep(*entry.stand));
  space.best = 1;
  econ::SearchOptions options;
  options.cancel = cancel;
  econ::SearchResult searched = econ::searchRegimes(space, options);
  result.candidates = searched.candidates;
  result.refused = searched.refused;
  if (searched.cancelled) {
    result.messages += "the search was cancelled\n";
    return false;
  }
  if (searched.best.empty()) {
    result.messages += searched.error.empty() ? "no regime of the search space could be valued\n"
                                              : searched.error + "\n";
    return false;
  }
  result.script += regimeScript(searched.best.front().steps);
  return true;
}

void runSearch(const StandEntry& entry, const SpacePlan& plan, const Clock& clock,
               const std::atomic<bool>* cancel, StandDocument* document, StandResult& result) {
  for (const std::string& line : plan.startLines) result.script += line + "\n";
  result.script += initializationLine(*entry.stand) + "\n";
  ScriptRun run(clock, static_cast<int>(plan.startLines.size()) + 1, "regime");
  ParsedScript started = parseScript(result.script);
  runCommands(started, 0, run);
  if (!run.failed && searchBest(entry, plan, cancel, result)) {
    runCommands(parseScript(result.script), started.commands.size(), run);
  } else {
    run.failed = true;
  }
  finish(run, result);
  handOver(run, document);
}

}  // namespace

LocalTime inventoryClockTime() {
  return LocalTime{};
}

StandResult runStand(const StandEntry& entry, const Plan& plan, StandDocument* document,
                     const std::atomic<bool>* cancel) {
  StandResult result;
  result.row = entry.row;
  result.line = entry.line;
  result.stand = entry.id;
  result.kind = entry.stand ? kindWord(entry.stand->kind) : entry.kind;
  result.acres = entry.acres;
  result.passThrough = entry.passThrough;
  std::string error = entry.failure;
  const RegimeTemplate* regime = nullptr;
  if (error.empty() && plan.space == nullptr) regime = templateOf(entry, plan, error);
  if (!error.empty()) {
    result.messages = error + "\n";
    return result;
  }
  FixedClock clock(inventoryClockTime());
  if (plan.space != nullptr) {
    runSearch(entry, *plan.space, clock, cancel, document, result);
  } else {
    runTemplate(entry, *regime, clock, document, result);
  }
  return result;
}

}  // namespace keldovar::forest

// keldovar-cli inventory: reading the inventory and its regime or search space, running the
// stands (resuming a killed run), writing the results, and merging shards.
#include "cli/inventory.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <thread>

#include "cli/command_line.h"
#include "cli/inventory_merge.h"
#include "cli/inventory_options.h"
#include "cli/optimize.h"
#include "engine/report_text.h"
#include "forest/forest_run.h"
#include "forest/inventory_file.h"
#include "forest/run_inputs.h"
#include "forest/sqlite_results.h"
#include "forest/stand_run.h"
#include "script/script.h"

namespace keldovar::cli {
namespace {

using namespace forest;
namespace keys = forest::manifest_keys;
using Clock = std::chrono::steady_clock;

std::string commandLine(const std::vector<std::string>& args) {
  std::string line = "keldovar-cli";
  for (const std::string& arg : args) {
    bool plain = !arg.empty() && arg.find_first_of(" \t\"'\\$") == std::string::npos;
    line += " " + (plain ? arg : "'" + arg + "'");
  }
  return line;
}

// Everything a run needs before its first stand; `error` set when it cannot start.
struct Prepared {
  LoadedInventory loaded;
  CheckedInventory checked;
  RegimeTemplate regime;
  SpacePlan space;
  Plan plan;
  Manifest manifest;
  std::string error;
};

void preparePlan(const InventoryOptions& o, Prepared& p) {
  if (o.regime) {
    InputFile file = readInputFile(*o.regime);
    p.regime = readTemplate(file.text, *o.regime);
    p.error = file.error.empty() ? p.regime.error : file.error;
    p.manifest.set(keys::kPlan, "regime");
    p.manifest.set("regime", *o.regime);
    p.manifest.set(std::string(keys::kDigestPrefix) + "regime", file.sha256);
    p.plan.regime = &p.regime;
  } else if (o.space) {
    InputFile file = readInputFile(*o.space);
    ParsedSpace parsed = parseSearchSpace(file.text, SpaceStart::FromStand);
    for (const SpaceError& e : parsed.errors) {
      p.error +=
          *o.space + (e.line > 0 ? ":" + std::to_string(e.line) : "") + ": " + e.message + "\n";
    }
    if (!file.error.empty()) p.error = file.error;
    p.space = {parsed.space, parsed.startLines};
    p.manifest.set(keys::kPlan, "space");
    p.manifest.set("space", *o.space);
    p.manifest.set(std::string(keys::kDigestPrefix) + "space", file.sha256);
    p.plan.space = &p.space;
  } else {
    p.manifest.set(keys::kPlan, "regime");
  }
  if (p.error.empty() && !o.space) {
    readStandRegimes(p.checked, p.loaded.path, p.plan, p.manifest);
  }
}

void prepare(const std::vector<std::string>& args, const InventoryOptions& o, Prepared& p) {
  p.manifest.set(keys::kProgram, std::string("keldovar-cli ") + kVersion);
  p.manifest.set(keys::kCommand, commandLine(args));
  p.loaded = loadInventory(o.stands);
  if (!p.loaded.error.empty()) {
    p.error = p.loaded.error;
    return;
  }
  p.checked = checkInventory(p.loaded.inventory);
  if (!p.checked.error.empty()) {
    p.error = p.loaded.inventory.source + ": " + p.checked.error;
    return;
  }
  p.manifest.set("inventory", p.loaded.path);
  p.manifest.set(keys::kTable, p.loaded.table);
  p.manifest.set(std::string(keys::kDigestPrefix) + "inventory", p.loaded.sha256);
  preparePlan(o, p);
  p.manifest.set(keys::kShard,
                 std::to_string(o.shard.shard) + "/" + std::to_string(o.shard.shards));
  p.manifest.set("clock", "2000-01-01 00:00:00");
}

// A failed stand's messages on standard error, each line led by where the stand is.
std::string failureLines(const std::string& source, const StandResult& r) {
  std::string place = source + ": row " + std::to_string(r.row);
  if (r.line > 0) place += " (line " + std::to_string(r.line) + ")";
  place += ", stand " + (r.stand.empty() ? std::string("(no id)") : shownWord(r.stand)) + ": ";
  std::string lines;
  std::size_t at = 0;
  while (at < r.messages.size()) {
    std::size_t end = r.messages.find('\n', at);
    if (end == std::string::npos) end = r.messages.size();
    lines += place + r.messages.substr(at, end - at) + "\n";
    at = end + 1;
  }
  return lines;
}

class Progress {
 public:
  Progress(std::ostream& err, bool shown) : err_(err), shown_(shown), start_(Clock::now()) {}
  ~Progress() {
    if (drawn_) err_ << "\n" << std::flush;
  }
  void operator()(std::size_t done, std::size_t total) {
    if (!shown_) return;
    Clock::time_point now = Clock::now();
    if (done < total && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    double seconds = std::chrono::duration<double>(now - start_).count();
    double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    double left = rate > 0 ? static_cast<double>(total - done) / rate : 0;
    err_ << formatText("\rstands %zu / %zu  %.1f a second  %d:%02d left ", done, total, rate,
                       static_cast<int>(left) / 60, static_cast<int>(left) % 60)
         << std::flush;
    drawn_ = true;
  }

 private:
  std::ostream& err_;
  bool shown_;
  Clock::time_point start_;
  Clock::time_point last_;
  bool drawn_ = false;
};

class WritingSink final : public StandSink {
 public:
  WritingSink(ResultWriter& writer, const std::string& source, std::ostream& err)
      : writer_(writer), source_(source), err_(err) {}
  void stand(const StandResult& result) override {
    if (!result.ok) err_ << failureLines(source_, result);
    writer_.stand(recordOf(result));
  }

 private:
  ResultWriter& writer_;
  const std::string& source_;
  std::ostream& err_;
};

int finishedStatus(const Manifest& manifest) {
  return manifest.get(keys::kFailed).value_or("0") == "0" ? 0 : kExitFailedStep;
}

// A resumed run whose results are already complete: nothing to do.
std::optional<int> alreadyComplete(const InventoryOptions& o, const Manifest& manifest,
                                   std::ostream& err) {
  std::error_code ignored;
  if (!o.resume || !o.out || std::filesystem::exists(partPath(*o.out), ignored) ||
      !std::filesystem::exists(*o.out, ignored)) {
    return std::nullopt;
  }
  StoredResults stored = readResults(*o.out);
  if (!identityDifference(stored.manifest, manifest, false).empty()) return std::nullopt;
  err << "keldovar-cli: " << *o.out << " is complete: nothing to resume\n";
  return finishedStatus(stored.manifest);
}

int run(const std::vector<std::string>& args, const InventoryOptions& o, std::ostream& out,
        std::ostream& err) {
  Prepared p;
  prepare(args, o, p);
  if (!p.error.empty()) {
    err << "keldovar-cli: " << p.error << (p.error.back() == '\n' ? "" : "\n");
    return kExitUsage;
  }
  if (std::optional<int> complete = alreadyComplete(o, p.manifest, err)) return *complete;
  OpenedResults results = openResults(o, p.checked.passThrough, out);
  p.manifest.set(keys::kStarted, utcNow());
  if (!results.resumed.entries.empty()) {
    std::string differs = identityDifference(results.resumed, p.manifest, false);
    if (!differs.empty()) {
      err << "keldovar-cli: --resume: " << partPath(*o.out) << " was made by another run ("
          << differs << " differs)\n";
      return kExitUsage;
    }
    p.manifest.set(keys::kStarted, results.resumed.get(keys::kStarted).value_or(""));
  }
  ForestOptions options;
  options.jobs =
      o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  options.shard = o.shard.shard;
  options.shards = o.shard.shards;
  std::set<int> done(results.done.begin(), results.done.end());
  options.done = [&done](int row) { return done.count(row) != 0; };
  Progress progress(err, isatty(STDERR_FILENO) != 0);
  options.progress = [&progress](std::size_t d, std::size_t t) { progress(d, t); };
  WritingSink sink(*results.writer, p.loaded.inventory.source, err);
  runForest(p.checked, p.plan, options, sink);
  p.manifest.set(keys::kFinished, utcNow());
  results.writer->finish(p.manifest);
  results.commit();
  return finishedStatus(p.manifest);
}

}  // namespace

int runInventory(const std::vector<std::string>& args, const InventoryOptions& options,
                 std::ostream& out, std::ostream& err) {
  if (auto refused = refusedResultFile(options, forest::inventoryPath(options.stands))) {
    err << "keldovar-cli: " << *refused << "\n";
    return kExitUsage;
  }
  try {
    return options.merge ? mergeInventory(args, options, out, err) : run(args, options, out, err);
  } catch (const ForestError& error) {
    err << "keldovar-cli: " << error.what() << "\n";
    return kExitFailedStep;
  }
}

}  // namespace keldovar::cli

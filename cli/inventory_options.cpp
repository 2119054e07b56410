// Reading keldovar-cli inventory's options and opening its results.
#include "cli/inventory_options.h"

#include <charconv>
#include <filesystem>

#include "cli/input.h"

#include "forest/sqlite_results.h"
#include "forest/stream_results.h"
#include "forest/text_out.h"

namespace keldovar::cli {
namespace {

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [at, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || at != end || value < 0) return std::nullopt;
  return value;
}

std::optional<int> variable(const Environment& environment, const char* name) {
  const char* value = environment(name);
  return value != nullptr ? wholeNumber(value) : std::nullopt;
}

// The task of a job array, counted from 1, and the number of tasks; false when there is none.
bool arrayTask(const Environment& env, ShardChoice& choice) {
  std::optional<int> id = variable(env, "SLURM_ARRAY_TASK_ID");
  std::optional<int> count = variable(env, "SLURM_ARRAY_TASK_COUNT");
  if (id && count) {
    int first = variable(env, "SLURM_ARRAY_TASK_MIN").value_or(0);
    int step = std::max(1, variable(env, "SLURM_ARRAY_TASK_STEP").value_or(1));
    choice = {(*id - first) / step + 1, *count};
    return true;
  }
  id = variable(env, "SGE_TASK_ID");
  std::optional<int> first = variable(env, "SGE_TASK_FIRST");
  std::optional<int> last = variable(env, "SGE_TASK_LAST");
  if (id && first && last) {
    int step = std::max(1, variable(env, "SGE_TASK_STEPSIZE").value_or(1));
    choice = {(*id - *first) / step + 1, (*last - *first) / step + 1};
    return true;
  }
  return false;
}

std::optional<ResultFormat> formatWord(const std::string& word) {
  if (word == "sqlite") return ResultFormat::Sqlite;
  if (word == "csv") return ResultFormat::Csv;
  if (word == "jsonl") return ResultFormat::Jsonl;
  if (word == "text") return ResultFormat::Text;
  return std::nullopt;
}

std::optional<ResultFormat> extensionFormat(const std::string& path) {
  for (const char* sqlite : {".sqlite", ".sqlite3", ".db", ".gpkg"}) {
    if (path.ends_with(sqlite)) return ResultFormat::Sqlite;
  }
  if (path.ends_with(".csv")) return ResultFormat::Csv;
  if (path.ends_with(".jsonl")) return ResultFormat::Jsonl;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> readInventoryValue(const std::string& option, const std::string& value,
                                              const Environment& environment, InventoryOptions& o) {
  if (option == "--regime") {
    o.regime = value;
  } else if (option == "--space") {
    o.space = value;
  } else if (option == "--out") {
    o.out = value;
  } else if (option == "--format") {
    o.format = formatWord(value);
    if (!o.format) return "--format takes sqlite, csv, jsonl or text, not '" + value + "'";
  } else if (option == "--units") {
    if (!parseUnitSystem(value, o.units)) {
      return "--units takes imperial or metric, not '" + value + "'";
    }
  } else if (option == "--jobs") {
    std::optional<int> jobs = wholeNumber(value);
    if (!jobs || *jobs < 1 || *jobs > 256) return "--jobs takes 1 to 256, not '" + value + "'";
    o.jobs = *jobs;
  } else {
    o.shardText = value;
    return parseShard(value, environment, o.shard);
  }
  return std::nullopt;
}

std::optional<std::string> checkInventoryOptions(const InventoryOptions& o) {
  if (o.merge) {
    if (o.mergeFiles.empty()) return std::string("--merge takes the results of the shards");
    if (o.regime || o.space || o.resume || o.shard.shards > 1) {
      return std::string("--merge takes results only: no --regime, --space, --resume or --shard");
    }
  } else if (o.stands.empty()) {
    return std::string("no inventory given");
  }
  if (o.regime && o.space) return std::string("give --regime or --space, not both");
  std::optional<ResultFormat> byName = o.out ? extensionFormat(*o.out) : std::nullopt;
  if (o.out && !byName && !o.format) {
    return "--out " + *o.out + ": name .sqlite, .db, .gpkg, .csv or .jsonl, or give --format";
  }
  if (o.out && o.format == ResultFormat::Text) return std::string("text goes to the terminal only");
  if (!o.out && o.format == ResultFormat::Sqlite) return std::string("SQLite results need --out");
  if (o.units == UnitSystem::Metric && resultFormat(o) == ResultFormat::Sqlite) {
    return std::string(
        "SQLite results stay imperial, as runs resume and merge from them: --units metric "
        "writes CSV, JSON Lines or text");
  }
  if (o.resume && resultFormat(o) != ResultFormat::Sqlite) {
    return std::string("--resume goes on with SQLite results: --out RESULT.sqlite");
  }
  return std::nullopt;
}

std::optional<std::string> parseShard(const std::string& text, const Environment& environment,
                                      ShardChoice& choice) {
  if (text == "auto") {
    if (!arrayTask(environment, choice)) {
      return std::string(
          "--shard auto: no job array in the environment (SLURM_ARRAY_TASK_ID "
          "and SLURM_ARRAY_TASK_COUNT, or SGE_TASK_ID, SGE_TASK_FIRST and "
          "SGE_TASK_LAST)");
    }
  } else {
    std::size_t slash = text.find('/');
    std::optional<int> k = wholeNumber(std::string_view(text).substr(0, slash));
    std::optional<int> n = slash == std::string::npos
                               ? std::nullopt
                               : wholeNumber(std::string_view(text).substr(slash + 1));
    if (!k || !n) return "--shard takes K/N or auto, not '" + text + "'";
    choice = {*k, *n};
  }
  if (choice.shards < 1 || choice.shard < 1 || choice.shard > choice.shards) {
    return "--shard " + text + ": shard " + std::to_string(choice.shard) + " of " +
           std::to_string(choice.shards) + " is none";
  }
  return std::nullopt;
}

std::optional<std::string> refusedResultFile(const InventoryOptions& o,
                                             const std::string& inventoryFile) {
  if (!o.out) return std::nullopt;
  std::vector<std::string> outputs = {*o.out};
  if (resultFormat(o) == ResultFormat::Csv) outputs = forest::csvFileNames(*o.out);
  std::vector<std::string> inputs = o.mergeFiles;
  for (const auto& input : {std::optional<std::string>(inventoryFile), o.regime, o.space}) {
    if (input) inputs.push_back(*input);
  }
  for (const std::string& output : outputs) {
    for (const std::string& file : {output, forest::partPath(output)}) {
      if (auto refused = refusedOutput(file)) return refused;
      for (const std::string& input : inputs) {
        std::error_code error;
        if (std::filesystem::equivalent(file, input, error)) {
          return "--out " + *o.out + " would write over " + input;
        }
      }
    }
  }
  return std::nullopt;
}

ResultFormat resultFormat(const InventoryOptions& o) {
  if (o.format) return *o.format;
  if (o.out) return extensionFormat(*o.out).value_or(ResultFormat::Sqlite);
  return ResultFormat::Text;
}

void OpenedResults::commit() {
  for (auto& output : outputs) {
    if (auto* file = dynamic_cast<forest::PartFile*>(output.get())) file->commit();
  }
}

OpenedResults openResults(const InventoryOptions& o, const std::vector<std::string>& passThrough,
                          std::ostream& out) {
  OpenedResults opened;
  ResultFormat format = resultFormat(o);
  auto target = [&](const std::string& path) -> forest::TextOutput* {
    if (o.out) {
      opened.outputs.push_back(std::make_unique<forest::PartFile>(path));
    } else {
      opened.outputs.push_back(std::make_unique<forest::StreamOutput>(out, "standard output"));
    }
    return opened.outputs.back().get();
  };
  switch (format) {
    case ResultFormat::Sqlite: {
      auto sqlite = std::make_unique<forest::SqliteResults>(*o.out, passThrough, o.resume);
      opened.resumed = sqlite->resumed();
      opened.done.assign(sqlite->done().begin(), sqlite->done().end());
      opened.writer = std::move(sqlite);
      break;
    }
    case ResultFormat::Csv: {
      forest::CsvTargets targets;
      if (o.out) {
        std::vector<std::string> names = forest::csvFileNames(*o.out);
        targets = {target(names[0]), target(names[1]), target(names[2]), target(names[3]),
                   target(names[4])};
      } else {
        targets.forest = target("");
      }
      opened.writer = std::make_unique<forest::CsvResults>(targets, passThrough, o.units);
      break;
    }
    case ResultFormat::Jsonl:
      opened.writer =
          std::make_unique<forest::JsonlResults>(*target(o.out.value_or("")), passThrough, o.units);
      break;
    case ResultFormat::Text:
      opened.writer = std::make_unique<forest::PlainResults>(*target(""), o.units);
      break;
  }
  return opened;
}

}  // namespace keldovar::cli

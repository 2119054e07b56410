// Merging the results of an inventory's shards: checked to be the parts of one run, then
// written stand by stand in the inventory's order, as one run writes them.
#include "cli/inventory_merge.h"

#include <algorithm>
#include <map>

#include "cli/command_line.h"
#include "forest/sqlite_results.h"

namespace keldovar::cli {
namespace {

using namespace forest;
namespace keys = forest::manifest_keys;

// K and N of a manifest's "K/N".
std::optional<ShardChoice> shardOf(const Manifest& manifest) {
  ShardChoice choice;
  std::string text = manifest.get(keys::kShard).value_or("");
  if (parseShard(
          text, [](const char*) { return nullptr; }, choice))
    return std::nullopt;
  if (text == "auto") return std::nullopt;
  return choice;
}

// Why the shards are not the parts of one run, or "".
std::string checkShards(const std::vector<std::string>& files,
                        const std::vector<StoredResults>& shards) {
  std::map<int, std::string> seen;
  int count = 0;
  for (std::size_t i = 0; i < shards.size(); ++i) {
    const Manifest& m = shards[i].manifest;
    if (!m.get(keys::kFinished)) return files[i] + " is not finished: resume its run first";
    std::string differs = identityDifference(shards.front().manifest, m, true);
    if (!differs.empty()) {
      return files[i] + " is not a part of the run of " + files.front() + " (" + differs +
             " differs)";
    }
    if (shards[i].passThrough != shards.front().passThrough) {
      return files[i] + " carries other columns than " + files.front();
    }
    std::optional<ShardChoice> shard = shardOf(m);
    if (!shard) return files[i] + " names no shard";
    if (count == 0) count = shard->shards;
    if (shard->shards != count) return files[i] + " is a shard of another split";
    auto [other, added] = seen.emplace(shard->shard, files[i]);
    if (!added)
      return files[i] + " and " + other->second + " are both shard " + std::to_string(shard->shard);
  }
  for (int k = 1; k <= count; ++k) {
    if (seen.count(k) == 0) {
      return "shard " + std::to_string(k) + " of " + std::to_string(count) + " is missing";
    }
  }
  return "";
}

Manifest mergedManifest(const std::vector<std::string>& args,
                        const std::vector<StoredResults>& shards) {
  Manifest merged;
  for (const auto& [key, value] : shards.front().manifest.entries) {
    if (key == keys::kStands || key == keys::kFailed || key == keys::kFinished) continue;
    merged.set(key, value);
  }
  std::string command = "keldovar-cli";
  for (const std::string& arg : args) command += " " + arg;
  merged.set(keys::kCommand, command);
  merged.set(keys::kShard, "1/1");
  std::string started = merged.get(keys::kStarted).value_or("");
  for (const StoredResults& shard : shards) {
    started = std::min(started, shard.manifest.get(keys::kStarted).value_or(started));
  }
  merged.set(keys::kStarted, started);
  merged.set(keys::kFinished, utcNow());
  return merged;
}

}  // namespace

int mergeInventory(const std::vector<std::string>& args, const InventoryOptions& o,
                   std::ostream& out, std::ostream& err) {
  std::vector<StoredResults> shards;
  for (const std::string& file : o.mergeFiles) shards.push_back(readResults(file));
  std::string error = checkShards(o.mergeFiles, shards);
  std::vector<StandRecord*> stands;
  std::map<std::int64_t, const std::string*> rows;
  for (std::size_t i = 0; i < shards.size() && error.empty(); ++i) {
    for (StandRecord& record : shards[i].stands) {
      auto [other, added] = rows.emplace(record.stand[kStandRow].integer, &o.mergeFiles[i]);
      if (!added) {
        error = "row " + std::to_string(other->first) + " is in both " + *other->second + " and " +
                o.mergeFiles[i];
        break;
      }
      stands.push_back(&record);
    }
  }
  if (!error.empty()) {
    err << "keldovar-cli: --merge: " << error << "\n";
    return kExitFailedStep;
  }
  std::sort(stands.begin(), stands.end(), [](const StandRecord* a, const StandRecord* b) {
    return a->stand[kStandRow].integer < b->stand[kStandRow].integer;
  });
  Manifest manifest = mergedManifest(args, shards);
  OpenedResults results = openResults(o, shards.front().passThrough, out);
  for (const StandRecord* record : stands) results.writer->stand(*record);
  results.writer->finish(manifest);
  results.commit();
  return manifest.get(keys::kFailed).value_or("0") == "0" ? 0 : kExitFailedStep;
}

}  // namespace keldovar::cli

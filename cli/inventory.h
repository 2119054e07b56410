// keldovar-cli inventory: every stand of an inventory run through a regime template or the
// search for its best regime, on one machine or as one shard of a job array, and the merge of
// the shards' results.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace keldovar::cli {

// The environment's value of a variable, or null: getenv, or a table in tests.
using Environment = std::function<const char*(const char*)>;

struct ShardChoice {
  int shard = 1;
  int shards = 1;
};

// "K/N", or "auto": the job array's task of the batch scheduler (Slurm's
// SLURM_ARRAY_TASK_ID, _MIN, _STEP and _COUNT; Grid Engine's SGE_TASK_ID, _FIRST, _LAST and
// _STEPSIZE). The error's text otherwise.
std::optional<std::string> parseShard(const std::string& text, const Environment& environment,
                                      ShardChoice& choice);

struct InventoryOptions;

// `options` as the command line `args` (starting with "inventory", kept in the results'
// manifest) gave them. Exit status: 0 every stand ran; 1 some stand failed or the results could
// not be written; 2 an output that would write over an input or an inventory, regime or space
// that cannot be used, and nothing ran.
int runInventory(const std::vector<std::string>& args, const InventoryOptions& options,
                 std::ostream& out, std::ostream& err);

}  // namespace keldovar::cli

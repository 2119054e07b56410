// keldovar-cli inventory --merge: the shards' results combined into those one run would give.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/inventory_options.h"

namespace keldovar::cli {

// Every shard of one run, each once and finished, is required. Exit status as for a run.
int mergeInventory(const std::vector<std::string>& args, const InventoryOptions& options,
                   std::ostream& out, std::ostream& err);

}  // namespace keldovar::cli

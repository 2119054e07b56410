// Running every stand of an inventory (or of one shard of it) on several threads, each stand
// on a document and an engine of its own, the results handed on in the inventory's order
// whatever the number of threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

#include "forest/inventory.h"
#include "forest/stand_plan.h"
#include "forest/stand_result.h"

namespace keldovar::forest {

inline constexpr int kMaxJobs = 256;

struct ForestOptions {
  int jobs = 1;
  int shard = 1;  // this run takes rows shard, shard + shards, ... (counted from 1)
  int shards = 1;
  // Rows an earlier run has already written; they are not run again.
  std::function<bool(int row)> done;
  // Called on the calling thread after each stand, with the stands done and to do.
  std::function<void(std::size_t done, std::size_t total)> progress;
  // When set and true, no more stands start and no more results are handed on.
  const std::atomic<bool>* cancel = nullptr;
};

// Receives each stand's result on the calling thread, in the inventory's order.
class StandSink {
 public:
  virtual ~StandSink() = default;
  virtual void stand(const StandResult& result) = 0;
};

// Whether the row (counted from 1) belongs to the shard.
bool inShard(int row, int shard, int shards);

// False when cancelled. An exception of a stand's run or of the sink ends the run and is
// thrown again here, once every thread has stopped.
bool runForest(const CheckedInventory& inventory, const Plan& plan, const ForestOptions& options,
               StandSink& sink);

}  // namespace keldovar::forest

// The stands handed out in order to the threads; finished results wait in a ring of slots
// until the calling thread takes them in order. A thread starts a stand only when its slot is
// free, so a slow stand cannot make the rest pile up in memory.
#include "forest/forest_run.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "forest/stand_run.h"

namespace keldovar::forest {
namespace {

constexpr std::size_t kHeldPerJob = 16;

bool cancelled(const ForestOptions& options) {
  return options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed);
}

struct Slot {
  std::optional<StandResult> result;
  std::exception_ptr failure;
};

class OrderedRun {
 public:
  OrderedRun(const std::vector<const StandEntry*>& stands, const Plan& plan,
             const ForestOptions& options, int jobs)
      : stands_(stands),
        plan_(plan),
        options_(options),
        slots_(static_cast<std::size_t>(jobs) * kHeldPerJob) {
    for (int j = 0; j < jobs; ++j) threads_.emplace_back([this] { work(); });
  }

  ~OrderedRun() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    room_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }

  OrderedRun(const OrderedRun&) = delete;
  OrderedRun& operator=(const OrderedRun&) = delete;

  // The result of stand `index`, once it is done; call with 0, 1, 2, ...
  StandResult take(std::size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    Slot& slot = slots_[index % slots_.size()];
    done_.wait(lock, [&] { return slot.result.has_value() || slot.failure; });
    if (slot.failure) std::rethrow_exception(slot.failure);
    StandResult result = std::move(*slot.result);
    slot.result.reset();
    taken_ = index + 1;
    lock.unlock();
    room_.notify_all();
    return result;
  }

 private:
  const std::vector<const StandEntry*>& stands_;
  const Plan& plan_;
  const ForestOptions& options_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::condition_variable room_;
  std::vector<Slot> slots_;
  std::size_t next_ = 0;
  std::size_t taken_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;

  void work() {
    for (;;) {
      std::size_t index = 0;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [&] {
          return stopping_ || next_ >= stands_.size() || next_ < taken_ + slots_.size();
        });
        if (stopping_ || next_ >= stands_.size()) return;
        index = next_++;
      }
      Slot slot;
      try {
        slot.result = runStand(*stands_[index], plan_, nullptr, options_.cancel);
      } catch (...) {
        slot.failure = std::current_exception();
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        slots_[index % slots_.size()] = std::move(slot);
      }
      done_.notify_all();
    }
  }
};

}  // namespace

bool inShard(int row, int shard, int shards) {
  return shards <= 1 || (row - 1) % shards == shard - 1;
}

bool runForest(const CheckedInventory& inventory, const Plan& plan, const ForestOptions& options,
               StandSink& sink) {
  std::vector<const StandEntry*> stands;
  for (const StandEntry& entry : inventory.stands) {
    if (!inShard(entry.row, options.shard, options.shards)) continue;
    if (options.done && options.done(entry.row)) continue;
    stands.push_back(&entry);
  }
  int jobs = std::clamp(options.jobs, 1, kMaxJobs);
  jobs = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(jobs),
                                                std::max<std::size_t>(1, stands.size())));
  std::optional<OrderedRun> run;
  if (jobs > 1) run.emplace(stands, plan, options, jobs);
  for (std::size_t i = 0; i < stands.size(); ++i) {
    if (cancelled(options)) return false;
    StandResult result = run ? run->take(i) : runStand(*stands[i], plan, nullptr, options.cancel);
    if (cancelled(options)) return false;
    sink.stand(result);
    if (options.progress) options.progress(i + 1, stands.size());
  }
  return true;
}

}  // namespace keldovar::forest

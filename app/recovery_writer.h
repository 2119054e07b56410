// The worker thread that writes and removes recovery copies, so that the disk never holds up the
// user interface: jobs run one at a time in the order they were given.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace keldovar {

class RecoveryWriter {
 public:
  // Called on the worker thread after every write with its error number, 0 when it succeeded.
  using WriteListener = std::function<void(int error)>;

  explicit RecoveryWriter(WriteListener written = {});
  // Finishes every job already given, then ends the thread.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  // Replaces the record, then the copy, each through the atomic writer: a record without a copy
  // means the first copy was never written, and an older copy under a newer record is still a
  // sound copy.
  void write(std::string recordPath, std::string recordText, std::string copyPath,
             std::vector<std::uint8_t> bytes);
  // Removes the files in the order given: the copy first, so that a copy never lacks a record.
  void remove(std::vector<std::string> paths);
  // Returns once every job given so far is done.
  void waitIdle();
  // The error number of the newest write, 0 when it succeeded.
  int lastError() const;

 private:
  struct Job {
    std::vector<std::string> removals;
    std::string recordPath;
    std::string recordText;
    std::string copyPath;
    std::vector<std::uint8_t> bytes;
  };
  void run();
  void carryOut(const Job& job);
  void push(Job job);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Job> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  int lastError_ = 0;
  WriteListener written_;
  std::thread thread_;
};

}  // namespace keldovar

// The recovery copies' worker thread.
#include "app/recovery_writer.h"

#include <cerrno>
#include <cstdio>
#include <span>
#include <utility>

#include "app/safe_file.h"

namespace keldovar {

RecoveryWriter::RecoveryWriter(WriteListener written)
    : written_(std::move(written)), thread_([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void RecoveryWriter::push(Job job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void RecoveryWriter::write(std::string recordPath, std::string recordText, std::string copyPath,
                           std::vector<std::uint8_t> bytes) {
  Job job;
  job.recordPath = std::move(recordPath);
  job.recordText = std::move(recordText);
  job.copyPath = std::move(copyPath);
  job.bytes = std::move(bytes);
  push(std::move(job));
}

void RecoveryWriter::remove(std::vector<std::string> paths) {
  Job job;
  job.removals = std::move(paths);
  push(std::move(job));
}

void RecoveryWriter::waitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

int RecoveryWriter::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

void RecoveryWriter::carryOut(const Job& job) {
  for (const std::string& path : job.removals) std::remove(path.c_str());
  if (job.copyPath.empty()) return;
  const auto* text = reinterpret_cast<const std::uint8_t*>(job.recordText.data());
  int error = replaceFileContents(job.recordPath, std::span(text, job.recordText.size()));
  if (error == 0) error = replaceFileContents(job.copyPath, job.bytes);
  {
    std::lock_guard lock(mutex_);
    lastError_ = error;
  }
  if (written_) written_(error);
}

void RecoveryWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) break;  // stopping, and every job is done
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    carryOut(job);
    lock.lock();
    busy_ = false;
    if (jobs_.empty()) idle_.notify_all();
  }
}

}  // namespace keldovar

// Crash recovery copies of unsaved documents: the small record kept beside each copy, the names
// of the files in the recovery folder, which of them a starting program may take, and when the
// next copy of a document is due.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldovar {

// What a copy belongs to. A document never saved has no path, only its number ("KLDVR3").
struct RecoveryRecord {
  std::string path;
  int untitledNumber = 0;
  std::int64_t time = 0;  // seconds since 1970-01-01 UTC, when the copy was written
  std::int64_t processId = 0;
  std::string version;
};

// The record as a few lines of text. The path is written with %XX for control bytes and '%', so
// that any file name fits on its line.
std::string writeRecoveryRecord(const RecoveryRecord& record);

// Accepts exactly what writeRecoveryRecord writes; anything else (a cut, a stray line, a number
// out of range) is refused as a whole.
std::optional<RecoveryRecord> readRecoveryRecord(std::string_view text);

// A copy's name: "<instance>_<document>.kdv" with its record "<instance>_<document>.rec", beside
// the instance's lock file "<instance>.lock". An instance tag is letters and digits only.
struct RecoveryName {
  std::string instance;
  int document = 0;
};

inline constexpr const char* kRecoveryCopySuffix = ".kdv";
inline constexpr const char* kRecoveryRecordSuffix = ".rec";
inline constexpr const char* kRecoveryLockSuffix = ".lock";
// The longest record a reader accepts: a long path written with escapes and the other lines.
inline constexpr std::size_t kRecoveryRecordLimit = 16384;

std::string recoveryCopyName(const RecoveryName& name);
std::string recoveryRecordName(const RecoveryName& name);
std::string recoveryLockName(std::string_view instance);
// A tag unique to one run of the program: its process id and its start in milliseconds.
std::string recoveryInstanceTag(std::int64_t processId, std::int64_t startMilliseconds);

// The files of one earlier instance, sorted by document number.
struct RecoveryLeftovers {
  std::string instance;
  bool hasLock = false;
  std::vector<RecoveryName> complete;    // record and copy: offer these
  std::vector<RecoveryName> recordOnly;  // the first copy was never written: nothing to offer
  std::vector<RecoveryName> copyOnly;    // a copy without its record: set aside, never opened
};

// Groups the folder's file names by instance, leaving out `ownInstance` and any name this
// program does not write (the safe writer's temporary files, for one).
std::vector<RecoveryLeftovers> findRecoveryLeftovers(const std::vector<std::string>& fileNames,
                                                     std::string_view ownInstance);

// When a document's next copy is due: at once for the first change, and then at most once per
// interval however often it changes. Times are milliseconds on any steady clock.
class AutosaveScheduler {
 public:
  explicit AutosaveScheduler(std::int64_t intervalMs) : interval_(intervalMs) {}

  void changed() { pending_ = true; }
  bool pending() const { return pending_; }
  // When the pending copy may be written; meaningful while pending().
  std::int64_t dueAt() const { return written_ ? lastWrite_ + interval_ : 0; }
  // True when a copy is pending and due at `now`; it then counts as written at `now`.
  bool take(std::int64_t now);
  // Saved or closed: nothing is pending; the interval since the last copy still holds.
  void cancel() { pending_ = false; }

 private:
  std::int64_t interval_;
  std::int64_t lastWrite_ = 0;
  bool written_ = false;
  bool pending_ = false;
};

// The coalescing interval: two seconds, or the number of milliseconds in `override` (from the
// environment of a test build) when it is a number from 1 to 60000.
std::int64_t autosaveInterval(const char* override);
inline constexpr std::int64_t kAutosaveIntervalMs = 2000;

}  // namespace keldovar

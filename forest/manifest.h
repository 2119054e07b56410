// The run manifest stored with the results: the program, the inputs' SHA-256, the options and
// the start and end time, so that a run can be reproduced, resumed or merged with its shards.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace keldovar::forest {

// A result that cannot be written or read back: the output, the reason.
class ForestError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Manifest {
  std::vector<std::pair<std::string, std::string>> entries;  // in the order set

  void set(const std::string& key, std::string value);
  std::optional<std::string> get(const std::string& key) const;
};

// Keys every manifest has.
namespace manifest_keys {
inline constexpr const char* kProgram = "program";
inline constexpr const char* kCommand = "command";
inline constexpr const char* kShard = "shard";
inline constexpr const char* kPlan = "plan";    // "regime" or "space"
inline constexpr const char* kTable = "table";  // the inventory's SQLite table
// "sha256:inventory", "sha256:regime", "sha256:space", "sha256:regime NAME" (a row's own)
inline constexpr const char* kDigestPrefix = "sha256:";
inline constexpr const char* kStarted = "started";
inline constexpr const char* kFinished = "finished";
inline constexpr const char* kStands = "stands";
inline constexpr const char* kFailed = "failed";
// "metric" when the outputs show metric units; absent for imperial, as every stored result is.
inline constexpr const char* kUnits = "units";
}  // namespace manifest_keys

// The first key that says what was computed (the program, an input's digest, the plan, and the
// shard unless `otherShard`) on which the two differ; "" when they agree.
std::string identityDifference(const Manifest& a, const Manifest& b, bool otherShard);

// The time now in UTC, "YYYY-MM-DDTHH:MM:SSZ".
std::string utcNow();

}  // namespace keldovar::forest

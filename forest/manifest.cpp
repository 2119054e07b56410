// The run manifest's entries and what makes two runs parts of one.
#include "forest/manifest.h"

#include <algorithm>
#include <ctime>

namespace keldovar::forest {
namespace {

bool identityKey(const std::string& key, bool otherShard) {
  if (key == manifest_keys::kShard) return !otherShard;
  return key == manifest_keys::kProgram || key == manifest_keys::kPlan ||
         key == manifest_keys::kTable || key.starts_with(manifest_keys::kDigestPrefix);
}

}  // namespace

void Manifest::set(const std::string& key, std::string value) {
  auto found = std::find_if(entries.begin(), entries.end(),
                            [&](const auto& entry) { return entry.first == key; });
  if (found != entries.end()) {
    found->second = std::move(value);
  } else {
    entries.emplace_back(key, std::move(value));
  }
}

std::optional<std::string> Manifest::get(const std::string& key) const {
  for (const auto& [k, v] : entries) {
    if (k == key) return v;
  }
  return std::nullopt;
}

std::string identityDifference(const Manifest& a, const Manifest& b, bool otherShard) {
  for (const Manifest* m : {&a, &b}) {
    for (const auto& [key, value] : m->entries) {
      if (identityKey(key, otherShard) && a.get(key) != b.get(key)) return key;
    }
  }
  return "";
}

std::string utcNow() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

}  // namespace keldovar::forest

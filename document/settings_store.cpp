// The in-memory settings store.
#include "document/settings_store.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace keldovar {

std::optional<std::string> MemorySettingsStore::readString(std::string_view section,
                                                           std::string_view key) const {
  auto it = values_.find(std::make_pair(std::string(section), std::string(key)));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::optional<int> MemorySettingsStore::readInt(std::string_view section,
                                                std::string_view key) const {
  auto text = readString(section, key);
  if (!text) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text->c_str(), &end, 10);
  if (end == text->c_str() || errno != 0 || value < INT_MIN || value > INT_MAX) return 0;
  return static_cast<int>(value);
}

bool MemorySettingsStore::writeString(std::string_view section, std::string_view key,
                                      std::string_view value) {
  if (failWrites_) return false;
  values_[std::make_pair(std::string(section), std::string(key))] = std::string(value);
  return true;
}

bool MemorySettingsStore::writeInt(std::string_view section, std::string_view key, int value) {
  return writeString(section, key, std::to_string(value));
}

}  // namespace keldovar

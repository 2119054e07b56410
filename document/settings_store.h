// The per-user settings store: sections of string and integer values.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace keldovar {

// Section and key names of the stored settings.
namespace settings_keys {
inline constexpr const char* kOptions = "Options";
inline constexpr const char* kDirectories = "Directories";
inline constexpr const char* kWindowSize = "Window size";
inline constexpr const char* kAllTables = "AllTables";
inline constexpr const char* kFinancial = "Financial";
inline constexpr const char* kBargraph = "Bargraph";
inline constexpr const char* kCarbon = "Carbon";  // the option, and the carbon values' section
inline constexpr const char* kUnits = "Units";    // "metric" or "imperial"
inline constexpr const char* kMerchLimit = "Merch_limit";
inline constexpr const char* kThresholdSaw = "threshold_saw";
inline constexpr const char* kThresholdPulp = "threshold_pulp";
// The nine financial values' keys are in kFinancialFields (engine/financial_values.h).
}  // namespace settings_keys

// Shown when a dialog's "default" box was ticked and the store raised an error while writing.
inline constexpr const char* kDefaultsNotSaved =
    "There was an error while saving the default values.  Values were not saved, returning to "
    "previous values.";

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> readString(std::string_view section,
                                                std::string_view key) const = 0;
  virtual std::optional<int> readInt(std::string_view section, std::string_view key) const = 0;
  // False when the store raised an error while writing.
  virtual bool writeString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  virtual bool writeInt(std::string_view section, std::string_view key, int value) = 0;
};

// Settings held in memory: the batch runner's (which must not depend on the user's stored
// defaults) and the tests'. Integers are kept as their decimal text, as the desktop store does.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<std::string> readString(std::string_view section,
                                        std::string_view key) const override;
  std::optional<int> readInt(std::string_view section, std::string_view key) const override;
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override;
  bool writeInt(std::string_view section, std::string_view key, int value) override;

  // Makes every later write fail, as a store that raises an error does.
  void setFailWrites(bool fail) { failWrites_ = fail; }

 private:
  std::map<std::pair<std::string, std::string>, std::string, std::less<>> values_;
  bool failWrites_ = false;
};

}  // namespace keldovar

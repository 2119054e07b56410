// Reading the stored defaults of a new document.
#include "app/settings.h"

#include <string>

#include "app/field_text.h"

namespace keldovar {
namespace {

// Default texts of the nine financial values, in document order.
constexpr const char* kFinancialDefaults[9] = {"5.0",  "10.0", "15.0",  "10.0", "20.0",
                                               "10.0", "25.0", "250.0", "120.0"};

bool readFlag(const SettingsStore& store, const char* key, int defaultValue) {
  return store.readInt(settings_keys::kOptions, key).value_or(defaultValue) != 0;
}

}  // namespace

double readStoredNumber(const SettingsStore& store, std::string_view section, std::string_view key,
                        std::string_view defaultText) {
  std::optional<std::string> text = store.readString(section, key);
  return readDecimalText(text ? std::string_view(*text) : defaultText);
}

DocumentDefaults readDocumentDefaults(const SettingsStore& store) {
  using namespace settings_keys;
  DocumentDefaults d;
  d.options.showAllTables = readFlag(store, kAllTables, 1);
  d.options.showFinancial = readFlag(store, kFinancial, 1);
  d.options.showBargraph = readFlag(store, kBargraph, 0);
  float values[9];
  for (int i = 0; i < 9; ++i) {
    values[i] = static_cast<float>(
        readStoredNumber(store, kOptions, kFinancialKeys[i], kFinancialDefaults[i]));
  }
  FinancialValues& f = d.settings.financial;
  f.interestRate = values[0];
  f.oneThinPulp = values[1];
  f.oneThinSaw = values[2];
  f.nextThinPulp = values[3];
  f.nextThinSaw = values[4];
  f.harvestPulp = values[5];
  f.harvestSaw = values[6];
  f.establishmentCost = values[7];
  f.midrotationFertCost = values[8];
  d.settings.merchLimit = readStoredNumber(store, kOptions, kMerchLimit, "3");
  d.settings.merchLimitShown = static_cast<float>(d.settings.merchLimit);
  d.settings.sawThreshold = store.readInt(kOptions, kThresholdSaw).value_or(8);
  d.settings.pulpThreshold = store.readInt(kOptions, kThresholdPulp).value_or(5);
  d.settings.barkBasis = "OB";
  d.settings.logRuleName = kLogRuleInternational;
  d.settings.logRuleFactor = internationalFactor;
  return d;
}

DocumentDefaults builtInDefaults() {
  return readDocumentDefaults(MemorySettingsStore());
}

}  // namespace keldovar

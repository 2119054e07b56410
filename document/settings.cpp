// Reading the stored defaults of a new document.
#include "document/settings.h"

#include <string>

#include "document/field_text.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

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
  d.options.showCarbon = readFlag(store, kCarbon, 0);
  d.options.units = readUnitSystem(store);
  for (const FinancialField& field : kFinancialFields) {
    std::optional<std::string> text = store.readString(kOptions, field.settingsKey);
    d.settings.financial.*field.value =
        text ? static_cast<float>(readDecimalText(*text)) : defaultOf(field);
  }
  d.settings.merchLimit = readStoredNumber(store, kOptions, kMerchLimit, "3");
  d.settings.merchLimitShown = static_cast<float>(d.settings.merchLimit);
  d.settings.sawThreshold = store.readInt(kOptions, kThresholdSaw).value_or(8);
  d.settings.pulpThreshold = store.readInt(kOptions, kThresholdPulp).value_or(5);
  d.settings.barkBasis = "OB";
  d.settings.logRuleName = kLogRuleInternational;
  d.settings.logRuleFactor = internationalFactor;
  return d;
}

UnitSystem readUnitSystem(const SettingsStore& store) {
  UnitSystem units = UnitSystem::Imperial;
  std::optional<std::string> word =
      store.readString(settings_keys::kOptions, settings_keys::kUnits);
  if (!word || !parseUnitSystem(*word, units)) return UnitSystem::Imperial;
  return units;
}

bool writeUnitSystem(SettingsStore& store, UnitSystem units) {
  return store.writeString(settings_keys::kOptions, settings_keys::kUnits, unitSystemWord(units));
}

CarbonValues readCarbonValues(const SettingsStore& store) {
  using settings_keys::kCarbon;
  return {readStoredNumber(store, kCarbon, "price", "0"),
          readStoredNumber(store, kCarbon, "baseline", "0")};
}

bool writeCarbonValues(SettingsStore& store, const CarbonValues& values) {
  using settings_keys::kCarbon;
  return store.writeString(kCarbon, "price", formatText("%0.2f", values.price)) &&
         store.writeString(kCarbon, "baseline", formatText("%0.2f", values.baseline));
}

DocumentDefaults builtInDefaults() {
  return readDocumentDefaults(MemorySettingsStore());
}

DocumentContent builtInDocument() {
  DocumentDefaults defaults = builtInDefaults();
  DocumentContent content;
  content.settings = defaults.settings;
  content.options = defaults.options;
  resetSnapshot(content.store.snapshot);
  return content;
}

}  // namespace keldovar

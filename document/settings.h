// The user's stored defaults: what a new document starts from, and how stored numbers read.
#pragma once

#include <string_view>

#include "document/carbon_values.h"
#include "document/document_content.h"
#include "document/document_settings.h"
#include "document/settings_store.h"

namespace keldovar {

// A stored number: the leading decimal number of its text, 0 when there is none; a missing
// key reads as its default text. No range check: the stored value is taken as it stands.
double readStoredNumber(const SettingsStore& store, std::string_view section, std::string_view key,
                        std::string_view defaultText);

struct DocumentDefaults {
  DocumentSettings settings;
  ViewOptions options;
};

// The defaults a new document takes, read from the store, or built in where a key is missing.
DocumentDefaults readDocumentDefaults(const SettingsStore& store);

// The built-in defaults alone, as a document gets them from an empty store.
DocumentDefaults builtInDefaults();
// An empty document with the built-in defaults, ready for a stand file to be read into it.
DocumentContent builtInDocument();

// Metric Units: the words of "Options/Units"; anything else reads as imperial.
UnitSystem readUnitSystem(const SettingsStore& store);
bool writeUnitSystem(SettingsStore& store, UnitSystem units);

// The carbon price and baseline of the Carbon dialog's defaults: section "Carbon", keys "price"
// and "baseline", numbers written with "%0.2f" as the financial defaults are; 0 when missing.
CarbonValues readCarbonValues(const SettingsStore& store);
// False when the store raised an error; the baseline is then not written.
bool writeCarbonValues(SettingsStore& store, const CarbonValues& values);

}  // namespace keldovar

// Options > Metric Units: the program's unit system, kept in the settings and shown by every
// open document at once.
#pragma once

#include <QList>

#include "document/document_controller.h"
#include "document/settings_store.h"
#include "units/units.h"

namespace keldovar {

class CChildFrame;

// Switches every open document to the other unit system and keeps it for the documents still
// to come; the stand files know nothing of it.
UnitSystem switchUnits(const QList<CChildFrame*>& documents, SettingsStore& settings);
// Shows the document in `units`, with the locale's currency and decimal separator in metric.
void showUnits(DocumentController& document, UnitSystem units);

}  // namespace keldovar

// Options > Metric Units: the program's unit system, kept in the settings and shown by every
// open document at once.
#pragma once

#include <QList>

#include "document/settings_store.h"
#include "units/units.h"
#include "view/metric_lines.h"

namespace keldovar {

class CChildFrame;

// Switches every open document to the other unit system and keeps it for the documents still
// to come; the stand files know nothing of it.
UnitSystem switchUnits(const QList<CChildFrame*>& documents, SettingsStore& settings);
// The metric view's money as the system's locale writes it.
ShownUnits localeMoney();

}  // namespace keldovar

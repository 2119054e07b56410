// Metric Units switched for the whole program.
#include "desktop/units_option.h"

#include "desktop/child_frame.h"
#include "document/settings.h"
#include "view/qt/locale_units.h"

namespace keldovar {

UnitSystem switchUnits(const QList<CChildFrame*>& documents, SettingsStore& settings) {
  UnitSystem units =
      readUnitSystem(settings) == UnitSystem::Metric ? UnitSystem::Imperial : UnitSystem::Metric;
  // A store that cannot be written still switches the open documents; the next start reads
  // what was last kept.
  writeUnitSystem(settings, units);
  for (CChildFrame* document : documents) document->controller().setUnits(units);
  return units;
}

ShownUnits localeMoney() {
  return localeUnits(UnitSystem::Metric);
}

}  // namespace keldovar

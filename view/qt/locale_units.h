// The metric view's currency symbol and decimal separator, taken from the locale: the desktop
// program's report shows them; every machine output keeps "$" and '.'.
#pragma once

#include <QLocale>

#include "view/metric_lines.h"

namespace keldovar {

// In imperial the stored "$" and '.'. In metric the locale's currency symbol, or its ISO code
// where the report's 8-bit text cannot hold the symbol ("EUR" for the euro sign), and its decimal
// separator when that is one 8-bit character.
ShownUnits localeUnits(UnitSystem units, const QLocale& locale = QLocale());

}  // namespace keldovar

// The locale's currency and decimal separator for the metric view.
#include "view/qt/locale_units.h"

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

bool latin1(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() > 0xff) return false;
  }
  return true;
}

}  // namespace

ShownUnits localeUnits(UnitSystem units, const QLocale& locale) {
  ShownUnits shown;
  shown.units = units;
  if (units != UnitSystem::Metric) return shown;
  QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
  if (symbol.isEmpty() || !latin1(symbol)) symbol = locale.currencySymbol(QLocale::CurrencyIsoCode);
  if (!symbol.isEmpty() && latin1(symbol)) shown.currency = toLatin1(symbol);
  QString point = locale.decimalPoint();
  if (point.size() == 1 && latin1(point))
    shown.decimalSeparator = static_cast<char>(point[0].unicode());
  return shown;
}

}  // namespace keldovar

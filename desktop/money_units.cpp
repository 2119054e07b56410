// The window's money: converted through the one table of factors, written as the report does.
#include "desktop/money_units.h"

#include "engine/report_text.h"
#include "view/qt/qt_text.h"

namespace keldovar {

QString moneyUnit(const ShownUnits& shown, Quantity quantity) {
  if (quantity == Quantity::Plain) return QStringLiteral("%");
  return fromLatin1(shown.currency + std::string(unitName(shown.units, quantity)));
}

namespace {

QString withSeparator(const ShownUnits& shown, std::string text) {
  for (char& c : text) {
    if (c == '.') c = shown.decimalSeparator;
  }
  return fromLatin1(text);
}

}  // namespace

QString moneyText(const ShownUnits& shown, Quantity quantity, double stored) {
  return withSeparator(shown, formatText("%.2f", shownMoney(shown, quantity, stored)));
}

QString percentText(const ShownUnits& shown, double fraction) {
  return withSeparator(shown, formatText("%.2f %%", fraction * 100));
}

}  // namespace keldovar

// Dialog fields typed in metric: labels, shown ranges and texts, and the exact conversion of what
// is typed into the imperial text the checks read.
#include "script/field_units.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "document/field_text.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

bool integerKind(FieldKind kind) {
  return kind == FieldKind::Integer || kind == FieldKind::IntegerText;
}

// Metric is typed where a comma is the decimal separator: a lone comma in a text without a
// point is read as the point ("19,5" is 19.5). Thousands are never grouped in a field, so no
// number is read otherwise than it was meant; "1,200" trees is refused by its range.
std::string withDecimalPoint(std::string_view text) {
  std::string read(text);
  auto comma = read.find(',');
  if (comma != std::string::npos && read.find(',', comma + 1) == std::string::npos &&
      read.find('.') == std::string::npos) {
    read[comma] = '.';
  }
  return read;
}

// The number a text holds as its field reads it: the whole text for the exchanged fields, the
// leading number for those read as text, where 0 and no number alike leave the field unset.
std::optional<double> typedNumber(const DialogField& field, std::string_view typed) {
  const std::string text = withDecimalPoint(typed);
  if (field.kind == FieldKind::IntegerText || field.kind == FieldKind::RealText) {
    double value = readDecimalText(text);
    if (value == 0) return std::nullopt;
    return value;
  }
  if (!parseReal(text)) return std::nullopt;
  return readDecimalText(text);
}

// The stored value a converted number gives, as the checks will read its text.
double storedNumber(const DialogField& field, double imperial) {
  if (integerKind(field.kind)) {
    constexpr double kLeast = std::numeric_limits<int>::min();
    constexpr double kMost = std::numeric_limits<int>::max();
    return std::round(std::clamp(imperial, kLeast, kMost));
  }
  if (std::fabs(imperial) > static_cast<double>(std::numeric_limits<float>::max())) return imperial;
  return static_cast<double>(static_cast<float>(imperial));
}

// The fewest digits that give the value back, as single precision when it is one.
std::string shortestText(double value, bool single) {
  std::array<char, 64> buffer{};
  auto [end, ec] = single ? std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                          static_cast<float>(value))
                          : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (ec != std::errc()) return formatText("%.9g", value);
  return std::string(buffer.data(), end);
}

std::string storedNumberText(const DialogField& field, double imperial) {
  double stored = storedNumber(field, imperial);
  if (integerKind(field.kind)) return std::to_string(static_cast<int>(stored));
  bool single = std::fabs(stored) <= static_cast<double>(std::numeric_limits<float>::max());
  return shortestText(stored, single);
}

// One step of a shown bound: a whole tree per hectare, a tenth of anything else.
double stepsPerUnit(Quantity quantity) {
  return quantity == Quantity::PerArea ? 1 : 10;
}

bool storedInside(const DialogField& field, ValueRange stored, double metric) {
  double value = storedNumber(field, toImperial(field.quantity, metric));
  return value >= stored.low && value <= stored.high;
}

// A bound converted and rounded toward the inside of the range (`inward` +1 for the low bound,
// -1 for the high one). A bound that converts to a whole number of steps, but for the last
// bits of the product, is kept.
double inwardBound(const DialogField& field, ValueRange stored, double bound, int inward) {
  if (std::isinf(bound)) return bound;
  double perUnit = stepsPerUnit(field.quantity);
  double steps = toMetric(field.quantity, bound) * perUnit;
  double nearest = std::round(steps);
  if (std::fabs(steps - nearest) <= 1e-9 * std::max(1.0, std::fabs(steps))) {
    steps = nearest;
  } else {
    steps = inward > 0 ? std::ceil(steps) : std::floor(steps);
  }
  // Divided, not multiplied by the step, so that a tenth is the double its text reads as.
  for (int tries = 0; tries < 4 && !storedInside(field, stored, steps / perUnit); ++tries) {
    steps += inward;
  }
  return steps / perUnit;
}

// The format with its conversions replaced, in order, by the given texts.
std::string withBounds(std::string_view format, const std::string& low, const std::string& high) {
  std::string text;
  int used = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      text += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      text += '%';
      ++i;
      continue;
    }
    std::size_t end = format.find_first_of("dfgs", i + 1);
    if (end == std::string_view::npos) break;
    text += used++ == 0 ? low : high;
    i = end;
  }
  return text;
}

std::string boundText(double bound) {
  return formatReal(static_cast<float>(bound));
}

// The range refusal the field's check gives for the stored range.
std::string storedRangeMessage(const DialogField& field, ValueRange stored) {
  if (field.message != nullptr) return formatText(field.message, stored.low, stored.high);
  if (integerKind(field.kind)) {
    return formatText("Enter an integer between %d and %d.", static_cast<int>(stored.low),
                      static_cast<int>(stored.high));
  }
  return "Enter a number between " + boundText(stored.low) + " and " + boundText(stored.high) + ".";
}

std::string shownRangeMessage(const DialogField& field, ValueRange shown) {
  std::string low = boundText(shown.low);
  std::string high = boundText(shown.high);
  if (field.message != nullptr) return withBounds(field.message, low, high);
  return "Enter a number between " + low + " and " + high + ".";
}

}  // namespace

ValueRange residualRange(const DialogField& field, const StandFacts& stand) {
  return {static_cast<double>(field.bounds->low), stand.BA};
}

ValueRange thinToDBHRange(const StandFacts& stand) {
  DBHBounds bounds = thinToDBHBounds(stand);
  return {static_cast<double>(bounds.lower), static_cast<double>(bounds.upper)};
}

bool typedConverted(const DialogField& field, UnitSystem units) {
  return units == UnitSystem::Metric && field.quantity != Quantity::Plain;
}

std::string fieldLabel(std::string_view label, Quantity quantity, UnitSystem units) {
  std::string text(label);
  if (units != UnitSystem::Metric || quantity == Quantity::Plain) return text;
  // Units the labels already name, as the metric labels name them.
  constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
      {"per Acre", "per Hectare"},
      {"per acre", "per hectare"},
      {"(in)", "(cm)"},
      {"/ton)", "/t)"},
      {"/ac)", "/ha)"},
  };
  for (const auto& [imperial, metric] : kNamed) {
    if (std::size_t at = text.find(imperial); at != std::string::npos) {
      return text.replace(at, imperial.size(), metric);
    }
  }
  if (quantity == Quantity::PerArea) return text + " per Hectare";
  return text + " (" + std::string(conversionOf(quantity).metric) + ")";
}

ValueRange shownRange(const DialogField& field, ValueRange stored, UnitSystem units) {
  if (!typedConverted(field, units)) return stored;
  return {inwardBound(field, stored, stored.low, 1), inwardBound(field, stored, stored.high, -1)};
}

std::string shownText(const DialogField& field, std::string_view stored, UnitSystem units) {
  std::optional<double> value =
      typedConverted(field, units) ? typedNumber(field, stored) : std::nullopt;
  if (!value) return std::string(stored);
  std::string wanted = storedNumberText(field, *value);
  double metric = toMetric(field.quantity, *value);
  for (int decimals = 0; decimals <= 9; ++decimals) {
    std::string text = formatText("%.*f", decimals, metric);
    if (storedText(field, text, units) == wanted) return text;
  }
  return formatText("%.9g", metric);
}

std::string storedText(const DialogField& field, std::string_view typed, UnitSystem units) {
  std::optional<double> value =
      typedConverted(field, units) ? typedNumber(field, typed) : std::nullopt;
  if (!value) return std::string(typed);
  return storedNumberText(field, toImperial(field.quantity, *value));
}

std::string storedHint(const DialogField& field, std::string_view typed, UnitSystem units) {
  std::optional<double> value =
      typedConverted(field, units) ? typedNumber(field, typed) : std::nullopt;
  if (!value) return "";
  std::string_view unit = conversionOf(field.quantity).imperial;
  std::string text = "= " + storedNumberText(field, toImperial(field.quantity, *value));
  // "/ac" reads "per ac" after a number.
  if (unit.starts_with('/')) return text + " per " + std::string(unit.substr(1));
  return text + " " + std::string(unit);
}

std::string shownRefusal(const DialogField& field, std::optional<ValueRange> stored,
                         std::string_view text, UnitSystem units) {
  if (!typedConverted(field, units)) return std::string(text);
  if (integerKind(field.kind) && text == "Enter an integer.") return "Enter a number.";
  if (stored && text == storedRangeMessage(field, *stored)) {
    return shownRangeMessage(field, shownRange(field, *stored, units));
  }
  return std::string(text);
}

std::optional<std::string> shownRangeRefusal(const DialogField& field, ValueRange stored,
                                             std::string_view typed, UnitSystem units) {
  if (!typedConverted(field, units)) return std::nullopt;
  std::optional<double> value = typedNumber(field, typed);
  if (!value || (*value == 0 && field.unset != Unset::Never)) return std::nullopt;
  ValueRange shown = shownRange(field, stored, units);
  if (*value >= shown.low && *value <= shown.high) return std::nullopt;
  return shownRangeMessage(field, shown);
}

Checked<FinanceEntry, FinanceField> checkFinanceTyped(UnitSystem units, const FinanceTexts& typed) {
  std::vector<TypedField> fields;
  for (const DialogField& field : kFinanceFields)
    fields.push_back({&field, valueRange(*field.bounds)});
  auto textAt = [](FinanceTexts& texts, std::size_t i) -> std::string& { return texts.fields[i]; };
  return checkTyped<FinanceEntry, FinanceField>(units, fields, typed, textAt, checkFinance);
}

}  // namespace keldovar

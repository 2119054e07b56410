// The units the stored values can be shown in, and the one table of factors that turns the stored
// imperial values into metric ones, each with its definition.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace keldovar {

// Stands, stand files and scripts hold imperial values; metric is a way of showing, exporting
// and typing them.
enum class UnitSystem : unsigned char { Imperial, Metric };

// What a number measures. Everything per acre becomes per hectare.
enum class Quantity : unsigned char {
  Plain,          // ages, percents, rates, counts: shown as stored
  Length,         // feet -> metres: heights, site index (at the same base age)
  Diameter,       // inches -> centimetres: DBH, top diameters
  Area,           // acres -> hectares
  Mass,           // short tons -> tonnes
  Volume,         // cubic feet -> cubic metres
  PerArea,        // trees per acre -> trees per hectare
  BasalArea,      // square feet per acre -> square metres per hectare
  VolumePerArea,  // cubic feet per acre -> cubic metres per hectare
  MassPerArea,    // short tons per acre -> tonnes per hectare
  WeightPerArea,  // pounds per acre (fertilizer) -> kilograms per hectare
  MoneyPerArea,   // money per acre -> money per hectare
  MoneyPerMass,   // money per short ton -> money per tonne
};
inline constexpr std::size_t kQuantityCount = 13;

// The exact definitions every factor is made of.
inline constexpr double kHectaresPerAcre = 0.40468564224;  // 1 acre = 4,046.8564224 m2
inline constexpr double kMetresPerFoot = 0.3048;           // international foot
inline constexpr double kCentimetresPerInch = 2.54;        // international inch
inline constexpr double kKilogramsPerPound = 0.45359237;   // international avoirdupois pound
inline constexpr double kTonnesPerShortTon = 0.90718474;   // 2,000 pounds

struct UnitConversion {
  Quantity quantity;
  std::string_view imperial;  // the unit's short name in imperial reports
  std::string_view metric;    // and in metric ones
  double factor;              // metric value = imperial value * factor
  std::string_view definition;
};

inline constexpr std::array<UnitConversion, kQuantityCount> kUnitConversions{{
    {Quantity::Plain, "", "", 1.0, "shown as stored"},
    {Quantity::Length, "ft", "m", kMetresPerFoot, "1 ft = 0.3048 m"},
    {Quantity::Diameter, "in", "cm", kCentimetresPerInch, "1 in = 2.54 cm"},
    {Quantity::Area, "ac", "ha", kHectaresPerAcre, "1 acre = 0.40468564224 ha"},
    {Quantity::Mass, "tons", "t", kTonnesPerShortTon, "1 short ton = 0.90718474 t"},
    {Quantity::Volume, "cu ft", "m3", kMetresPerFoot* kMetresPerFoot* kMetresPerFoot,
     "1 cu ft = 0.3048^3 m3 = 0.028316846592 m3"},
    {Quantity::PerArea, "/ac", "/ha", 1.0 / kHectaresPerAcre,
     "1 per acre = 1/0.40468564224 per ha"},
    {Quantity::BasalArea, "sq ft/ac", "m2/ha", kMetresPerFoot* kMetresPerFoot / kHectaresPerAcre,
     "1 sq ft/acre = 0.09290304/0.40468564224 m2/ha"},
    {Quantity::VolumePerArea, "cu ft/ac", "m3/ha",
     kMetresPerFoot* kMetresPerFoot* kMetresPerFoot / kHectaresPerAcre,
     "1 cu ft/acre = 0.028316846592/0.40468564224 m3/ha"},
    {Quantity::MassPerArea, "tons/ac", "t/ha", kTonnesPerShortTon / kHectaresPerAcre,
     "1 short ton/acre = 0.90718474/0.40468564224 t/ha"},
    {Quantity::WeightPerArea, "lb/ac", "kg/ha", kKilogramsPerPound / kHectaresPerAcre,
     "1 lb/acre = 0.45359237/0.40468564224 kg/ha"},
    {Quantity::MoneyPerArea, "/ac", "/ha", 1.0 / kHectaresPerAcre,
     "1 per acre = 1/0.40468564224 per ha"},
    {Quantity::MoneyPerMass, "/ton", "/t", 1.0 / kTonnesPerShortTon,
     "1 per short ton = 1/0.90718474 per t"},
}};

constexpr const UnitConversion& conversionOf(Quantity quantity) {
  return kUnitConversions[static_cast<std::size_t>(quantity)];
}

constexpr double toMetric(Quantity quantity, double imperial) {
  return imperial * conversionOf(quantity).factor;
}
constexpr double toImperial(Quantity quantity, double metric) {
  return metric / conversionOf(quantity).factor;
}

// A stored (imperial) value as the unit system shows it.
constexpr double shownValue(UnitSystem units, Quantity quantity, double stored) {
  return units == UnitSystem::Metric ? toMetric(quantity, stored) : stored;
}
// A value typed in the unit system, as the model takes it.
constexpr double storedValue(UnitSystem units, Quantity quantity, double typed) {
  return units == UnitSystem::Metric ? toImperial(quantity, typed) : typed;
}

constexpr std::string_view unitName(UnitSystem units, Quantity quantity) {
  return units == UnitSystem::Metric ? conversionOf(quantity).metric
                                     : conversionOf(quantity).imperial;
}

// A one-inch DBH class k holds the trees from k - 0.5 to k + 0.5 inches; in metric it is shown
// by those bounds in centimetres.
struct ClassBounds {
  double low;
  double high;
};
constexpr ClassBounds classBoundsCm(int inchClass) {
  return {(inchClass - 0.5) * kCentimetresPerInch, (inchClass + 0.5) * kCentimetresPerInch};
}
// Where no room is left for both bounds the class is named by its middle.
constexpr double classMidpointCm(int inchClass) {
  ClassBounds bounds = classBoundsCm(inchClass);
  return (bounds.low + bounds.high) / 2;
}

// The decimals a metric value is shown with when its stored value was written with
// `imperialDecimals`: enough that converting the shown value back lands within one unit of the
// stored value's last digit (a metric value is off by at most half its last unit).
int metricDecimals(Quantity quantity, int imperialDecimals);

// The words of the command line and the settings: "imperial" or "metric".
constexpr std::string_view unitSystemWord(UnitSystem units) {
  return units == UnitSystem::Metric ? "metric" : "imperial";
}
bool parseUnitSystem(std::string_view word, UnitSystem& units);

}  // namespace keldovar

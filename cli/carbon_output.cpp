// Carbon keys of the JSON and carbon columns of the CSV.
#include "cli/carbon_output.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "carbon/rotation_carbon.h"
#include "cli/output.h"
#include "econ/carbon_flows.h"

namespace keldovar::cli {
namespace {

using carbon::MassUnit;

// Shortest text that reads back as the same double.
std::string num(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

double tons(double kg) {
  return carbon::massIn(kg, MassUnit::ShortTon);
}

std::string pools(const carbon::Biomass& b, double scale) {
  return "{\"aboveground\": " + num(tons(b.aboveground) * scale) +
         ", \"belowground\": " + num(tons(b.belowground) * scale) +
         ", \"stem_wood\": " + num(tons(b.stemWood) * scale) +
         ", \"stem_bark\": " + num(tons(b.stemBark) * scale) +
         ", \"foliage\": " + num(tons(b.foliage) * scale) +
         ", \"live_tree\": " + num(tons(b.tree()) * scale) + "}";
}

std::string removalJson(const std::optional<carbon::Removal>& r) {
  if (!r) return "null";
  return "{\"carbon\": " + num(tons(r->treeCarbon)) +
         ", \"pulpwood\": " + num(tons(r->pulpwoodCarbon)) +
         ", \"sawtimber\": " + num(tons(r->sawtimberCarbon)) +
         ", \"in_use_100\": " + num(tons(r->inUse100())) +
         ", \"landfill_100\": " + num(tons(r->landfill100())) +
         ", \"stored_100\": " + num(tons(r->stored100())) + "}";
}

std::string stumpJson(const carbon::RotationCarbon& rotation) {
  std::string out = "{\"points\": [";
  for (std::size_t i = 0; i < rotation.points.size(); ++i) {
    const carbon::StumpPoint& p = rotation.points[i];
    out += (i == 0 ? "[" : ", [") + num(p.age) + ", " + jsonString(p.label) + ", " +
           num(tons(p.carbon)) + "]";
  }
  return out + "], \"average\": " + num(tons(rotation.average)) + "}";
}

std::string measure(const std::optional<double>& value, double scale) {
  return value ? num(*value * scale) : std::string("null");
}

std::string valueJson(const TableStore& store, int index, const FinancialValues& values,
                      const carbon::CarbonValues& carbonValues) {
  if (!(carbonValues.price > 0)) return "null";
  std::optional<econ::RegimeFlows> flows = econ::regimeFlows(store, index, values, carbonValues);
  // As the timber's LEV and IRR: null once the financial values are not the harvest's.
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  std::optional<econ::RegimeFlows> timber = econ::harvestFlows(table, values);
  if (!flows || !timber || !econ::agreesWithTable(*timber, table)) return "null";
  econ::Measures pulp = econ::measuresOf(*flows, econ::Management::Pulpwood);
  econ::Measures saw = econ::measuresOf(*flows, econ::Management::Sawtimber);
  return "{\"price\": " + num(carbonValues.price) +
         ", \"baseline\": " + num(carbonValues.baseline) + ", \"present_value\": " +
         num(econ::carbonPresentValue(store, index, values, carbonValues)) +
         ", \"npv\": {\"pulpwood\": " + num(static_cast<double>(pulp.npv)) +
         ", \"sawtimber\": " + num(static_cast<double>(saw.npv)) +
         "}, \"lev\": {\"pulpwood\": " + measure(pulp.lev, 1) +
         ", \"sawtimber\": " + measure(saw.lev, 1) +
         "}, \"irr\": {\"pulpwood\": " + measure(pulp.irr, 100) +
         ", \"sawtimber\": " + measure(saw.irr, 100) + "}}";
}

}  // namespace

std::string carbonJson(const TableStore& store, int index, const FinancialValues& values,
                       const carbon::CarbonValues& carbonValues) {
  std::string key = ",\n      \"carbon\": ";
  if (index < 0 || index > store.lastIndex || index >= kTableCapacity) return key + "null";
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  if (carbon::stockDataRows(table) == 0) return key + "null";
  carbon::Biomass b = carbon::standBiomass(table);
  std::string out = key + "{\"units\": \"short tons per acre\", \"biomass\": " + pools(b, 1);
  out += ", \"carbon\": " + pools(b, carbon::kCarbonFraction);
  out += ", \"co2e\": " + pools(b, carbon::kCarbonFraction * carbon::kCo2PerCarbon);
  out += ", \"removal\": " + removalJson(carbon::tableRemoval(store, index));
  std::optional<carbon::RotationCarbon> rotation = carbon::rotationCarbon(store, index);
  out += ", \"stump\": " + (rotation ? stumpJson(*rotation) : std::string("null"));
  out += ", \"value\": " + (rotation ? valueJson(store, index, values, carbonValues) : "null");
  return out + "}";
}

}  // namespace keldovar::cli

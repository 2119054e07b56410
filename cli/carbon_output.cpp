// Carbon keys of the JSON and carbon columns of the CSV.
#include "cli/carbon_output.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "carbon/rotation_carbon.h"
#include "cli/json_writer.h"
#include "cli/output.h"
#include "econ/carbon_flows.h"

namespace keldovar::cli {
namespace {

using carbon::MassUnit;

// Appends the shortest text that reads back as the same double, or null.
void num(std::string& out, double value) {
  appendJsonNumber(out, value);
}

// The figures per acre in short tons, or per hectare in tonnes: each figure's factor from the
// stored (per acre) value.
struct Scales {
  double mass = 1;   // short tons per acre
  double money = 1;  // money per acre
  double count = 1;  // anything else per acre
};

Scales scalesOf(UnitSystem units) {
  return {shownValue(units, Quantity::MassPerArea, 1), shownValue(units, Quantity::MoneyPerArea, 1),
          shownValue(units, Quantity::PerArea, 1)};
}

double tons(double kg) {
  return carbon::massIn(kg, MassUnit::ShortTon);
}

void pools(std::string& out, const carbon::Biomass& b, double scale) {
  out += "{\"aboveground\": ";
  num(out, tons(b.aboveground) * scale);
  out += ", \"belowground\": ";
  num(out, tons(b.belowground) * scale);
  out += ", \"stem_wood\": ";
  num(out, tons(b.stemWood) * scale);
  out += ", \"stem_bark\": ";
  num(out, tons(b.stemBark) * scale);
  out += ", \"foliage\": ";
  num(out, tons(b.foliage) * scale);
  out += ", \"live_tree\": ";
  num(out, tons(b.tree()) * scale);
  out += '}';
}

void removalJson(std::string& out, const std::optional<carbon::Removal>& r, double mass) {
  if (!r) {
    out += "null";
    return;
  }
  auto inTons = [mass](double kg) { return carbon::massIn(kg, MassUnit::ShortTon) * mass; };
  out += "{\"carbon\": ";
  num(out, inTons(r->treeCarbon));
  out += ", \"pulpwood\": ";
  num(out, inTons(r->pulpwoodCarbon));
  out += ", \"sawtimber\": ";
  num(out, inTons(r->sawtimberCarbon));
  out += ", \"in_use_100\": ";
  num(out, inTons(r->inUse100()));
  out += ", \"landfill_100\": ";
  num(out, inTons(r->landfill100()));
  out += ", \"stored_100\": ";
  num(out, inTons(r->stored100()));
  out += '}';
}

void stumpJson(std::string& out, const carbon::RotationCarbon& rotation, double mass) {
  auto inTons = [mass](double kg) { return carbon::massIn(kg, MassUnit::ShortTon) * mass; };
  out += "{\"points\": [";
  for (std::size_t i = 0; i < rotation.points.size(); ++i) {
    const carbon::StumpPoint& p = rotation.points[i];
    out += i == 0 ? "[" : ", [";
    num(out, p.age);
    out += ", ";
    appendJsonString(out, p.label);
    out += ", ";
    num(out, inTons(p.carbon));
    out += ']';
  }
  out += "], \"average\": ";
  num(out, inTons(rotation.average));
  out += '}';
}

void measure(std::string& out, const std::optional<double>& value, double scale) {
  if (value) {
    num(out, *value * scale);
  } else {
    out += "null";
  }
}

void valueJson(std::string& out, const TableStore& store, int index, const FinancialValues& values,
               const carbon::CarbonValues& carbonValues, const Scales& scales) {
  std::optional<econ::RegimeFlows> flows;
  std::optional<econ::RegimeFlows> timber;
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  if (carbonValues.price > 0) {
    flows = econ::regimeFlows(store, index, values, carbonValues);
    timber = econ::harvestFlows(table, values);
  }
  // As the timber's LEV and IRR: null once the financial values are not the harvest's.
  if (!flows || !timber || !econ::agreesWithTable(*timber, table)) {
    out += "null";
    return;
  }
  econ::Measures pulp = econ::measuresOf(*flows, econ::Management::Pulpwood);
  econ::Measures saw = econ::measuresOf(*flows, econ::Management::Sawtimber);
  out += "{\"price\": ";
  num(out, carbonValues.price);
  out += ", \"baseline\": ";
  num(out, carbonValues.baseline * scales.count);
  out += ", \"present_value\": ";
  num(out, econ::carbonPresentValue(store, index, values, carbonValues) * scales.money);
  out += ", \"npv\": {\"pulpwood\": ";
  num(out, static_cast<double>(pulp.npv) * scales.money);
  out += ", \"sawtimber\": ";
  num(out, static_cast<double>(saw.npv) * scales.money);
  out += "}, \"lev\": {\"pulpwood\": ";
  measure(out, pulp.lev, scales.money);
  out += ", \"sawtimber\": ";
  measure(out, saw.lev, scales.money);
  out += "}, \"irr\": {\"pulpwood\": ";
  measure(out, pulp.irr, 100);
  out += ", \"sawtimber\": ";
  measure(out, saw.irr, 100);
  out += "}}";
}

}  // namespace

std::string carbonJson(const TableStore& store, int index, const FinancialValues& values,
                       const carbon::CarbonValues& carbonValues) {
  return ",\n      \"carbon\": " + carbonValueJson(store, index, values, carbonValues);
}

std::string carbonValueJson(const TableStore& store, int index, const FinancialValues& values,
                            const carbon::CarbonValues& carbonValues, UnitSystem units) {
  if (index < 0 || index > store.lastIndex || index >= kTableCapacity) return "null";
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  if (carbon::stockDataRows(table) == 0) return "null";
  carbon::Biomass b = carbon::standBiomass(table);
  Scales scales = scalesOf(units);
  std::string out = units == UnitSystem::Metric ? "{\"units\": \"tonnes per hectare\""
                                                : "{\"units\": \"short tons per acre\"";
  out += ", \"biomass\": ";
  out.reserve(1024);
  pools(out, b, scales.mass);
  out += ", \"carbon\": ";
  pools(out, b, carbon::kCarbonFraction * scales.mass);
  out += ", \"co2e\": ";
  pools(out, b, carbon::kCarbonFraction * carbon::kCo2PerCarbon * scales.mass);
  out += ", \"removal\": ";
  removalJson(out, carbon::tableRemoval(store, index), scales.mass);
  std::optional<carbon::RotationCarbon> rotation = carbon::rotationCarbon(store, index);
  out += ", \"stump\": ";
  if (rotation) {
    stumpJson(out, *rotation, scales.mass);
  } else {
    out += "null";
  }
  out += ", \"value\": ";
  if (rotation) {
    valueJson(out, store, index, values, carbonValues, scales);
  } else {
    out += "null";
  }
  out += '}';
  return out;
}

}  // namespace keldovar::cli

// The Carbon section's lines, per acre in short tons.
#include "view/carbon_section.h"

#include "carbon/rotation_carbon.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

using carbon::MassUnit;

constexpr MassUnit kShownUnit = MassUnit::ShortTon;

double tons(double kg) {
  return carbon::massIn(kg, kShownUnit);
}

std::string poolLine(const char* pool, double biomassKg) {
  double carbonKg = carbon::carbonOf(biomassKg);
  return formatText(" %-28s%10.1f%10.1f%10.1f", pool, tons(biomassKg), tons(carbonKg),
                    tons(carbon::co2eOf(carbonKg)));
}

void addPools(const ReportTable& table, std::vector<std::string>& out) {
  carbon::Biomass b = carbon::standBiomass(table);
  out.push_back(formatText("         CARBON(Acre) at Age %2d, short tons", table.bar.barAge));
  out.push_back(" Pool                           Biomass    Carbon      CO2e");
  out.push_back(poolLine("Aboveground", b.aboveground));
  out.push_back(poolLine("  Stem wood", b.stemWood));
  out.push_back(poolLine("  Stem bark", b.stemBark));
  out.push_back(poolLine("  Foliage", b.foliage));
  out.push_back(poolLine("Belowground (coarse roots)", b.belowground));
  out.push_back(poolLine("Live tree", b.tree()));
}

void addRemoval(const char* what, const carbon::Removal& r, std::vector<std::string>& out) {
  out.push_back(" ");
  out.push_back(
      formatText(" Removed by the %s: %.1f tons carbon; into products: pulpwood %.1f,"
                 " sawtimber %.1f",
                 what, tons(r.treeCarbon), tons(r.pulpwoodCarbon), tons(r.sawtimberCarbon)));
  out.push_back(
      formatText(" Still in products after 100 years: in use %.1f, in landfills %.1f,"
                 " %.1f tons carbon (%.1f CO2e)",
                 tons(r.inUse100()), tons(r.landfill100()), tons(r.stored100()),
                 tons(carbon::co2eOf(r.stored100()))));
}

void addRotation(const carbon::RotationCarbon& rotation, const CarbonOptions& options,
                 std::vector<std::string>& out) {
  out.push_back(" ");
  out.push_back("         CARBON ON THE STUMP(Acre), live trees, short tons");
  out.push_back(" Age  Action                       Carbon      CO2e");
  for (const carbon::StumpPoint& p : rotation.points) {
    out.push_back(formatText(" %3.0f  %-24s%11.1f%10.1f", p.age, p.label.c_str(), tons(p.carbon),
                             tons(carbon::co2eOf(p.carbon))));
  }
  out.push_back(formatText(" Average over ages %.0f to %.0f: %.1f tons carbon (%.1f CO2e)",
                           rotation.startAge(), rotation.harvestAge(), tons(rotation.average),
                           tons(carbon::co2eOf(rotation.average))));
  const carbon::CarbonValues& values = options.values;
  if (!(values.price > 0)) return;
  auto interest = static_cast<double>(options.interestRate);
  double value = carbon::presentValue(carbon::carbonPayments(rotation, values), interest / 100);
  out.push_back(
      formatText(" Carbon payments at $%.2f a tonne of CO2e over a baseline of %.1f"
                 " tonnes: $%.2f at %.2f %%",
                 values.price, values.baseline, value, interest));
}

}  // namespace

CarbonOptions carbonOptionsOf(const DocumentContent& content) {
  return {content.options.showCarbon, content.carbon, content.settings.financial.interestRate};
}

std::vector<std::string> carbonSectionLines(const TableStore& store, int index,
                                            const CarbonOptions& options) {
  std::vector<std::string> out;
  if (index < 0 || index > store.lastIndex || index >= kTableCapacity) return out;
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  if (carbon::stockDataRows(table) == 0) return out;
  addPools(table, out);
  if (index > 0) {
    const ReportTable& before = store.tables[static_cast<std::size_t>(index - 1)];
    if (std::optional<carbon::Removal> r = carbon::thinningRemoval(before, table)) {
      addRemoval("thinning", *r, out);
    }
  }
  if (std::optional<carbon::Removal> r = carbon::harvestRemoval(table)) {
    addRemoval("harvest", *r, out);
    if (std::optional<carbon::RotationCarbon> rotation = carbon::rotationCarbon(store, index)) {
      addRotation(*rotation, options, out);
    }
  }
  return out;
}

}  // namespace keldovar

// What a stand's run gives the outputs: a row a table (the stand's figures after the step and
// what it removed), the regime's value and cash flows, and how the run ended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "econ/cash_flows.h"
#include "forest/inventory.h"

namespace keldovar::forest {

// Per acre, as the stand history records them.
struct Figures {
  double trees = 0;
  double basalArea = 0;
  double volume = 0;  // total outside-bark cubic feet
  double pulpTons = 0;
  double iuPulpTons = 0;  // integrated-utilization pulpwood
  double sawTons = 0;
  bool operator==(const Figures&) const = default;
};

struct TableRow {
  int table = 0;    // 1 = the stand's first table
  double year = 0;  // years after the inventory's date
  double age = 0;
  std::string label;  // the history's word for the step: "Projected", "Harvest", ...
  Figures standing;   // after the step: nothing after a harvest
  Figures removed;    // by a thinning or the harvest, as positive amounts
  double co2e = 0;    // the standing trees' carbon as CO2e, short tons an acre
  bool operator==(const TableRow&) const = default;
};

// Dollars an acre in a year after the inventory's date.
struct CashFlowYear {
  double year = 0;
  double pulpwood = 0;
  double sawtimber = 0;
  bool operator==(const CashFlowYear&) const = default;
};

// The value of a harvested regime, as the batch runner's JSON gives it.
struct StandValue {
  int rotation = 0;
  econ::Measures pulpwood;
  econ::Measures sawtimber;
  double harvestPulpTons = 0;
  double harvestIUPulpTons = 0;
  double harvestSawTons = 0;
  float interest = 0;               // percent, as the financial values hold it
  std::vector<CashFlowYear> flows;  // establishment, treatments, harvest and carbon payments
};

struct StandResult {
  int row = 0;
  int line = 0;
  std::string stand;
  std::string kind;
  std::optional<double> acres;
  bool ok = false;       // every step ran
  std::string messages;  // the messages of the run, one a line
  std::string script;    // what `keldovar-cli run` runs to make the same tables
  std::vector<TableRow> tables;
  std::optional<StandValue> value;
  std::optional<std::int64_t> candidates;  // regimes searched, with a search space
  std::optional<std::int64_t> refused;
  std::vector<Cell> passThrough;
};

}  // namespace keldovar::forest

// Removals of thinnings and the harvest, and their carbon kept in products.
#include "carbon/wood_products.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace keldovar::carbon {
namespace {

constexpr std::size_t kDbh = 0;
constexpr std::size_t kTrees = 1;
constexpr std::size_t kIUPulpTons = 6;
constexpr std::size_t kSawTons = 7;

// One class's share of a removal: its trees and its tons by product.
struct ClassCut {
  double dbh = 0;
  double trees = 0;
  double iuPulpTons = 0;
  double sawTons = 0;
};

double finiteOrZero(float value) {
  return std::isfinite(value) ? static_cast<double>(value) : 0.0;
}

ClassCut cutOf(const StockRow& row) {
  return {finiteOrZero(row[kDbh]), finiteOrZero(row[kTrees]), finiteOrZero(row[kIUPulpTons]),
          finiteOrZero(row[kSawTons])};
}

void add(const ClassCut& cut, Removal& removal) {
  if (!(cut.trees > 0) || !(cut.dbh > 0)) return;
  Biomass b = treeBiomass(cut.dbh).scaled(cut.trees);
  removal.treeCarbon += carbonOf(b.tree());
  double tons = cut.iuPulpTons + cut.sawTons;
  if (!(tons > 0)) return;
  double sawShare = std::clamp(cut.sawTons / tons, 0.0, 1.0);
  double stemCarbon = carbonOf(b.stem());
  removal.sawtimberCarbon += stemCarbon * sawShare;
  removal.pulpwoodCarbon += stemCarbon * (1 - sawShare);
}

const StockRow* rowOfClass(const ReportTable& table, float dbh) {
  for (int r = 0; r < stockDataRows(table); ++r) {
    const StockRow& row = table.stock[static_cast<std::size_t>(r)];
    if (row[kDbh] == dbh) return &row;
  }
  return nullptr;
}

}  // namespace

const ProductStorage& storageOf(Product product) {
  return kSoutheastSoftwood100Years[product == Product::Pulpwood ? 0 : 1];
}

double Removal::inUse100() const {
  return pulpwoodCarbon * storageOf(Product::Pulpwood).inUse +
         sawtimberCarbon * storageOf(Product::Sawtimber).inUse;
}

double Removal::landfill100() const {
  return pulpwoodCarbon * storageOf(Product::Pulpwood).landfill +
         sawtimberCarbon * storageOf(Product::Sawtimber).landfill;
}

bool isHarvestTable(const ReportTable& table) {
  int last = table.historyLast;
  if (last < 1 || last >= kHistoryCapacity) return false;
  const HistoryRecord& record = table.history[static_cast<std::size_t>(last)];
  return std::string_view(record.label, strnlen(record.label, kLabelLength)) == "Harvest";
}

std::optional<Removal> thinningRemoval(const ReportTable& before, const ReportTable& after) {
  if (after.hasThinningReport == 0) return std::nullopt;
  Removal removal;
  removal.age = after.bar.barAge;
  for (int r = 0; r < stockDataRows(before); ++r) {
    const StockRow& row = before.stock[static_cast<std::size_t>(r)];
    ClassCut cut = cutOf(row);
    if (const StockRow* left = rowOfClass(after, row[kDbh])) {
      ClassCut kept = cutOf(*left);
      cut.trees = std::max(0.0, cut.trees - kept.trees);
      cut.iuPulpTons = std::max(0.0, cut.iuPulpTons - kept.iuPulpTons);
      cut.sawTons = std::max(0.0, cut.sawTons - kept.sawTons);
    }
    add(cut, removal);
  }
  return removal;
}

std::optional<Removal> harvestRemoval(const ReportTable& harvest) {
  if (!isHarvestTable(harvest)) return std::nullopt;
  Removal removal;
  removal.age = harvest.history[static_cast<std::size_t>(harvest.historyLast)].age;
  for (int r = 0; r < stockDataRows(harvest); ++r) {
    add(cutOf(harvest.stock[static_cast<std::size_t>(r)]), removal);
  }
  return removal;
}

std::optional<Removal> tableRemoval(const TableStore& store, int index) {
  const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
  if (index > 0) {
    const ReportTable& before = store.tables[static_cast<std::size_t>(index - 1)];
    if (std::optional<Removal> r = thinningRemoval(before, table)) return r;
  }
  return harvestRemoval(table);
}

}  // namespace keldovar::carbon

// A new document from one table of another: its tables up to there and its state at that table.
#include "document/branch.h"

#include "document/table_rebuild.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

TableState currentState(const DocumentContent& d) {
  return TableState{d.store.snapshot, d.settings, d.remembered, d.options.showFinancial,
                    d.options.showBargraph};
}

std::string notRebuilt(int table, int failedAt) {
  return formatText(
      "The document cannot be continued from table %d. A stand file keeps the stand after its "
      "newest table only, and taking the document's steps again from the start does not give "
      "its table %d: a dialog held other values at that step than it holds now.",
      table, failedAt);
}

}  // namespace

int tableAge(const ReportTable& table) {
  if (table.historyLast >= 0 && table.historyLast < kHistoryCapacity) {
    return static_cast<int>(table.history[static_cast<std::size_t>(table.historyLast)].age);
  }
  return table.bar.barAge;
}

std::string branchTitle(const std::string& name, int age) {
  return name + " (from age " + std::to_string(age) + ")";
}

BranchResult branchDocument(const DocumentContent& source, int table) {
  const TableStore& store = source.store;
  if (table < 0 || table > store.lastIndex) {
    return {std::nullopt, formatText("The document has no table %d: its tables are 0 to %d.", table,
                                     store.lastIndex)};
  }
  auto count = static_cast<std::size_t>(table) + 1;
  std::vector<std::optional<TableState>> states(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (i < source.tableStates.size()) states[i] = source.tableStates[i];
  }
  if (table == store.lastIndex) {
    states.back() = currentState(source);
  } else if (!states.back()) {
    int failedAt = -1;
    std::optional<std::vector<TableState>> rebuilt = rebuildTableStates(source, table, failedAt);
    if (!rebuilt) return {std::nullopt, notRebuilt(table, failedAt)};
    for (std::size_t i = 0; i < count; ++i) {
      if (!states[i]) states[i] = (*rebuilt)[i];
    }
  }
  const TableState& state = *states.back();
  DocumentContent branch;
  for (std::size_t i = 0; i < count; ++i) branch.store.tables[i] = store.tables[i];
  branch.store.lastIndex = table;
  branch.store.stepTable = table;
  branch.store.firstShown = source.options.showAllTables ? 0 : table;
  branch.store.snapshot = state.snapshot;
  branch.settings = state.settings;
  branch.remembered = state.remembered;
  branch.options = source.options;
  branch.options.showFinancial = state.showFinancial;
  branch.options.showBargraph = state.showBargraph;
  branch.carbon = source.carbon;
  branch.tableStates = std::move(states);
  return {std::move(branch), ""};
}

}  // namespace keldovar

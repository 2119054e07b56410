// One document's stored report tables and the snapshot of its stand after the newest step.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "document/bar_graph.h"
#include "document/document_settings.h"
#include "document/table_line.h"
#include "engine/engine.h"
#include "engine/stand_state.h"

namespace keldovar {

inline constexpr int kTableCapacity = 100;

using StockRow = std::array<float, kStockColumns>;

// Vertical positions of a table's sections, in the order a stand file lists them.
struct SectionPositions {
  int graphBaseY = 0;
  int graphTitleY = 0;
  int titleY = 0;
  int rowsEndY = 0;
  int afterStockY = 0;
  int firstRowY = 0;
  int beforeStockY = 0;
  int historyHeadY = 0;
  int historyRowsY = 0;
  int historyFootY = 0;
  int financialY = 0;
  int headTopY = 0;
  int groupTopY = 0;
  int thinningY = 0;
};

// Layout values as a stand file carries them. The view lays every table out afresh and never
// reads these; they are kept so that a file read and written again stays the same bytes.
struct StoredLayout {
  std::array<int, 9> colWidth{};
  std::array<int, 8> colChars{};
  SectionPositions positions;
};

// One step's stored output. Its lines are held inline (TableLine), the financial analysis's only
// when it has one.
struct ReportTable {
  int hasStandTable = 0;
  int hasThinningReport = 0;
  std::array<TableLine, kThinLineCount> thinningLines;
  BarGraph bar;
  std::array<HistoryRecord, kHistoryCapacity> history{};
  int financialLast = -1;
  FinancialLines financialLines;
  int historyLast = -1;
  std::array<TableLine, kHistoryTextLineCount> historyText;
  std::array<TableLine, 2> afterStockLines;
  std::array<TableLine, 2> beforeStockLines;
  std::array<StockRow, kStockRowCapacity> stock{};
  int stockLast = -1;
  std::array<TableLine, kSummaryLineCount> titleLines;
  StoredLayout storedLayout;
  std::string barkBasis = "OB";
  std::string logRuleName = kLogRuleInternational;
  double merchLimit = 0;
};

// The carried stand state after the newest step, and the two values the snapshot keeps without
// restoring them.
struct StandSnapshot : CarriedState {
  int status = 1;  // stored, never restored
  float interestRate = FinancialValues{}.interestRate;
};

StandSnapshot takeSnapshot(const StandState& stand);
// Writes the snapshot into the stand, all but the status.
void applySnapshot(const StandSnapshot& snapshot, StandState& stand);

// The store's fixed slots 0..99. Only the slots written so far are allocated, each table on its
// own, so an empty document is small, a copy copies only the tables that exist and a new table
// never moves the others. Reading a slot never written gives an empty table; writing one
// allocates it and every slot below it.
class TableSlots {
 public:
  TableSlots() = default;
  TableSlots(const TableSlots& other);
  // Copies over the tables already allocated, which keep their memory.
  TableSlots& operator=(const TableSlots& other);
  TableSlots(TableSlots&&) noexcept = default;
  TableSlots& operator=(TableSlots&&) noexcept = default;
  ~TableSlots() = default;

  static constexpr std::size_t size() { return kTableCapacity; }
  const ReportTable& operator[](std::size_t index) const;
  ReportTable& operator[](std::size_t index);
  std::size_t allocated() const { return tables_.size(); }

 private:
  std::vector<std::unique_ptr<ReportTable>> tables_;
};

struct TableStore {
  TableSlots tables;
  int lastIndex = -1;
  int firstShown = 0;
  int stepTable = 0;
  StandSnapshot snapshot;

  int count() const { return lastIndex + 1; }
  const ReportTable* newest() const {
    return lastIndex >= 0 ? &tables[static_cast<std::size_t>(lastIndex)] : nullptr;
  }
};

// Copies the engine's outputs of a successful step into a table, and back.
void copyOutputsToTable(const Engine& engine, const BarGraph& graph, ReportTable& table);
void copyTableToEngine(const ReportTable& table, Engine& engine, BarGraph& graph);
// Hands the document's settings to the engine, as before every initialization and restore.
MerchInputs merchInputsOf(const DocumentSettings& settings);
void handOverSettings(const DocumentSettings& settings, StandState& stand);

// The snapshot of a stand that was never initialized, as after Reset View.
void resetSnapshot(StandSnapshot& snapshot);

}  // namespace keldovar

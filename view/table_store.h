// One document's stored report tables and the snapshot of its stand after the newest step.
#pragma once

#include <array>
#include <string>

#include "engine/engine.h"
#include "engine/stand_state.h"
#include "view/bar_graph.h"
#include "view/document_settings.h"

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

// One step's stored output.
struct ReportTable {
  int hasStandTable = 0;
  int hasThinningReport = 0;
  std::array<std::string, kThinLineCount> thinningLines;
  BarGraph bar;
  std::array<HistoryRecord, kHistoryCapacity> history{};
  int financialLast = -1;
  std::array<std::string, kFinancialLineCapacity> financialLines;
  int historyLast = -1;
  std::array<std::string, kHistoryTextLineCount> historyText;
  std::array<std::string, 2> afterStockLines;
  std::array<std::string, 2> beforeStockLines;
  std::array<StockRow, kStockRowCapacity> stock{};
  int stockLast = -1;
  std::array<std::string, kSummaryLineCount> titleLines;
  StoredLayout storedLayout;
  std::string barkBasis = "OB";
  std::string logRuleName = kLogRuleInternational;
  double merchLimit = 0;
};

// The carried stand state: everything a later step reads that is not in the newest table.
struct StandSnapshot {
  double AG = 0, SI = 0, HD = 0, BA = 0, TPA = 0, PLNTR = 0;
  double targetAge = 0, thinAge = 0, baRatio = 1, treesRatio = 1;
  double pctBARemoved = 0, pctTreesRemoved = 0;
  int unthinned = 1, initialized = 0, thinLock = 0, truncatedDistribution = 0;
  int existingStand = 0, volumeMode = 0;
  float fFert_Nitrogen = -1;
  int bFert_Phosphorus = 1;
  int iFertAge = -1;
  std::array<int, kFertAgesCapacity> fertAges{};
  int fertAgesLast = -1;
  int fertRecordPending = 0;
  double totalVolume = 0;
  int historyCount = 0;
  double firstClass = 0, truncationDBH = 0, minClass = 0, maxClass = 0;
  double distCap = 1000, distScale = 1, distBA = 0;
  ClassArray classTrees{}, classHeight{}, classBA{}, classVolume{}, classTopVolume{},
      classPulpTons{}, classIUPulpTons{}, classSawTons{};
  // residual, trees cut, removed basal area, volume, tons, board tons, pulp tons
  std::array<double, 7> thinResult{};
  int status = 1;  // stored, never restored
  float interestRate = 5.0f;
};

StandSnapshot takeSnapshot(const StandState& stand);
// Writes the snapshot into the stand, all but the status.
void applySnapshot(const StandSnapshot& snapshot, StandState& stand);

struct TableStore {
  std::array<ReportTable, kTableCapacity> tables;
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
void handOverMerchSettings(const DocumentSettings& settings, StandState& stand);
void handOverSettings(const DocumentSettings& settings, StandState& stand);

// The snapshot of a stand that was never initialized, as after Reset View.
void resetSnapshot(StandSnapshot& snapshot);

}  // namespace keldovar

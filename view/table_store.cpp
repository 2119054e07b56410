// Copying a step's outputs into a stored table and the carried stand into the snapshot, and back.
#include "view/table_store.h"

#include <cstring>

#include "engine/report_text.h"
#include "view/dialog_values.h"

namespace keldovar {
namespace {

std::string lineOf(const ReportLine& line) {
  return std::string(line.data(), strnlen(line.data(), kLineLength));
}

void setLine(ReportLine& line, const std::string& text) {
  copyText(line, text.c_str());
}

template <std::size_t N>
void linesToTable(const std::array<ReportLine, N>& from, std::array<std::string, N>& to,
                  int last = static_cast<int>(N) - 1) {
  for (int i = 0; i <= last && i < static_cast<int>(N); ++i) {
    to[static_cast<std::size_t>(i)] = lineOf(from[static_cast<std::size_t>(i)]);
  }
}

template <std::size_t N>
void linesToEngine(const std::array<std::string, N>& from, std::array<ReportLine, N>& to,
                   int last = static_cast<int>(N) - 1) {
  for (int i = 0; i <= last && i < static_cast<int>(N); ++i) {
    setLine(to[static_cast<std::size_t>(i)], from[static_cast<std::size_t>(i)]);
  }
}

}  // namespace

StandFacts standFactsOf(const StandState& s) {
  return StandFacts{s.AG, s.BA, s.TPA, s.minClass, s.truncationDBH, s.unthinned};
}

StandSnapshot takeSnapshot(const StandState& s) {
  StandSnapshot n;
  n.AG = s.AG;
  n.SI = s.SI;
  n.HD = s.HD;
  n.BA = s.BA;
  n.TPA = s.TPA;
  n.PLNTR = s.PLNTR;
  n.targetAge = s.targetAge;
  n.thinAge = s.thinAge;
  n.baRatio = s.baRatio;
  n.treesRatio = s.treesRatio;
  n.pctBARemoved = s.pctBARemoved;
  n.pctTreesRemoved = s.pctTreesRemoved;
  n.unthinned = s.unthinned;
  n.initialized = s.initialized;
  n.thinLock = s.thinLock;
  n.truncatedDistribution = s.truncatedDistribution;
  n.existingStand = s.existingStand;
  n.volumeMode = s.volumeMode;
  n.fFert_Nitrogen = s.fFert_Nitrogen;
  n.bFert_Phosphorus = s.bFert_Phosphorus;
  n.iFertAge = s.iFertAge;
  n.fertAges = s.fertAges;
  n.fertAgesLast = s.fertAgesLast;
  n.fertRecordPending = s.fertRecordPending;
  n.totalVolume = s.totalVolume;
  n.historyCount = s.historyCount;
  n.firstClass = s.firstClass;
  n.truncationDBH = s.truncationDBH;
  n.minClass = s.minClass;
  n.maxClass = s.maxClass;
  n.distCap = s.distCap;
  n.distScale = s.distScale;
  n.distBA = s.distBA;
  n.classTrees = s.classTrees;
  n.classHeight = s.classHeight;
  n.classBA = s.classBA;
  n.classVolume = s.classVolume;
  n.classTopVolume = s.classTopVolume;
  n.classPulpTons = s.classPulpTons;
  n.classIUPulpTons = s.classIUPulpTons;
  n.classSawTons = s.classSawTons;
  const ThinResult& r = s.thinResult;
  n.thinResult = {r.residualBA,  r.treesCut,       r.baRemoved,      r.volumeRemoved,
                  r.tonsRemoved, r.sawTonsRemoved, r.pulpTonsRemoved};
  n.status = s.status;
  n.interestRate = s.financial.interestRate;
  return n;
}

void applySnapshot(const StandSnapshot& n, StandState& s) {
  s.AG = n.AG;
  s.SI = n.SI;
  s.HD = n.HD;
  s.BA = n.BA;
  s.TPA = n.TPA;
  s.PLNTR = n.PLNTR;
  s.targetAge = n.targetAge;
  s.thinAge = n.thinAge;
  s.baRatio = n.baRatio;
  s.treesRatio = n.treesRatio;
  s.pctBARemoved = n.pctBARemoved;
  s.pctTreesRemoved = n.pctTreesRemoved;
  s.unthinned = n.unthinned;
  s.initialized = n.initialized;
  s.thinLock = n.thinLock;
  s.truncatedDistribution = n.truncatedDistribution;
  s.existingStand = n.existingStand;
  s.volumeMode = n.volumeMode;
  s.fFert_Nitrogen = n.fFert_Nitrogen;
  s.bFert_Phosphorus = n.bFert_Phosphorus;
  s.iFertAge = n.iFertAge;
  s.fertAges = n.fertAges;
  s.fertAgesLast = n.fertAgesLast;
  s.fertRecordPending = n.fertRecordPending;
  s.totalVolume = n.totalVolume;
  s.historyCount = n.historyCount;
  s.firstClass = n.firstClass;
  s.truncationDBH = n.truncationDBH;
  s.minClass = n.minClass;
  s.maxClass = n.maxClass;
  s.distCap = n.distCap;
  s.distScale = n.distScale;
  s.distBA = n.distBA;
  s.classTrees = n.classTrees;
  s.classHeight = n.classHeight;
  s.classBA = n.classBA;
  s.classVolume = n.classVolume;
  s.classTopVolume = n.classTopVolume;
  s.classPulpTons = n.classPulpTons;
  s.classIUPulpTons = n.classIUPulpTons;
  s.classSawTons = n.classSawTons;
  ThinResult& r = s.thinResult;
  r.residualBA = n.thinResult[0];
  r.treesCut = n.thinResult[1];
  r.baRemoved = n.thinResult[2];
  r.volumeRemoved = n.thinResult[3];
  r.tonsRemoved = n.thinResult[4];
  r.sawTonsRemoved = n.thinResult[5];
  r.pulpTonsRemoved = n.thinResult[6];
}

void resetSnapshot(StandSnapshot& n) {
  n.initialized = 0;
  n.PLNTR = 0;
  n.historyCount = 0;
  n.truncatedDistribution = 0;
  n.volumeMode = 0;
  n.thinLock = 0;
  n.status = 1;
  n.unthinned = 1;
  n.distCap = 1000;
  n.distScale = 1;
  n.firstClass = 0;
  n.truncationDBH = 0;
}

void copyOutputsToTable(const Engine& engine, const BarGraph& graph, ReportTable& table) {
  const StandState& s = engine.state();
  const EngineOutput& out = engine.output();
  table.hasStandTable = s.outputReady;
  table.hasThinningReport = out.thinReportReady;
  linesToTable(out.thinning, table.thinningLines);
  table.bar = graph;
  table.history = s.final_harvest;
  table.financialLast =
      out.financialLast < kFinancialLineCapacity ? out.financialLast : kFinancialLineCapacity - 1;
  linesToTable(out.financial, table.financialLines, table.financialLast);
  table.historyLast = out.historyLast;
  linesToTable(out.historyText, table.historyText);
  linesToTable(out.afterStock, table.afterStockLines);
  linesToTable(out.beforeStock, table.beforeStockLines);
  table.stockLast = out.stockLast < kStockRowCapacity ? out.stockLast : kStockRowCapacity - 1;
  for (int r = 0; r <= table.stockLast; ++r) {
    auto k = static_cast<std::size_t>(r);
    table.stock[k] = out.stock[k];
  }
  linesToTable(out.summary, table.titleLines);
  table.barkBasis =
      std::string(s.barkBasis.data(), strnlen(s.barkBasis.data(), s.barkBasis.size()));
  table.logRuleName =
      std::string(s.logRuleName.data(), strnlen(s.logRuleName.data(), s.logRuleName.size()));
  table.merchLimit = s.pulpTopDiameter;
}

void copyTableToEngine(const ReportTable& table, Engine& engine, BarGraph& graph) {
  StandState& s = engine.state();
  EngineOutput& out = engine.output();
  s.outputReady = table.hasStandTable;
  out.thinReportReady = table.hasThinningReport;
  linesToEngine(table.thinningLines, out.thinning);
  graph = table.bar;
  s.final_harvest = table.history;
  out.financialLast = table.financialLast;
  // Lines past the last one are never read: the store copies 0..financialLast back.
  linesToEngine(table.financialLines, out.financial, table.financialLast);
  out.historyLast = table.historyLast;
  linesToEngine(table.historyText, out.historyText);
  linesToEngine(table.afterStockLines, out.afterStock);
  linesToEngine(table.beforeStockLines, out.beforeStock);
  out.stockLast = table.stockLast;
  out.stock = table.stock;
  linesToEngine(table.titleLines, out.summary);
}

void handOverMerchSettings(const DocumentSettings& settings, StandState& s) {
  copyText(s.logRuleName, settings.logRuleName.c_str());
  s.logRuleFactor = settings.logRuleFactor;
  copyText(s.barkBasis, settings.barkBasis.c_str());
  s.pulpTopDiameter = settings.merchLimit;
  s.sawThresholdDBH = settings.sawThreshold;
  s.pulpThresholdDBH = settings.pulpThreshold;
}

void handOverSettings(const DocumentSettings& settings, StandState& s) {
  handOverMerchSettings(settings, s);
  s.financial = settings.financial;
}

}  // namespace keldovar

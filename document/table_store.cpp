// Copying a step's outputs into a stored table and the carried stand into the snapshot, and back.
#include "document/table_store.h"

#include <algorithm>
#include <cstring>

#include "document/dialog_values.h"

namespace keldovar {
namespace {

std::string_view lineOf(const ReportLine& line) {
  return {line.data(), strnlen(line.data(), kLineLength)};
}

// The line's text, cut to the engine's 300 characters, and its terminator; the bytes after it
// are never read.
void setLine(ReportLine& line, std::string_view text) {
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(kLineLength));
  std::memcpy(line.data(), text.data(), n);
  line[n] = '\0';
}

template <std::size_t N, class Lines>
void linesToTable(const std::array<ReportLine, N>& from, Lines& to,
                  int last = static_cast<int>(N) - 1) {
  for (int i = 0; i <= last && i < static_cast<int>(N); ++i) {
    to[static_cast<std::size_t>(i)] = lineOf(from[static_cast<std::size_t>(i)]);
  }
}

template <std::size_t N, class Lines>
void linesToEngine(const Lines& from, std::array<ReportLine, N>& to,
                   int last = static_cast<int>(N) - 1) {
  for (int i = 0; i <= last && i < static_cast<int>(N); ++i) {
    setLine(to[static_cast<std::size_t>(i)], from[static_cast<std::size_t>(i)]);
  }
}

}  // namespace

TableSlots::TableSlots(const TableSlots& other) {
  *this = other;
}

TableSlots& TableSlots::operator=(const TableSlots& other) {
  if (this == &other) return *this;
  tables_.resize(other.tables_.size());
  for (std::size_t i = 0; i < tables_.size(); ++i) {
    if (tables_[i]) {
      *tables_[i] = *other.tables_[i];
    } else {
      tables_[i] = std::make_unique<ReportTable>(*other.tables_[i]);
    }
  }
  return *this;
}

const ReportTable& TableSlots::operator[](std::size_t index) const {
  static const ReportTable kEmpty;
  return index < tables_.size() ? *tables_[index] : kEmpty;
}

ReportTable& TableSlots::operator[](std::size_t index) {
  // Out of range is a caller's fault; the last slot keeps it inside the capacity.
  index = std::min(index, size() - 1);
  while (index >= tables_.size()) tables_.push_back(std::make_unique<ReportTable>());
  return *tables_[index];
}

StandFacts standFactsOf(const StandState& s) {
  return StandFacts{s.AG, s.BA, s.TPA, s.minClass, s.truncationDBH, s.unthinned};
}

StandSnapshot takeSnapshot(const StandState& s) {
  StandSnapshot n;
  static_cast<CarriedState&>(n) = s.carried();
  n.status = s.status;
  n.interestRate = s.financial.interestRate;
  return n;
}

void applySnapshot(const StandSnapshot& n, StandState& s) {
  s.carried() = n;
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
  // A slot may hold an earlier table of the store: a table made here has no stored layout.
  table.storedLayout = StoredLayout{};
}

void copyTableToEngine(const ReportTable& table, Engine& engine, BarGraph& graph) {
  StandState& s = engine.state();
  EngineOutput& out = engine.output();
  s.outputReady = table.hasStandTable;
  out.thinReportReady = table.hasThinningReport;
  linesToEngine(table.thinningLines, out.thinning);
  graph = table.bar;
  s.final_harvest = table.history;
  // The financial lines are not restored: every step starts without them, and the harvest that
  // makes them writes each line it keeps.
  out.financialLast = table.financialLast;
  out.historyLast = table.historyLast;
  linesToEngine(table.historyText, out.historyText);
  linesToEngine(table.afterStockLines, out.afterStock);
  linesToEngine(table.beforeStockLines, out.beforeStock);
  out.stockLast = table.stockLast;
  for (int r = 0; r <= table.stockLast && r < kStockRowCapacity; ++r) {
    out.stock[static_cast<std::size_t>(r)] = table.stock[static_cast<std::size_t>(r)];
  }
  linesToEngine(table.titleLines, out.summary);
}

MerchInputs merchInputsOf(const DocumentSettings& settings) {
  return MerchInputs{settings.logRuleName.c_str(), settings.logRuleFactor,
                     settings.barkBasis.c_str(),   settings.merchLimit,
                     settings.sawThreshold,        static_cast<double>(settings.pulpThreshold)};
}

void handOverSettings(const DocumentSettings& settings, StandState& s) {
  s.setMerchInputs(merchInputsOf(settings));
  s.financial = settings.financial;
}

}  // namespace keldovar

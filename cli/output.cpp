// Writing a document's tables as text, JSON or CSV.
#include "cli/output.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <ostream>
#include <span>
#include <system_error>

#include "cli/carbon_output.h"
#include "cli/command_line.h"
#include "econ/cash_flows.h"
#include "engine/report_text.h"
#include "view/copy_text.h"
#include "view/report_csv.h"
#include "view/report_model.h"

namespace keldovar::cli {

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c >= 0x7f) {
      // Report text is 8-bit: bytes above ASCII are read as Latin-1.
      out += formatText("\\u%04x", c);
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string jsonNumber(float value) {
  if (!std::isfinite(value)) return "null";
  return formatText("%.9g", static_cast<double>(value));
}

std::string jsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  return formatText("%.17g", value);
}

namespace {

std::string stringArray(std::span<const std::string> lines) {
  std::string out = "[";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += ", ";
    out += jsonString(lines[i]);
  }
  return out + "]";
}

std::string linesJson(const ReportSection* section) {
  return section != nullptr ? stringArray(section->heading) : "null";
}

std::string stockJson(const ReportTable& t, const ReportSection* stock) {
  if (stock == nullptr) return "null";
  std::string out = "{\"title\": " + jsonString(stock->heading[0]) +
                    ", \"conversion\": " + jsonString(stock->footing[0]) + ", \"rows\": [";
  for (int r = 0; r < stock->rowCount; ++r) {
    if (r > 0) out += ", ";
    out += "[";
    for (std::size_t c = 0; c < kStockTableColumns; ++c) {
      if (c > 0) out += ", ";
      out += jsonNumber(t.stock[static_cast<std::size_t>(r)][c]);
    }
    out += "]";
  }
  return out + "]}";
}

std::string historyJson(const ReportTable& t, const ReportSection* history) {
  if (history == nullptr) return "null";
  std::string out = "{\"heading\": " + stringArray(history->heading) + ", \"rows\": [";
  for (int r = 0; r < history->rowCount; ++r) {
    const HistoryRecord& h = t.history[static_cast<std::size_t>(r)];
    if (r > 0) out += ", ";
    out += "[" + jsonNumber(h.age) + ", " +
           jsonString(std::string(h.label, strnlen(h.label, kLabelLength))) + ", " +
           jsonNumber(h.trees) + ", " + jsonNumber(h.basal_area) + ", " + jsonNumber(h.volume) +
           ", " + jsonNumber(h.cords) + ", " + jsonNumber(h.topcords) + ", " + jsonNumber(h.bdft) +
           "]";
  }
  return out + "], \"footing\": " + stringArray(history->footing) + "}";
}

std::string barGraphJson(const BarGraph& g, const ReportSection* graph) {
  if (graph == nullptr) return "null";
  std::string out = "{\"age\": " + std::to_string(g.barAge) + ", \"max\": " + jsonNumber(g.barMax) +
                    ", \"bars\": [";
  for (int n = 0; n < graph->rowCount; ++n) {
    auto b = static_cast<std::size_t>(n);
    const BarRect& r = g.bars[b];
    if (n > 0) out += ", ";
    out += formatText("[%d, %d, %d, %d, %d, %d]", g.barClass[b], g.barValue[b], r.left, r.top,
                      r.right, r.bottom);
  }
  return out + "]}";
}

using econ::harvestMeasures;
using econ::HarvestMeasures;

std::string optionalNumber(const std::optional<double>& value, double scale) {
  return value ? jsonNumber(*value * scale) : std::string("null");
}

std::string harvestJson(const HarvestMeasures& m) {
  return ",\n      \"lev\": {\"pulpwood\": " + optionalNumber(m.pulpwood.lev, 1) +
         ", \"sawtimber\": " + optionalNumber(m.sawtimber.lev, 1) +
         "},\n      \"irr\": {\"pulpwood\": " + optionalNumber(m.pulpwood.irr, 100) +
         ", \"sawtimber\": " + optionalNumber(m.sawtimber.irr, 100) + "}";
}

std::string tableJson(const TableStore& store, const ShownTable& shown,
                      const FinancialValues& values, const carbon::CarbonValues& carbonValues) {
  const ReportTable& t = *shown.table;
  const ReportSection* summary = shown.find(SectionKind::Summary);
  std::string out = "    {\n      \"summary\": ";
  out += summary != nullptr ? stringArray(summary->heading) : "[]";
  out += ",\n      \"stock\": " + stockJson(t, shown.find(SectionKind::Stock));
  out += ",\n      \"thinning\": " + linesJson(shown.find(SectionKind::Thinning));
  out += ",\n      \"history\": " + historyJson(t, shown.find(SectionKind::History));
  out += ",\n      \"financial\": " + linesJson(shown.find(SectionKind::Financial));
  if (std::optional<HarvestMeasures> m = harvestMeasures(t, values)) out += harvestJson(*m);
  out += ",\n      \"bargraph\": " + barGraphJson(t.bar, shown.find(SectionKind::BarGraph));
  out += carbonJson(store, shown.index, values, carbonValues);
  return out + "\n    }";
}

// Every stored table with every section, whatever the view shows.
ReportModel everyTable(const TableStore& store) {
  return {store, ReportOptions{0, true, true}};
}

}  // namespace

std::string textOutput(const TableStore& store, bool showFinancial, bool currentStep,
                       const CarbonOptions& carbon) {
  return selectAllText(store, currentStep ? store.stepTable : 0, showFinancial, kUnixLineEnd,
                       carbon);
}

std::string jsonOutput(const TableStore& store, const std::vector<RecordedMessage>& messages,
                       const FinancialValues& values, const carbon::CarbonValues& carbonValues) {
  std::string out = "{\n  \"tables\": [";
  ReportModel model = everyTable(store);
  for (int t = 0; t < model.size(); ++t) {
    out += t > 0 ? ",\n" : "\n";
    out += tableJson(store, model.table(t), values, carbonValues);
  }
  out += model.empty() ? "],\n" : "\n  ],\n";
  out += "  \"messages\": [";
  for (std::size_t i = 0; i < messages.size(); ++i) {
    out += i > 0 ? ",\n    " : "\n    ";
    out += "{\"line\": " + std::to_string(messages[i].line) +
           ", \"caption\": " + jsonString(messages[i].caption) +
           ", \"text\": " + jsonString(messages[i].text) + "}";
  }
  out += messages.empty() ? "],\n" : "\n  ],\n";
  const StandSnapshot& s = store.snapshot;
  out += "  \"stand\": {\"age\": " + jsonNumber(s.AG) + ", \"site_index\": " + jsonNumber(s.SI) +
         ", \"height\": " + jsonNumber(s.HD) + ", \"basal_area\": " + jsonNumber(s.BA) +
         ", \"trees\": " + jsonNumber(s.TPA) +
         ", \"initialized\": " + std::to_string(s.initialized) +
         ", \"unthinned\": " + std::to_string(s.unthinned) +
         ", \"thin_lock\": " + std::to_string(s.thinLock) +
         ", \"total_volume\": " + jsonNumber(s.totalVolume) + "}\n}\n";
  return out;
}

std::string csvOutput(const TableStore& store, const FinancialValues& values) {
  return reportCsv(store, [&values](const ReportTable& table) -> std::optional<HarvestCells> {
    std::optional<HarvestMeasures> m = harvestMeasures(table, values);
    if (!m) return std::nullopt;
    return HarvestCells{m->pulpwood.lev, m->sawtimber.lev, m->pulpwood.irr, m->sawtimber.irr};
  });
}

std::string renderReport(OutputFormat format, const DocumentContent& content,
                         const std::vector<RecordedMessage>& messages, bool showFinancial,
                         bool currentStep, const CarbonOptions& carbon) {
  const TableStore& store = content.store;
  switch (format) {
    case OutputFormat::Json:
      return jsonOutput(store, messages, content.settings.financial, carbon.values);
    case OutputFormat::Csv:
      return csvOutput(store, content.settings.financial);
    case OutputFormat::Text:
      break;
  }
  return textOutput(store, showFinancial, currentStep, carbon);
}

int writeReport(std::ostream& out, std::ostream& err, const std::string& text) {
  errno = 0;
  out << text;
  out.flush();
  if (out) return 0;
  err << "keldovar-cli: cannot write the report: "
      << std::generic_category().message(errno != 0 ? errno : EIO) << "\n";
  return kExitFailedStep;
}

}  // namespace keldovar::cli

// Writing a document's tables as text, JSON or CSV.
#include "cli/output.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <ostream>
#include <span>
#include <system_error>
#include <type_traits>

#include "cli/carbon_output.h"
#include "cli/command_line.h"
#include "cli/json_writer.h"
#include "econ/cash_flows.h"
#include "engine/numeric.h"
#include "engine/report_text.h"
#include "view/copy_text.h"
#include "view/report_csv.h"
#include "view/report_model.h"

namespace keldovar::cli {

std::string jsonString(const std::string& text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

namespace {

// A float's or a double's text in 9 or 17 significant digits ("%.9g", "%.17g"), as the CSV, the
// search's results and the sensitivity reports have always written them.
template <class Value>
void csvNumber(std::string& out, Value value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char digits[40];
  int precision = std::is_same_v<Value, float> ? 9 : 17;
  auto done = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                            std::chars_format::general, precision);
  out.append(digits, static_cast<std::size_t>(done.ptr - digits));
}

}  // namespace

std::string jsonNumber(float value) {
  std::string out;
  csvNumber(out, value);
  return out;
}

std::string jsonNumber(double value) {
  std::string out;
  csvNumber(out, value);
  return out;
}

namespace {

void stringArray(JsonWriter& json, std::span<const TableLine> lines) {
  json.raw("[");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) json.raw(", ");
    json.string(lines[i]);
  }
  json.raw("]");
}

void linesJson(JsonWriter& json, const ReportSection* section) {
  if (section == nullptr) {
    json.null();
  } else {
    stringArray(json, section->heading);
  }
}

// A section's values written last and where their text lies in the output: a harvest repeats
// the stock table and the bar graph of the step before it, whose text is then copied rather
// than written again.
struct Written {
  const void* values = nullptr;
  std::size_t bytes = 0;
  std::size_t from = 0;
  std::size_t to = 0;

  bool same(const void* other, std::size_t size) const {
    return values != nullptr && bytes == size && std::memcmp(values, other, size) == 0;
  }
};

struct WrittenSections {
  Written stock;
  Written bars;
};

// In metric the rows keep the inch class in their first place; "class_cm" gives each row's
// class by its centimetre bounds (null on the totals row).
void classBoundsJson(JsonWriter& json, const ReportTable& t, int rows) {
  json.raw(", \"class_cm\": [");
  for (int r = 0; r < rows; ++r) {
    if (r > 0) json.raw(", ");
    if (r == t.stockLast) {
      json.null();
      continue;
    }
    ClassBounds cm =
        classBoundsCm(truncToInt(static_cast<double>(t.stock[static_cast<std::size_t>(r)][0])));
    json.raw("[").number(cm.low).raw(", ").number(cm.high).raw("]");
  }
  json.raw("]");
}

void stockJson(JsonWriter& json, const ShownTable& shown, Written& last) {
  const ReportTable& t = *shown.table;
  const ReportSection* stock = shown.find(SectionKind::Stock);
  if (stock == nullptr) {
    json.null();
    return;
  }
  json.raw("{\"title\": ").string(stock->heading[0]);
  json.raw(", \"conversion\": ").string(stock->footing[0]);
  if (shown.units == UnitSystem::Metric) classBoundsJson(json, t, stock->rowCount);
  json.raw(", \"rows\": ");
  std::size_t bytes = sizeof(StockRow) * static_cast<std::size_t>(stock->rowCount);
  if (last.same(t.stock.data(), bytes)) {
    json.copy(last.from, last.to);
  } else {
    last = {t.stock.data(), bytes, json.size(), 0};
    json.raw("[");
    for (int r = 0; r < stock->rowCount; ++r) {
      json.raw(r > 0 ? ", [" : "[");
      for (std::size_t c = 0; c < kStockTableColumns; ++c) {
        if (c > 0) json.raw(", ");
        json.number(t.stock[static_cast<std::size_t>(r)][c]);
      }
      json.raw("]");
    }
    json.raw("]");
    last.to = json.size();
  }
  json.raw("}");
}

void historyJson(JsonWriter& json, const ReportTable& t, const ReportSection* history) {
  if (history == nullptr) {
    json.null();
    return;
  }
  json.raw("{\"heading\": ");
  stringArray(json, history->heading);
  json.raw(", \"rows\": [");
  for (int r = 0; r < history->rowCount; ++r) {
    const HistoryRecord& h = t.history[static_cast<std::size_t>(r)];
    json.raw(r > 0 ? ", [" : "[").number(h.age).raw(", ");
    json.string(std::string_view(h.label, strnlen(h.label, kLabelLength)));
    for (double v : {h.trees, h.basal_area, h.volume, h.cords, h.topcords, h.bdft}) {
      json.raw(", ").number(v);
    }
    json.raw("]");
  }
  json.raw("], \"footing\": ");
  stringArray(json, history->footing);
  json.raw("}");
}

void barGraphJson(JsonWriter& json, const BarGraph& g, const ReportSection* graph, Written& last) {
  if (graph == nullptr) {
    json.null();
    return;
  }
  if (last.same(&g, sizeof g)) {
    json.copy(last.from, last.to);
    return;
  }
  last = {&g, sizeof g, json.size(), 0};
  json.raw("{\"age\": ").whole(g.barAge).raw(", \"max\": ").number(g.barMax);
  json.raw(", \"bars\": [");
  for (int n = 0; n < graph->rowCount; ++n) {
    auto b = static_cast<std::size_t>(n);
    const BarRect& r = g.bars[b];
    json.raw(n > 0 ? ", [" : "[");
    for (int v : {g.barClass[b], g.barValue[b], r.left, r.top, r.right}) json.whole(v).raw(", ");
    json.whole(r.bottom).raw("]");
  }
  json.raw("]}");
  last.to = json.size();
}

using econ::harvestMeasures;
using econ::HarvestMeasures;

void optionalNumber(JsonWriter& json, const std::optional<double>& value, double scale) {
  if (value) {
    json.number(*value * scale);
  } else {
    json.null();
  }
}

// `money` turns the stored value per acre into the shown one.
void harvestJson(JsonWriter& json, const HarvestMeasures& m, double money) {
  json.raw(",").newline(6).raw("\"lev\": {\"pulpwood\": ");
  optionalNumber(json, m.pulpwood.lev, money);
  json.raw(", \"sawtimber\": ");
  optionalNumber(json, m.sawtimber.lev, money);
  json.raw("},").newline(6).raw("\"irr\": {\"pulpwood\": ");
  optionalNumber(json, m.pulpwood.irr, 100);
  json.raw(", \"sawtimber\": ");
  optionalNumber(json, m.sawtimber.irr, 100);
  json.raw("}");
}

void tableJson(JsonWriter& json, const TableStore& store, const ShownTable& shown,
               const FinancialValues& values, const carbon::CarbonValues& carbonValues,
               WrittenSections& rows) {
  const ReportTable& t = *shown.table;
  const ReportTable& stored = store.tables[static_cast<std::size_t>(shown.index)];
  const ReportSection* summary = shown.find(SectionKind::Summary);
  json.raw("{").newline(6).raw("\"summary\": ");
  if (summary != nullptr) {
    stringArray(json, summary->heading);
  } else {
    json.raw("[]");
  }
  json.raw(",").newline(6).raw("\"stock\": ");
  stockJson(json, shown, rows.stock);
  json.raw(",").newline(6).raw("\"thinning\": ");
  linesJson(json, shown.find(SectionKind::Thinning));
  json.raw(",").newline(6).raw("\"history\": ");
  historyJson(json, t, shown.find(SectionKind::History));
  json.raw(",").newline(6).raw("\"financial\": ");
  linesJson(json, shown.find(SectionKind::Financial));
  if (std::optional<HarvestMeasures> m = harvestMeasures(stored, values)) {
    harvestJson(json, *m, shownValue(shown.units, Quantity::MoneyPerArea, 1));
  }
  json.raw(",").newline(6).raw("\"bargraph\": ");
  barGraphJson(json, t.bar, shown.find(SectionKind::BarGraph), rows.bars);
  json.raw(",").newline(6).raw("\"carbon\": ");
  json.raw(carbonValueJson(store, shown.index, values, carbonValues, shown.units));
  json.newline(4).raw("}");
}

// Every stored table with every section, whatever the view shows.
ReportModel everyTable(const TableStore& store, UnitSystem units) {
  ReportOptions options{0, true, true};
  options.units = units;
  return {store, options};
}

}  // namespace

std::string textOutput(const TableStore& store, bool showFinancial, bool currentStep,
                       const CarbonOptions& carbon, UnitSystem units) {
  ReportOptions options{currentStep ? store.stepTable : 0, showFinancial, false, carbon};
  options.units = units;
  return selectAllText(store, options, kUnixLineEnd);
}

namespace {

// The document's JSON, led by the script's name when one is given.
std::string documentJson(const TableStore& store, const std::vector<RecordedMessage>& messages,
                         const FinancialValues& values, const carbon::CarbonValues& carbonValues,
                         JsonLayout layout, const std::string* script, UnitSystem units) {
  ReportModel model = everyTable(store, units);
  std::string out;
  out.reserve(2048 + 4096 * static_cast<std::size_t>(model.size()));
  JsonWriter json(out, layout);
  json.raw("{");
  if (script != nullptr) json.raw("\"script\": ").string(*script).raw(",");
  // The imperial JSON stays as it always was: a reader finds "units" only in metric.
  if (units == UnitSystem::Metric) json.newline(2).raw("\"units\": \"metric\",");
  json.newline(2).raw("\"tables\": [");
  WrittenSections rows;
  for (int t = 0; t < model.size(); ++t) {
    if (t > 0) json.raw(",");
    json.newline(4);
    tableJson(json, store, model.table(t), values, carbonValues, rows);
  }
  if (!model.empty()) json.newline(2);
  json.raw("],").newline(2).raw("\"messages\": [");
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (i > 0) json.raw(",");
    json.newline(4).raw("{\"line\": ").whole(messages[i].line);
    json.raw(", \"caption\": ").string(messages[i].caption);
    json.raw(", \"text\": ").string(messages[i].text).raw("}");
  }
  if (!messages.empty()) json.newline(2);
  const StandSnapshot& s = store.snapshot;
  auto shown = [units](Quantity q, double stored) { return shownValue(units, q, stored); };
  json.raw("],").newline(2).raw("\"stand\": {\"age\": ").number(s.AG);
  json.raw(", \"site_index\": ").number(shown(Quantity::Length, s.SI));
  json.raw(", \"height\": ").number(shown(Quantity::Length, s.HD));
  json.raw(", \"basal_area\": ").number(shown(Quantity::BasalArea, s.BA));
  json.raw(", \"trees\": ").number(shown(Quantity::PerArea, s.TPA));
  json.raw(", \"initialized\": ").whole(s.initialized);
  json.raw(", \"unthinned\": ").whole(s.unthinned).raw(", \"thin_lock\": ").whole(s.thinLock);
  json.raw(", \"total_volume\": ")
      .number(shown(Quantity::VolumePerArea, s.totalVolume))
      .raw("}")
      .newline(0)
      .raw("}");
  out += '\n';
  return out;
}

}  // namespace

std::string jsonOutput(const TableStore& store, const std::vector<RecordedMessage>& messages,
                       const FinancialValues& values, const carbon::CarbonValues& carbonValues,
                       UnitSystem units) {
  return documentJson(store, messages, values, carbonValues, JsonLayout::Pretty, nullptr, units);
}

std::string jsonLineOutput(const std::string& script, const TableStore& store,
                           const std::vector<RecordedMessage>& messages,
                           const FinancialValues& values, const carbon::CarbonValues& carbonValues,
                           UnitSystem units) {
  return documentJson(store, messages, values, carbonValues, JsonLayout::Line, &script, units);
}

std::string csvOutput(const TableStore& store, const FinancialValues& values, UnitSystem units) {
  auto valuation = [&values](const ReportTable& table) -> std::optional<HarvestCells> {
    std::optional<HarvestMeasures> m = harvestMeasures(table, values);
    if (!m) return std::nullopt;
    return HarvestCells{m->pulpwood.lev, m->sawtimber.lev, m->pulpwood.irr, m->sawtimber.irr};
  };
  return reportCsv(store, valuation, CsvPart{}, units);
}

std::string renderReport(OutputFormat format, const DocumentContent& content,
                         const std::vector<RecordedMessage>& messages, bool showFinancial,
                         bool currentStep, const CarbonOptions& carbon, UnitSystem units) {
  const TableStore& store = content.store;
  switch (format) {
    case OutputFormat::Json:
      return jsonOutput(store, messages, content.settings.financial, carbon.values, units);
    case OutputFormat::Csv:
      return csvOutput(store, content.settings.financial, units);
    case OutputFormat::Text:
      break;
  }
  return textOutput(store, showFinancial, currentStep, carbon, units);
}

int writeReport(std::ostream& out, std::ostream& err, std::string_view text,
                std::string_view lead) {
  errno = 0;
  out << lead << text;
  out.flush();
  if (out) return 0;
  err << "keldovar-cli: cannot write the report: "
      << std::generic_category().message(errno != 0 ? errno : EIO) << "\n";
  return kExitFailedStep;
}

}  // namespace keldovar::cli

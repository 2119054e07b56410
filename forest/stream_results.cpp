// Writing the results as CSV, JSON Lines or a plain table.
#include "forest/stream_results.h"

#include "engine/report_text.h"
#include "forest/text_out.h"

namespace keldovar::forest {
namespace {

std::string csvCell(const Cell& cell) {
  if (cell.type == Cell::Type::Blob) return hexText(cell.bytes);
  if (cell.type == Cell::Type::Text) return csvField(cell.bytes);
  return cellText(cell).value_or("");
}

std::string jsonCell(const Cell& cell) {
  if (cell.type == Cell::Type::Blob) return jsonString(hexText(cell.bytes));
  if (cell.type == Cell::Type::Text) return jsonString(cell.bytes);
  if (cell.type == Cell::Type::Real) return jsonNumber(cell.real);
  return cellText(cell).value_or("null");
}

template <typename Names>
std::string csvLine(const Names& names, const std::vector<std::string>& more = {}) {
  std::string line;
  for (const auto& name : names) line += (line.empty() ? "" : ",") + csvField(name);
  for (const std::string& name : more) line += "," + csvField(name);
  return line + "\n";
}

std::string csvLine(const CellRow& cells, const CellRow* more = nullptr) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "," : "") + csvCell(cells[i]);
  if (more != nullptr) {
    for (const Cell& cell : *more) line += "," + csvCell(cell);
  }
  return line + "\n";
}

// "key": value pairs of the columns from `first` on, after a comma each but the first.
template <typename Names>
std::string jsonPairs(const Names& names, const CellRow& cells, std::size_t first = 0) {
  std::string pairs;
  for (std::size_t i = first; i < cells.size() && i < names.size(); ++i) {
    if (!pairs.empty()) pairs += ", ";
    pairs += jsonString(names[i]) + ": " + jsonCell(cells[i]);
  }
  return pairs;
}

void writeIf(TextOutput* out, const std::string& text) {
  if (out != nullptr) out->write(text);
}

std::string manifestCsv(const Manifest& manifest) {
  std::string text = "key,value\n";
  for (const auto& [key, value] : manifest.entries) {
    text += csvField(key) + "," + csvField(value) + "\n";
  }
  return text;
}

std::string shown(std::optional<double> value, const char* format) {
  return value ? formatText(format, *value) : std::string();
}

}  // namespace

void StreamOutput::write(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw ForestError("cannot write " + name_);
}

void TextResults::stand(const StandRecord& record) {
  totals_.add(record);
  ++stands_;
  failed_ += record.stand[kStandStatus].bytes != kStatusOk ? 1 : 0;
}

void TextResults::count(Manifest& manifest) const {
  manifest.set(manifest_keys::kStands, std::to_string(stands_));
  manifest.set(manifest_keys::kFailed, std::to_string(failed_));
}

CsvResults::CsvResults(const CsvTargets& targets, const std::vector<std::string>& passThrough)
    : targets_(targets) {
  writeIf(targets_.tables, csvLine(kTableColumns, passThrough));
  writeIf(targets_.stands, csvLine(kStandColumns, passThrough));
  writeIf(targets_.flows, csvLine(kFlowColumns));
}

void CsvResults::stand(const StandRecord& record) {
  TextResults::stand(record);
  if (targets_.tables != nullptr) {
    std::string lines;
    for (const CellRow& row : record.tables) lines += csvLine(row, &record.passThrough);
    targets_.tables->write(lines);
  }
  writeIf(targets_.stands, csvLine(record.stand, &record.passThrough));
  if (targets_.flows != nullptr) {
    std::string lines;
    for (const CellRow& row : record.flows) lines += csvLine(row);
    targets_.flows->write(lines);
  }
}

void CsvResults::finish(Manifest& manifest) {
  count(manifest);
  if (targets_.forest != nullptr) {
    std::string text = csvLine(kForestColumns);
    for (const ForestYear& year : totals_.years()) text += csvLine(forestRow(year));
    targets_.forest->write(text);
  }
  writeIf(targets_.manifest, manifestCsv(manifest));
}

JsonlResults::JsonlResults(TextOutput& out, const std::vector<std::string>& passThrough)
    : out_(out), passThrough_(passThrough) {}

void JsonlResults::stand(const StandRecord& record) {
  TextResults::stand(record);
  std::string line = "{\"record\": \"stand\", " + jsonPairs(kStandColumns, record.stand);
  line += ", \"columns\": {" + jsonPairs(passThrough_, record.passThrough) + "}";
  line += ", \"stand_tables\": [";
  for (std::size_t i = 0; i < record.tables.size(); ++i) {
    line += (i > 0 ? ", {" : "{") + jsonPairs(kTableColumns, record.tables[i], kTableIndex) + "}";
  }
  line += "], \"cash_flows\": [";
  for (std::size_t i = 0; i < record.flows.size(); ++i) {
    line += (i > 0 ? ", {" : "{") + jsonPairs(kFlowColumns, record.flows[i], kFlowYear) + "}";
  }
  out_.write(line + "]}\n");
}

void JsonlResults::finish(Manifest& manifest) {
  count(manifest);
  for (const ForestYear& year : totals_.years()) {
    out_.write("{\"record\": \"year\", " + jsonPairs(kForestColumns, forestRow(year)) + "}\n");
  }
  std::string line = "{\"record\": \"manifest\"";
  for (const auto& [key, value] : manifest.entries) {
    line += ", " + jsonString(key) + ": " + jsonString(value);
  }
  out_.write(line + "}\n");
}

void PlainResults::finish(Manifest& manifest) {
  count(manifest);
  std::string text = formatText("%d stands, %d failed; %d ran through on %.1f acres\n", stands_,
                                failed_, totals_.stands(), totals_.acres());
  text +=
      "Standing stock per acre of the year's stands after its last step; tons, cuts and dollars "
      "as sawtimber+pulpwood management\n"
      "  Year Stands       Acres Trees/ac   BA/ac  Cuft/ac  Pulp t/ac  Saw t/ac   Cut pulp t    "
      "Cut saw t        Cash $          PV $\n";
  for (const ForestYear& y : totals_.years()) {
    const Figures& s = y.standing;
    text += formatText("%6.1f %6d %11.1f", y.year, y.stands, y.acres);
    text += formatText("%9s", shown(perAcre(s.trees, y), "%.1f").c_str());
    text += formatText("%8s", shown(perAcre(s.basalArea, y), "%.1f").c_str());
    text += formatText("%9s", shown(perAcre(s.volume, y), "%.0f").c_str());
    text += formatText("%11s", shown(perAcre(s.iuPulpTons, y), "%.2f").c_str());
    text += formatText("%10s", shown(perAcre(s.sawTons, y), "%.2f").c_str());
    text += formatText("%13.1f %12.1f %13.2f %13.2f\n", y.removed.iuPulpTons, y.removed.sawTons,
                       y.cashSawtimber, y.pvSawtimber);
  }
  out_.write(text);
}

std::vector<std::string> csvFileNames(const std::string& path) {
  std::string stem = path.ends_with(".csv") ? path.substr(0, path.size() - 4) : path;
  return {stem + ".csv", stem + ".stands.csv", stem + ".flows.csv", stem + ".forest.csv",
          stem + ".manifest.csv"};
}

}  // namespace keldovar::forest

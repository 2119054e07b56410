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

// A per-acre figure of the plain table, in `units` with the decimals that keep its round trip.
std::string perArea(std::optional<double> value, Quantity quantity, int decimals,
                    UnitSystem units) {
  if (!value) return {};
  if (units == UnitSystem::Metric) decimals = metricDecimals(quantity, decimals);
  return formatText("%.*f", decimals, shownValue(units, quantity, *value));
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
  if (units_ == UnitSystem::Metric) manifest.set(manifest_keys::kUnits, "metric");
}

CsvResults::CsvResults(const CsvTargets& targets, const std::vector<std::string>& passThrough,
                       UnitSystem units)
    : TextResults(units), targets_(targets) {
  writeIf(targets_.tables, csvLine(tableColumns(units), passThrough));
  writeIf(targets_.stands, csvLine(standColumns(units), passThrough));
  writeIf(targets_.flows, csvLine(flowColumns(units)));
}

void CsvResults::stand(const StandRecord& stored) {
  TextResults::stand(stored);
  StandRecord record = shownRecord(stored, units_);
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
    std::string text = csvLine(forestColumns(units_));
    for (const ForestYear& year : totals_.years()) text += csvLine(shownForestRow(year, units_));
    targets_.forest->write(text);
  }
  writeIf(targets_.manifest, manifestCsv(manifest));
}

JsonlResults::JsonlResults(TextOutput& out, const std::vector<std::string>& passThrough,
                           UnitSystem units)
    : TextResults(units), out_(out), passThrough_(passThrough) {}

void JsonlResults::stand(const StandRecord& stored) {
  TextResults::stand(stored);
  StandRecord record = shownRecord(stored, units_);
  std::string line = "{\"record\": \"stand\", " + jsonPairs(standColumns(units_), record.stand);
  line += ", \"columns\": {" + jsonPairs(passThrough_, record.passThrough) + "}";
  line += ", \"stand_tables\": [";
  for (std::size_t i = 0; i < record.tables.size(); ++i) {
    line += (i > 0 ? ", {" : "{") + jsonPairs(tableColumns(units_), record.tables[i], kTableIndex) +
            "}";
  }
  line += "], \"cash_flows\": [";
  for (std::size_t i = 0; i < record.flows.size(); ++i) {
    line +=
        (i > 0 ? ", {" : "{") + jsonPairs(flowColumns(units_), record.flows[i], kFlowYear) + "}";
  }
  out_.write(line + "]}\n");
}

void JsonlResults::finish(Manifest& manifest) {
  count(manifest);
  for (const ForestYear& year : totals_.years()) {
    out_.write("{\"record\": \"year\", " +
               jsonPairs(forestColumns(units_), shownForestRow(year, units_)) + "}\n");
  }
  std::string line = "{\"record\": \"manifest\"";
  for (const auto& [key, value] : manifest.entries) {
    line += ", " + jsonString(key) + ": " + jsonString(value);
  }
  out_.write(line + "}\n");
}

void PlainResults::finish(Manifest& manifest) {
  count(manifest);
  bool metric = units_ == UnitSystem::Metric;
  std::string text = formatText(
      "%d stands, %d failed; %d ran through on %.1f %s\n", stands_, failed_, totals_.stands(),
      shownValue(units_, Quantity::Area, totals_.acres()), metric ? "hectares" : "acres");
  text += metric ? "Standing stock per hectare of the year's stands after its last step; tonnes, "
                   "cuts and money as sawtimber+pulpwood management\n"
                   "  Year Stands    Hectares Trees/ha   m2/ha    m3/ha  Pulp t/ha  Saw t/ha   "
                   "Cut pulp t    Cut saw t        Cash $          PV $\n"
                 : "Standing stock per acre of the year's stands after its last step; tons, cuts "
                   "and dollars as sawtimber+pulpwood management\n"
                   "  Year Stands       Acres Trees/ac   BA/ac  Cuft/ac  Pulp t/ac  Saw t/ac   "
                   "Cut pulp t    Cut saw t        Cash $          PV $\n";
  auto total = [this](Quantity q, double v) { return shownValue(units_, q, v); };
  for (const ForestYear& y : totals_.years()) {
    const Figures& s = y.standing;
    text += formatText("%6.1f %6d %11.1f", y.year, y.stands, total(Quantity::Area, y.acres));
    text += formatText("%9s", perArea(perAcre(s.trees, y), Quantity::PerArea, 1, units_).c_str());
    text +=
        formatText("%8s", perArea(perAcre(s.basalArea, y), Quantity::BasalArea, 1, units_).c_str());
    text += formatText("%9s",
                       perArea(perAcre(s.volume, y), Quantity::VolumePerArea, 0, units_).c_str());
    text += formatText("%11s",
                       perArea(perAcre(s.iuPulpTons, y), Quantity::MassPerArea, 2, units_).c_str());
    text += formatText("%10s",
                       perArea(perAcre(s.sawTons, y), Quantity::MassPerArea, 2, units_).c_str());
    text += formatText("%13.1f %12.1f %13.2f %13.2f\n", total(Quantity::Mass, y.removed.iuPulpTons),
                       total(Quantity::Mass, y.removed.sawTons), y.cashSawtimber, y.pvSawtimber);
  }
  out_.write(text);
}

std::vector<std::string> csvFileNames(const std::string& path) {
  std::string stem = path.ends_with(".csv") ? path.substr(0, path.size() - 4) : path;
  return {stem + ".csv", stem + ".stands.csv", stem + ".flows.csv", stem + ".forest.csv",
          stem + ".manifest.csv"};
}

}  // namespace keldovar::forest

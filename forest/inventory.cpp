// Checking an inventory's columns and rows.
#include "forest/inventory.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <string_view>

#include "forest/result_record.h"
#include "forest/text_out.h"
#include "script/script.h"

namespace keldovar::forest {
namespace {

constexpr std::array<std::string_view, 10> kKeyColumns = {
    "age", "trees", "ba", "height", "si", "thinage", "pcttrees", "pctba", "survival", "control"};

// Each kind's keys, in the order its script line writes them.
const std::vector<std::string_view>& kindKeys(StandKind kind) {
  static const std::vector<std::string_view> kUnthinned = {"age", "trees", "ba", "height", "si"};
  static const std::vector<std::string_view> kThinned = {"age",    "ba", "trees",    "thinage",
                                                         "height", "si", "pcttrees", "pctba"};
  static const std::vector<std::string_view> kPlantation = {"si", "trees", "survival", "control"};
  switch (kind) {
    case StandKind::Unthinned:
      return kUnthinned;
    case StandKind::Thinned:
      return kThinned;
    case StandKind::Plantation:
      break;
  }
  return kPlantation;
}

std::string lower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trimmed(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return std::string(text.substr(begin, end - begin + 1));
}

// Where each special column is, and the carried ones.
struct Columns {
  std::optional<std::size_t> stand, acres, kind, regime;
  std::map<std::string, std::size_t> keys;  // by key name
  std::vector<std::size_t> carried;
};

std::string planColumns(const std::vector<std::string>& names, Columns& columns,
                        std::vector<std::string>& carriedNames) {
  std::map<std::string, std::size_t> seen;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string name = lower(trimmed(names[i]));
    if (name.empty()) return "column " + std::to_string(i + 1) + " has no name";
    if (!seen.emplace(name, i).second) return "column '" + shownWord(names[i]) + "' is given twice";
    if (name == "stand") {
      columns.stand = i;
    } else if (name == "acres") {
      columns.acres = i;
    } else if (name == "kind") {
      columns.kind = i;
    } else if (name == "regime") {
      columns.regime = i;
    } else if (std::find(kKeyColumns.begin(), kKeyColumns.end(), name) != kKeyColumns.end()) {
      columns.keys[name] = i;
    } else if (isResultColumn(name)) {
      return "column '" + shownWord(names[i]) +
             "' has the name of a column the results write: rename it";
    } else {
      columns.carried.push_back(i);
      carriedNames.push_back(names[i]);
    }
  }
  for (const char* required : {"stand", "acres", "kind"}) {
    if (seen.count(required) == 0) return std::string("no '") + required + "' column";
  }
  return "";
}

const Cell& cellAt(const InventoryRow& row, std::size_t column) {
  static const Cell kEmpty;
  return column < row.cells.size() ? row.cells[column] : kEmpty;
}

std::optional<double> positiveNumber(const Cell& cell) {
  double value = 0;
  if (cell.type == Cell::Type::Integer) {
    value = static_cast<double>(cell.integer);
  } else if (cell.type == Cell::Type::Real) {
    value = cell.real;
  } else if (cell.type == Cell::Type::Text) {
    std::string text = trimmed(cell.bytes);
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

std::optional<StandKind> kindOf(const std::string& word) {
  if (word == "unthinned") return StandKind::Unthinned;
  if (word == "thinned") return StandKind::Thinned;
  if (word == "plantation") return StandKind::Plantation;
  return std::nullopt;
}

std::string keyList(StandKind kind) {
  std::string list;
  for (std::string_view key : kindKeys(kind)) list += (list.empty() ? "" : ", ") + std::string(key);
  return list;
}

// A value the script line can carry: one word, nothing a comment would swallow.
bool scriptWord(const std::string& value) {
  return std::none_of(value.begin(), value.end(), [](char c) {
    auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7F || c == '#';
  });
}

// The row's initialization keys, or the failure "key: why".
std::string readKeys(const InventoryRow& row, const Columns& columns, Stand& stand) {
  const std::vector<std::string_view>& allowed = kindKeys(stand.kind);
  for (const auto& [key, column] : columns.keys) {
    const Cell& cell = cellAt(row, column);
    if (cell.type == Cell::Type::Blob) return key + ": binary data is no value";
    std::string value = trimmed(cellText(cell).value_or(""));
    if (value.empty()) continue;
    if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
      return key + ": not a key of " + kindWord(stand.kind) + " stands (" + keyList(stand.kind) +
             ")";
    }
    if (!scriptWord(value)) return key + ": a value has no blanks, control characters or #";
    if (key == "control") {
      value = lower(value);
      if (value != "none" && value != "woody" && value != "herbwoody") {
        return "control: give none, woody or herbwoody";
      }
    }
    stand.fields[key] = value;
  }
  return "";
}

// Ids are unique over the whole inventory: a row that failed still holds its id.
std::string checkRow(const InventoryRow& row, const Columns& columns, StandEntry& entry,
                     std::map<std::string, int>& ids) {
  if (!row.error.empty()) return row.error;
  const Cell& id = cellAt(row, *columns.stand);
  if (id.type == Cell::Type::Blob) return "stand: binary data is no stand id";
  if (entry.id.empty()) return "stand: give the stand's id";
  auto [first, added] = ids.emplace(entry.id, row.number);
  if (!added) {
    return "stand: '" + shownWord(entry.id) + "' is also the id of row " +
           std::to_string(first->second);
  }
  if (!entry.acres) return "acres: give the stand's area, a number of acres above 0";
  std::optional<StandKind> kind = kindOf(lower(entry.kind));
  if (!kind) return "kind: give unthinned, thinned or plantation";
  Stand stand;
  stand.kind = *kind;
  stand.acres = *entry.acres;
  std::string failure = readKeys(row, columns, stand);
  if (!failure.empty()) return failure;
  if (columns.regime) {
    const Cell& regime = cellAt(row, *columns.regime);
    if (regime.type == Cell::Type::Blob) return "regime: binary data is no file name";
    stand.regime = trimmed(cellText(regime).value_or(""));
  }
  entry.stand = std::move(stand);
  return "";
}

}  // namespace

std::optional<std::string> cellText(const Cell& cell) {
  switch (cell.type) {
    case Cell::Type::Integer:
      return std::to_string(cell.integer);
    case Cell::Type::Real:
      return numberText(cell.real);
    case Cell::Type::Text:
      return cell.bytes;
    case Cell::Type::Null:
    case Cell::Type::Blob:
      break;
  }
  return std::nullopt;
}

const char* kindWord(StandKind kind) {
  switch (kind) {
    case StandKind::Unthinned:
      return "unthinned";
    case StandKind::Thinned:
      return "thinned";
    case StandKind::Plantation:
      break;
  }
  return "plantation";
}

bool isResultColumn(const std::string& lowerName) {
  auto in = [&](const auto& names) {
    return std::find(names.begin(), names.end(), lowerName) != names.end();
  };
  return in(kStandColumns) || in(kTableColumns);
}

CheckedInventory checkInventory(const Inventory& inventory) {
  CheckedInventory checked;
  Columns columns;
  checked.error = planColumns(inventory.columns, columns, checked.passThrough);
  if (!checked.error.empty()) return checked;
  std::map<std::string, int> ids;  // the first row of each id
  for (const InventoryRow& row : inventory.rows) {
    StandEntry entry;
    entry.row = row.number;
    entry.line = row.line;
    // Also a row that cannot be split says what it can: its id above all.
    entry.id = trimmed(cellText(cellAt(row, *columns.stand)).value_or(""));
    entry.acres = positiveNumber(cellAt(row, *columns.acres));
    entry.kind = trimmed(cellText(cellAt(row, *columns.kind)).value_or(""));
    for (std::size_t column : columns.carried) entry.passThrough.push_back(cellAt(row, column));
    entry.failure = checkRow(row, columns, entry, ids);
    checked.stands.push_back(std::move(entry));
  }
  return checked;
}

std::string initializationLine(const Stand& stand) {
  std::string line = kindWord(stand.kind);
  for (std::string_view key : kindKeys(stand.kind)) {
    auto value = stand.fields.find(std::string(key));
    if (value != stand.fields.end()) line += " " + std::string(key) + "=" + value->second;
  }
  return line;
}

}  // namespace keldovar::forest

// An inventory of stands as read: named columns and one row a stand, each cell as its source
// gave it; and the stands it describes, each row checked on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "script/checked_prompts.h"

namespace keldovar::forest {

// A cell as its source gave it: a CSV file gives text, SQLite its storage class.
struct Cell {
  enum class Type { Null, Integer, Real, Text, Blob };
  Type type = Type::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string bytes;  // of text or a blob

  static Cell text(std::string value) { return {Type::Text, 0, 0, std::move(value)}; }
  bool operator==(const Cell&) const = default;
};

// The cell as a dialog field's text: integers in decimal, reals in the shortest form that reads
// back, text as it is; nothing for an empty cell; a blob is no text.
std::optional<std::string> cellText(const Cell& cell);

struct InventoryRow {
  int number = 0;  // 1 = the first stand
  int line = 0;    // the line of the file it starts on; 0 when the source has no lines
  std::vector<Cell> cells;
  std::string error;  // the row could not be split into the columns
};

struct Inventory {
  std::string source;  // as messages name it
  std::vector<std::string> columns;
  std::vector<InventoryRow> rows;
};

enum class StandKind { Unthinned, Thinned, Plantation };
const char* kindWord(StandKind kind);

// A row that passed its own checks; its initialization is checked when it runs, by the dialog.
struct Stand {
  StandKind kind = StandKind::Plantation;
  double acres = 0;
  FieldTexts fields;   // the initialization's keys that have a value
  std::string regime;  // the row's own regime file, as written; "" for the run's
};

struct StandEntry {
  int row = 0;
  int line = 0;
  std::string id;                 // "" when the row has none
  std::optional<double> acres;    // when the row gives a valid one
  std::string kind;               // as written when it is no kind
  std::vector<Cell> passThrough;  // in the order of CheckedInventory::passThrough
  std::optional<Stand> stand;     // nothing when the row failed its checks
  std::string failure;            // "key: why" of a failed row
};

struct CheckedInventory {
  std::string error;                     // the inventory as a whole cannot be used; nothing runs
  std::vector<std::string> passThrough;  // the columns carried to the outputs, in their order
  std::vector<StandEntry> stands;        // one a row, in the inventory's order
};

// The column names the results use themselves: a carried column may not take one.
bool isResultColumn(const std::string& lowerName);

// Checks the columns (stand, acres and kind are required; a name given twice, in any case, or
// taken by the results is refused) and then every row: a unique stand id, acres above 0, one of
// the three kinds, values the script can carry, and only its kind's initialization keys.
CheckedInventory checkInventory(const Inventory& inventory);

// The initialization line of the stand's kind, as a script writes it.
std::string initializationLine(const Stand& stand);

}  // namespace keldovar::forest

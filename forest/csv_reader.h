// Reading an inventory from CSV text after RFC 4180: a header row of column names, then one
// record a stand; fields may be quoted, a quoted field may hold commas, quotes ("") and line
// ends; CR LF, LF and CR all end a record.
#pragma once

#include <string>
#include <string_view>

#include "forest/inventory.h"

namespace keldovar::forest {

struct InventoryRead {
  Inventory inventory;
  std::string error;  // the file as a whole cannot be read; nothing runs
};

// A UTF-8 byte-order mark is skipped and blank lines are no records. A record with another
// number of fields than the header, or with text after a closing quote, becomes a row that
// fails with the reason; a quoted field still open at the end of the text fails the whole.
InventoryRead readCsvInventory(std::string_view text, std::string source);

}  // namespace keldovar::forest

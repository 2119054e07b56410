// An inventory named on the command line: a CSV file, or a SQLite file (a GeoPackage too) with
// an optional table, FILE:TABLE; which it is, the file's first bytes tell.
#pragma once

#include <string>

#include "forest/csv_reader.h"

namespace keldovar::forest {

// More than this is no inventory: a stray device or a huge file must not fill memory.
inline constexpr std::size_t kInventorySizeLimit = std::size_t{1} << 30;

struct LoadedInventory {
  Inventory inventory;
  std::string error;
  std::string path;    // the file
  std::string table;   // the SQLite table, as named or as found
  std::string sha256;  // of the file's bytes
};

LoadedInventory loadInventory(const std::string& name);

// The file a name stands for: NAME itself when it exists, else the part before the last ':'.
std::string inventoryPath(const std::string& name);

}  // namespace keldovar::forest

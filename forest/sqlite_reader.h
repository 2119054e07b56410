// Reading an inventory from a table or view of a SQLite file. A GeoPackage is a SQLite file:
// its attribute or feature table is read like any other, the geometry column's bytes carried
// through as they are.
#pragma once

#include <string>
#include <vector>

#include "forest/csv_reader.h"

namespace keldovar::forest {

// `table` may be empty when the file holds exactly one table or view (a GeoPackage: one
// features or attributes table); the rows come in the order SQLite gives them.
InventoryRead readSqliteInventory(const std::string& path, const std::string& table);

// The tables an inventory may be read from: a GeoPackage's features and attributes tables, or
// every table and view of another SQLite file; nothing when the file cannot be read.
std::vector<std::string> inventoryTables(const std::string& path);

}  // namespace keldovar::forest

// The SQLite and GeoPackage reader of inventories.
#include "forest/sqlite_reader.h"

#include <vector>

#include "forest/sqlite_db.h"

namespace keldovar::forest {
namespace {

std::vector<std::string> candidateTables(Database& db) {
  std::string query =
      db.hasTable("gpkg_contents")
          ? "SELECT table_name FROM gpkg_contents WHERE data_type IN ('features', 'attributes') "
            "ORDER BY table_name"
          : "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE "
            "'sqlite\\_%' ESCAPE '\\' ORDER BY name";
  Statement statement(db.handle(), query);
  std::vector<std::string> names;
  while (statement.step()) names.push_back(statement.text(0));
  return names;
}

// The table to read, or the error's text in `error`.
std::string chooseTable(Database& db, const std::string& path, const std::string& table,
                        std::string& error) {
  if (!table.empty()) {
    if (!db.hasTable(table)) error = "no table or view '" + table + "' in " + path;
    return table;
  }
  std::vector<std::string> names = candidateTables(db);
  if (names.size() == 1) return names.front();
  if (names.empty()) {
    error = path + " holds no table";
    return {};
  }
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  error = "name the table as " + path + ":TABLE (" + list + ")";
  return {};
}

}  // namespace

std::vector<std::string> inventoryTables(const std::string& path) {
  try {
    Database db(path, Database::Mode::ReadOnly);
    return candidateTables(db);
  } catch (const SqliteError&) {
    return {};
  }
}

InventoryRead readSqliteInventory(const std::string& path, const std::string& table) {
  InventoryRead read;
  try {
    Database db(path, Database::Mode::ReadOnly);
    std::string chosen = chooseTable(db, path, table, read.error);
    if (!read.error.empty()) return read;
    read.inventory.source = path + ":" + chosen;
    Statement rows(db.handle(), "SELECT * FROM " + quotedName(chosen));
    for (int c = 0; c < rows.columns(); ++c) read.inventory.columns.push_back(rows.columnName(c));
    int number = 0;
    while (rows.step()) {
      InventoryRow row;
      row.number = ++number;
      for (int c = 0; c < rows.columns(); ++c) row.cells.push_back(rows.cell(c));
      read.inventory.rows.push_back(std::move(row));
    }
  } catch (const SqliteError& error) {
    read.error = error.what();
  }
  return read;
}

}  // namespace keldovar::forest

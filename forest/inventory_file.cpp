// Reading the inventory file of either kind, and its digest.
#include "forest/inventory_file.h"

#include <filesystem>
#include <vector>

#include "app/safe_file.h"
#include "forest/digest.h"
#include "forest/sqlite_db.h"
#include "forest/sqlite_reader.h"

namespace keldovar::forest {
namespace {

bool fileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

std::string inventoryPath(const std::string& name) {
  if (fileExists(name)) return name;
  std::size_t colon = name.rfind(':');
  if (colon == std::string::npos || colon == 0) return name;
  return name.substr(0, colon);
}

LoadedInventory loadInventory(const std::string& name) {
  LoadedInventory loaded;
  loaded.path = inventoryPath(name);
  if (loaded.path != name) loaded.table = name.substr(loaded.path.size() + 1);
  std::vector<std::uint8_t> bytes;
  int error = readFileContents(loaded.path, kInventorySizeLimit + 1, bytes);
  if (error != 0) {
    loaded.error =
        "cannot read " + loaded.path + ": " +
        (error == kNotRegularFile ? std::string("not a regular file") : fileErrorText(error));
    return loaded;
  }
  if (bytes.size() > kInventorySizeLimit) {
    loaded.error = loaded.path + " is larger than 1 GB";
    return loaded;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  loaded.sha256 = sha256Hex(text);
  InventoryRead read;
  if (text.starts_with(kSqliteMagic)) {
    read = readSqliteInventory(loaded.path, loaded.table);
    std::size_t colon = read.inventory.source.rfind(':');
    if (read.error.empty() && loaded.table.empty()) {
      loaded.table = read.inventory.source.substr(colon + 1);
    }
  } else if (!loaded.table.empty()) {
    read.error = "cannot read " + name + ": a table is named only in a SQLite file";
  } else {
    read = readCsvInventory(text, loaded.path);
  }
  loaded.inventory = std::move(read.inventory);
  loaded.error = std::move(read.error);
  return loaded;
}

}  // namespace keldovar::forest

// libFuzzer target for the inventory reader: any bytes read as CSV give an inventory or a
// reason, and every row that passes its checks writes an initialization line that the script
// reader reads back as one command of the stand's kind with the row's own values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "forest/csv_reader.h"
#include "script/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace keldovar;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  forest::InventoryRead read = forest::readCsvInventory(text, "fuzz.csv");
  if (!read.error.empty()) return 0;
  forest::CheckedInventory checked = forest::checkInventory(read.inventory);
  for (const forest::StandEntry& entry : checked.stands) {
    if (!entry.stand) continue;
    ParsedScript line = parseScript(forest::initializationLine(*entry.stand));
    if (line.failed() || line.commands.size() != 1) std::abort();
    if (line.commands.front().fields != entry.stand->fields) std::abort();
  }
  return 0;
}

// keldovar-cli inventory's options, and the results' writer they choose.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/inventory.h"
#include "forest/part_file.h"
#include "forest/result_writer.h"
#include "units/units.h"

namespace keldovar::cli {

enum class ResultFormat { Sqlite, Csv, Jsonl, Text };

struct InventoryOptions {
  std::string stands;
  std::optional<std::string> regime;
  std::optional<std::string> space;
  std::optional<std::string> out;
  std::optional<ResultFormat> format;
  int jobs = 0;  // 0: one per processor core
  ShardChoice shard;
  std::string shardText = "1/1";
  bool resume = false;
  bool merge = false;
  // Of the CSV, JSON Lines and text outputs; SQLite results, which runs resume and shards merge
  // from, stay imperial.
  UnitSystem units = UnitSystem::Imperial;
  std::vector<std::string> mergeFiles;
};

// One option's value (--regime, --space, --out, --format, --jobs or --shard) into `options`;
// the usage error's text when it is none the option takes.
std::optional<std::string> readInventoryValue(const std::string& option, const std::string& value,
                                              const Environment& environment,
                                              InventoryOptions& options);

// The options together, once all are read: the usage error's text when they do not go together.
std::optional<std::string> checkInventoryOptions(const InventoryOptions& options);

// An output that is no regular file, or that is one of the inputs (the inventory, the regime,
// the space, a result to merge): refused before anything runs.
std::optional<std::string> refusedResultFile(const InventoryOptions& options,
                                             const std::string& inventoryFile);

// The format of the results: --out's extension (.sqlite, .db, .gpkg, .csv, .jsonl) or
// --format; text on standard output when neither is given.
ResultFormat resultFormat(const InventoryOptions& options);

// The results' writer and the files it writes into until they are committed.
struct OpenedResults {
  std::vector<std::unique_ptr<forest::TextOutput>> outputs;
  std::unique_ptr<forest::ResultWriter> writer;
  forest::Manifest resumed;  // of a resumed run
  std::vector<int> done;     // the rows a resumed run has already written

  // Puts every file in place once the writer finished.
  void commit();
};

// Opens the results of `passThrough` columns as the options say; throws forest::ForestError.
OpenedResults openResults(const InventoryOptions& options,
                          const std::vector<std::string>& passThrough, std::ostream& out);

}  // namespace keldovar::cli

// The results as text: CSV (the stands' tables in long form, and beside them the stands, their
// cash flows, the forest's years and the manifest, each a file of its own), JSON Lines (a line
// a stand with its tables and cash flows, a line a year, the manifest last), or the forest's
// years as a plain table for a terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "forest/metric_results.h"
#include "forest/part_file.h"
#include "forest/result_writer.h"

namespace keldovar::forest {

// Text results to an ostream; a write the stream refuses throws ForestError.
class StreamOutput final : public TextOutput {
 public:
  StreamOutput(std::ostream& out, std::string name) : out_(out), name_(std::move(name)) {}
  void write(std::string_view bytes) override;

 private:
  std::ostream& out_;
  std::string name_;
};

// Counts the stands and adds the forest up as they come, from the stored (imperial) records;
// the writers show them in `units`, converted as they write.
class TextResults : public ResultWriter {
 public:
  explicit TextResults(UnitSystem units = UnitSystem::Imperial) : units_(units) {}
  void stand(const StandRecord& record) override;

 protected:
  UnitSystem units_;
  ForestTotals totals_;
  int stands_ = 0;
  int failed_ = 0;

  // The counts, and metric units when the outputs use them, into the manifest.
  void count(Manifest& manifest) const;
};

// Any target may be null: it is not written. The stand tables and stands carry the inventory's
// columns after their own.
struct CsvTargets {
  TextOutput* tables = nullptr;
  TextOutput* stands = nullptr;
  TextOutput* flows = nullptr;
  TextOutput* forest = nullptr;
  TextOutput* manifest = nullptr;
};

class CsvResults final : public TextResults {
 public:
  CsvResults(const CsvTargets& targets, const std::vector<std::string>& passThrough,
             UnitSystem units = UnitSystem::Imperial);
  void stand(const StandRecord& record) override;
  void finish(Manifest& manifest) override;

 private:
  CsvTargets targets_;
};

class JsonlResults final : public TextResults {
 public:
  JsonlResults(TextOutput& out, const std::vector<std::string>& passThrough,
               UnitSystem units = UnitSystem::Imperial);
  void stand(const StandRecord& record) override;
  void finish(Manifest& manifest) override;

 private:
  TextOutput& out_;
  std::vector<std::string> passThrough_;
};

// The forest's years as a table for people, under a line of counts.
class PlainResults final : public TextResults {
 public:
  explicit PlainResults(TextOutput& out, UnitSystem units = UnitSystem::Imperial)
      : TextResults(units), out_(out) {}
  void finish(Manifest& manifest) override;

 private:
  TextOutput& out_;
};

// The CSV files of `--out NAME.csv`: NAME.csv, NAME.stands.csv, NAME.flows.csv,
// NAME.forest.csv and NAME.manifest.csv.
std::vector<std::string> csvFileNames(const std::string& path);

}  // namespace keldovar::forest

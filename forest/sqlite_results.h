// The results as a SQLite database, one table a kind of result keyed by stand, as the field's
// tools keep them: manifest, stands (with the carried columns), stand_tables, cash_flows and
// forest, and a view stand_tables_carried of the stand tables with the carried columns. The
// run writes RESULT.part and commits every few stands, so that a run killed midway can be
// resumed from what it committed; the finished file replaces RESULT at the end.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "forest/result_writer.h"

namespace keldovar::forest {

class Database;
class Statement;

// The file a run writes into until it is done.
std::string partPath(const std::string& path);

class SqliteResults final : public ResultWriter {
 public:
  // Starts RESULT.part afresh, or with `resume` goes on with the one there (and starts afresh
  // when there is none). Throws ForestError when it cannot be opened or written.
  SqliteResults(const std::string& path, const std::vector<std::string>& passThrough, bool resume);
  ~SqliteResults() override;

  // The manifest of the run being resumed: empty when starting afresh.
  const Manifest& resumed() const { return resumed_; }
  // The rows already written.
  const std::set<int>& done() const { return done_; }

  void stand(const StandRecord& record) override;
  void finish(Manifest& manifest) override;

 private:
  std::string path_;
  std::unique_ptr<Database> db_;
  std::unique_ptr<Statement> insertStand_;
  std::unique_ptr<Statement> insertTable_;
  std::unique_ptr<Statement> insertFlow_;
  std::vector<std::string> passThrough_;
  Manifest resumed_;
  std::set<int> done_;
  int uncommitted_ = 0;

  void create();
  void prepare();
  void commit();
};

// A finished result (or the part of an unfinished run) read back: its manifest, the carried
// columns and every stand's record in the order of the rows.
struct StoredResults {
  Manifest manifest;
  std::vector<std::string> passThrough;
  std::vector<StandRecord> stands;
};
StoredResults readResults(const std::string& path);

}  // namespace keldovar::forest

// Writing the results into SQLite as the stands come, and reading them back.
#include "forest/sqlite_results.h"

#include <filesystem>
#include <map>

#include "forest/sqlite_db.h"

namespace keldovar::forest {
namespace {

// Stands written between commits: what a killed run loses at most.
constexpr int kCommitEvery = 64;

template <std::size_t N>
std::vector<std::string> namesOf(const std::array<std::string_view, N>& columns) {
  return {columns.begin(), columns.end()};
}

std::string declaredType(std::string_view column) {
  for (std::string_view integer :
       {"row", "tables", "rotation", "candidates", "refused", "table", "stands"}) {
    if (column == integer) return " INTEGER";
  }
  for (std::string_view text : {"stand", "kind", "status", "messages", "script", "label"}) {
    if (column == text) return " TEXT";
  }
  return " REAL";
}

// `typed` columns get the results' types; the carried ones none, so that they keep their own.
std::string createTable(const std::string& name, const std::vector<std::string>& typed,
                        const std::vector<std::string>& carried, const std::string& key) {
  std::string sql = "CREATE TABLE " + quotedName(name) + " (";
  for (const std::string& column : typed) sql += quotedName(column) + declaredType(column) + ", ";
  for (const std::string& column : carried) sql += quotedName(column) + ", ";
  return sql + "PRIMARY KEY (" + key + "))";
}

std::string insertInto(const std::string& table, std::size_t columns) {
  std::string sql = "INSERT INTO " + quotedName(table) + " VALUES (";
  for (std::size_t i = 1; i <= columns; ++i) sql += (i > 1 ? ", ?" : "?") + std::to_string(i);
  return sql + ")";
}

void insert(Statement& statement, const CellRow& cells, const CellRow* more = nullptr) {
  int index = 0;
  for (const Cell& cell : cells) statement.bind(++index, cell);
  if (more != nullptr) {
    for (const Cell& cell : *more) statement.bind(++index, cell);
  }
  statement.step();
  statement.reset();
}

CellRow cellsOf(const Statement& rows, int from, int to) {
  CellRow cells;
  for (int c = from; c < to; ++c) cells.push_back(rows.cell(c));
  return cells;
}

std::string noPart(const std::string& error) {
  return "the unfinished results cannot be resumed: " + error;
}

}  // namespace

std::string partPath(const std::string& path) {
  return path + ".part";
}

SqliteResults::SqliteResults(const std::string& path, const std::vector<std::string>& passThrough,
                             bool resume)
    : path_(path), passThrough_(passThrough) {
  std::string part = partPath(path);
  std::error_code error;
  bool resuming = resume && std::filesystem::exists(part, error);
  if (!resuming) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      std::filesystem::remove(part + suffix, error);
    }
  }
  try {
    db_ = std::make_unique<Database>(part, Database::Mode::ReadWrite);
    db_->exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL");
    if (!resuming) {
      create();
      prepare();
      return;
    }
    prepare();
    StoredResults stored = readResults(part);
    if (stored.passThrough != passThrough) throw ForestError(noPart("its columns are others"));
    resumed_ = std::move(stored.manifest);
    for (const StandRecord& record : stored.stands) {
      done_.insert(static_cast<int>(record.stand[kStandRow].integer));
    }
  } catch (const SqliteError& e) {
    throw ForestError(e.what());
  }
}

SqliteResults::~SqliteResults() = default;

void SqliteResults::create() {
  Database& db = *db_;
  db.exec("BEGIN");
  db.exec("CREATE TABLE manifest (key TEXT PRIMARY KEY, value TEXT)");
  db.exec(createTable("stands", namesOf(kStandColumns), passThrough_, "row"));
  db.exec("CREATE INDEX stands_stand ON stands (stand)");
  db.exec(createTable("stand_tables", namesOf(kTableColumns), {}, "row, \"table\""));
  db.exec(
      "CREATE TABLE cash_flows (row INTEGER, stand TEXT, year REAL, pulpwood REAL, "
      "sawtimber REAL)");
  db.exec("CREATE INDEX cash_flows_row ON cash_flows (row)");
  db.exec(createTable("forest", namesOf(kForestColumns), {}, "year"));
  // The long format with each stand's carried columns, as the text results give it.
  std::string carried;
  for (const std::string& column : passThrough_) carried += ", s." + quotedName(column);
  db.exec("CREATE VIEW stand_tables_carried AS SELECT t.*" + carried +
          " FROM stand_tables t JOIN stands s ON s.row = t.row");
  db.exec("COMMIT");
}

void SqliteResults::prepare() {
  insertStand_ = std::make_unique<Statement>(
      db_->handle(), insertInto("stands", kStandColumnCount + passThrough_.size()));
  insertTable_ =
      std::make_unique<Statement>(db_->handle(), insertInto("stand_tables", kTableColumnCount));
  insertFlow_ =
      std::make_unique<Statement>(db_->handle(), insertInto("cash_flows", kFlowColumnCount));
}

void SqliteResults::commit() {
  if (uncommitted_ == 0) return;
  db_->exec("COMMIT");
  uncommitted_ = 0;
}

void SqliteResults::stand(const StandRecord& record) {
  try {
    if (uncommitted_ == 0) db_->exec("BEGIN");
    insert(*insertStand_, record.stand, &record.passThrough);
    for (const CellRow& row : record.tables) insert(*insertTable_, row);
    for (const CellRow& row : record.flows) insert(*insertFlow_, row);
    if (++uncommitted_ >= kCommitEvery) commit();
  } catch (const SqliteError& e) {
    throw ForestError(e.what());
  }
}

void SqliteResults::finish(Manifest& manifest) {
  try {
    commit();
    StoredResults stored = readResults(partPath(path_));
    ForestTotals totals;
    int failed = 0;
    for (const StandRecord& record : stored.stands) {
      totals.add(record);
      failed += record.stand[kStandStatus].bytes != kStatusOk ? 1 : 0;
    }
    manifest.set(manifest_keys::kStands, std::to_string(stored.stands.size()));
    manifest.set(manifest_keys::kFailed, std::to_string(failed));
    db_->exec("PRAGMA synchronous=FULL");
    db_->exec("BEGIN");
    db_->exec("DELETE FROM forest");
    Statement forest(db_->handle(), insertInto("forest", kForestColumns.size()));
    for (const ForestYear& year : totals.years()) insert(forest, forestRow(year));
    db_->exec("DELETE FROM manifest");
    Statement entries(db_->handle(), "INSERT INTO manifest VALUES (?1, ?2)");
    for (const auto& [key, value] : manifest.entries) {
      insert(entries, {Cell::text(key), Cell::text(value)});
    }
    db_->exec("COMMIT");
    insertStand_.reset();
    insertTable_.reset();
    insertFlow_.reset();
    db_->exec("PRAGMA journal_mode=DELETE");
  } catch (const SqliteError& e) {
    throw ForestError(e.what());
  }
  db_.reset();
  std::error_code error;
  std::filesystem::rename(partPath(path_), path_, error);
  if (error) throw ForestError("cannot put " + path_ + " in place: " + error.message());
}

StoredResults readResults(const std::string& path) {
  StoredResults stored;
  try {
    Database db(path, Database::Mode::ReadOnly);
    for (const char* table : {"manifest", "stands", "stand_tables", "cash_flows"}) {
      if (!db.hasTable(table)) throw ForestError(path + " holds no inventory results");
    }
    Statement manifest(db.handle(), "SELECT key, value FROM manifest ORDER BY rowid");
    while (manifest.step()) stored.manifest.set(manifest.text(0), manifest.text(1));
    Statement stands(db.handle(), "SELECT * FROM stands ORDER BY row");
    int columns = stands.columns();
    for (int c = kStandColumnCount; c < columns; ++c) {
      stored.passThrough.push_back(stands.columnName(c));
    }
    std::map<std::int64_t, std::size_t> index;
    while (stands.step()) {
      StandRecord record;
      record.stand = cellsOf(stands, 0, kStandColumnCount);
      record.passThrough = cellsOf(stands, kStandColumnCount, columns);
      index[stands.integer(kStandRow)] = stored.stands.size();
      stored.stands.push_back(std::move(record));
    }
    Statement tables(db.handle(), "SELECT * FROM stand_tables ORDER BY row, \"table\"");
    while (tables.step()) {
      auto found = index.find(tables.integer(kTableRow));
      if (found == index.end()) continue;
      stored.stands[found->second].tables.push_back(cellsOf(tables, 0, kTableColumnCount));
    }
    Statement flows(db.handle(), "SELECT * FROM cash_flows ORDER BY row, rowid");
    while (flows.step()) {
      auto found = index.find(flows.integer(kFlowRow));
      if (found == index.end()) continue;
      stored.stands[found->second].flows.push_back(cellsOf(flows, 0, kFlowColumnCount));
    }
  } catch (const SqliteError& e) {
    throw ForestError(e.what());
  }
  return stored;
}

}  // namespace keldovar::forest

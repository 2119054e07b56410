// SQLite's C interface behind the forest's own small classes.
#include "forest/sqlite_db.h"

#include <sqlite3.h>

namespace keldovar::forest {
namespace {

// SQLite waits this long for another connection's lock before it gives up.
constexpr int kBusyTimeoutMs = 5000;

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
  throw SqliteError(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

std::string quotedName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement_, nullptr) !=
      SQLITE_OK) {
    fail(db, "cannot prepare the query");
  }
}

Statement::~Statement() {
  sqlite3_finalize(statement_);
}

void Statement::bind(int index, const Cell& cell) {
  int status = SQLITE_OK;
  switch (cell.type) {
    case Cell::Type::Null:
      status = sqlite3_bind_null(statement_, index);
      break;
    case Cell::Type::Integer:
      status = sqlite3_bind_int64(statement_, index, cell.integer);
      break;
    case Cell::Type::Real:
      status = sqlite3_bind_double(statement_, index, cell.real);
      break;
    case Cell::Type::Text:
      status = sqlite3_bind_text64(statement_, index, cell.bytes.data(), cell.bytes.size(),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    case Cell::Type::Blob:
      status = sqlite3_bind_blob64(statement_, index, cell.bytes.data(), cell.bytes.size(),
                                   SQLITE_TRANSIENT);
      break;
  }
  if (status != SQLITE_OK) fail(db_, "cannot bind a value");
}

void Statement::bind(int index, std::optional<double> value) {
  int status =
      value ? sqlite3_bind_double(statement_, index, *value) : sqlite3_bind_null(statement_, index);
  if (status != SQLITE_OK) fail(db_, "cannot bind a value");
}

void Statement::bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) fail(db_, "cannot bind a value");
}

void Statement::bind(int index, std::string_view text) {
  bind(index, Cell::text(std::string(text)));
}

bool Statement::step() {
  int status = sqlite3_step(statement_);
  if (status == SQLITE_ROW) return true;
  if (status == SQLITE_DONE) return false;
  fail(db_, "the database refused");
}

void Statement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

int Statement::columns() const {
  return sqlite3_column_count(statement_);
}

std::string Statement::columnName(int index) const {
  const char* name = sqlite3_column_name(statement_, index);
  return name != nullptr ? name : "";
}

Cell Statement::cell(int index) const {
  Cell cell;
  switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_INTEGER:
      cell.type = Cell::Type::Integer;
      cell.integer = sqlite3_column_int64(statement_, index);
      break;
    case SQLITE_FLOAT:
      cell.type = Cell::Type::Real;
      cell.real = sqlite3_column_double(statement_, index);
      break;
    case SQLITE_TEXT:
      cell.type = Cell::Type::Text;
      cell.bytes = text(index);
      break;
    case SQLITE_BLOB: {
      cell.type = Cell::Type::Blob;
      const void* bytes = sqlite3_column_blob(statement_, index);
      auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, index));
      if (bytes != nullptr) cell.bytes.assign(static_cast<const char*>(bytes), size);
      break;
    }
    default:
      break;
  }
  return cell;
}

std::optional<double> Statement::real(int index) const {
  if (sqlite3_column_type(statement_, index) == SQLITE_NULL) return std::nullopt;
  return sqlite3_column_double(statement_, index);
}

std::int64_t Statement::integer(int index) const {
  return sqlite3_column_int64(statement_, index);
}

std::string Statement::text(int index) const {
  const unsigned char* text = sqlite3_column_text(statement_, index);
  auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, index));
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

Database::Database(const std::string& path, Mode mode) : path_(path) {
  int flags =
      mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    std::string message =
        "cannot open " + path + ": " + (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory");
    sqlite3_close(db_);
    throw SqliteError(message);
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() {
  sqlite3_close(db_);
}

void Database::exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = path_ + ": " + (error != nullptr ? error : sqlite3_errmsg(db_));
    sqlite3_free(error);
    throw SqliteError(message);
  }
}

std::optional<std::string> Database::textOf(const std::string& sql) {
  Statement statement(db_, sql);
  if (!statement.step()) return std::nullopt;
  return statement.text(0);
}

bool Database::hasTable(std::string_view name) {
  Statement statement(db_,
                      "SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = ?1");
  statement.bind(1, name);
  return statement.step();
}

}  // namespace keldovar::forest

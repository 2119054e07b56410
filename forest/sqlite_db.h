// A thin owner of SQLite's connection and statements: every failure becomes a SqliteError
// with SQLite's own words, and handles are closed however the caller leaves.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "forest/inventory.h"

struct sqlite3;
struct sqlite3_stmt;

namespace keldovar::forest {

class SqliteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The first 16 bytes of every SQLite database file.
inline constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};

// "name" with its quotes doubled: any text as a table or column name.
std::string quotedName(std::string_view name);

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1.
  void bind(int index, const Cell& cell);
  void bind(int index, std::optional<double> value);
  void bind(int index, std::int64_t value);
  void bind(int index, std::string_view text);
  // True while a row is there to read.
  bool step();
  void reset();

  int columns() const;
  std::string columnName(int index) const;
  Cell cell(int index) const;
  std::optional<double> real(int index) const;
  std::int64_t integer(int index) const;
  std::string text(int index) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

class Database {
 public:
  enum class Mode { ReadOnly, ReadWrite };
  Database(const std::string& path, Mode mode);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(const std::string& sql);
  // One-row, one-column answers; nothing when the query gives no row.
  std::optional<std::string> textOf(const std::string& sql);
  bool hasTable(std::string_view name);
  sqlite3* handle() { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
};

}  // namespace keldovar::forest

// A thin owner of an SQLite connection and its prepared statements, with the error text of the
// last failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace terrova::index {

class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement(Statement&& other) noexcept : stmt_(other.stmt_), db_(other.db_) {
    other.stmt_ = nullptr;
  }
  Statement& operator=(Statement&& other) noexcept;
  ~Statement();

  // Binds by position from 1; NaN binds as NULL.
  void bind(int at, int64_t value);
  void bind(int at, double value);
  void bind(int at, std::string_view text);
  void bind_null(int at);
  // Runs the statement one step: true while it gives a row. A failure is kept by the database.
  bool step();
  // Runs an insert or update to its end and resets it for the next binding; false on failure.
  bool run();
  void reset();

  int columns() const;
  int64_t integer(int column) const;
  double real(int column) const;
  std::string text(int column) const;
  bool is_null(int column) const;

 private:
  friend class Database;
  sqlite3_stmt* stmt_ = nullptr;
  class Database* db_ = nullptr;
};

class Database {
 public:
  Database() = default;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database() { close(); }

  // Opens (or creates) the file; false with the error text.
  bool open(const std::string& path, bool create);
  void close();
  bool is_open() const { return db_ != nullptr; }

  // Runs one or more statements without results; false with the error text.
  bool exec(const char* sql);
  // Prepares one statement; an empty statement (and the error text) on failure.
  Statement prepare(const char* sql);

  // The rows the last insert, update or delete changed.
  int64_t changes() const;

  // The first failure since the last `clear_error`, "" for none.
  const std::string& error() const { return error_; }
  void note_error(const char* what);
  void clear_error() { error_.clear(); }

 private:
  sqlite3* db_ = nullptr;
  std::string error_;
};

}  // namespace terrova::index
